// The demo deployment of the build's program folder is what a fresh
// installation runs on: its catalogue and every layout file must load.

#include "CatalogueFixtures.h"

#include "catalogue/ProductItem.h"
#include "catalogue/ProductTexts.h"
#include "catalogue/ProductsReader.h"
#include "catalogue/TextMacros.h"
#include "core/PathPlaceholders.h"
#include "layout/LayoutFile.h"
#include "layout/ProductPageDef.h"
#include "support/TestSandbox.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

class DemoDeploymentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureImaging();
        data_ = BuiltProgramFolder() + QStringLiteral("/Data");
        RegisterPathPlaceholder(QStringLiteral("{Data}"), data_);
    }
    QString data_;
};

TEST_F(DemoDeploymentTest, CatalogueHasTheProductsOfTheDemo)
{
    TProductTexts texts;
    texts.Load(data_, QString());
    const TProductItemList catalogue = ReadProductsXML(data_ + QStringLiteral("/Products.dat"), TTextMacros(&texts));
    for (const char* format : {"Prints.9", "Prints.10", "Prints.13", "Prints.20"}) {
        const TProductItem* item = catalogue.Find(QLatin1String(format));
        ASSERT_NE(item, nullptr) << format;
        EXPECT_EQ(item->Children()->FullIds(),
            (QStringList{
                QLatin1String(format) + QStringLiteral(".glossy"), QLatin1String(format) + QStringLiteral(".matt")}));
    }
    const TProductItem* books = catalogue.Find(QStringLiteral("PhotoBooks"));
    ASSERT_NE(books, nullptr);
    EXPECT_EQ(books->editType, ProductEditType::Books);
    for (const auto& book : *books->Children()) {
        EXPECT_TRUE(book->displayName.contains(QLatin1String("Fotobuch")));
        EXPECT_GE(book->Children()->Count(), 2);
        const QString folder = ExpandPath(book->resourceFolder);
        for (const char* name : {"/Default.pbd", "/Layouts.pbl", "/CoverBkgnds.pbc", "/CoverLayouts.pbl"})
            EXPECT_TRUE(QFileInfo::exists(folder + QLatin1String(name))) << name;
    }
    // A twelve-month calendar with its July copy, a poster and a mug with masks.
    const TProductItem* july = catalogue.Find(QStringLiteral("Products.KalenderA4Juli.black"));
    ASSERT_TRUE(july && july->layout);
    EXPECT_TRUE(july->Parent()->displayName.contains(QLatin1String("Kalender")));
    QList<int> codes;
    for (const TPrintDef& print : july->layout->Prints())
        codes.append(print.Tag());
    EXPECT_EQ(codes, (QList<int>{100, 107, 108, 109, 110, 111, 112, 101, 102, 103, 104, 105, 106}));
    for (const char* id : {"Products.Poster50x70", "Products.Tasse"}) {
        const TProductItem* item = catalogue.Find(QLatin1String(id));
        ASSERT_TRUE(item && item->layout) << id;
        EXPECT_TRUE(QFileInfo::exists(ExpandPath(item->layout->MaskFile()))) << id;
        for (const TPrintDef& print : item->layout->Prints()) {
            const TPhotoDef& photo = print.Photo();
            EXPECT_TRUE(photo.FileName().isEmpty() || photo.Valid()) << photo.FileName().toStdString();
        }
    }
    // Every background of the calendar variants exists.
    TProductItem* calendar = catalogue.Find(QStringLiteral("Products.KalenderA4"));
    for (const char* variant : {"Products.KalenderA4.white", "Products.KalenderA4.black"}) {
        TProductItem* leaf = calendar->VariantByPath(QLatin1String(variant));
        for (const TPrintDef& print : leaf->layout->Prints())
            EXPECT_TRUE(print.Photo().Valid()) << print.Photo().FileName().toStdString();
    }
}

TEST_F(DemoDeploymentTest, PhotobookFilesLoad)
{
    for (const char* product : {"A4", "A5quer"}) {
        const QString folder = data_ + QStringLiteral("/PhotoBooks/") + QLatin1String(product);
        const std::unique_ptr<TPhotoBookDef> book = LoadPhotoBookDef(folder + QStringLiteral("/Default.pbd"));
        ASSERT_NE(book, nullptr) << product;
        EXPECT_EQ(book->PageCount(), 24);
        EXPECT_EQ(LoadLayoutCollection(folder + QStringLiteral("/Layouts.pbl"))->prints.Count(), 4);
        EXPECT_EQ(LoadLayoutCollection(folder + QStringLiteral("/CoverBkgnds.pbc"))->photos.Count(), 2);
        EXPECT_EQ(LoadLayoutCollection(folder + QStringLiteral("/CoverLayouts.pbl"))->prints.Count(), 2);
    }
}

} // namespace
} // namespace pavlora::test
