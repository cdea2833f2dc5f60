#include "CatalogueFixtures.h"

#include "catalogue/PrintCartItemData.h"
#include "catalogue/PrintItemFactory.h"
#include "catalogue/ProductItem.h"
#include "core/QORException.h"
#include "layout/PictureDef.h"
#include "support/TestSandbox.h"

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

struct ChoiceCase {
    const char* name;
    TPrintDefaults defaults;
    const char* stdFormatId;
    const char* variantSuffix;
    const char* expected; // full id of the chosen product
};

class PrintItemChoice : public ::testing::TestWithParam<ChoiceCase> { };

TEST_P(PrintItemChoice, FollowsDefaultsPreferencesAndVariants)
{
    const ChoiceCase& c = GetParam();
    TProductItemList catalogue = ReadCatalogue(SmallCatalogueXml());
    TPrintUserDefaults user;
    user.stdFormatId = QString::fromUtf8(c.stdFormatId);
    TPrintItemFactory factory(catalogue, user);
    factory.SetCurrentGroups(catalogue.Find(QStringLiteral("Prints")), catalogue.Find(QStringLiteral("Gifts")));
    factory.SetDefaults(c.defaults);
    TProductItem* product = factory.ChooseProduct(QString::fromUtf8(c.variantSuffix));
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->FullId(), QString::fromUtf8(c.expected));
}

TPrintDefaults Global(const char* format)
{
    return TPrintDefaults{true, QString::fromUtf8(format), 4, QStringLiteral("Prints.13.glossy")};
}

TPrintDefaults Last(const char* format)
{
    return TPrintDefaults{false, QString(), 1, QString::fromUtf8(format)};
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintItemChoice,
    ::testing::Values(ChoiceCase{"UserPreference", {}, "Prints.13", "", "Prints.13"},
        ChoiceCase{"LastFormatBeforePreference", Last("Prints.13.matt"), "Prints.10", "", "Prints.13.matt"},
        ChoiceCase{"UnknownLastFormatFallsBack", Last("Prints.99"), "Prints.10.matt", "", "Prints.10.matt"},
        ChoiceCase{"GlobalFormatFirst", Global("Prints.10.matt"), "Prints.13", "", "Prints.10.matt"},
        ChoiceCase{"GlobalWithoutFormatUsesLast", Global(""), "Prints.10", "", "Prints.13.glossy"},
        ChoiceCase{"NothingFoundTakesTheGroup", Last("Nope"), "Nope.1", "", "Prints"},
        ChoiceCase{"ProductsGroupFormatKept", {}, "Gifts.Mug.blue", "", "Gifts.Mug.blue"},
        ChoiceCase{"ForeignGroupBecomesDefaultLeaf", {}, "Books.A4", "", "Prints.10.glossy"},
        ChoiceCase{"VariantKeepsThePaper", Last("Prints.10.matt"), "", "13", "Prints.13.matt"},
        ChoiceCase{"UnknownVariantIgnored", Last("Prints.10.matt"), "", "99", "Prints.10.matt"}),
    CaseName());

TEST(PrintItemFactory, CreatesOneLineWithQuantityRatioAndPicture)
{
    EnsureImaging();
    TProductItemList catalogue = ReadCatalogue(SmallCatalogueXml());
    const QString picture = MakeFolder(QStringLiteral("pictures")) + QStringLiteral("/IMG_1.jpg");
    WritePicture(picture);
    TPrintUserDefaults user{QStringLiteral("Prints.13.glossy"), 2, true};
    TPrintItemFactory factory(catalogue, user);
    factory.SetCurrentGroups(catalogue.Find(QStringLiteral("Prints")), nullptr);

    auto print = factory.Create(TPrintPicture{picture, QString(), 90});
    ASSERT_EQ(print->Lines().size(), 1u);
    EXPECT_EQ(print->Lines().front().productId, QStringLiteral("Prints.13.glossy"));
    EXPECT_EQ(print->Lines().front().quantity, 2);
    EXPECT_EQ(print->groupId, QStringLiteral("Prints"));
    EXPECT_TRUE(print->ratio34); // inherited from format 13
    EXPECT_FALSE(print->ratio23);
    EXPECT_TRUE(print->saveInAlbum);
    EXPECT_EQ(print->Picture().Photo().FileName(), picture);
    EXPECT_EQ(print->Picture().Photo().OriginalFileName(), QStringLiteral("IMG_1.jpg"));
    EXPECT_NEAR(print->Picture().Angle(), 1.5707963, 1e-6);

    factory.SetDefaults(TPrintDefaults{true, QStringLiteral("Prints.10"), 5, QString()});
    auto preset = factory.Create(TPrintPicture{picture, QStringLiteral("Urlaub"), 0});
    EXPECT_EQ(preset->Lines().front().quantity, 5);
    EXPECT_TRUE(preset->ratio23);
    EXPECT_EQ(preset->Picture().Photo().OriginalFileName(), QStringLiteral("Urlaub"));
}

TEST(PrintItemFactory, WithoutAnyProductRaises)
{
    TProductItemList catalogue = ReadCatalogue(SmallCatalogueXml());
    TPrintItemFactory factory(catalogue, TPrintUserDefaults{QStringLiteral("Nope"), 1, false});
    try {
        factory.Create(TPrintPicture{QStringLiteral("x.jpg"), QString(), 0});
        FAIL() << "no exception";
    } catch (const EQORException& e) {
        EXPECT_EQ(e.Error().codeText, QStringLiteral("No print article found"));
    }
}

} // namespace
} // namespace pavlora::test
