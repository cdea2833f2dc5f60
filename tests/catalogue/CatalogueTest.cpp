#include "CatalogueFixtures.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "catalogue/ProductTexts.h"
#include "catalogue/ProductsReader.h"
#include "catalogue/TextMacros.h"
#include "catalogue/Xchg.h"
#include "core/PathPlaceholders.h"
#include "core/QORException.h"
#include "layout/ProductPageDef.h"
#include "support/TestSandbox.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

// ---- Broken catalogues ------------------------------------------------------

struct BrokenCase {
    std::string name;
    QByteArray body; // inside <productsdef version="1.0">, unless it starts with "<?"
    const char* text; // the error text; "%1" stands for the file name
};

class BrokenCatalogueTest : public ::testing::TestWithParam<BrokenCase> { };

TEST_P(BrokenCatalogueTest, FailsWithItsErrorText)
{
    const BrokenCase& c = GetParam();
    const QByteArray xml = c.body.startsWith("<?")
        ? c.body
        : QByteArray("<?xml version=\"1.0\"?><productsdef version=\"1.0\">") + c.body + "</productsdef>";
    const QString data = MakeFolder(QStringLiteral("broken"));
    const QString path = data + QStringLiteral("/Products.dat");
    WriteFile(path, xml);
    try {
        ReadProductsXML(path, TTextMacros());
        FAIL() << "read did not fail";
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().codeText, QString::fromUtf8(c.text).replace(QLatin1String("%1"), path));
        EXPECT_EQ(error.Error().context, QLatin1String(kReadProductsContext));
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BrokenCatalogueTest,
    ::testing::Values(
        BrokenCase{"WrongRoot", "<?xml version=\"1.0\"?><products version=\"1.0\"/>", "wrong content (%1)"},
        BrokenCase{"WrongVersion", "<?xml version=\"1.0\"?><productsdef version=\"1.1\"/>", "wrong file format (%1)"},
        BrokenCase{"InvalidEditType", "<group id=\"G\" edit=\"posters\"/>", "Invalid edit type"},
        BrokenCase{"ParentWithoutSubgroup", "<group id=\"G\"><product id=\"P\"/></group>",
            "subgroup info required for parents"},
        BrokenCase{"InvalidSelectMode", "<group id=\"G\"><subgroup select=\"list\"/><product id=\"P\"/></group>",
            "Invalid select mode"},
        BrokenCase{"MissingDefaultChild", "<group id=\"G\"><subgroup defchild=\"Q\"/><product id=\"P\"/></group>",
            "DefaultChild Q not found"},
        BrokenCase{"OverrideWithoutProduct", "<group id=\"G\"><override id=\"X\"/></group>",
            "No calendar-product found to override"},
        BrokenCase{
            "MaxProductsNotANumber", "<group id=\"G\" maxproducts=\"many\"/>", "'many' is not a valid integer value"}),
    CaseName());

// ---- Reading, lookups --------------------------------------------------------

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureImaging();
        catalogue_ = ReadCatalogue(SmallCatalogueXml());
    }
    TProductItemList catalogue_;
};

TEST_F(CatalogueTest, ReadsTheTreeWithEditTypesAndDefaults)
{
    ASSERT_EQ(catalogue_.Count(), 3);
    const TProductItem* prints = catalogue_.At(0);
    EXPECT_EQ(prints->editType, ProductEditType::Prints);
    EXPECT_EQ(catalogue_.At(1)->editType, ProductEditType::Products); // no "edit"
    EXPECT_EQ(catalogue_.At(2)->editType, ProductEditType::Books);
    TProductItem* matt = catalogue_.Find(QStringLiteral("prints.13.MATT"));
    ASSERT_NE(matt, nullptr);
    EXPECT_EQ(matt->FullId(), QStringLiteral("Prints.13.matt"));
    EXPECT_EQ(matt->Level(), 2);
    EXPECT_EQ(matt->editType, ProductEditType::Prints); // inherited
    EXPECT_EQ(matt->Parent()->ratio, QStringLiteral("3-4")); // link overrides master
    EXPECT_EQ(catalogue_.At(0)->DefaultLeaf()->FullId(), QStringLiteral("Prints.10.glossy"));
    EXPECT_EQ(prints->Children()->At(0)->selectMode, ProductSelectMode::Radio);
    // A layout read from "conf", with its mask.
    const TProductItem* blue = catalogue_.Find(QStringLiteral("Gifts.Mug.blue"));
    ASSERT_TRUE(blue && blue->layout);
    EXPECT_EQ(blue->layout->Prints().Count(), 1);
    EXPECT_EQ(blue->layout->MaskX(), 3);
    EXPECT_EQ(blue->MaxProducts(), 3); // inherited from the group
}

