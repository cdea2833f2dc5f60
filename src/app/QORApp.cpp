#include "app/QORApp.h"

#include "app/StartupSkinReporter.h"
#include "catalogue/CartController.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "catalogue/ProductTexts.h"
#include "catalogue/ProductsReader.h"
#include "catalogue/TextMacros.h"
#include "core/AppFolders.h"
#include "core/AppMessageBox.h"
#include "core/Logger.h"
#include "core/QORException.h"
#include "core/RegConfiguration.h"
#include "layout/LayoutServices.h"
#include "layout/QualityRule.h"
#include "ordering/INA.h"
#include "ordering/QOROrderInterface.h"
#include "ordering/UserAccount.h"
#include "ordering/XTCIPrices.h"
#include "ordering/XTCIProductLinks.h"
#include "ordering/ZODE.h"
#include "skin/ECPictureResource.h"
#include "skin/ECResourceManager.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <thread>

namespace pavlora {

namespace {

constexpr char kCreateContext[] = "QOR_Cls_2_0.TQORApp.Create";
constexpr char kOrderInterfaceContext[] = "QOR_Cls_2_0.TQORApp.InitializeOrderInterface";
constexpr char kDefaultTitle[] = "Vovozevezar";
// Paced splash steps are at least this far apart.
constexpr std::int64_t kStepPacingMs = 150;
constexpr std::chrono::milliseconds kStepSleep{30};

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString ProductsDataText()
{
    return QStringLiteral("Schwerwiegender Fehler! Die Produktdaten sind ungültig. Um mit der Anwendung "
                          "weiterzuarbeiten müssen Sie sie aktualisieren.");
}

QString PriceDataText()
{
    return QStringLiteral("Schwerwiegender Fehler! Die Preisdaten sind ungültig. Um mit der Anwendung "
                          "weiterzuarbeiten müssen Sie sie aktualisieren.");
}

QString UserNameOfProcess()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME");
    return name.left(1024);
}

} // namespace

std::int64_t SplashEndTime(bool debugMode, std::int64_t start, std::int64_t now, int minTime, int minOverlap)
{
    if (debugMode)
        return start;
    return std::max(now + minOverlap, start + minTime);
}

QString FolderNameOf(const QString& title)
{
    QString name = title;
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("_");
    return name;
}

TQORApp* TQORApp::instance_ = nullptr;

TQORApp::TQORApp(IAppWindowFactory& windows)
    : windows_(windows)
{
}

TQORApp::~TQORApp()
{
    Shutdown();
}

TQORApp* TQORApp::Instance()
{
    return instance_;
}

bool TQORApp::Create(const TQORAppOptions& options)
{
    instance_ = this;
    arguments_ = options.arguments;
    protocolNumber_ = options.protocolNumber;
    const bool debugMode = options.settingsSource.debug.debugMode;
    CreateResources(options);

    if (!debugMode) {
        splash_ = windows_.CreateSplash(*this);
        if (splash_)
            splash_->Show();
    }
    startTimeMs_ = NowMs();
    userName_ = UserNameOfProcess();

    ProgressStep(QStringLiteral("Initialisieren der Ordner..."));
    ReadSettings(options);

    ProgressStep(QStringLiteral("Lesen der Konfiguration..."));
    ReadUserSettings(options);

    ProgressStep(QStringLiteral("Erzeugen des Hauptfensters..."));
    CreateMainWindow();

    ProgressStep(QStringLiteral("Initialisieren der Befehle ..."));
    mainWindow_->BuildCommandList();

    ProgressStep(QStringLiteral("Lesen der Produktdaten..."));
    try {
        ReadProducts();
    } catch (...) {
        RecordCurrentException(QLatin1String(kCreateContext));
        splash_.reset();
        try {
            InitializeOrderInterface();
        } catch (...) {
            RecordCurrentException(QLatin1String(kCreateContext));
        }
        if (!FatalDataDialog(ProductsDataText()))
            return false;
    }

    ProgressStep(QStringLiteral("Initialisieren der Grafik..."));
    ProgressStep(QStringLiteral("Initialisieren des Protokolls..."));
    try {
        InitializeOrderInterface();
    } catch (...) {
        RecordCurrentException(QLatin1String(kCreateContext));
        splash_.reset();
        if (!FatalDataDialog(PriceDataText()))
            return false;
    }

    mainWindow_->PostProcessCommandLine(arguments_);
    mainWindow_->PostRefreshPage();
    FinishSplash();
    Recover();
    // The check for an interrupted order upload joins here once resuming exists.
    if (Settings().IsText(QStringLiteral("usedevcheck"), QStringLiteral("true"), Qt::CaseInsensitive))
        ReportMessage(QStringLiteral("Device detection is not available in this version"));
    blockTreeViewOnCreate_ = Settings().Boolean(QStringLiteral("block_treeview_oncreate"), false);
    StartTour();
    ReadLateSettings();
    return true;
}

