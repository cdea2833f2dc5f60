#include "LayoutTestSupport.h"

#include "layout/LayoutServices.h"
#include "layout/PrintDef.h"

#include "imaging/TextService.h"
#include "support/TestSandbox.h"

#include <QFontInfo>

namespace pavlora {
namespace {

// Line breaks depend on the font's metrics: the font is loaded from its
// file, and a machine without it fails here instead of wrapping with a
// substitute.
const QString kLiberationSans = QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf");

class LabelWrap : public test::LayoutTest {
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        ASSERT_TRUE(TTextService::RegisterFontFile(kLiberationSans))
            << "missing font " << kLiberationSans.toStdString();
        const QFont font = TTextService::MakeFont(TFontDescription{QStringLiteral("Arial")}, 16);
        ASSERT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
        print_.SetSize(200, 200);
        label_ = &print_.Labels()[print_.AddLabel()];
        label_->SetCenter(100, 100);
    }

    QStringList Wrap(double width, double height, const QStringList& paragraphs, bool wordWrap = true)
    {
        label_->SetSize(width, height);
        label_->SetWordWrap(wordWrap);
        label_->SetParagraphs(paragraphs);
        return label_->Lines();
    }

    TPrintDef print_{nullptr};
    TLabelDef* label_ = nullptr;
};

struct WrapCase {
    std::string name;
    double width;
    double height;
    QStringList paragraphs;
    bool wordWrap;
    QStringList lines;
    bool textCut;
};

class LabelWrapCases : public LabelWrap, public ::testing::WithParamInterface<WrapCase> { };

TEST_P(LabelWrapCases, BreaksLikeTheMeasuredFont)
{
    const WrapCase& c = GetParam();
    EXPECT_EQ(Wrap(c.width, c.height, c.paragraphs, c.wordWrap), c.lines);
    EXPECT_EQ(label_->TextCut(), c.textCut);
}

// Arial 12 pt (4.233 mm to the em): 5.29 mm per line. The expected breaks
// follow from the font's advance widths in thousandths of an em: "Ein
// kleiner Text zum" is 9.06 em = 38.3 mm and fits 0.98 · 40 mm, with the
// next blank it is 39.5 mm and does not; "Donauda" is 17.2 mm of 19.6 mm,
// "Donaudam" 20.7 mm.
INSTANTIATE_TEST_SUITE_P(Layout, LabelWrapCases,
    ::testing::Values(
        WrapCase{"AtBlanks", 40, 30, {QStringLiteral("Ein kleiner Text zum Umbrechen der Zeilen")}, true,
            {QStringLiteral("Ein kleiner Text zum"), QStringLiteral("Umbrechen der"), QStringLiteral("Zeilen")}, false},
        WrapCase{"HyphenStartsTheNextLine", 40, 30, {QStringLiteral("Müller-Lüdenscheid-Wanne-Eickel")}, true,
            {QStringLiteral("Müller-Lüdenscheid"), QStringLiteral("-Wanne-Eickel")}, false},
        WrapCase{"LongWordIsCut", 20, 30, {QStringLiteral("Donaudampfschifffahrt")}, true,
            {QStringLiteral("Donauda"), QStringLiteral("mpfschifff"), QStringLiteral("ahrt")}, false},
        WrapCase{"ParagraphsKeepEmptyLines", 40, 30, {QStringLiteral("  Oben  "), QString(), QStringLiteral("Unten")},
            true, {QStringLiteral("Oben"), QString(), QStringLiteral("Unten")}, false},
        WrapCase{"FullLabelCutsText", 40, 10.6, {QStringLiteral("Ein kleiner Text zum Umbrechen der Zeilen")}, true,
            {QStringLiteral("Ein kleiner Text zum"), QStringLiteral("Umbrechen der")}, true},
        WrapCase{"NoWrapDropsTheRest", 40, 30, {QStringLiteral("Ein kleiner Text zum Umbrechen")}, false,
            {QStringLiteral("Ein kleiner Text zum")}, true},
        WrapCase{"ControlCharactersAreDropped", 40, 30,
            {QStringLiteral("A\tB") + QChar(1) + QChar(0x85) + QStringLiteral("C")}, true, {QStringLiteral("ABC")},
            false}),
    test::CaseName());

TEST_F(LabelWrap, TextIsCappedAtTheMaximumLength)
{
    TLayoutSettings settings;
    settings.maxTextLength = 8;
    SetLayoutSettings(settings);
    EXPECT_EQ(Wrap(40, 30, {QStringLiteral("Hallo"), QStringLiteral("Welt")}),
        (QStringList{QStringLiteral("Hallo"), QStringLiteral("W")}));
}

TEST_F(LabelWrap, ChangesOfSizeAndFontRewrap)
{
    Wrap(40, 30, {QStringLiteral("Ein kleiner Text zum Umbrechen der Zeilen")});
    EXPECT_EQ(label_->Lines().size(), 3);
    label_->SetWidth(150);
    EXPECT_EQ(label_->Lines(), QStringList{QStringLiteral("Ein kleiner Text zum Umbrechen der Zeilen")});
    TLabelFont big = label_->Font();
    big.size = 36;
    label_->SetFont(big);
    EXPECT_GT(label_->Lines().size(), 1);
    // A label that is dragged narrower re-wraps too.
    double dx = 100;
    double dy = 0;
    label_->Track(dx, dy, TControlMouseState::cmsLMid);
    EXPECT_TRUE(label_->TextCut());
}

TEST_F(LabelWrap, LinePositionsFollowAlignment)
{
    Wrap(40, 30, {QStringLiteral("A"), QStringLiteral("B")});
    label_->SetAlignment(TAlignment::taRightJustify);
    const QPointF second = label_->LinePosition(1);
    EXPECT_DOUBLE_EQ(second.x(), 40);
    EXPECT_NEAR(second.y(), 12 / 2.835 * 1.125, 1e-12);
}

} // namespace
} // namespace pavlora
