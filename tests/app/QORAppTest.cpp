// The application object's start-up on the demo deployment, its recovery
// after an abnormal end, the fatal data dialog and the end of the run.

#include "app/QORApp.h"
#include "catalogue/CartController.h"
#include "catalogue/PrintCartItemData.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "catalogue/ProductTexts.h"
#include "catalogue/ProductsReader.h"
#include "catalogue/TextMacros.h"
#include "core/AppFolders.h"
#include "core/AppMessageBox.h"
#include "core/PathPlaceholders.h"
#include "core/RegConfiguration.h"
#include "ordering/OrderFolders.h"
#include "ordering/OrderShell.h"
#include "ordering/PriceListPage.h"
#include "ordering/XTCIPrices.h"
#include "skin/ECResourceManager.h"
#include "support/TestSandbox.h"

#include "../catalogue/CatalogueFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pavlora::test {
namespace {

constexpr int kOpenPhotoBook = 7;
constexpr int kTour = 40;

// The main window as the application object sees it: every call is
// written down, commands are answered by the test.
class ScriptedMainWindow : public IMainWindow, public IOrderShell {
public:
    ScriptedMainWindow(QStringList& calls, TQORApp& app, QList<int> commandsWithFrames)
        : calls_(calls)
    {
        app.SetCommandHandler(
            [this, commandsWithFrames](int number, const QStringList&) {
                calls_.append(QStringLiteral("command %1").arg(number));
                return commandsWithFrames.contains(number);
            },
            [commandsWithFrames](int number) { return commandsWithFrames.contains(number); });
    }
    void Show() override { calls_.append(QStringLiteral("show")); }
    void Hide() override { calls_.append(QStringLiteral("hide")); }
    void SetEnabled(bool enabled) override
    {
        enabled_ = enabled;
        calls_.append(enabled ? QStringLiteral("enable") : QStringLiteral("disable"));
    }
    bool IsEnabled() const override { return enabled_; }
    void ApplyDesign() override { calls_.append(QStringLiteral("design")); }
    void BuildCommandList() override { calls_.append(QStringLiteral("commands")); }
    void PostProcessCommandLine(const QStringList& arguments) override
    {
        calls_.append(QStringLiteral("command line ") + arguments.join(QLatin1Char(' ')));
    }
    void PostRefreshPage() override { calls_.append(QStringLiteral("refresh")); }
    void CloseRequested() override { calls_.append(QStringLiteral("close")); }
    IOrderShell& OrderShell() override { return *this; }

