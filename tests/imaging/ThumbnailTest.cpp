// Scaled loading and the thumbnail geometry of every option.

#include "ImagingFixtures.h"

#include "imaging/ImageUtils.h"

#include "support/TestSandbox.h"

#include <QPainter>
#include <QTransform>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

// True when `actual` is within `tolerance` of `expected` in every channel
// (JPEG and scaling blur edges).
::testing::AssertionResult Near(QColor actual, QColor expected, int tolerance = 40)
{
    if (std::abs(actual.red() - expected.red()) <= tolerance && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.name().toStdString() << " is not " << expected.name().toStdString();
}

QString Picture(const QString& name, const QImage& image)
{
    return WriteImageFile(
        SandboxFolder() + QStringLiteral("/") + name, image, name.endsWith(QLatin1String(".png")) ? "png" : "jpeg");
}

struct LoadCase {
    std::string name;
    QSize picture;
    int maxWidth;
    int maxHeight;
    QSize expected;
};

class LoadBitmapSize : public ::testing::TestWithParam<LoadCase> { };

TEST_P(LoadBitmapSize, FitsTheBoxWithoutEnlarging)
{
    const LoadCase& c = GetParam();
    const QString path
        = Picture(QStringLiteral("load.jpg"), SolidImage(c.picture.width(), c.picture.height(), Qt::blue));
    TImageUtils utils;
    int width = 0;
    int height = 0;
    const QImage bitmap = utils.LoadBitmap(path, c.maxWidth, c.maxHeight, &width, &height);
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_EQ(bitmap.size(), c.expected);
    EXPECT_EQ(bitmap.format(), QImage::Format_BGR888);
    EXPECT_EQ(QSize(width, height), c.picture);
    EXPECT_TRUE(Near(bitmap.pixelColor(bitmap.width() / 2, bitmap.height() / 2), Qt::blue));
}

INSTANTIATE_TEST_SUITE_P(Boxes, LoadBitmapSize,
    ::testing::Values(LoadCase{"LargeIntoBox", {4000, 3000}, 160, 160, {160, 120}},
        LoadCase{"SmallerThanBox", {100, 50}, 160, 160, {100, 50}},
        LoadCase{"FullSize", {301, 203}, -1, -1, {301, 203}},
        LoadCase{"PortraitIntoWideBox", {300, 600}, 400, 100, {50, 100}},
        // 125 × 0.5 = 62.5 rounds to the even 62
        LoadCase{"RoundsToEven", {1001, 2002}, 1000, 125, {62, 125}}),
    CaseName());

TEST(LoadBitmap, SmallTargetIsDrawnFromTheEmbeddedThumbnail)
{
    const QString path = Picture(QStringLiteral("embedded.jpg"), SolidImage(640, 480, Qt::red));
    TExifFixture exif;
    exif.thumbnail = SolidImage(160, 120, Qt::green);
    AddMetadata(path, exif);
    TImageUtils utils;
    const QImage small = utils.LoadBitmap(path, 16, 16);
    ASSERT_EQ(small.size(), QSize(16, 12));
    EXPECT_TRUE(Near(small.pixelColor(8, 6), Qt::green));
    const QImage large = utils.LoadBitmap(path, 160, 160);
    ASSERT_EQ(large.size(), QSize(160, 120));
    EXPECT_TRUE(Near(large.pixelColor(80, 60), Qt::red));
}

TEST(LoadBitmap, EmbeddedThumbnailOfAnotherAspectIsNotUsed)
{
    // A 16:9 picture whose camera stored a 4:3 thumbnail (with bars).
    const QString path = Picture(QStringLiteral("bars.jpg"), SolidImage(1600, 900, Qt::red));
    TExifFixture exif;
    exif.thumbnail = SolidImage(160, 120, Qt::green);
    AddMetadata(path, exif);
    TImageUtils utils;
    const QImage small = utils.LoadBitmap(path, 32, 32);
    ASSERT_EQ(small.size(), QSize(32, 18));
    EXPECT_TRUE(Near(small.pixelColor(16, 9), Qt::red));
}

TEST(LoadBitmap, TransparentPngIsComposedOntoWhite)
{
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QString path = Picture(QStringLiteral("clear.png"), image);
    TImageUtils utils;
    const QImage bitmap = utils.LoadBitmap(path, -1, -1);
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_EQ(bitmap.pixelColor(5, 5), QColor(Qt::white));
}

struct ThumbCase {
    std::string name;
    QSize picture;
    TThumbnailOptions options;
    QSize expected;
};

class ThumbnailGeometry : public ::testing::TestWithParam<ThumbCase> { };

TEST_P(ThumbnailGeometry, GivesTheBoxOfTheOptions)
{
    const ThumbCase& c = GetParam();
    const QString path
        = Picture(QStringLiteral("thumb.jpg"), SolidImage(c.picture.width(), c.picture.height(), Qt::blue));
    TImageUtils utils;
    int origWidth = 0;
    int origHeight = 0;
    const QImage thumbnail = utils.MakeThumbnail(path, c.options, &origWidth, &origHeight);
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(thumbnail.size(), c.expected);
    EXPECT_EQ(QSize(origWidth, origHeight), c.picture);
    EXPECT_TRUE(Near(thumbnail.pixelColor(thumbnail.width() / 2, thumbnail.height() / 2), Qt::blue));
}

TThumbnailOptions Options(int width, int height, TColor background = clNone)
{
    TThumbnailOptions options;
    options.Width = width;
    options.Height = height;
    options.BackgroundColor = background;
    return options;
}

TThumbnailOptions WithRatio(TThumbnailOptions options, int x, int y, bool fixed)
{
    options.RatioX = x;
    options.RatioY = y;
    options.FixedOrientation = fixed;
    return options;
}

TThumbnailOptions WithFrame(TThumbnailOptions options, TColor frame)
{
    options.FrameColor = frame;
    return options;
}

TThumbnailOptions WithMat(TThumbnailOptions options, int width, TColor color)
{
    options.MatWidth = width;
    options.MatColor = color;
    return options;
}

TThumbnailOptions Exact(TThumbnailOptions options, bool fit)
{
    options.ExactSize = true;
    options.FitInExact = fit;
    return options;
}

INSTANTIATE_TEST_SUITE_P(Options, ThumbnailGeometry,
    ::testing::Values(ThumbCase{"BoxWithBackground", {400, 300}, Options(160, 160, clWhite), {160, 160}},
        ThumbCase{"ShrunkWithoutBackground", {400, 300}, Options(160, 160), {160, 120}},
        ThumbCase{"SmallBoxWithBackground", {400, 300}, Options(100, 100, clWhite), {100, 100}},
        ThumbCase{"SmallBoxShrunk", {400, 300}, Options(100, 100), {100, 75}},
        // A 3:2 ratio turns to 2:3 on a portrait picture...
        ThumbCase{"RatioFollowsOrientation", {300, 400}, WithRatio(Options(200, 200), 3, 2, false), {133, 200}},
        // ...unless the orientation is fixed.
        ThumbCase{"RatioFixedOrientation", {300, 400}, WithRatio(Options(200, 200), 3, 2, true), {200, 133}},
        // A frame takes a pixel on each side: 158 × 0.75 = 118.5 rounds to 118 (half to even).
        ThumbCase{"FrameRoundsHalfToEven", {400, 300}, WithFrame(Options(160, 160), 0x0000FF), {160, 120}},
        // The mat is even on all sides: the matted picture is 150 × 120, shown at 160 × 128.
        ThumbCase{"Mat", {400, 300}, WithMat(Options(160, 160), 10, 0xFF0000), {160, 128}},
        ThumbCase{"ExactFill", {300, 100}, Exact(Options(100, 100), false), {100, 100}},
        ThumbCase{"ExactFit", {300, 100}, Exact(Options(100, 100), true), {100, 100}}),
    CaseName());

TEST(Thumbnail, SmallerPictureIsCopiedUnscaledOntoWhite)
{
    const QString path = Picture(QStringLiteral("small.png"), SolidImage(100, 50, Qt::blue));
    TImageUtils utils;
    const QImage thumbnail = utils.MakeThumbnail(path, Options(160, 160, 0x00FF00));
    ASSERT_EQ(thumbnail.size(), QSize(160, 160));
    EXPECT_EQ(thumbnail.pixelColor(29, 80), QColor(Qt::white));
    EXPECT_EQ(thumbnail.pixelColor(30, 55), QColor(Qt::blue));
    EXPECT_EQ(thumbnail.pixelColor(129, 104), QColor(Qt::blue));
    EXPECT_EQ(thumbnail.pixelColor(130, 105), QColor(Qt::white));
}

TEST(Thumbnail, ExactSizeFillShowsTheMiddleThird)
{
    const QString path = Picture(QStringLiteral("bands.png"), BandedImage(300, 100, {Qt::red, Qt::green, Qt::blue}));
    TImageUtils utils;
    const QImage fill = utils.MakeThumbnail(path, Exact(Options(100, 100), false));
    ASSERT_EQ(fill.size(), QSize(100, 100));
    EXPECT_TRUE(Near(fill.pixelColor(2, 50), Qt::green));
    EXPECT_TRUE(Near(fill.pixelColor(97, 50), Qt::green));
    const QImage fit = utils.MakeThumbnail(path, Exact(Options(100, 100, clWhite), true));
    ASSERT_EQ(fit.size(), QSize(100, 100));
    // Scaled to 100 × 33 at y = 33.
    EXPECT_EQ(fit.pixelColor(50, 32), QColor(Qt::white));
    EXPECT_TRUE(Near(fit.pixelColor(5, 34), Qt::red));
    EXPECT_TRUE(Near(fit.pixelColor(50, 64), Qt::green));
    EXPECT_EQ(fit.pixelColor(50, 66), QColor(Qt::white));
}

TEST(Thumbnail, FrameAndMatColours)
{
    const QString path = Picture(QStringLiteral("framed.png"), SolidImage(400, 300, Qt::blue));
    TImageUtils utils;
    const QImage framed = utils.MakeThumbnail(path, WithFrame(Options(160, 160), 0x0000FF));
    ASSERT_FALSE(framed.isNull());
    EXPECT_EQ(framed.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(framed.pixelColor(framed.width() - 1, framed.height() - 1), QColor(Qt::red));
    const QImage matted = utils.MakeThumbnail(path, WithMat(Options(160, 160), 10, 0x00FF00));
    ASSERT_EQ(matted.size(), QSize(160, 128));
    EXPECT_TRUE(Near(matted.pixelColor(4, 64), Qt::green, 10));
    EXPECT_TRUE(Near(matted.pixelColor(80, 5), Qt::green, 10));
    EXPECT_TRUE(Near(matted.pixelColor(80, 64), Qt::blue, 10));
}

TEST(Thumbnail, NothingForAnEmptyBoxOrAnUnreadableFile)
{
    const QString path = Picture(QStringLiteral("any.jpg"), SolidImage(40, 30, Qt::blue));
    TImageUtils utils;
    EXPECT_TRUE(utils.MakeThumbnail(path, Options(0, 100)).isNull());
    EXPECT_TRUE(utils.MakeThumbnail(SandboxFolder() + QStringLiteral("/absent.jpg"), Options(100, 100)).isNull());
}

TEST(Resample, KeepsAspectInIntegerArithmetic)
{
    EXPECT_EQ(TImageUtils::ResampleSize({4000, 3000}, 160, true, 160), QSize(160, 120));
    EXPECT_EQ(TImageUtils::ResampleSize({300, 1000}, 160, true, 160), QSize(48, 160));
    EXPECT_EQ(TImageUtils::ResampleSize({333, 100}, 100, true, 100), QSize(100, 30));
    EXPECT_EQ(TImageUtils::ResampleSize({333, 100}, 100, false, 100), QSize(100, 100));
}

TEST(Rotate, SizesOfTheRotatedBitmap)
{
    TImageUtils utils;
    EXPECT_EQ(utils.RotateBitmap(SolidImage(300, 200, Qt::blue), clWhite, 90).size(), QSize(200, 300));
    EXPECT_EQ(utils.RotateBitmap(SolidImage(250, 250, Qt::blue), clWhite, 45).size(), QSize(354, 354));
    EXPECT_EQ(utils.RotateBitmap(SolidImage(300, 200, Qt::blue), clWhite, -30).size(), QSize(360, 323));
    const QImage rotated = utils.RotateBitmap(SolidImage(100, 100, Qt::blue), 0x0000FF, 45);
    EXPECT_EQ(rotated.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_TRUE(Near(rotated.pixelColor(71, 71), Qt::blue, 5));
}

TEST(CropRotated, CutsTheFrameUpright)
{
    // A blue square of 100 pixels turned by 30° in a white 400 × 300 picture.
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.translate(200, 150);
        painter.rotate(30);
        painter.fillRect(QRectF(-50, -50, 100, 100), Qt::blue);
    }
    QList<QPointF> corners;
    QTransform turn;
    turn.translate(100, 75); // the view is half the picture's size
    turn.scale(0.5, 0.5);
    turn.rotate(30);
    for (const QPointF& corner : {QPointF(-50, -50), QPointF(50, -50), QPointF(50, 50), QPointF(-50, 50)})
        corners.append(turn.map(corner));
    TImageUtils utils;
    const QImage crop = utils.CropRotated(picture, corners, 200, 150);
    ASSERT_FALSE(crop.isNull());
    EXPECT_NEAR(crop.width(), 100, 3);
    EXPECT_NEAR(crop.height(), 100, 3);
    EXPECT_TRUE(Near(crop.pixelColor(crop.width() / 2, crop.height() / 2), Qt::blue, 5));
    EXPECT_TRUE(Near(crop.pixelColor(4, 4), Qt::blue, 60));
    EXPECT_TRUE(utils.CropRotated(picture, corners.mid(0, 3), 200, 150).isNull());
}

TEST(Save, JpegAndBmpBySizeAndExtension)
{
    const QString folder = MakeFolder(QStringLiteral("save"));
    TImageUtils utils;
    const QImage picture = SolidImage(80, 60, Qt::blue);
    ASSERT_TRUE(utils.SaveAsJPEG(picture, folder + QStringLiteral("/a.jpg"), 80, 40, 20));
    EXPECT_EQ(QImage(folder + QStringLiteral("/a.jpg")).size(), QSize(40, 20));
    ASSERT_TRUE(utils.SaveByExtension(picture, folder + QStringLiteral("/b.BMP")));
    const QImage bmp(folder + QStringLiteral("/b.BMP"), "bmp");
    EXPECT_EQ(bmp.size(), QSize(80, 60));
    EXPECT_EQ(bmp.depth(), 32); // Qt reads the 24-bit file into RGB32
    EXPECT_FALSE(utils.SaveByExtension(picture, folder + QStringLiteral("/c.gif")));
    EXPECT_FALSE(utils.SaveAsJPEG(picture, folder + QStringLiteral("/missing/d.jpg"), 80));
}

} // namespace
} // namespace pavlora::test
