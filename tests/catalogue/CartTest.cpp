#include "CatalogueFixtures.h"
#include "ScriptedCartDialogs.h"

#include "catalogue/Cart.h"
#include "catalogue/CartController.h"
#include "catalogue/PhotoBookRefCartItemData.h"
#include "catalogue/PrintCartItemData.h"
#include "catalogue/ProductCartItemData.h"
#include "catalogue/ProductItem.h"
#include "core/DataStream.h"
#include "layout/PictureDef.h"
#include "layout/ProductPageDef.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

class CartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureImaging();
        catalogue_ = ReadCatalogue(SmallCatalogueXml());
        pictures_ = MakeFolder(QStringLiteral("pictures"));
        carts_ = MakeFolder(QStringLiteral("carts"));
    }

    QString Picture(const QString& name)
    {
        const QString path = pictures_ + QLatin1Char('/') + name;
        if (!QFileInfo::exists(path))
            WritePicture(path);
        return path;
    }

    std::unique_ptr<TPrintCartItemData> Print(const QString& picture, const QString& format, int quantity = 1)
    {
        auto print = std::make_unique<TPrintCartItemData>();
        print->Lines().front().SetProduct(catalogue_.Find(format));
        print->Lines().front().quantity = quantity;
        print->groupId = QStringLiteral("Prints");
        print->SetPicture(Picture(picture), picture);
        return print;
    }

    std::unique_ptr<TPhotoBookRefCartItemData> Book(const QString& file, int quantity)
    {
        auto book = std::make_unique<TPhotoBookRefCartItemData>();
        book->fileName = file;
        book->pageCount = 24;
        book->Lines().front().SetProduct(catalogue_.Find(QStringLiteral("Books.A4")));
        book->Lines().front().quantity = quantity;
        book->groupId = QStringLiteral("Books");
        return book;
    }

    static QStringList FilesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    TProductItemList catalogue_;
    QString pictures_;
    QString carts_;
    ScriptedCartDialogs dialogs_;
};