TEST_F(CatalogueTest, FindAndNearest)
{
    EXPECT_EQ(catalogue_.Find(QStringLiteral("Prints.10"))->FullId(), QStringLiteral("Prints.10"));
    EXPECT_EQ(catalogue_.Find(QStringLiteral("Prints.10.silk")), nullptr);
    EXPECT_EQ(catalogue_.Find(QStringLiteral("Books.A4.x")), nullptr); // A4 has no children
    EXPECT_EQ(catalogue_.Find(QStringLiteral("Nothing")), nullptr);
    // A third part that does not exist: product 10's default child.
    EXPECT_EQ(catalogue_.FindNearest(QStringLiteral("Prints.10.silk"))->FullId(), QStringLiteral("Prints.10.glossy"));
    // Two parts dropped: two default children down from the group.
    EXPECT_EQ(catalogue_.FindNearest(QStringLiteral("Prints.99.silk"))->FullId(), QStringLiteral("Prints.10.glossy"));
    EXPECT_EQ(catalogue_.FindNearest(QStringLiteral("Gifts.Mug.blue"))->FullId(), QStringLiteral("Gifts.Mug.blue"));
    EXPECT_EQ(catalogue_.FindNearest(QStringLiteral("Nothing.10")), nullptr);
    EXPECT_EQ(catalogue_.FindNearest(QString()), nullptr);
}

TEST_F(CatalogueTest, VariantByPathAndPageCountVariant)
{
    TProductItem* prints = catalogue_.At(0);
    EXPECT_EQ(prints->Children()->At(1)->VariantByPath(QStringLiteral("Prints.13.matt"))->FullId(),
        QStringLiteral("Prints.13.matt"));
    EXPECT_EQ(prints->VariantByPath(QStringLiteral("Prints.13.unknown"))->FullId(), QStringLiteral("Prints.13.glossy"));
    EXPECT_EQ(prints->VariantByPath(QStringLiteral("Prints"))->FullId(), QStringLiteral("Prints.10.glossy"));

    // Page-count ranges come from the exchange records of the variants.
    TProductItem* a4 = catalogue_.Find(QStringLiteral("Books.A4"));
    auto& children = a4->EnsureChildren();
    TXchg small;
    small.SetPageCountRange(24, 47);
    TXchg large;
    large.SetPageCountRange(48, 96);
    for (const auto& [id, record] : {std::pair{"24", &small}, std::pair{"48", &large}}) {
        auto child = std::make_unique<TProductItem>(a4, 2);
        child->id = QLatin1String(id);
        child->xchg = record;
        children.Append(std::move(child));
    }
    a4->SetDefaultChild(children.At(0));
    EXPECT_EQ(a4->PageCountVariant(30)->id, QStringLiteral("24"));
    EXPECT_EQ(a4->PageCountVariant(48)->id, QStringLiteral("48"));
    EXPECT_EQ(a4->PageCountVariant(500)->id, QStringLiteral("48")); // clamped
    EXPECT_EQ(a4->PageCountVariant(2)->id, QStringLiteral("24"));
}

TEST_F(CatalogueTest, PruningKeepsOnlyLinkedEntries)
{
    TXchg article;
    catalogue_.Find(QStringLiteral("Prints.13.matt"))->xchg = &article;
    catalogue_.Find(QStringLiteral("Books"))->xchg = &article;
    PruneCatalogue(catalogue_);
    EXPECT_EQ(catalogue_.FullIds(), (QStringList{QStringLiteral("Prints"), QStringLiteral("Books")}));
    TProductItem* prints = catalogue_.At(0);
    EXPECT_EQ(prints->Children()->FullIds(), QStringList{QStringLiteral("Prints.13")});
    EXPECT_EQ(prints->Children()->At(0)->Children()->FullIds(), QStringList{QStringLiteral("Prints.13.matt")});
    // A default child that was pruned falls back to the first child.
    EXPECT_EQ(prints->DefaultLeaf()->FullId(), QStringLiteral("Prints.13.matt"));
    EXPECT_EQ(&catalogue_.At(1)->EffectiveXchg(), &article);
}

// ---- Calendars ----------------------------------------------------------------