void TQORApp::CreateResources(const TQORAppOptions& options)
{
    // Set up as an installation has it: the program folder, its
    // "Resources" and the "Data" folder beside it, until the settings name
    // the data folder and the language.
    skinReporter_ = std::make_unique<TStartupSkinReporter>(windows_.SkinReporter());
    resources_ = std::make_unique<TECResourceManager>(*skinReporter_);
    const QString programFolder = options.settingsSource.programFolder;
    resources_->SetProgramFolder(programFolder);
    resources_->SetResourceFileName(options.settingsSource.resourceFileName);
    resources_->SetDesignFileName(QStringLiteral("Design.dat"));
    resources_->SetLanguageExtension(QLatin1String(kDefaultLanguageExtension));
    resources_->SetDataFolder(programFolder + QStringLiteral("/Data"));
    resources_->ReloadDesigns();
    windows_.UseResources(resources_.get());
}

void TQORApp::ReadLateSettings()
{
    const QString arrow = QStringLiteral("Images/ArrowOnPicture.png");
    if (resources_->ResourceExists(arrow))
        arrowPicture_ = resources_->GetPicture(arrow);
}

void TQORApp::SaveUserAccount()
{
    if (userSettings_)
        userSettings_->SaveUserAccount(StoredAccountOf(currentUser_));
}

void TQORApp::ProgressStep(const QString& text)
{
    if (!splash_ || !splash_->HasVisibleStepLabel())
        return;
    splash_->SetStepText(text);
    windows_.ProcessEvents();
    if (lastStepMs_ != 0) {
        while (NowMs() - lastStepMs_ < kStepPacingMs)
            std::this_thread::sleep_for(kStepSleep);
    }
    lastStepMs_ = NowMs();
}

void TQORApp::ReadSettings(const TQORAppOptions& options)
{
    loaded_ = LoadAppSettings(options.settingsSource);
    ApplyAppSettings(loaded_);
    // The designs of the folders the settings chose; design errors are
    // asked about from now on.
    resources_->SetLanguageExtension(loaded_.languageExtension);
    resources_->SetDataFolder(loaded_.dataFolder);
    skinReporter_->Arm();
    resources_->EnableDesignReload();
    resources_->ReloadDesigns();
    if (splash_ && splash_->HasVisibleStepLabel() && !loaded_.dataCandidate.isEmpty())
        splash_->SetStepText(loaded_.dataCandidate);

    const TAppSettings& settings = Settings();
    TCartSettings cartSettings;
    cartSettings.handlingMode = settings.Integer(QStringLiteral("cart_handling_mode"), 1);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    cartSettings.fixedCartFile = TCart::FixedCartFile(documents, QStringLiteral("pavlora"));
    cartSettings.notifyIncompleteItemLoad
        = settings.IsText(QStringLiteral("notify_incomplete_item_load"), QStringLiteral("1"));
    cartSettings.saveImageInOnlineAlbum = settings.Boolean(QStringLiteral("save_image_in_online_album"), false);
    catalogue_ = std::make_unique<TProductItemList>();
    cart_ = std::make_unique<TCartController>(cartSettings, *catalogue_);

    minSplashTime_ = settings.Integer(QStringLiteral("minsplashtime"), 1000);
    minSplashOverlap_ = settings.Integer(QStringLiteral("minsplashoverlap"), 1000);

    // The layout model and the picture quality rule read their settings
    // before any layout is loaded.
    TLayoutSettings layout;
    layout.preventOverlap = settings.Boolean(QStringLiteral("pb_prevent_overlapp"), true);
    layout.enableCp1252Charset = settings.Boolean(QStringLiteral("enable_cp1252_charset"), false);
    layout.maxTextLength = settings.Integer(QStringLiteral("pb_max_text_length"), 3800);
    layout.canRotate = settings.Boolean(QStringLiteral("pb_can_rotate"), false);
    SetLayoutSettings(layout);
    TQualitySettings quality;
    quality.qualityFactor = settings.Text(QStringLiteral("quality_factor"));
    quality.ratioFormatMode = settings.Integer(QStringLiteral("image_ratio_format_mode"), 0);
    quality.ratio34 = settings.Float(QStringLiteral("image_ratio_34"), 0.75);
    quality.tolerance34 = settings.Float(QStringLiteral("image_ratio_34_tolerance"), 0.004);
    quality.ratio23 = settings.Float(QStringLiteral("image_ratio_23"), 0.666);
    quality.tolerance23 = settings.Float(QStringLiteral("image_ratio_34_tolerance"), 0.006);
    SetQualitySettings(quality);

    useLzw_ = settings.Boolean(QStringLiteral("use_lzw"), true);

    texts_ = std::make_unique<TProductTexts>();
    texts_->Load(loaded_.dataFolder, loaded_.dataLanguageFolder);
    applicationTitle_ = settings.Text(QStringLiteral("apptitle"));
    if (applicationTitle_.isEmpty())
        applicationTitle_ = QLatin1String(kDefaultTitle);
    reverseButtonOrder_
        = settings.IsText(QStringLiteral("reverse_dialog_button_order"), QStringLiteral("True"), Qt::CaseInsensitive);
    cart_->SetApplicationTitle(applicationTitle_);
    cart_->SetDocumentsFolder(documents);

    tempCartFile_ = documents + QStringLiteral("/tmp.psc");
    QString titleFolder = FolderNameOf(applicationTitle_);
    if (titleFolder.isEmpty())
        titleFolder = QLatin1String(kDefaultTitle);
    autoSaveFolder_ = AppFolders::UserDataHome() + QLatin1Char('/') + titleFolder + QStringLiteral("/AutoSave");
    if (!AppFolders::EnsurePrivateFolder(autoSaveFolder_))
        ReportMessage(QStringLiteral("Cannot create the auto-save folder ") + autoSaveFolder_);
    autoSaveCartFile_ = autoSaveFolder_ + QStringLiteral("/AutoSave.psc");
    autoSavePhotoBookFile_ = autoSaveFolder_ + QStringLiteral("/AutoSavePB.pbf");
}