    void ShowProgress(TProgressState, float) override { }
    void UploadView(TUploadViewAction, const TUploadProgress&) override { }
    bool AskRetry(const TQORError&) override { return false; }
    void ShowError(const TQORError&) override { }
    bool ConfirmCancel() override { return false; }
    void RunContinuation(int) override { }
    void ReturnToCart() override { }
    void FinishAbortedAction(int) override { }
    void TransferCancelled() override { }

private:
    QStringList& calls_;
    bool enabled_ = true;
};

class ScriptedWindows : public IAppWindowFactory {
public:
    std::unique_ptr<ISplashWindow> CreateSplash(TQORApp&) override
    {
        ADD_FAILURE() << "no splash in debug mode";
        return nullptr;
    }
    std::unique_ptr<IMainWindow> CreateMainWindow(TQORApp& app) override
    {
        return std::make_unique<ScriptedMainWindow>(calls, app, commandsWithFrames);
    }
    QStringList calls;
    QList<int> commandsWithFrames;
};

class QORAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureImaging();
        SetMessageBoxHook([this](const TMessageBoxRequest& request) {
            boxes_.append(request);
            return answers_.isEmpty() ? MessageResult::OK : answers_.takeFirst();
        });
        autoSave_ = AppFolders::UserDataHome() + QStringLiteral("/Pavlora/AutoSave");
    }
    void TearDown() override { SetMessageBoxHook(nullptr); }

    // The built program folder in debug mode: its Data is the demo deployment.
    TQORAppOptions Options(const QString& programFolder = BuiltProgramFolder()) const
    {
        TQORAppOptions options;
        options.arguments = arguments_;
        options.settingsSource.programFolder = programFolder;
        options.settingsSource.debug.debugMode = true;
        options.settingsSource.systemConfigFolder = MakeFolder(QStringLiteral("etc"));
        return options;
    }

    // An auto-saved cart of the demo deployment with one print and an
    // auto-saved photobook with one picture, as an abnormal end leaves them.
    void LeaveAutoSaveFiles()
    {
        // The data key and "{Data}" of the deployment, as the program has them.
        ApplyAppSettings(LoadAppSettings(Options().settingsSource));
        const QString data = BuiltProgramFolder() + QStringLiteral("/Data");
        TProductTexts texts;
        texts.Load(data, QString());
        TProductItemList catalogue = ReadProductsXML(data + QStringLiteral("/Products.dat"), TTextMacros(&texts));
        const QString picture = MakeFolder(QStringLiteral("pictures")) + QStringLiteral("/beach.jpg");
        WritePicture(picture);
        TCart cart(TCartSettings{});
        auto print = std::make_unique<TPrintCartItemData>();
        print->Lines().front().SetProduct(catalogue.Find(QStringLiteral("Prints.10.glossy")));
        print->Lines().front().quantity = 3;
        print->groupId = QStringLiteral("Prints");
        print->SetPicture(picture, picture);
        cart.Add(std::move(print));
        ASSERT_TRUE(QDir().mkpath(autoSave_));
        ASSERT_TRUE(cart.SaveCopyTo(autoSave_ + QStringLiteral("/AutoSave.psc")));
        WriteFile(autoSave_ + QStringLiteral("/AutoSavePB.pbf"), "<photobook/>");
        WriteFile(autoSave_ + QStringLiteral("/AutoSavePB-Dateien/page1.jpg"), "jpeg");
    }

    // A program folder whose Data holds `names` of the demo deployment.
    static QString ProgramWith(std::initializer_list<const char*> names)
    {
        const QString program = MakeFolder(QStringLiteral("program"));
        const QString demo = BuiltProgramFolder() + QStringLiteral("/Data/");
        EXPECT_TRUE(QDir().mkpath(program + QStringLiteral("/Data")));
        for (const char* name : names)
            EXPECT_TRUE(
                QFile::copy(demo + QLatin1String(name), program + QStringLiteral("/Data/") + QLatin1String(name)))
                << name;
        return program;
    }

    QString CartFile() const { return autoSave_ + QStringLiteral("/AutoSave.psc"); }
    QString BookFile() const { return autoSave_ + QStringLiteral("/AutoSavePB.pbf"); }

    ScriptedWindows windows_;
    QList<TMessageBoxRequest> boxes_;
    QList<int> answers_;
    QStringList arguments_;
    QString autoSave_;
};

TEST_F(QORAppTest, BuildsTheDemoDeploymentInOrderAndEnablesTheMainWindow)
{
    arguments_ = {QStringLiteral("-PRINTS")};
    TQORApp app(windows_);
    ASSERT_TRUE(app.Create(Options()));

    EXPECT_EQ(windows_.calls,
        (QStringList{QStringLiteral("hide"), QStringLiteral("disable"), QStringLiteral("design"),
            QStringLiteral("show"), QStringLiteral("commands"), QStringLiteral("command line -PRINTS"),
            QStringLiteral("refresh"), QStringLiteral("enable")}));
    EXPECT_TRUE(boxes_.isEmpty());
    EXPECT_EQ(TQORApp::Instance(), &app);
    EXPECT_EQ(app.ApplicationTitle(), QStringLiteral("Pavlora"));
    EXPECT_EQ(app.AutoSaveCartFile(), CartFile());
    EXPECT_NE(app.Catalogue().Find(QStringLiteral("Prints.10")), nullptr);
    EXPECT_NE(app.OrderInterface(), nullptr);
    // The catalogue is linked to the stored price lists of the deployment.
    ASSERT_NE(app.Prices(), nullptr);
    const TProductItem* print = app.Catalogue().Find(QStringLiteral("Prints.10.glossy"));
    ASSERT_NE(print, nullptr);
    EXPECT_NE(app.Prices()->ArticleOf(print), nullptr);
    EXPECT_FALSE(app.Prices()->GetPriceList(*print).isEmpty());
    EXPECT_TRUE(app.RecoveryReached());
    EXPECT_FALSE(app.DeviceStart());
    // The skin and the pictures of the deployment.
    ASSERT_NE(app.Resources(), nullptr);
    EXPECT_TRUE(app.Resources()->StylesLoaded());
    EXPECT_EQ(app.Resources()->Slot(3), BuiltProgramFolder() + QStringLiteral("/Data/"));
    EXPECT_NE(app.ArrowPicture(), nullptr);
}