TEST_F(CartTest, SamePhotoBookTwiceAddsItsQuantity)
{
    TCart cart(TCartSettings{}, &dialogs_);
    const QString file = pictures_ + QStringLiteral("/book.pbf");
    WriteFile(file, "x");
    EXPECT_EQ(cart.Add(Book(file, 1)), 0);
    EXPECT_EQ(cart.Add(Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10.glossy"))), 1);
    EXPECT_EQ(cart.Add(Book(pictures_ + QStringLiteral("/../pictures/book.pbf"), 2)), 0);
    ASSERT_EQ(cart.Count(), 2);
    EXPECT_EQ(cart.At(0)->Lines().front().quantity, 3);
    EXPECT_EQ(cart.TotalQuantity(), 4);
    EXPECT_EQ(cart.LastGroupId(), QStringLiteral("Books"));
}

TEST_F(CartTest, CatalogueTotalsMarkDifferingPrices)
{
    TCart cart(TCartSettings{}, &dialogs_);
    auto a = Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10.glossy"), 2);
    a->Lines().front().unitPrice = 0.5f;
    auto b = Print(QStringLiteral("b.jpg"), QStringLiteral("Prints.10.matt"), 3);
    b->Lines().front().unitPrice = 0.5f;
    auto c = Print(QStringLiteral("c.jpg"), QStringLiteral("Prints.13.matt"), 1);
    c->Lines().front().unitPrice = 1.0f;
    cart.Add(std::move(a));
    cart.Add(std::move(b));
    cart.Add(std::move(c));
    cart.ComputeCatalogueTotals(catalogue_);
    const TProductItem* ten = catalogue_.Find(QStringLiteral("Prints.10"));
    EXPECT_EQ(ten->totalQuantity, 5);
    EXPECT_DOUBLE_EQ(ten->totalAmount, 2.5);
    EXPECT_DOUBLE_EQ(ten->totalUnitPrice, 0.5);
    EXPECT_DOUBLE_EQ(catalogue_.At(0)->totalUnitPrice, -2.0); // 0.5 and 1.0 under the group
    EXPECT_DOUBLE_EQ(catalogue_.Find(QStringLiteral("Gifts"))->totalUnitPrice, -1.0);
    const TCartSummary summary = cart.Summary(0, catalogue_);
    ASSERT_EQ(summary.rows.size(), 2u);
    EXPECT_EQ(summary.rows[0].name, QStringLiteral("10 x 15"));
    EXPECT_EQ(summary.rows[0].quantity, 5);
}

TEST_F(CartTest, SummaryPerItemAndPerGroup)
{
    TCart cart(TCartSettings{}, &dialogs_);
    auto a = Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10.glossy"), 2);
    a->Lines().front().unitPrice = 0.5f;
    cart.Add(std::move(a));
    cart.Add(Print(QStringLiteral("b.jpg"), QStringLiteral("Prints.13.matt"), 1));
    auto mug = std::make_unique<TProductCartItemData>(catalogue_.Find(QStringLiteral("Gifts.Mug.blue")));
    mug->SetFirstPicture(Picture(QStringLiteral("mug.jpg")), QStringLiteral("mug.jpg"));
    mug->groupId = QStringLiteral("Gifts");
    cart.Add(std::move(mug));
    const QString bookFile = pictures_ + QStringLiteral("/book.pbf");
    WriteFile(bookFile, "x");
    cart.Add(Book(bookFile, 1));
    const QString otherBook = pictures_ + QStringLiteral("/other.pbf");
    WriteFile(otherBook, "x");
    cart.Add(Book(otherBook, 2));
    cart.ComputeCatalogueTotals(catalogue_);

    // One row per item: prints by format with their picture, products by
    // their level-1 ancestor with the picture of the first area.
    const TCartSummary perItem = cart.Summary(1, catalogue_);
    ASSERT_EQ(perItem.rows.size(), 5u);
    EXPECT_EQ(perItem.rows[0].name, QStringLiteral("Glossy"));
    EXPECT_EQ(perItem.rows[0].quantity, 2);
    EXPECT_DOUBLE_EQ(perItem.rows[0].amount, 1.0);
    EXPECT_EQ(perItem.rows[0].pictureFile, Picture(QStringLiteral("a.jpg")));
    EXPECT_EQ(perItem.rows[2].name, QStringLiteral("Mug"));
    EXPECT_EQ(perItem.rows[2].pictureFile, Picture(QStringLiteral("mug.jpg")));
    EXPECT_EQ(perItem.rows[3].name, QStringLiteral("Fotobuch A4"));

    // Per group in catalogue order: singular or plural names; each book
    // is a row of its own.
    const TCartSummary perGroup = cart.Summary(2, catalogue_);
    ASSERT_EQ(perGroup.rows.size(), 4u);
    EXPECT_EQ(perGroup.rows[0].name, QStringLiteral("Prints"));
    EXPECT_EQ(perGroup.rows[0].quantity, 3);
    EXPECT_EQ(perGroup.rows[1].name, QStringLiteral("Gifts"));
    EXPECT_EQ(perGroup.rows[1].quantity, 1);
    EXPECT_EQ(perGroup.rows[2].name, QStringLiteral("Fotobuch A4"));
    EXPECT_EQ(perGroup.rows[3].name, QStringLiteral("Fotobücher A4"));
    EXPECT_EQ(perGroup.rows[3].quantity, 2);
}

TEST_F(CartTest, RoundTripWithAMissingPicture)
{
    TCart cart(TCartSettings{}, &dialogs_);
    cart.Add(Print(QStringLiteral("keep.jpg"), QStringLiteral("Prints.10.matt"), 2));
    cart.Add(Print(QStringLiteral("lost.jpg"), QStringLiteral("Prints.13.glossy"), 1));
    auto mug = std::make_unique<TProductCartItemData>(catalogue_.Find(QStringLiteral("Gifts.Mug.blue")));
    mug->SetFirstPicture(Picture(QStringLiteral("mug.jpg")), QStringLiteral("mug.jpg"));
    cart.Add(std::move(mug));
    cart.SetIndexPrintText(QStringLiteral("Index"));
    const QString file = carts_ + QStringLiteral("/Urlaub.psc");
    cart.SetFileName(file);
    ASSERT_GE(cart.Save(true, CartSaveFlags::Write), 0);

    // Encrypted unless switched off, and the pictures are copies.
    EXPECT_EQ(ClassifyDataStream(ReadFile(file)), DataVariant::Des);
    const QString folder = carts_ + QStringLiteral("/Urlaub-Dateien");
    EXPECT_EQ(FilesIn(folder),
        (QStringList{QStringLiteral("keep.jpg"), QStringLiteral("lost.jpg"), QStringLiteral("mug.jpg")}));
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/lost.jpg")));

    TCart loaded(TCartSettings{}, &dialogs_);
    const TCartLoadResult result = loaded.Load(file, catalogue_, true);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.missingPictures, 1);
    EXPECT_EQ(result.message,
        QStringLiteral("Beim Laden des Warenkorbs wurde(n) 1 Bild(er) für Abzüge nicht gefunden. Die zugehörigen "
                       "Einträge wurden entfernt."));
    ASSERT_EQ(loaded.Count(), 2);
    const auto& print = static_cast<const TPrintCartItemData&>(*loaded.At(0));
    EXPECT_EQ(print.Lines().front().productId, QStringLiteral("Prints.10.matt"));
    EXPECT_EQ(print.Lines().front().quantity, 2);
    EXPECT_EQ(print.Picture().Photo().FileName(), folder + QStringLiteral("/keep.jpg"));
    EXPECT_EQ(print.Picture().Photo().OriginalFileName(), QStringLiteral("keep.jpg"));
    EXPECT_TRUE(print.ratio23);
    const auto& product = static_cast<const TProductCartItemData&>(*loaded.At(1));
    EXPECT_EQ(product.Lines().front().productId, QStringLiteral("Gifts.Mug.blue"));
    EXPECT_TRUE(product.Incomplete()); // its second slot is empty
    EXPECT_EQ(product.Layout().MaskX(), 3);
    EXPECT_EQ(loaded.IndexPrintText(), QStringLiteral("Index"));
}

TEST_F(CartTest, AProductWhoseVariantIsGoneLoadsTheNearestWithItsPictures)
{
    TCart cart(TCartSettings{}, &dialogs_);
    auto mug = std::make_unique<TProductCartItemData>(catalogue_.Find(QStringLiteral("Gifts.Mug.blue")));
    mug->Layout().Prints()[0].Pictures()[1].Photo().SetFile(Picture(QStringLiteral("right.jpg")));
    cart.Add(std::move(mug));
    const QString file = carts_ + QStringLiteral("/Mug.psc");
    cart.SetFileName(file);
    ASSERT_GE(cart.Save(true, CartSaveFlags::Write), 0);

    QByteArray xml = SmallCatalogueXml();
    xml.replace("<item id=\"blue\" dispname=\"Blue\"><link mref=\"mugconf\"/></item>", "");
    const TProductItemList reduced = ReadCatalogue(xml);
    TCart loaded(TCartSettings{}, &dialogs_);
    loaded.Load(file, reduced, true);
    ASSERT_EQ(loaded.Count(), 1);
    const auto& product = static_cast<const TProductCartItemData&>(*loaded.At(0));
    EXPECT_EQ(product.Lines().front().productId, QStringLiteral("Gifts.Mug.white"));
    EXPECT_FALSE(product.Layout().Prints()[0].Pictures()[0].Photo().Valid());
    EXPECT_TRUE(product.Layout().Prints()[0].Pictures()[1].Photo().FileName().endsWith(QLatin1String("/right.jpg")));
}

TEST_F(CartTest, ProgressWindowFromSixItems)
{
    TCart cart(TCartSettings{}, &dialogs_);
    for (int i = 0; i < 5; ++i)
        cart.Add(Print(QStringLiteral("p%1.jpg").arg(i), QStringLiteral("Prints.10")));
    cart.SetFileName(carts_ + QStringLiteral("/Five.psc"));
    ASSERT_GE(cart.Save(false, CartSaveFlags::Write), 0);
    EXPECT_TRUE(dialogs_.progressTexts.isEmpty());
    cart.Add(Print(QStringLiteral("p5.jpg"), QStringLiteral("Prints.10")));
    ASSERT_GE(cart.Save(false, CartSaveFlags::Write), 0);
    EXPECT_EQ(
        dialogs_.progressTexts, QStringList{QStringLiteral("Die Bilddateien des Warenkorbs werden gespeichert.")});
}

TEST_F(CartTest, DeleteFilesKeepsWhatTheCartDidNotWrite)
{
    TCart cart(TCartSettings{}, &dialogs_);
    cart.DeleteFiles(); // no file name: nothing happens
    cart.Add(Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10")));
    const QString file = carts_ + QStringLiteral("/Fotos.psc");
    cart.SetFileName(file);
    // A photobook of the same name shares the picture folder.
    const QString folder = carts_ + QStringLiteral("/Fotos-Dateien");
    QDir().mkpath(folder);
    WritePicture(folder + QStringLiteral("/a.jpg"));
    ASSERT_GE(cart.Save(true, CartSaveFlags::Write), 0);
    EXPECT_EQ(FilesIn(folder), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("a_1.jpg")}));
    cart.DeleteFiles();
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("a.jpg")});
    EXPECT_TRUE(cart.FileName().isEmpty());
    EXPECT_TRUE(cart.IsEmpty());
}

