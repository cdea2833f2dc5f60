#include "ScriptedSkinReporter.h"

#include "skin/ButtonStyle.h"
#include "skin/ControlStyles.h"
#include "skin/FontStyle.h"
#include "skin/ImageViewStyle.h"
#include "skin/PanelStyle.h"
#include "skin/StyleRegistry.h"
#include "skin/TableStyle.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

namespace pavlora::test {
namespace {

const char kSuffix[] = "\r\n Ignore this error ([No] raises an exception and might crash the application)?";

class StyleRegistryTest : public ::testing::Test {
protected:
    // Reads a design file given as the children of its root element.
    bool Read(const char* elements)
    {
        const std::string text = std::string("<design>") + elements + "</design>";
        EXPECT_TRUE(document_.load_string(text.c_str())) << text;
        return registry_.ReadDesign(document_.document_element());
    }

    template <class T>
    const T& Style(const char* className, const char* name)
    {
        const TStyleData* style = registry_.GetStyle(QLatin1String(className), QLatin1String(name), false);
        const T* typed = dynamic_cast<const T*>(style);
        if (!typed)
            throw std::runtime_error(std::string("missing style ") + name);
        return *typed;
    }

    QString DesignError(const QString& text) const { return text + QLatin1String(kSuffix); }

    TScriptedSkinReporter reporter_;
    TDesignErrors errors_{reporter_};
    TStyleRegistry registry_{errors_};
    pugi::xml_document document_;
};

TEST_F(StyleRegistryTest, MastersAreCopiedExceptTheFixedDefaults)
{
    ASSERT_TRUE(Read(R"(<button style="base" auto_updown="2" dyn_resize_direction="left" border_top="3" color="$FF"/>
                        <button style="child" master="Base" border_left="7"/>
                        <panel style="p" color="255" border_left="4"/>
                        <panel style="q" master="p"/>
                        <imageview style="iv" shadow_color="$123456"/>
                        <imageview style="iv2" master="iv"/>
                        <imageview style="iv3"/>)"));
    const TButtonStyle& child = Style<TButtonStyle>("button", "CHILD");
    EXPECT_EQ(child.autoUpDown, 0);
    EXPECT_EQ(child.dynResizeDirection, TResizeDirection::Right);
    EXPECT_EQ(child.borderTop, 3);
    EXPECT_EQ(child.borderLeft, 7);
    EXPECT_EQ(child.color, 0xFF);

    EXPECT_EQ(Style<TPanelStyle>("panel", "p").clientBorderLeft, 4);
    EXPECT_EQ(Style<TPanelStyle>("panel", "q").color, kParentColor);
    EXPECT_EQ(Style<TPanelStyle>("panel", "q").borderLeft, 4);
    EXPECT_EQ(Style<TECImageViewStyle>("imageview", "iv2").shadowColor, 0x123456);
    EXPECT_EQ(Style<TECImageViewStyle>("imageview", "iv3").shadowColor, 0x606060);
    EXPECT_TRUE(reporter_.designErrors.isEmpty()) << reporter_.designErrors.join(u'\n').toStdString();
}

TEST_F(StyleRegistryTest, ALaterDefinitionReadsOverTheEarlierOne)
{
    Read(R"(<label style="l" color="1" align="right"/><label style="L" transparent="false"/>)");
    const TLabelData& label = Style<TLabelData>("label", "l");
    EXPECT_EQ(label.color, 1);
    EXPECT_EQ(label.align, TAlign::Right);
    EXPECT_FALSE(label.transparent);
    EXPECT_EQ(registry_.StyleNames(QStringLiteral("label")), QStringList{QStringLiteral("l")});
}

TEST_F(StyleRegistryTest, FontsAreResolvedWhenTheElementIsRead)
{
    Read(R"(<font style="f" name="Arial" size="12" bold="TRUE"/>
            <font style="g" master="f" italic="true" bold="false"/>
            <button style="b" font="F" font_dis="later"/>
            <font style="later"/>)");
    const TButtonStyle& button = Style<TButtonStyle>("button", "b");
    ASSERT_NE(button.font.font, nullptr);
    EXPECT_EQ(button.font.font->size, 12);
    EXPECT_EQ(button.font.font->PixelHeight(), -16);
    EXPECT_EQ(button.fontDis.name, QStringLiteral("later"));
    EXPECT_EQ(button.fontDis.font, nullptr);
    const TFontStyle& g = Style<TFontStyle>("font", "g");
    EXPECT_TRUE(g.bold) << "false never removes an inherited style";
    EXPECT_TRUE(g.italic);
}

TEST_F(StyleRegistryTest, TableCellsTakeTheirPlaceInTheGrid)
{
    Read(R"(<table style="t" align="left">
              <tr valign="top"><td control="a" colspan="2"/><td control="b" align="right"/></tr>
              <tr><td control="c" rowspan="2" min_x="10"/></tr>
            </table>)");
    const TTableStyle& table = Style<TTableStyle>("table", "t");
    ASSERT_EQ(table.cells.size(), 3);
    EXPECT_EQ(table.cells[1].column, 2);
    EXPECT_EQ(table.cells[1].align, TAlign::Right);
    EXPECT_EQ(table.cells[0].valign, TVAlign::Top);
    EXPECT_EQ(table.cells[0].align, TAlign::Left);
    EXPECT_EQ(table.cells[2].row, 1);
    EXPECT_EQ(table.cells[2].minX, 10);
    EXPECT_FALSE(table.cells[2].maxX.has_value());
    EXPECT_EQ(table.columnCount, 3);
    EXPECT_EQ(table.rowCount, 3);
    EXPECT_EQ(table.maxColspan, 2);
}

struct DesignErrorCase {
    const char* name;
    const char* elements;
    const char* error;
};

class DesignErrorsReported : public StyleRegistryTest, public ::testing::WithParamInterface<DesignErrorCase> { };

TEST_P(DesignErrorsReported, WithTheirText)
{
    Read(GetParam().elements);
    ASSERT_EQ(reporter_.designErrors.size(), 1);
    EXPECT_EQ(reporter_.designErrors.front(), DesignError(QString::fromUtf8(GetParam().error)));
}

INSTANTIATE_TEST_SUITE_P(Texts, DesignErrorsReported,
    ::testing::Values(
        DesignErrorCase{"UnknownClass", R"(<knob style="k"/>)", "Unknown style class: \"knob\" with style \"k\"."},
        DesignErrorCase{"NoStyle", R"(<button/>)", "Node button has no style."},
        DesignErrorCase{"ButtonMaster", R"(<button style="b" master="nope"/>)", "ButtonsData (nope)-> Master invalid "},
        DesignErrorCase{
            "GaugeMaster", R"(<photobook_gauge style="g" master="x"/>)", "PhotobookGaugeStyle (x)-> Master invalid "},
        DesignErrorCase{
            "ImageViewMaster", R"(<imageview style="i" master="y"/>)", "ImageViewStyle (y)-> Master invalid "},
        DesignErrorCase{
            "TableNode", R"(<table style="t"><tr><th/></tr></table>)", "Invalid table node: \"th\" in table \"t\"."}),
    CaseName());

struct WrongValueCase {
    const char* name;
    const char* elements;
    const char* message;
};

class WrongValues : public StyleRegistryTest, public ::testing::WithParamInterface<WrongValueCase> { };

TEST_P(WrongValues, StopTheReadingWithTheirMessage)
{
    try {
        Read(GetParam().elements);
        FAIL() << "no exception";
    } catch (const EDesignError& error) {
        EXPECT_EQ(error.Text(), QString::fromUtf8(GetParam().message));
    }
    EXPECT_NE(registry_.GetStyle(QStringLiteral("label"), QStringLiteral("before"), false), nullptr)
        << "styles read before the bad value stay";
}

INSTANTIATE_TEST_SUITE_P(Types, WrongValues,
    ::testing::Values(WrongValueCase{"Boolean", R"(<label style="before"/><font style="f" bold="yes"/>)",
                          "Wrong attribute content:  Boolean yes"},
        WrongValueCase{"Enumeration", R"(<label style="before"/><panel style="p" fill_mode_x="Tile"/>)",
            "Wrong attribute content:  FillMode Tile"},
        WrongValueCase{"EmptyEnumeration", R"(<label style="before"/><label style="x" align=""/>)",
            "Wrong attribute content:  Align "},
        WrongValueCase{"ResizeDirectionNamedFillStyle",
            R"(<label style="before"/><button style="b" dyn_resize_direction="up"/>)",
            "Wrong attribute content:  FillStyle up"},
        WrongValueCase{"Integer", R"(<label style="before"/><label style="x" color="red"/>)",
            "'red' is not a valid integer value"}),
    CaseName());

TEST_F(StyleRegistryTest, IgnoreAllSilencesTheRestOfTheRun)
{
    reporter_.answers = {TDesignErrorAnswer::IgnoreAll};
    Read(R"(<a/><b/><c style="x"/>)");
    EXPECT_EQ(reporter_.designErrors.size(), 1);
    EXPECT_FALSE(errors_.IsReporting());
}

TEST_F(StyleRegistryTest, AnsweringNoRaises)
{
    reporter_.answers = {TDesignErrorAnswer::Raise};
    EXPECT_THROW(Read(R"(<a/>)"), EDesignError);
}

TEST_F(StyleRegistryTest, MissingStylesAreReportedOnlyOnceStylesWereLoaded)
{
    EXPECT_EQ(registry_.GetStyle(QStringLiteral("button"), QStringLiteral("x"), false), nullptr);
    EXPECT_TRUE(reporter_.designErrors.isEmpty());
    registry_.SetStylesLoadedBefore(true);
    EXPECT_EQ(registry_.GetStyle(QStringLiteral("button"), QStringLiteral("x"), false), nullptr);
    EXPECT_EQ(reporter_.designErrors,
        QStringList{DesignError(QStringLiteral("Style \"x\" of class \"button\" does not exist."))});

    const auto* fallback = registry_.StyleOrDefault<TButtonStyle>(QStringLiteral("button"), QStringLiteral("y"));
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback, registry_.GetStyle(QStringLiteral("button"), QString(), false));
}

TEST_F(StyleRegistryTest, ButtonStateSuffixesMayBeReplaced)
{
    EXPECT_EQ(
        registry_.ButtonStateSuffixes().join(u','), QStringLiteral("Up,Focus,High,Press,Down,Down,Down,Press,Dis"));
    EXPECT_TRUE(
        Read(R"(<resource_manager_config><button_state_ids up="_n" disabled="_d"/></resource_manager_config>)"));
    EXPECT_EQ(
        registry_.ButtonStateSuffixes().join(u','), QStringLiteral("_n,Focus,High,Press,Down,Down,Down,Press,_d"));
}

} // namespace
} // namespace pavlora::test