TEST_F(QORAppTest, TheAccountAndTheLastFolderAreKeptForTheNextStart)
{
    {
        TQORApp app(windows_);
        ASSERT_TRUE(app.Create(Options()));
        EXPECT_TRUE(app.CurrentUser().email.isEmpty());
        TQORUser& user = app.CurrentUser();
        user.email = QStringLiteral("anna@example.org");
        user.password = QStringLiteral("geheim");
        user.autoLogin = true;
        user.userId = QStringLiteral("4711"); // known to the server only
        user.Billing().city = QStringLiteral("Köln");
        app.SaveUserAccount();
        app.SetLastTreeViewPath(QStringLiteral("/home/anna/Bilder/Urlaub"));
    }
    TQORApp app(windows_);
    ASSERT_TRUE(app.Create(Options()));
    const TQORUser& user = app.CurrentUser();
    EXPECT_EQ(user.email, QStringLiteral("anna@example.org"));
    EXPECT_EQ(user.password, QStringLiteral("geheim"));
    EXPECT_TRUE(user.userId.isEmpty());
    ASSERT_EQ(user.addresses.size(), 2);
    EXPECT_EQ(user.addresses.at(0).city, QStringLiteral("Köln"));
    EXPECT_EQ(user.addresses.at(1).addressKind, 1);
    EXPECT_EQ(
        app.UserSettings()->Value(QStringLiteral("LastTreeViewPath")), QStringLiteral("/home/anna/Bilder/Urlaub"));
}

TEST_F(QORAppTest, TheTourRunsUnlessTheDeploymentOrADeviceStartSaysNo)
{
    // The demo deployment sets "show_tour" to 0.
    {
        TQORApp app(windows_);
        ASSERT_TRUE(app.Create(Options()));
        EXPECT_FALSE(windows_.calls.contains(QStringLiteral("command %1").arg(kTour)));
    }
    const QString program = ProgramWith({"AppRgn.dat", "ProdTexts.dat", "Products.dat", "XChg.dat", "PBFonts.dat"});
    WriteFile(program + QStringLiteral("/Data/AppIni.dat"), "<ini><apptitle>Pavlora</apptitle></ini>");
    windows_.calls.clear();
    {
        TQORApp app(windows_);
        ASSERT_TRUE(app.Create(Options(program)));
        EXPECT_TRUE(windows_.calls.contains(QStringLiteral("command %1").arg(kTour)));
    }
    windows_.calls.clear();
    arguments_ = {QStringLiteral("-DD")};
    TQORApp app(windows_);
    ASSERT_TRUE(app.Create(Options(program)));
    EXPECT_TRUE(app.DeviceStart());
    EXPECT_FALSE(windows_.calls.contains(QStringLiteral("command %1").arg(kTour)));
}

struct RecoveryCase {
    std::string name;
    bool photoBookPage; // the program can open photobooks
    QString text;
    int height;
};

class RecoveryTest : public QORAppTest, public ::testing::WithParamInterface<RecoveryCase> { };