QByteArray CalendarCatalogue(const QByteArray& override)
{
    QByteArray sheets;
    for (int k = 0; k <= 12; ++k)
        sheets += QByteArray("<print_def client_h_center=\"50\" client_v_center=\"50\" client_h_size=\"100\" "
                             "client_v_size=\"100\" tag=\"")
            + QByteArray::number(300 + k)
            + "\"><photo_def><file filename=\"sheet_white.jpg\"/></photo_def></print_def>";
    return QByteArray("<?xml version=\"1.0\"?><productsdef version=\"1.0\"><group id=\"Cal\">"
                      "<subgroup defchild=\"Wall\"/><product id=\"Wall\" dispname=\"Kalender\" calmonth=\"1\">"
                      "<subgroup defchild=\"white\"/><item id=\"white\"><conf calendar=\"1\" def_bg_color=\"white\" "
                      "client_h_center=\"50\" client_v_center=\"50\" client_h_size=\"100\" client_v_size=\"100\">")
        + sheets + "</conf></item><item id=\"black\"><conf calendar=\"1\" def_bg_color=\"white\" "
        + "client_h_center=\"50\" client_v_center=\"50\" client_h_size=\"100\" client_v_size=\"100\">" + sheets
        + "</conf></item></product>" + override + "</group></productsdef>";
}

QList<int> MonthCodes(const TProductItem& item)
{
    QList<int> codes;
    for (const TPrintDef& print : item.layout->Prints())
        codes.append(print.Tag());
    return codes;
}

struct OverrideCase {
    std::string name;
    int calmonth;
    QList<int> codes; // of the copy's default leaf
};

class CalendarOverrideTest : public ::testing::TestWithParam<OverrideCase> { };

