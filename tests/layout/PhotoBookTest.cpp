#include "LayoutTestSupport.h"

#include "layout/LayoutFile.h"
#include "layout/LayoutServices.h"
#include "layout/PhotoBookDef.h"

#include "core/XMLUtils2.h"
#include "imaging/TempFileManager.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <pugixml.hpp>

namespace pavlora {
namespace {

using test::LayoutTest;

// A photobook of cover, first spread (right half), two full spreads and the
// last spread (left half): 6 inner pages. Document elements put the page
// numbers on every print; one hand-made label asks for both numbers.
const QByteArray kBook
    = R"(<photobook_def version="1.1" has_page_numbers="true" product_id="Fotobuch.A4" min_page_count="4">
  <document_elements>
    <label_def client_h_center="20" client_v_center="140" client_h_size="30" client_v_size="8" tag="257">
      <font name="Arial" size="12" alignment="1"/><text><paragraph value="{lPageNo}"/></text></label_def>
    <label_def client_h_center="280" client_v_center="140" client_h_size="30" client_v_size="8" tag="258">
      <font name="Arial" size="12" alignment="2"/><text><paragraph value="{rPageNo}"/></text></label_def>
  </document_elements>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="4">
    <print_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="4"/>
  </page_def>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="2">
    <print_def client_h_center="225" client_v_center="75" client_h_size="150" client_v_size="150" tag="2"/>
  </page_def>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="3">
    <print_def client_h_center="75" client_v_center="75" client_h_size="150" client_v_size="150" tag="1">
      <label_def client_h_center="75" client_v_center="20" client_h_size="60" client_v_size="10">
        <text><paragraph value="Seite {lPageNo}{rPageNo}"/></text></label_def>
      <picture_def client_h_center="75" client_v_center="75" client_h_size="100" client_v_size="80"/>
    </print_def>
    <print_def client_h_center="225" client_v_center="75" client_h_size="150" client_v_size="150" tag="2"/>
  </page_def>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="3">
    <print_def client_h_center="75" client_v_center="75" client_h_size="150" client_v_size="150" tag="1"/>
    <print_def client_h_center="225" client_v_center="75" client_h_size="150" client_v_size="150" tag="2"/>
  </page_def>
  <page_def client_h_center="150" client_v_center="75" client_h_size="300" client_v_size="150" tag="1">
    <print_def client_h_center="75" client_v_center="75" client_h_size="150" client_v_size="150" tag="1"/>
  </page_def>
</photobook_def>)";

std::unique_ptr<TPhotoBookDef> LoadBook()
{
    const auto document = test::ParseXml(kBook);
    auto book = std::make_unique<TPhotoBookDef>();
    book->LoadFrom(document->document_element(), QString(), kDefVersion10);
    return book;
}

// The lines of the generated labels of a print.
QStringList GeneratedLines(const TPrintDef& print)
{
    QStringList lines;
    for (const TLabelDef& label : print.Labels()) {
        if (label.Generated())
            lines += label.Lines();
    }
    return lines;
}

TEST_F(LayoutTest, PageCountsFollowPageDefinitions)
{
    EXPECT_EQ(TPhotoBookDef::PageDefsFor(16), 10);
    EXPECT_EQ(TPhotoBookDef::PageDefsFor(17), 11);

    const std::unique_ptr<TPhotoBookDef> book = LoadBook();
    ASSERT_EQ(book->Pages().Count(), 5);
    EXPECT_EQ(book->PageCount(), 6);
    EXPECT_TRUE(book->Pages()[0].IsCover());
    EXPECT_TRUE(book->Pages()[0].IsFirstLoaded());
    EXPECT_FALSE(book->Pages()[1].IsFirstLoaded());

    book->SetPageCount(16);
    EXPECT_EQ(book->Pages().Count(), 10);
    EXPECT_EQ(book->PageCount(), 16);
    // The former last page became a full spread; the new last one is a left half.
    EXPECT_EQ(book->Pages()[4].Prints().Count(), 2);
    EXPECT_EQ(book->Pages()[4].Prints()[1].Tag(), TPrintDef::kPrintRight);
    EXPECT_EQ(book->Pages().Last().Prints().Count(), 1);
    EXPECT_EQ(book->Pages().Last().Tag() & 7, 1);

    book->SetPageCount(17);
    EXPECT_EQ(book->Pages().Count(), 11);
    EXPECT_EQ(book->PageCount(), 18);

    book->SetPageCount(6);
    EXPECT_EQ(book->Pages().Count(), 5);
    EXPECT_EQ(book->Pages().Last().Prints().Count(), 1);
    EXPECT_EQ(book->Pages().Last().Tag() & 6, 0);
}

TEST_F(LayoutTest, PageNumberPlaceholdersFollowThePage)
{
    const std::unique_ptr<TPhotoBookDef> book = LoadBook();
    // Page definition 2: left page 2, right page 3.
    const TPrintDef& left = book->Pages()[2].Prints()[0];
    const TPrintDef& right = book->Pages()[2].Prints()[1];
    EXPECT_EQ(GeneratedLines(left), QStringList{QStringLiteral("2")});
    EXPECT_EQ(GeneratedLines(right), QStringList{QStringLiteral("3")});
    // A right page's copy is moved by the print's left edge (laid out on the spread).
    for (const TLabelDef& label : right.Labels()) {
        if (label.Generated()) {
            EXPECT_DOUBLE_EQ(label.CenterX(), 130);
        }
    }
    // "{rPageNo}" on a left page is empty.
    EXPECT_EQ(left.Labels()[0].Lines(), QStringList{QStringLiteral("Seite 2")});
    EXPECT_EQ(GeneratedLines(book->Pages()[3].Prints()[0]), QStringList{QStringLiteral("4")});

    // Inserting a spread before it renumbers what follows.
    auto page = std::make_unique<TPageDef>(book.get());
    page->AssignCleared(book->Pages()[3]);
    book->InsertPage(std::move(page), 2);
    EXPECT_EQ(GeneratedLines(book->Pages()[3].Prints()[0]), QStringList{QStringLiteral("4")});
    EXPECT_EQ(book->Pages()[3].Prints()[0].Labels()[0].Lines(), QStringList{QStringLiteral("Seite 4")});
    EXPECT_EQ(GeneratedLines(book->Pages()[4].Prints()[1]), QStringList{QStringLiteral("7")});

    book->DeletePage(2);
    EXPECT_EQ(book->Pages()[2].Prints()[0].Labels()[0].Lines(), QStringList{QStringLiteral("Seite 2")});

    // Without page numbers no document element is copied.
    book->SetHasPageNumbers(false);
    book->Pages()[3].ApplyDocumentElements();
    EXPECT_TRUE(GeneratedLines(book->Pages()[3].Prints()[0]).isEmpty());
}

TEST_F(LayoutTest, PlaceholdersStayOutsideAPage)
{
    TPrintDef print(nullptr);
    print.SetSize(100, 100);
    TLabelDef& label = print.Labels()[print.AddLabel()];
    label.SetSize(80, 20);
    label.SetParagraphs({QStringLiteral("{lPageNo}")});
    EXPECT_EQ(label.Lines(), QStringList{QStringLiteral("{lPageNo}")});

    TPageDef page(nullptr);
    page.SetSize(100, 100);
    auto inserted = std::make_unique<TPrintDef>(&page);
    inserted->Assign(print);
    inserted->SetTag(TPrintDef::kPrintLeft);
    page.InsertPrint(std::move(inserted));
    EXPECT_EQ(page.Prints()[0].Labels()[0].Lines(), QStringList{QString()}) << "on a page outside a book";
}

TEST_F(LayoutTest, GeneratedLabelsAreNeverSaved)
{
    const std::unique_ptr<TPhotoBookDef> book = LoadBook();
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("photobook_def");
    qint64 bytes = 0;
    ASSERT_TRUE(book->SaveTo(root, QString(), 0, false, bytes));
    int labels = 0;
    for (pugi::xml_node page = root.child("page_def"); page; page = page.next_sibling("page_def")) {
        for (pugi::xml_node print = page.child("print_def"); print; print = print.next_sibling("print_def")) {
            for (pugi::xml_node label = print.child("label_def"); label; label = label.next_sibling("label_def"))
                ++labels;
        }
    }
    EXPECT_EQ(labels, 1);
    EXPECT_EQ(QString::fromUtf8(root.attribute("version").value()), QStringLiteral("1.1"));
    EXPECT_EQ(QString::fromUtf8(root.attribute("min_page_count").value()), QStringLiteral("4"));
    EXPECT_EQ(std::distance(root.child("document_elements").children("label_def").begin(),
                  root.child("document_elements").children("label_def").end()),
        2);
}

TEST_F(LayoutTest, PageLimitsGrowAndShrinkByName)
{
    const std::unique_ptr<TPhotoBookDef> book = LoadBook();
    book->SetPageLimits(TPageLimits{.minPages = 10, .maxPages = 100, .grow = true, .shrink = false});
    EXPECT_EQ(book->Pages().Count(), 7);
    EXPECT_EQ(book->Pages().Last().Prints().Count(), 1) << "pages are added before the last one";
    EXPECT_EQ(book->MinPageCount(), 10);

    book->SetPageLimits(TPageLimits{.minPages = 4, .maxPages = 6, .grow = false, .shrink = true});
    EXPECT_EQ(book->Pages().Count(), 5);
    EXPECT_EQ(book->MaxPageCount(), 6);
}

TEST_F(LayoutTest, BlocksAreCountedInHalfMegabytes)
{
    EXPECT_EQ(SaveBlocks(0), 524288);
    EXPECT_EQ(SaveBlocks(524287), 524288);
    EXPECT_EQ(SaveBlocks(524288), 1048576);
}

// Saving copies the picture into the book's folder under a name no file
// there has yet, and leaves the files already there alone.
TEST_F(LayoutTest, SavingAvoidsNameCollisionsInThePictureFolder)
{
    const QString folder = test::MakeFolder(QStringLiteral("books"));
    const QString original
        = test::WritePicture(test::MakeFolder(QStringLiteral("camera")) + QStringLiteral("/IMG.jpg"), 300, 200);
    const QString pictures = folder + QStringLiteral("/Urlaub-Dateien");
    QDir().mkpath(pictures);
    test::WriteFile(pictures + QStringLiteral("/IMG.jpg"), "older picture");
    test::WriteFile(pictures + QStringLiteral("/IMG_1.jpg"), "other picture");

    std::unique_ptr<TPhotoBookDef> book = LoadBook();
    TPhotoDef& photo = book->Pages()[2].Prints()[0].Pictures()[0].Photo();
    photo.SetFile(original, original, TPosAlign::paOutsideDefault);
    const QString path = folder + QStringLiteral("/Urlaub.pbf");
    const TPhotoBookSaveResult result = SavePhotoBookDef(*book, path, false, false);

    EXPECT_TRUE(result.allPicturesStored);
    EXPECT_EQ(result.pictureBytes, SaveBlocks(QFileInfo(original).size()));
    EXPECT_EQ(photo.FileName(), pictures + QStringLiteral("/IMG_2.jpg"));
    EXPECT_EQ(photo.OriginalFileName(), original);
    EXPECT_EQ(test::ReadFile(photo.FileName()), test::ReadFile(original));
    EXPECT_EQ(test::ReadFile(pictures + QStringLiteral("/IMG.jpg")), QByteArray("older picture"));
    EXPECT_EQ(test::ReadFile(pictures + QStringLiteral("/IMG_1.jpg")), QByteArray("other picture"));
    const QByteArray saved = test::ReadFile(path);
    EXPECT_TRUE(saved.contains("filename=\"IMG_2.jpg\"")) << saved.constData();

    // Loaded again, the bare name is found in the folder; saving again copies nothing.
    std::unique_ptr<TPhotoBookDef> loaded = LoadPhotoBookDef(path);
    ASSERT_NE(loaded, nullptr);
    const TPhotoDef& again = loaded->Pages()[2].Prints()[0].Pictures()[0].Photo();
    EXPECT_TRUE(again.Valid());
    EXPECT_EQ(again.FileName(), pictures + QStringLiteral("/IMG_2.jpg"));
    EXPECT_EQ(again.GetPosAlign(), TPosAlign::paOutsideDefault);
    SavePhotoBookDef(*loaded, path, false, false);
    EXPECT_FALSE(QFile::exists(pictures + QStringLiteral("/IMG_3.jpg")));
}

// A reduced save stores only what the slot shows: the picture is cropped
// to the slot's shape instead of copied whole.
TEST_F(LayoutTest, ReducedSaveStoresTheVisiblePartOnly)
{
    const QString folder = test::MakeFolder(QStringLiteral("books"));
    const QString original
        = test::WritePicture(test::MakeFolder(QStringLiteral("camera")) + QStringLiteral("/IMG.jpg"), 600, 200);
    std::unique_ptr<TPhotoBookDef> book = LoadBook();
    TPhotoDef& photo = book->Pages()[2].Prints()[0].Pictures()[0].Photo();
    photo.SetFile(original, original, TPosAlign::paOutsideDefault);

    const TPhotoBookSaveResult result = SavePhotoBookDef(*book, folder + QStringLiteral("/Urlaub.pbf"), false, true);
    EXPECT_TRUE(result.allPicturesStored);
    ASSERT_TRUE(photo.FileName().startsWith(folder + QStringLiteral("/Urlaub-Dateien/")));
    const QImage stored(photo.FileName());
    ASSERT_FALSE(stored.isNull());
    // The 100 × 80 slot shows a 250 × 200 part of the 600 × 200 picture.
    EXPECT_NEAR(stored.width(), 250, 2);
    EXPECT_NEAR(stored.height(), 200, 2);
    EXPECT_EQ(QImage(original).size(), QSize(600, 200));
}

TEST_F(LayoutTest, FailedCopyLeavesThePhotoAndSavesTheRest)
{
    const QString folder = test::MakeFolder(QStringLiteral("books"));
    const QString camera = test::MakeFolder(QStringLiteral("camera"));
    const QString first = test::WritePicture(camera + QStringLiteral("/IMG.jpg"), 300, 200);
    const QString second = test::WritePicture(camera + QStringLiteral("/Strand.jpg"), 300, 200);
    const QString pictures = folder + QStringLiteral("/Urlaub-Dateien");
    // The copy's temporary name is taken by a folder: the copy fails.
    QDir().mkpath(pictures + QStringLiteral("/IMG.jpg.part"));

    std::unique_ptr<TPhotoBookDef> book = LoadBook();
    TPhotoDef& blocked = book->Pages()[2].Prints()[0].Pictures()[0].Photo();
    blocked.SetFile(first, first, TPosAlign::paOutsideDefault);
    TPrintDef& right = book->Pages()[2].Prints()[1];
    TPhotoDef& fine = right.Pictures()[right.AddPicture()].Photo();
    fine.SetFile(second, second, TPosAlign::paOutsideDefault);

    const TPhotoBookSaveResult result = SavePhotoBookDef(*book, folder + QStringLiteral("/Urlaub.pbf"), false, false);
    EXPECT_FALSE(result.allPicturesStored);
    EXPECT_EQ(blocked.FileName(), first);
    EXPECT_EQ(fine.FileName(), pictures + QStringLiteral("/Strand.jpg"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Urlaub.pbf")));
}

TEST_F(LayoutTest, TemporaryPictureIsSharedUntilTheLastPhotoLetsGo)
{
    const QString file
        = test::WritePicture(test::MakeFolder(QStringLiteral("tmp")) + QStringLiteral("/edit.jpg"), 40, 30);
    TPrintDef print(nullptr);
    print.SetSize(100, 100);
    TPhotoDef& photo = print.Pictures()[print.AddPicture()].Photo();
    photo.SetFile(file, QStringLiteral("/home/kunde/IMG.jpg"), TPosAlign::paOutsideDefault,
        QStringLiteral("/home/kunde/IMG.jpg"), true);
    EXPECT_EQ(photo.SourceFileName(), QStringLiteral("/home/kunde/IMG.jpg"));
    EXPECT_EQ(TempFileManager().RefCount(file), 1);
    {
        const std::unique_ptr<TSizeDef> copy = print.Clone(nullptr);
        EXPECT_EQ(TempFileManager().RefCount(file), 2);
    }
    EXPECT_TRUE(QFile::exists(file));
    photo.SetFile(QString());
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
} // namespace pavlora
