#include "CatalogueFixtures.h"
#include "ScriptedCartDialogs.h"

#include "catalogue/CartController.h"
#include "catalogue/HandOverFile.h"
#include "catalogue/ProductCartItemData.h"
#include "catalogue/ProductItem.h"
#include "core/QORException.h"
#include "layout/ProductPageDef.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

class HandOverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureImaging();
        catalogue_ = ReadCatalogue(SmallCatalogueXml());
        folder_ = MakeFolder(QStringLiteral("handover"));
        WritePicture(folder_ + QStringLiteral("/IMG_1.jpg"));
        WritePicture(folder_ + QStringLiteral("/IMG_2.jpg"));
    }

    QString WriteHandOver(const QByteArray& text)
    {
        const QString path = folder_ + QStringLiteral("/Auftrag.fsw");
        WriteFile(path, text);
        return path;
    }

    TProductItemList catalogue_;
    QString folder_;
    ScriptedCartDialogs dialogs_;
};

const QByteArray kProducts = "[General]\r\nAccount=1\r\nItems=2\r\n"
                             "[0]\r\nQuantity=2\r\nProduct=Gifts.Mug.blue\r\nItems=1\r\nFilename=IMG_1.jpg\r\n"
                             "OrigFilename=C:\\Bilder\\Urlaub.jpg\r\n"
                             "[1]\r\nquantity=1\r\nPRODUCT=Gifts.Mug\r\nFilename=IMG_2.jpg\r\n";

TEST_F(HandOverTest, ProductsAreAddedSavedAndTheSourcesRemoved)
{
    TCartController controller(TCartSettings{}, catalogue_, &dialogs_);
    const QString file = WriteHandOver(kProducts);
    ASSERT_TRUE(controller.ImportCartIni(file));
    const TCart& cart = controller.Cart();
    ASSERT_EQ(cart.Count(), 2);
    EXPECT_EQ(cart.At(0)->Lines().front().productId, QStringLiteral("Gifts.Mug.blue"));
    EXPECT_EQ(cart.At(0)->Lines().front().quantity, 2);
    EXPECT_EQ(cart.At(1)->Lines().front().productId, QStringLiteral("Gifts.Mug.white"));
    const auto& mug = static_cast<const TProductCartItemData&>(*cart.At(0));
    EXPECT_EQ(mug.Layout().Prints()[0].Pictures()[0].Photo().OriginalFileName(), QStringLiteral("Urlaub.jpg"));

    const QString cartFile = folder_ + QStringLiteral("/Auftrag.psc");
    EXPECT_EQ(cart.FileName(), cartFile);
    EXPECT_TRUE(QFileInfo::exists(cartFile));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(folder_ + QStringLiteral("/IMG_1.jpg")));
    EXPECT_FALSE(QFileInfo::exists(folder_ + QStringLiteral("/IMG_2.jpg")));
    EXPECT_EQ(QDir(folder_ + QStringLiteral("/Auftrag-Dateien")).entryList(QDir::Files).size(), 2);
    EXPECT_FALSE(controller.Modified());
}

TEST_F(HandOverTest, AFailingSaveDeletesNothing)
{
    TCartController controller(TCartSettings{}, catalogue_, &dialogs_);
    const QString file = WriteHandOver(kProducts);
    // The picture folder cannot be made: a file has its name.
    WriteFile(folder_ + QStringLiteral("/Auftrag-Dateien"), "in the way");
    EXPECT_FALSE(controller.ImportCartIni(file));
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(folder_ + QStringLiteral("/IMG_1.jpg")));
    EXPECT_TRUE(QFileInfo::exists(folder_ + QStringLiteral("/IMG_2.jpg")));
    EXPECT_FALSE(QFileInfo::exists(folder_ + QStringLiteral("/Auftrag.psc")));
    ASSERT_FALSE(dialogs_.messages.isEmpty());
    EXPECT_EQ(dialogs_.messages.back().text,
        QStringLiteral("Das Speichern der Datei %1 ist fehlgeschlagen.").arg(folder_ + QStringLiteral("/Auftrag.psc")));
    EXPECT_EQ(controller.Cart().Count(), 2); // the items stay for another try
}