void TQORApp::CreateMainWindow()
{
    mainWindow_ = windows_.CreateMainWindow(*this);
    mainWindow_->Hide();
    mainWindow_->SetEnabled(false);
    mainWindow_->ApplyDesign();
    mainWindow_->Show();
    windows_.ProcessEvents();
}

void TQORApp::ReadProducts()
{
    // "[price]" in a display name needs the prices: on the first read at
    // start-up there are none yet and the macro shows its placeholder.
    const TTextMacros macros(texts_.get(), prices_.get());
    auto catalogue = std::make_unique<TProductItemList>(
        ReadProductsXML(loaded_.dataFolder + QStringLiteral("Products.dat"), macros));
    // The cart's lines look their products up in the new catalogue before
    // the old one goes.
    cart_->SetCatalogue(*catalogue);
    catalogue_ = std::move(catalogue);
    if (orderInterface_) {
        productUpdater_ = std::make_unique<TXTCIProductUpdater>(orderInterface_->XchgLinks(), catalogue_.get());
        orderInterface_->SetProductUpdater(productUpdater_.get());
        LinkPrices();
    }
}

void TQORApp::LinkPrices()
{
    auto* protocol = orderInterface_ ? dynamic_cast<TXTCI*>(&orderInterface_->Protocol()) : nullptr;
    if (!protocol || !productUpdater_)
        return;
    productUpdater_->Link(*protocol);
    auto prices
        = std::make_unique<TXTCIPrices>(productUpdater_->Prices(*protocol, TPriceSettings::FromSettings(Settings())));
    cart_->SetFormatLookup(prices.get());
    prices_ = std::move(prices);
}

QDateTime TQORApp::PriceListDate() const
{
    auto* protocol = orderInterface_ ? dynamic_cast<TXTCI*>(&orderInterface_->Protocol()) : nullptr;
    return protocol && prices_ ? protocol->ArticleModels().PriceListDate() : QDateTime();
}

void TQORApp::CheckPriceAge()
{
    auto* protocol = dynamic_cast<TXTCI*>(&orderInterface_->Protocol());
    if (!protocol || Settings().Integer(QStringLiteral("prices_check_after_x_days"), 0) <= 0
        || !protocol->PricesOutdated(QDateTime::currentDateTime()))
        return;
    TMessageBoxRequest request;
    request.title = applicationTitle_;
    request.text = TQORError{214, QString(), QString(), QString()}.Message();
    request.buttons = {bUpdate, bSkip};
    request.kind = MessageKind::Confirmation;
    if (ShowAppMessageBox(request) != MessageButtonResult(bUpdate))
        return;
    // Until the online update exists, "Aktualisieren" fetches the price
    // lists alone; the old ones stay when that fails.
    orderInterface_->UpdateProducts(true, QString(), [this](const TQORError& error) {
        if (error.IsError()) {
            ShowAppMessageBox(applicationTitle_, error.HtmlMessage(), {bOK}, MessageKind::Error);
            return;
        }
        LinkPrices();
        mainWindow_->PostRefreshPage();
    });
}