TEST_P(RecoveryTest, BothAutoSaveFilesAfterAnAbnormalEnd)
{
    const RecoveryCase& c = GetParam();
    LeaveAutoSaveFiles();
    if (c.photoBookPage)
        windows_.commandsWithFrames = {kOpenPhotoBook};
    {
        TQORApp app(windows_);
        ASSERT_TRUE(app.Create(Options()));

        ASSERT_EQ(boxes_.size(), 1);
        EXPECT_EQ(boxes_[0].text, c.text);
        EXPECT_EQ(boxes_[0].height, c.height);
        EXPECT_EQ(boxes_[0].width, 360);
        EXPECT_EQ(boxes_[0].buttons, QList<TAppMsgDlgBtn>{bOK});
        EXPECT_EQ(boxes_[0].kind, MessageKind::Information);
        // The main window is enabled before the box.
        EXPECT_TRUE(windows_.calls.contains(QStringLiteral("enable")));
        EXPECT_EQ(windows_.calls.contains(QStringLiteral("command %1").arg(kOpenPhotoBook)), c.photoBookPage);
        if (c.photoBookPage) {
            EXPECT_EQ(app.PhotoBookRequest().fileName, BookFile());
            EXPECT_TRUE(app.PhotoBookRequest().autoSaved);
        }

        TCartController& cart = *app.Cart();
        ASSERT_EQ(cart.Cart().Count(), 1);
        EXPECT_EQ(cart.Cart().TotalQuantity(), 3);
        EXPECT_TRUE(cart.Modified());
        // Saving asks for a name instead of writing into the auto-save file.
        EXPECT_TRUE(cart.Cart().FileName().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(CartFile()));
    EXPECT_FALSE(QFile::exists(autoSave_ + QStringLiteral("/AutoSave-Dateien/beach.jpg")));
    // A book that could not be opened waits for a program that can open it.
    EXPECT_EQ(QFile::exists(BookFile()), !c.photoBookPage);
    EXPECT_EQ(QFile::exists(autoSave_ + QStringLiteral("/AutoSavePB-Dateien/page1.jpg")), !c.photoBookPage);
}

INSTANTIATE_TEST_SUITE_P(Table, RecoveryTest,
    ::testing::Values(
        RecoveryCase{"PhotoBookOpens", true,
            QStringLiteral("Die Anwendung wurde nicht korrekt beendet. Der Warenkorb wird wieder hergestellt. Das "
                           "zuletzt bearbeitete Fotobuch wird geöffnet."),
            290},
        RecoveryCase{"PhotoBookKeptWithoutPhotoBookPage", false,
            QStringLiteral("Die Anwendung wurde nicht korrekt beendet. Der Warenkorb wird wieder hergestellt."), 260}),
    CaseName());

struct FatalCase {
    std::string name;
    QByteArray products; // empty: the demo's
    QByteArray xchg; // empty: the demo's
    QString text;
    int answer;
    int boxes;
};

class FatalDataTest : public QORAppTest, public ::testing::WithParamInterface<FatalCase> { };

TEST_P(FatalDataTest, EndsTheStartAndKeepsTheAutoSaveFiles)
{
    const FatalCase& c = GetParam();
    LeaveAutoSaveFiles();
    const QString program = ProgramWith({"AppIni.dat", "AppRgn.dat", "ProdTexts.dat", "PBFonts.dat"});
    const QString data = program + QStringLiteral("/Data/");
    const QString demo = BuiltProgramFolder() + QStringLiteral("/Data/");
    WriteFile(data + QStringLiteral("Products.dat"),
        c.products.isEmpty() ? ReadFile(demo + QStringLiteral("Products.dat")) : c.products);
    WriteFile(
        data + QStringLiteral("XChg.dat"), c.xchg.isEmpty() ? ReadFile(demo + QStringLiteral("XChg.dat")) : c.xchg);
    answers_ = {c.answer};
    {
        TQORApp app(windows_);
        EXPECT_FALSE(app.Create(Options(program)));
        ASSERT_EQ(boxes_.size(), c.boxes);
        EXPECT_EQ(boxes_[0].text, c.text);
        EXPECT_EQ(boxes_[0].buttons, (QList<TAppMsgDlgBtn>{bUpdate, bClose}));
        EXPECT_EQ(boxes_[0].kind, MessageKind::Error);
        EXPECT_EQ(boxes_[0].height, 300);
        EXPECT_EQ(boxes_[0].width, 360);
        if (c.boxes == 2) {
            EXPECT_TRUE(boxes_[1].text.contains(QStringLiteral("nicht verfügbar")));
        }
        EXPECT_FALSE(app.RecoveryReached());
        EXPECT_EQ(app.Cart()->Cart().Count(), 0);
    }
    EXPECT_TRUE(QFile::exists(CartFile()));
    EXPECT_TRUE(QFile::exists(BookFile()));
    EXPECT_TRUE(QFile::exists(autoSave_ + QStringLiteral("/AutoSavePB-Dateien/page1.jpg")));
}

const QString kProductsText = QStringLiteral("Schwerwiegender Fehler! Die Produktdaten sind ungültig. Um mit der "
                                             "Anwendung weiterzuarbeiten müssen Sie sie aktualisieren.");
const QString kPricesText = QStringLiteral("Schwerwiegender Fehler! Die Preisdaten sind ungültig. Um mit der "
                                           "Anwendung weiterzuarbeiten müssen Sie sie aktualisieren.");

INSTANTIATE_TEST_SUITE_P(Table, FatalDataTest,
    ::testing::Values(
        FatalCase{"CatalogueClose", "<productsdef><group", {}, kProductsText, MessageButtonResult(bClose), 1},
        FatalCase{"CatalogueUpdate", "<productsdef><group", {}, kProductsText, MessageButtonResult(bUpdate), 2},
        FatalCase{"CatalogueWindowClosed", "not xml", {}, kProductsText, MessageResult::Cancel, 1},
        FatalCase{"PricesClose", {}, "<xchg_data>", kPricesText, MessageButtonResult(bClose), 1}),
    CaseName());

// Display names that show prices get them although the catalogue is read
// before the price lists.
TEST_F(QORAppTest, PricesInDisplayNamesAfterTheStart)
{
    const QString program = ProgramWith({"AppIni.dat", "AppRgn.dat", "ProdTexts.dat", "PBFonts.dat", "XChg.dat",
        "al1001.dat", "al1002.dat", "tl1001.dat", "tl1002.dat"});
    QByteArray products = ReadFile(BuiltProgramFolder() + QStringLiteral("/Data/Products.dat"));
    products.replace("dispname=\"10 x 15\"", "dispname=\"10 x 15 ab {[price]Prints.10}\"");
    WriteFile(program + QStringLiteral("/Data/Products.dat"), products);
    TQORApp app(windows_);
    ASSERT_TRUE(app.Create(Options(program)));
    const TProductItem* format = app.Catalogue().Find(QStringLiteral("Prints.10"));
    ASSERT_NE(format, nullptr);
    EXPECT_TRUE(format->displayName.startsWith(QStringLiteral("10 x 15 ab ")));
    EXPECT_TRUE(format->displayName.endsWith(QStringLiteral(" €"))) << format->displayName.toStdString();
    EXPECT_NE(app.Prices()->ArticleOf(format), nullptr); // linked after the second read

    // The price list of the navigation: every group with prices, dated by
    // the stored lists.
    const QFileInfo stored(program + QStringLiteral("/Data/al1001.dat"));
    ASSERT_TRUE(app.PriceListDate().isValid());
    const QString page = PriceListPage(*app.Prices(), app.Catalogue(), app.PriceListDate());
    EXPECT_TRUE(page.contains(QStringLiteral("Versandkosten pro Auftrag")));
    EXPECT_TRUE(page.contains(QStringLiteral("10 x 15 ab ")));
    EXPECT_TRUE(page.contains(
        QStringLiteral("Stand der Preisliste: ") + app.PriceListDate().toString(QStringLiteral("dd.MM.yyyy"))));
    EXPECT_LE(app.PriceListDate(), stored.lastModified());
}

TEST_F(QORAppTest, TheEndSweepsOrderFoldersButTheInterruptedOne)
{
    const QString orders = OrderFoldersRoot();
    for (const char* name : {"tmp_order_20260101", "tmp_order_20260102", "other"})
        WriteFile(orders + QLatin1Char('/') + QLatin1String(name) + QStringLiteral("/0001.jpg"), "jpeg");
    {
        TQORApp app(windows_);
        ASSERT_TRUE(app.Create(Options()));
        app.UserSettings()->StoreLastTmpOrderDir(orders + QStringLiteral("/tmp_order_20260102/"));
    }
    EXPECT_FALSE(QFile::exists(orders + QStringLiteral("/tmp_order_20260101")));
    EXPECT_TRUE(QFile::exists(orders + QStringLiteral("/tmp_order_20260102/0001.jpg")));
    EXPECT_TRUE(QFile::exists(orders + QStringLiteral("/other/0001.jpg")));
    // Below the private state folder, which survives a reboot.
    EXPECT_TRUE(orders.startsWith(AppFolders::UserStateFolder()));
}

TEST_F(QORAppTest, AMissingDataFolderStopsTheStart)
{
    TQORApp app(windows_);
    EXPECT_THROW(app.Create(Options(MakeFolder(QStringLiteral("empty")))), EDataFolderNotFound);
}

} // namespace
} // namespace pavlora::test