TEST_F(CartTest, SavingAgainDropsOnlyPicturesOfRemovedItems)
{
    TCart cart(TCartSettings{}, &dialogs_);
    cart.Add(Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10")));
    cart.Add(Print(QStringLiteral("b.jpg"), QStringLiteral("Prints.10")));
    cart.SetFileName(carts_ + QStringLiteral("/Two.psc"));
    ASSERT_GE(cart.Save(true, CartSaveFlags::Write), 0);
    const QString folder = cart.CompanionFolder();
    WritePicture(folder + QStringLiteral("/foreign.jpg"));
    cart.Remove(cart.At(1));
    ASSERT_GE(cart.Save(true, CartSaveFlags::Write), 0);
    EXPECT_EQ(FilesIn(folder), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("foreign.jpg")}));
}

// ---- Saving with the dialogs --------------------------------------------------------

// A file system whose answers the test decides.
class InjectedFileSystem : public TCartFileSystem {
public:
    bool IsWritableFolder(const QString& folder) const override { return !readOnly.contains(folder); }
    qint64 FreeBytes(const QString& folder) const override { return full.contains(folder) ? 1000 : -1; }
    QStringList readOnly;
    QStringList full;
};

TEST_F(CartTest, ReadOnlyAndFullFoldersAskForAnotherTarget)
{
    TCartController controller(TCartSettings{}, catalogue_, &dialogs_);
    InjectedFileSystem fileSystem;
    const QString readOnly = MakeFolder(QStringLiteral("readonly"));
    const QString full = MakeFolder(QStringLiteral("full"));
    fileSystem.readOnly = {readOnly};
    fileSystem.full = {full};
    controller.SetFileSystem(&fileSystem);
    controller.Cart().Add(Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10")));
    controller.MarkModified();
    dialogs_.saveNames = {
        readOnly + QStringLiteral("/Cart.psc"), full + QStringLiteral("/Cart"), carts_ + QStringLiteral("/Cart.psc")};
    ASSERT_TRUE(controller.CartHandling(TCartController::chSave));
    ASSERT_EQ(dialogs_.messages.size(), 2);
    EXPECT_EQ(dialogs_.messages[0].text,
        QStringLiteral("Auf diesen Pfad (%1) kann nicht geschrieben werden. Bitte wählen Sie ein anderes Ziel aus.")
            .arg(readOnly));
    EXPECT_EQ(dialogs_.messages[0].height, 290);
    EXPECT_TRUE(dialogs_.messages[1].text.startsWith(QLatin1String("Das Laufwerk ")))
        << dialogs_.messages[1].text.toStdString();
    EXPECT_TRUE(dialogs_.messages[1].text.endsWith(
        QStringLiteral(" hat nicht genug freien Speicher um den Warenkorb zu speichern. Bitte wählen Sie ein anderes "
                       "Medium aus.")));
    EXPECT_TRUE(QDir(readOnly).isEmpty());
    EXPECT_TRUE(QDir(full).isEmpty());
    EXPECT_EQ(controller.Cart().FileName(), carts_ + QStringLiteral("/Cart.psc"));
    EXPECT_FALSE(controller.Modified());
    EXPECT_EQ(dialogs_.saveDialogs.front().filter, QStringLiteral("Vovozevezar Warenkorb (*.psc)|*.psc"));
}

TEST_F(CartTest, ReplacingAnotherCartDeletesItsPicturesOnlyAfterSaving)
{
    const QString other = carts_ + QStringLiteral("/Alt.psc");
    {
        TCart old(TCartSettings{}, &dialogs_);
        old.Add(Print(QStringLiteral("old.jpg"), QStringLiteral("Prints.10")));
        old.SetFileName(other);
        ASSERT_GE(old.Save(true, CartSaveFlags::Write), 0);
    }
    const QString folder = carts_ + QStringLiteral("/Alt-Dateien");
    WritePicture(folder + QStringLiteral("/photobook.jpg")); // not the cart's

    TCartController controller(TCartSettings{}, catalogue_, &dialogs_);
    controller.Cart().Add(Print(QStringLiteral("new.jpg"), QStringLiteral("Prints.13")));
    // "Nein" keeps everything.
    dialogs_.saveNames = {other};
    dialogs_.answers = {bNo};
    EXPECT_FALSE(controller.CartHandling(TCartController::chSave));
    EXPECT_EQ(FilesIn(folder), (QStringList{QStringLiteral("old.jpg"), QStringLiteral("photobook.jpg")}));
    EXPECT_EQ(dialogs_.messages.back().text, other + QStringLiteral(" existiert bereits. Möchten Sie sie ersetzen?"));
    // "Ja" writes the new cart, then removes the old cart's picture only.
    dialogs_.saveNames = {other};
    dialogs_.answers = {bYes};
    EXPECT_TRUE(controller.CartHandling(TCartController::chSave));
    EXPECT_EQ(FilesIn(folder), (QStringList{QStringLiteral("new.jpg"), QStringLiteral("photobook.jpg")}));
    TCart reread(TCartSettings{}, &dialogs_);
    EXPECT_TRUE(reread.Load(other, catalogue_, true).complete);
    EXPECT_EQ(reread.Count(), 1);
}

TEST_F(CartTest, CloseQueryAndAskToSave)
{
    TCartController controller(TCartSettings{}, catalogue_, &dialogs_);
    EXPECT_TRUE(controller.QueryCartSave(true)); // nothing to save
    controller.Cart().Add(Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10")));
    controller.MarkModified();
    dialogs_.answers = {bCancel};
    EXPECT_FALSE(controller.QueryCartSave(true));
    EXPECT_EQ(dialogs_.messages.back().buttons, (QList<TAppMsgDlgBtn>{bSave, bNotSave, bCancel}));
    dialogs_.answers = {bNotSave};
    EXPECT_TRUE(controller.QueryCartSave(true));
    dialogs_.answers = {bSave}; // the save dialog is cancelled: closing is refused
    EXPECT_FALSE(controller.QueryCartSave(true));
    // New asks the same question with "Ja", "Nein", "Abbrechen".
    dialogs_.answers = {bNo};
    EXPECT_TRUE(controller.CartHandling(TCartController::chNew));
    EXPECT_EQ(dialogs_.messages.back().buttons, (QList<TAppMsgDlgBtn>{bYes, bNo, bCancel}));
    EXPECT_TRUE(controller.Cart().IsEmpty());
}

TEST_F(CartTest, FixedFileModeSavesAndOpensWithoutDialogs)
{
    TCartSettings settings;
    settings.handlingMode = 0;
    settings.fixedCartFile = TCart::FixedCartFile(MakeFolder(QStringLiteral("Dokumente")), QStringLiteral("pavlora"));
    TCartController controller(settings, catalogue_, &dialogs_);
    controller.Cart().Add(Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.10")));
    controller.MarkModified();
    EXPECT_FALSE(controller.Cart().DefaultCartFileExists());
    ASSERT_TRUE(controller.CartHandling(TCartController::chSave));
    EXPECT_TRUE(QFileInfo::exists(settings.fixedCartFile));
    EXPECT_TRUE(controller.Cart().FileName().isEmpty());
    EXPECT_TRUE(controller.Cart().DefaultCartFileExists());
    ASSERT_TRUE(controller.CartHandling(TCartController::chOpen));
    EXPECT_EQ(controller.Cart().Count(), 1);
    EXPECT_TRUE(dialogs_.saveDialogs.isEmpty());
    EXPECT_TRUE(dialogs_.messages.isEmpty());
}

TEST_F(CartTest, CatalogueReloadRebindsTheLines)
{
    TCart cart(TCartSettings{}, &dialogs_);
    cart.Add(Print(QStringLiteral("a.jpg"), QStringLiteral("Prints.13.matt")));
    const TProductItemList reloaded = ReadCatalogue(SmallCatalogueXml());
    cart.RebindProducts(reloaded);
    EXPECT_EQ(cart.At(0)->Product(), reloaded.Find(QStringLiteral("Prints.13.matt")));
}

} // namespace
} // namespace pavlora::test