void TQORApp::InitializeOrderInterface()
{
    try {
        const TAppSettings& settings = Settings();
        if (!orderInterface_) {
            TINA& ina = TINA::Instance();
            if (!xchg_)
                xchg_ = ReadXMLDocument(loaded_.dataFolder + QStringLiteral("XChg.dat"));
            std::unique_ptr<TProtocol> protocol
                = TQOROrderInterface::CreateProtocol(protocolNumber_, ina, allowedHosts_);
            if (!protocol)
                throw EQORException(1, QStringLiteral("Unknown protocol %1").arg(protocolNumber_), QString(),
                    QLatin1String(kOrderInterfaceContext));
            orderInterface_
                = std::make_unique<TQOROrderInterface>(std::move(protocol), *xchg_, mainWindow_->OrderShell());
            orderInterface_->SetLanguage(settings.Text(QStringLiteral("languagecode")),
                settings.Text(QStringLiteral("locale")),
                settings.Integer(QStringLiteral("prices_check_after_x_days"), 0));
        }
        const bool firstPrices = !prices_;
        if (!productUpdater_ && catalogue_) {
            productUpdater_ = std::make_unique<TXTCIProductUpdater>(orderInterface_->XchgLinks(), catalogue_.get());
            orderInterface_->SetProductUpdater(productUpdater_.get());
        }
        TQORError result;
        orderInterface_->UpdateProducts(false, QString(), [&result](const TQORError& error) { result = error; });
        if (result.IsError())
            throw EQORException(result);
        LinkPrices();
        // Display names may show prices ("[price]"): the catalogue read before
        // the prices existed is read again now.
        if (firstPrices && prices_ && catalogue_)
            ReadProducts();
        CheckPriceAge();
    } catch (...) {
        throw EQORException::WrapCurrent(QLatin1String(kOrderInterfaceContext));
    }
}

bool TQORApp::FatalDataDialog(const QString& text)
{
    TMessageBoxRequest request;
    request.title = applicationTitle_;
    request.text = text;
    request.height = 300;
    request.width = 360;
    request.buttons = {bUpdate, bClose};
    request.kind = MessageKind::Error;
    if (ShowAppMessageBox(request) == MessageButtonResult(bUpdate)) {
        TMessageBoxRequest unavailable;
        unavailable.title = applicationTitle_;
        unavailable.text = QStringLiteral("Die Online-Aktualisierung ist in dieser Version noch nicht verfügbar. "
                                          "Die Anwendung wird beendet.");
        unavailable.height = 260;
        unavailable.width = 360;
        unavailable.buttons = {bOK};
        unavailable.kind = MessageKind::Information;
        ShowAppMessageBox(unavailable);
    }
    ReportMessage(QStringLiteral("Start-up ended: the data of the deployment cannot be read"));
    return false;
}

void TQORApp::FinishSplash()
{
    if (!splash_) {
        mainWindow_->SetEnabled(true);
        return;
    }
    const std::int64_t end = SplashEndTime(false, startTimeMs_, NowMs(), minSplashTime_, minSplashOverlap_);
    splash_->CloseAt(end, [this] {
        if (mainWindow_)
            mainWindow_->SetEnabled(true);
    });
}

bool TQORApp::CanRunCommand(int number) const
{
    return commandAvailability_ && commandAvailability_(number);
}

void TQORApp::SetCommandHandler(TCommandHandler handler, TCommandAvailability availability)
{
    commandHandler_ = std::move(handler);
    commandAvailability_ = std::move(availability);
}

bool TQORApp::ExecuteCommand(int number, const QStringList& arguments)
{
    return commandHandler_ && commandHandler_(number, arguments);
}

void TQORApp::CloseRequested()
{
    if (mainWindow_)
        mainWindow_->CloseRequested();
}

void TQORApp::Shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    if (userSettings_ && !lastTreeViewPath_.isEmpty())
        userSettings_->WriteElement(QStringLiteral("LastTreeViewPath"), lastTreeViewPath_);
    if (recoveryReached_)
        DeleteAutoSaveFiles();
    // An interrupted order's folder survives until the next start offers it.
    const QString kept = LastTmpOrderDir();
    // The order interface aborts and joins its workers before the shell
    // (the main window) and the catalogue go, and before the order folders
    // are swept.
    orderInterface_.reset();
    SweepOrderFolders(kept);
    cart_.reset();
    catalogue_.reset();
    texts_.reset();
    userSettings_.reset();
    splash_.reset();
    mainWindow_.reset();
    windows_.UseResources(nullptr);
    resources_.reset();
    if (instance_ == this)
        instance_ = nullptr;
}

} // namespace pavlora
