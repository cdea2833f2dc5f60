#include "LayoutTestSupport.h"

#include "layout/LayoutFile.h"
#include "layout/PhotoBookDef.h"
#include "layout/PrintDef.h"
#include "layout/ProductPageDef.h"

#include "core/QORException.h"
#include "support/TestSandbox.h"

#include <pugixml.hpp>

#include <cmath>
#include <numbers>

namespace pavlora {
namespace {

using test::LayoutTest;

QString Attribute(pugi::xml_node node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

bool Has(pugi::xml_node node, const char* name)
{
    return !node.attribute(name).empty();
}

// A print with one label, saved: the writing rules of every attribute kind.
TEST_F(LayoutTest, LabelIsWrittenByTheRules)
{
    TPrintDef print(nullptr);
    print.SetSize(100, 50);
    print.SetCenter(1234.567, 0.125);
    print.SetLayoutVariant(TLayoutVariant::lvWithTextSymmetric);
    const int index = print.AddLabel();
    TLabelDef& label = print.Labels()[index];
    label.SetCenter(20.125, 10);
    label.SetSize(30, 12.5);
    label.SetAngle(270.0 * std::numbers::pi / 180.0);
    label.SetWordWrap(false);
    label.SetParagraphs({QStringLiteral("Hallo")});

    pugi::xml_document document;
    pugi::xml_node root = document.append_child("print_def");
    qint64 bytes = 0;
    ASSERT_TRUE(print.SaveTo(root, QString(), 0, false, bytes));
    const QString text = test::XmlText(document);

    EXPECT_EQ(Attribute(root, "client_h_center"), QStringLiteral("1234.6")) << text.toStdString();
    EXPECT_EQ(Attribute(root, "client_v_center"), QStringLiteral("0.13"));
    EXPECT_EQ(Attribute(root, "layout_variant"), QStringLiteral("withtext_symmetric"));
    EXPECT_EQ(Attribute(root, "version"), QStringLiteral("1.1"));
    EXPECT_FALSE(Has(root, "tag"));
    EXPECT_FALSE(Has(root, "fixed"));
    EXPECT_FALSE(Has(root, "wizard_exclusive"));

    const pugi::xml_node node = root.child("label_def");
    EXPECT_FALSE(Has(node, "version")) << "only the saved element carries the version";
    EXPECT_EQ(Attribute(node, "client_h_center"), QStringLiteral("20.13"));
    EXPECT_EQ(Attribute(node, "angle"), QStringLiteral("-90"));
    EXPECT_EQ(Attribute(node, "wordwrap"), QStringLiteral("false"));
    EXPECT_FALSE(Has(node, "tag"));
    const pugi::xml_node font = node.child("font");
    EXPECT_EQ(Attribute(font, "color"), QStringLiteral("$000000"));
    EXPECT_EQ(Attribute(font, "name"), QStringLiteral("Arial"));
    EXPECT_EQ(Attribute(font, "size"), QStringLiteral("12"));
    EXPECT_EQ(Attribute(font, "alignment"), QStringLiteral("1"));
    EXPECT_FALSE(Has(font, "style"));
    EXPECT_EQ(Attribute(node.child("text").child("paragraph"), "value"), QStringLiteral("Hallo"));
    EXPECT_EQ(Attribute(node.child("lines").child("line"), "value"), QStringLiteral("Hallo"));

    // Read back: word wrap stays off, the angle comes back in radians.
    TPrintDef copy(nullptr);
    copy.LoadFrom(root, QString(), kDefVersion10);
    ASSERT_EQ(copy.Labels().Count(), 1);
    const TLabelDef& read = copy.Labels()[0];
    EXPECT_FALSE(read.WordWrap());
    EXPECT_EQ(read.Alignment(), TAlignment::taLeftJustify);
    EXPECT_NEAR(read.Angle(), -std::numbers::pi / 2, 1e-9);
    EXPECT_EQ(read.Tag(), 0);
    EXPECT_EQ(copy.LayoutVariant(), TLayoutVariant::lvWithTextSymmetric);
    EXPECT_EQ(read.Paragraphs(), QStringList{QStringLiteral("Hallo")});
}

TEST_F(LayoutTest, LabelColourIsBlueGreenRed)
{
    TPrintDef print(nullptr);
    print.SetSize(100, 50);
    TLabelDef& label = print.Labels()[print.AddLabel()];
    TLabelFont font;
    font.color = 0x0000FF; // pure red
    font.bold = true;
    font.underline = true;
    font.size = 10.5;
    label.SetFont(font);
    label.SetAlignment(TAlignment::taCenter);

    pugi::xml_document document;
    pugi::xml_node node = document.append_child("label_def");
    qint64 bytes = 0;
    label.InternalSaveTo(node, QString(), 0, false, false, bytes);
    const pugi::xml_node written = node.child("font");
    EXPECT_EQ(Attribute(written, "color"), QStringLiteral("$0000FF"));
    EXPECT_EQ(Attribute(written, "style"), QStringLiteral("5"));
    EXPECT_EQ(Attribute(written, "size"), QStringLiteral("10.5"));
    EXPECT_EQ(Attribute(written, "alignment"), QStringLiteral("3"));
    EXPECT_FALSE(Has(node, "wordwrap")) << "word wrap on is the default";
}

TEST_F(LayoutTest, ReadsVersion10LabelText)
{
    const auto document = test::ParseXml(R"(<label_def client_h_center="25" client_v_center="10"
        client_h_size="50" client_v_size="20"><font name="Arial" size="12"/>
        <text value="Zeile eins\n"/><text value="Zwei"/></label_def>)");
    TLabelDef label(nullptr);
    label.LoadFrom(document->document_element(), QString(), kDefVersion10);
    EXPECT_EQ(label.Paragraphs(), (QStringList{QStringLiteral("Zeile eins"), QStringLiteral("Zwei")}));
    EXPECT_EQ(label.Alignment(), TAlignment::taCenter) << "a label read without alignment is centred";
    EXPECT_TRUE(label.WordWrap());
    EXPECT_EQ(label.Font().name, QStringLiteral("Arial"));

    // A newer file reads the paragraphs of "text", never "text" values.
    const auto newer = test::ParseXml(R"(<label_def version="1.1" client_h_size="50" client_v_size="20">
        <text value="alt"><paragraph value="neu"/></text></label_def>)");
    TLabelDef second(nullptr);
    second.LoadFrom(newer->document_element(), QString(), kDefVersion10);
    EXPECT_EQ(second.Paragraphs(), QStringList{QStringLiteral("neu")});
}

TEST_F(LayoutTest, ProductPageReadsMaskAndCalendar)
{
    const auto document = test::ParseXml(R"(<conf client_h_center="100" client_v_center="75" client_h_size="200"
        client_v_size="150" calendar="1" def_bg_color="white" tag="403"><mask file="{Data}\Masks\m.png" x="5"/>
        <print_def client_h_center="100" client_v_center="75" client_h_size="200" client_v_size="150">
        <picture_def client_h_center="50" client_v_center="50" client_h_size="80" client_v_size="60"/></print_def>
        </conf>)");
    TProductPageDef page;
    page.LoadFrom(document->document_element(), QString(), kDefVersion10);
    EXPECT_TRUE(page.IsCalendar());
    EXPECT_EQ(page.DefaultBackgroundColor(), QStringLiteral("white"));
    EXPECT_EQ(page.MaskFile(), QStringLiteral("{Data}\\Masks\\m.png"));
    EXPECT_EQ(page.MaskX(), 5);
    EXPECT_EQ(page.MaskY(), 0);
    EXPECT_EQ(page.Tag(), 403);
    ASSERT_EQ(page.Prints().Count(), 1);
    EXPECT_EQ(page.Prints()[0].Pictures().Count(), 1);

    const std::unique_ptr<TSizeDef> copy = page.Clone(nullptr);
    const auto* product = dynamic_cast<const TProductPageDef*>(copy.get());
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->MaskFile(), page.MaskFile());
    EXPECT_EQ(product->Prints()[0].Pictures().Count(), 1);
}

struct BrokenLayoutCase {
    std::string name;
    QByteArray body;
};

class BrokenGeometry : public LayoutTest, public ::testing::WithParamInterface<BrokenLayoutCase> { };

TEST_P(BrokenGeometry, IsRefusedOnLoad)
{
    const QString path = test::MakeFolder(QStringLiteral("broken")) + QStringLiteral("/Layouts.pbl");
    test::WriteFile(path, "<pb_layouts>" + GetParam().body + "</pb_layouts>");
    EXPECT_THROW(LoadLayoutCollection(path), EQORException);
}

INSTANTIATE_TEST_SUITE_P(Layout, BrokenGeometry,
    ::testing::Values(BrokenLayoutCase{"PrintWithoutSize", R"(<print_def client_h_center="5"/>)"},
        BrokenLayoutCase{"PrintNotANumber", R"(<print_def client_h_size="nan" client_v_size="100"/>)"},
        BrokenLayoutCase{"PrintInfinite", R"(<print_def client_h_size="inf" client_v_size="100"/>)"},
        BrokenLayoutCase{"PrintAbsurd", R"(<print_def client_h_size="1e9" client_v_size="100"/>)"},
        BrokenLayoutCase{"PageNegative", R"(<page_def client_h_size="300" client_v_size="-5"/>)"},
        BrokenLayoutCase{"SlotWithoutHeight", R"(<print_def client_h_size="100" client_v_size="100">
            <picture_def client_h_size="40"/></print_def>)"},
        BrokenLayoutCase{"CentreFarAway", R"(<print_def client_h_size="100" client_v_size="100">
            <picture_def client_h_center="1e7" client_h_size="40" client_v_size="40"/></print_def>)"},
        BrokenLayoutCase{"LabelFontSizeZero", R"(<print_def client_h_size="100" client_v_size="100">
            <label_def client_h_size="40" client_v_size="10"><font size="0"/></label_def></print_def>)"},
        BrokenLayoutCase{"MalformedXml", R"(<print_def client_h_size="100" client_v_size="100"/></x>)"}),
    test::CaseName());

TEST_F(LayoutTest, EmptySlotPhotoOfZeroSizeIsNormal)
{
    const QString path = test::MakeFolder(QStringLiteral("fine")) + QStringLiteral("/Layouts.pbl");
    test::WriteFile(path, R"(<pb_layouts><print_def client_h_center="50" client_v_center="50" client_h_size="100"
        client_v_size="100" layout_variant="Default_Symmetric"><picture_def client_h_center="50" client_v_center="50"
        client_h_size="40" client_v_size="40"><photo_def><file filename="missing.jpg"/></photo_def></picture_def>
        </print_def></pb_layouts>)");
    const std::unique_ptr<TLayoutCollection> layouts = LoadLayoutCollection(path);
    ASSERT_EQ(layouts->prints.Count(), 1);
    const TPictureDef& slot = layouts->prints[0].Pictures()[0];
    EXPECT_FALSE(slot.Photo().Valid());
    EXPECT_EQ(slot.Photo().FileSize(), -1);
    EXPECT_EQ(layouts->prints[0].LayoutVariant(), TLayoutVariant::lvDefaultSymmetric);
}

TEST_F(LayoutTest, BrokenPhotoBookElementIsCorruptXml)
{
    const auto document = test::ParseXml(R"(<photobook_def min_page_count="abc"/>)");
    TPhotoBookDef book;
    try {
        book.LoadFrom(document->document_element(), QString(), kDefVersion10);
        FAIL() << "a broken attribute must fail";
    } catch (const EQORException& failure) {
        EXPECT_TRUE(failure.Message().contains(QStringLiteral("XML-Datei korrupt: "))) << failure.what();
    }
}

TEST_F(LayoutTest, PageLimitsDefaultWhenMissingOrBelowOne)
{
    const auto document = test::ParseXml(R"(<photobook_def max_page_count="0" product_id="Fotobuch.A4"/>)");
    TPhotoBookDef book;
    book.LoadFrom(document->document_element(), QString(), kDefVersion10);
    EXPECT_EQ(book.MinPageCount(), 16);
    EXPECT_EQ(book.MaxPageCount(), 100);
    EXPECT_EQ(book.ProductId(), QStringLiteral("Fotobuch.A4"));
}

} // namespace
} // namespace pavlora