TEST_P(CalendarOverrideTest, RotatesTheMonthSheets)
{
    EnsureImaging();
    const OverrideCase& c = GetParam();
    const TProductItemList catalogue
        = ReadCatalogue(CalendarCatalogue("<override copy=\"true\" id=\"Wall2\" dispname=\"Kalender ab\" calmonth=\""
            + QByteArray::number(c.calmonth) + "\" calyear=\"2027\"/>"));
    TProductItem* group = catalogue.At(0);
    ASSERT_EQ(group->Children()->Count(), 2);
    // The original stays as it was.
    EXPECT_EQ(MonthCodes(*catalogue.Find(QStringLiteral("Cal.Wall.white"))).value(1), 301);
    TProductItem* copy = catalogue.Find(QStringLiteral("Cal.Wall2"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->displayName, QStringLiteral("Kalender ab"));
    EXPECT_EQ(copy->PluralName(), QStringLiteral("Kalender ab"));
    EXPECT_EQ(copy->calendarYear, 2027);
    TProductItem* leaf = copy->Children()->At(1);
    EXPECT_EQ(MonthCodes(*leaf), c.codes);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, CalendarOverrideTest,
    ::testing::Values(OverrideCase{"November", 11, {300, 311, 312, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310}},
        OverrideCase{"April", 4, {300, 304, 305, 306, 307, 308, 309, 310, 311, 312, 301, 302, 303}},
        // A month below 1 changes nothing.
        OverrideCase{"NoMonth", 0, {300, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310, 311, 312}}),
    CaseName());

TEST(CalendarVariantTest, VariantTokenRenamesTheBackgrounds)
{
    EnsureImaging();
    const TProductItemList catalogue = ReadCatalogue(CalendarCatalogue(QByteArray()));
    WritePicture(ExpandPath(QStringLiteral("{Data}/sheet_white.jpg")));
    WritePicture(ExpandPath(QStringLiteral("{Data}/sheet_black.jpg")));
    TProductItem* wall = catalogue.Find(QStringLiteral("Cal.Wall"));
    TProductItem* black = wall->VariantByPath(QStringLiteral("Cal.Wall.black"));
    ASSERT_EQ(black->id, QStringLiteral("black"));
    EXPECT_TRUE(black->layout->Prints()[0].Photo().FileName().endsWith(QLatin1String("/sheet_black.jpg")));
    TProductItem* white = wall->VariantByPath(QStringLiteral("Cal.Wall.white"));
    EXPECT_TRUE(white->layout->Prints()[0].Photo().FileName().endsWith(QLatin1String("/sheet_white.jpg")));
}

// ---- Text macros, product texts, exchange records -------------------------------

TEST(TextMacrosTest, ExpandsEachKind)
{
    RegisterPathPlaceholder(QStringLiteral("{Data}"), QStringLiteral("/srv/data"));
    TProductTexts texts;
    texts.SetText(QStringLiteral("Gloss"), QStringLiteral("Glänzend"));
    const TTextMacros macros(&texts);
    EXPECT_EQ(macros.Expand(QStringLiteral("a {[lang]Gloss} b"), TextMacroKind::None), QStringLiteral("a Glänzend b"));
    EXPECT_EQ(macros.Expand(QStringLiteral("{[price]Prints.10}"), TextMacroKind::None), QStringLiteral("???"));
    EXPECT_EQ(
        macros.Expand(QStringLiteral("{[file]{Data}/x.jpg}"), TextMacroKind::None), QStringLiteral("/srv/data/x.jpg"));
    EXPECT_EQ(macros.Expand(QStringLiteral("<{[file]x.jpg}>"), TextMacroKind::None), QStringLiteral("<x.jpg>"));
    // Without a known prefix: the default kind, or left alone.
    EXPECT_EQ(macros.Expand(QStringLiteral("{Gloss}/{Missing}"), TextMacroKind::Lang), QStringLiteral("Glänzend/"));
    EXPECT_EQ(macros.Expand(QStringLiteral("{Gloss} {"), TextMacroKind::None), QStringLiteral("{Gloss} {"));
    // Inserted text is not expanded again.
    texts.SetText(QStringLiteral("Loop"), QStringLiteral("{[lang]Gloss}"));
    EXPECT_EQ(macros.Expand(QStringLiteral("{[lang]Loop}"), TextMacroKind::None), QStringLiteral("{[lang]Gloss}"));
}

TEST(ProductTextsTest, LanguageFolderWinsOnlyWithRegions)
{
    const QString data = MakeFolder(QStringLiteral("Data"));
    const QString language = MakeFolder(QStringLiteral("Data.DEU"));
    WriteFile(data + QStringLiteral("/ProdTexts.dat"), "<ini><A>data</A><B>data</B></ini>");
    WriteFile(language + QStringLiteral("/ProdTexts.dat"), "<ini><A>sprache</A></ini>");
    TProductTexts texts;
    texts.Load(data, language);
    EXPECT_EQ(texts.Text(QStringLiteral("a")), QStringLiteral("data"));
    WriteFile(data + QStringLiteral("/AppRgn.dat"), "<regions/>");
    texts.Load(data, language);
    EXPECT_EQ(texts.Text(QStringLiteral("A")), QStringLiteral("sprache"));
    EXPECT_EQ(texts.Text(QStringLiteral("B")), QStringLiteral("data"));
    EXPECT_EQ(texts.Text(QStringLiteral("C")), QString());
}

class TestArticle : public TXchg {
public:
    void ReadXML(pugi::xml_node element) override
    {
        TXchg::ReadXML(element);
        SetPageCountRange(element.attribute("min").as_int(), element.attribute("max").as_int());
    }
};

TEST(XchgTest, RegisterCreatesRecordsByTypeName)
{
    XchgClasses::Register(QStringLiteral("TTestArticle"), [] { return std::make_unique<TestArticle>(); });
    EXPECT_THROW(
        XchgClasses::Register(QStringLiteral("ttestarticle"), [] { return std::make_unique<TXchg>(); }), EQORException);
    pugi::xml_document document;
    document.load_string(R"(<xchg id="Books.A4.24" type="TTESTARTICLE" min="24" max="47"/>)");
    const std::unique_ptr<TXchg> record = XchgClasses::CreateFromXML(document.first_child());
    EXPECT_EQ(record->GroupId(), QStringLiteral("Books"));
    EXPECT_EQ(record->MaxPageCount(), 47);

    document.load_string(R"(<xchg type="TTestArticle"/>)");
    try {
        XchgClasses::CreateFromXML(document.first_child());
        FAIL();
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().code, 3);
        EXPECT_EQ(error.Error().codeText, QStringLiteral("\"id\" not defined for xchg"));
    }
    document.load_string(R"(<xchg id="A.B" type="TUnknown"/>)");
    try {
        XchgClasses::CreateFromXML(document.first_child());
        FAIL();
    } catch (const EQORException& error) {
        EXPECT_EQ(error.Error().codeText, QStringLiteral("TUnknown"));
    }
    XchgClasses::Unregister(QStringLiteral("TTestArticle"));
}

} // namespace
} // namespace pavlora::test