TEST_F(HandOverTest, PrintsWithSeveralLinesAndPicturesOutsideTheFolderStay)
{
    const QString elsewhere = MakeFolder(QStringLiteral("elsewhere"));
    WritePicture(elsewhere + QStringLiteral("/far.jpg"));
    TCartController controller(TCartSettings{}, catalogue_, &dialogs_);
    const QString file = WriteHandOver("[general]\nItems=2\n"
                                       "[0]\nItems=2\nQuantity=3, 1\nProduct=Prints.10.matt,Prints.13\n"
                                       "Filename=IMG_1.jpg\n"
                                       "[1]\nQuantity=1\nProduct=Prints.10\nFilename="
        + elsewhere.toUtf8() + "/far.jpg\n");
    ASSERT_TRUE(controller.ImportCartIni(file));
    const TCart& cart = controller.Cart();
    ASSERT_EQ(cart.Count(), 2);
    ASSERT_EQ(cart.At(0)->Lines().size(), 2u);
    EXPECT_EQ(cart.At(0)->Lines()[0].productId, QStringLiteral("Prints.10.matt"));
    EXPECT_EQ(cart.At(0)->Lines()[0].quantity, 3);
    EXPECT_EQ(cart.At(0)->Lines()[1].productId, QStringLiteral("Prints.13.glossy"));
    EXPECT_FALSE(QFileInfo::exists(folder_ + QStringLiteral("/IMG_1.jpg")));
    EXPECT_TRUE(QFileInfo::exists(elsewhere + QStringLiteral("/far.jpg")));
    EXPECT_TRUE(QFileInfo::exists(folder_ + QStringLiteral("/IMG_2.jpg"))); // never named
}

struct InvalidCase {
    std::string name;
    QByteArray text;
};

class InvalidHandOverTest : public ::testing::TestWithParam<InvalidCase> { };

TEST_P(InvalidHandOverTest, IsRefusedAsAWhole)
{
    EXPECT_THROW(THandOverFile::Parse(GetParam().text, QStringLiteral("/tmp")), EQORException);
}

INSTANTIATE_TEST_SUITE_P(HandOver, InvalidHandOverTest,
    ::testing::Values(InvalidCase{"ItemsNotANumber", "[General]\nItems=two\n"},
        InvalidCase{"NegativeItems", "[General]\nItems=-1\n"},
        InvalidCase{"TooManyItems", "[General]\nItems=99999999\n"},
        InvalidCase{"UnknownAccount", "[General]\nAccount=7\nItems=0\n"},
        InvalidCase{"SectionMissing", "[General]\nItems=1\n"},
        InvalidCase{"FewerQuantitiesThanLines",
            "[General]\nItems=1\n[0]\nItems=2\nQuantity=1\nProduct=a,b\n"
            "Filename=x.jpg\n"},
        InvalidCase{"ZeroQuantity", "[General]\nItems=1\n[0]\nQuantity=0\nProduct=a\nFilename=x.jpg\n"},
        InvalidCase{"NoPicture", "[General]\nItems=1\n[0]\nQuantity=1\nProduct=a\n"}),
    CaseName());

TEST(HandOverFileTest, KeepsBackslashesAndResolvesBesideTheFile)
{
    const THandOverFile file = THandOverFile::Parse(
        "[GENERAL]\nitems=1\n[0]\nQuantity=1\nProduct=Prints.10\nFilename=sub\\IMG 1.jpg\nOrigFilename=C:\\A\\b.jpg\n",
        QStringLiteral("/data/in"));
    ASSERT_EQ(file.items.size(), 1);
    EXPECT_EQ(file.items[0].fileName, QStringLiteral("sub\\IMG 1.jpg"));
    EXPECT_EQ(file.items[0].picturePath, QStringLiteral("/data/in/sub/IMG 1.jpg"));
    EXPECT_EQ(file.items[0].originalFileName, QStringLiteral("C:\\A\\b.jpg"));
}

} // namespace
} // namespace pavlora::test
