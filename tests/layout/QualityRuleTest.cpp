#include "layout/QualityRule.h"

#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora {
namespace {

struct QualityCase {
    std::string name;
    const char* factor;
    double width, height, dotsPerMm;
    int side1, side2;
    int percent;
    int level;
};

class QualityRule : public ::testing::TestWithParam<QualityCase> { };

TEST_P(QualityRule, GivesTheRatedPercentAndLevel)
{
    const QualityCase& c = GetParam();
    TQualitySettings settings;
    settings.qualityFactor = QString::fromLatin1(c.factor);
    EXPECT_EQ(ResolutionPercent(c.width, c.height, c.side1, c.side2, c.dotsPerMm), c.percent);
    EXPECT_EQ(QualityLevel(settings, c.width, c.height, c.dotsPerMm, c.side1, c.side2, 5), c.level);
}

// Required sides 1000 × 1000 at 10 dots per mm make the percentage the
// picture's side in tenths, less where the single-precision ratio falls
// below the decimal (0.45 → 44): such cases take one pixel more. The
// percentage checked is that of the dots given; the level applies
// "quality_factor".
INSTANTIATE_TEST_SUITE_P(Layout, QualityRule,
    ::testing::Values(QualityCase{"Print15x10Sharp", "", 150, 100, 12, 3000, 2000, 100, 0},
        QualityCase{"Print45x30Poor", "", 450, 300, 12, 3000, 2000, 55, 3},
        QualityCase{"Print15x10Insufficient", "", 150, 100, 12, 640, 480, 35, 4},
        QualityCase{"PortraitPictureLandscapeFormat", "", 150, 100, 12, 2000, 3000, 100, 0},
        QualityCase{"Numeric60IsLevel3", "", 100, 100, 10, 600, 600, 60, 3},
        QualityCase{"Numeric61IsLevel2", "", 100, 100, 10, 610, 610, 61, 2},
        QualityCase{"Numeric40IsLevel3", "", 100, 100, 10, 400, 400, 40, 3},
        QualityCase{"Numeric80IsLevel1", "", 100, 100, 10, 800, 800, 80, 1},
        QualityCase{"FactorHalvesTheDots", "0,5", 100, 100, 20, 600, 600, 30, 3},
        QualityCase{"Zint60IsLevel1", "zint", 100, 100, 10, 600, 600, 60, 1},
        QualityCase{"Zint50IsLevel2", "ZINT", 100, 100, 10, 500, 500, 50, 2},
        QualityCase{"Zint13IsLevel3", "zint", 100, 100, 10, 131, 131, 13, 3},
        QualityCase{"Nvx100IsLevel1", "nvx", 100, 100, 10, 1000, 1000, 100, 1},
        QualityCase{"Nvx70IsLevel2", "nvx", 100, 100, 10, 701, 701, 70, 2},
        QualityCase{"Nvx45IsLevel2", "nvx", 100, 100, 10, 451, 451, 45, 2},
        QualityCase{"Nvx44IsLevel3", "nvx", 100, 100, 10, 441, 441, 44, 3},
        QualityCase{"Nvx20IsLevel3", "nvx", 100, 100, 10, 200, 200, 20, 3},
        QualityCase{"Nvx19IsLevel4", "nvx", 100, 100, 10, 191, 191, 19, 4},
        QualityCase{"SingleRatio045Gives44", "", 100, 100, 10, 450, 450, 44, 3},
        QualityCase{"NoSizeDataIsWorst", "", 0, 0, 0, 3000, 2000, 0, 4}),
    test::CaseName());

struct AspectCase {
    std::string name;
    int mode;
    int width, height;
    TAspectClass expected;
};

class AspectRatio : public ::testing::TestWithParam<AspectCase> { };

TEST_P(AspectRatio, ClassifiesThePicture)
{
    const AspectCase& c = GetParam();
    TQualitySettings settings;
    settings.ratioFormatMode = c.mode;
    EXPECT_EQ(ClassifyAspectRatio(settings, c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Layout, AspectRatio,
    ::testing::Values(AspectCase{"FourThirds", 0, 4000, 3000, TAspectClass::acRatio34},
        AspectCase{"ThreeHalves", 0, 3000, 2000, TAspectClass::acRatio23},
        AspectCase{"ThreeHalvesPortrait", 0, 2000, 3000, TAspectClass::acRatio23},
        AspectCase{"WideMode0", 0, 1920, 1080, TAspectClass::acOther},
        AspectCase{"WideMode1", 1, 1920, 1080, TAspectClass::acNear23},
        AspectCase{"WideMode2", 2, 1920, 1080, TAspectClass::acRatio23},
        AspectCase{"SquareMode1", 1, 1000, 1000, TAspectClass::acNear34},
        AspectCase{"JustOutside34Tolerance", 0, 1000, 755, TAspectClass::acOther},
        AspectCase{"ZeroSide", 2, 0, 1000, TAspectClass::acRatio23}),
    test::CaseName());

} // namespace
} // namespace pavlora
