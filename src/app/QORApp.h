#pragma once

#include "app/AppShell.h"
#include "core/AppSettingsLoader.h"
#include "core/XMLUtils2.h"
#include "ordering/QORRecords.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

namespace pavlora {

class TCartController;
class TECPictureResource;
class TECResourceManager;
class TStartupSkinReporter;
class TProductItemList;
class TProductTexts;
class TQOROrderInterface;
class TRegConfiguration;
class TXTCIPrices;
class TXTCIProductUpdater;

// How the program is started.
struct TQORAppOptions {
    // The program's own arguments (without the launch token).
    QStringList arguments;
    // Where the installation settings come from.
    TAppSettingsSource settingsSource;
    // The user settings' folder; empty for the user's configuration folder.
    QString userSettingsFolder;
    // The number of the order protocol (0: ZODE).
    int protocolNumber = 0;
};

// Which photobook the photobook page is to open next.
struct TPhotoBookRequest {
    QString productId;
    QString fileName;
    bool newBook = false;
    bool autoSaved = false; // the auto-saved book of an abnormal end
};

// The application object: it builds the program's parts in a fixed order
// behind the splash window, owns them for the whole run and takes them
// down again at the end.
//
// Start-up order: Debug.cfg; the installation settings with the data
// folder and language; the cart; product texts, title and auto-save files;
// the user settings and the HTTP layer's proxy; the main window (hidden,
// disabled) and its design; the command vocabulary; the catalogue; the
// order interface with its prices; the command-line and refresh messages;
// the splash end; the recovery of an abnormal end; the interrupted-order
// check; device detection; the tour.
//
// A catalogue or price list that cannot be read asks "Aktualisieren" or
// "Schließen"; both end the start for now (there is no online update yet)
// and keep the auto-save files. The auto-save files are deleted at the end
// only when this run reached its recovery step.
//
// One instance; created and used on the UI thread only.
class TQORApp {
public:
    using TCommandHandler = std::function<bool(int number, const QStringList& arguments)>;
    using TCommandAvailability = std::function<bool(int number)>;

    explicit TQORApp(IAppWindowFactory& windows);
    ~TQORApp();
    TQORApp(const TQORApp&) = delete;
    TQORApp& operator=(const TQORApp&) = delete;

    // The one instance, or none.
    static TQORApp* Instance();

    // Builds everything. False when the start ended at a fatal dialog: the
    // program is to terminate. Raises EDataFolderNotFound and the errors of
    // the installation settings.
    bool Create(const TQORAppOptions& options);

    // Frees the catalogue and reads Products.dat again. Raises on any error.
    void ReadProducts();
    // Creates the order interface when there is none and loads the prices.
    // Raises EQORException (context "QOR_Cls_2_0.TQORApp.InitializeOrderInterface").
    void InitializeOrderInterface();

    // The main window's command dispatcher and which commands it can run.
    void SetCommandHandler(TCommandHandler handler, TCommandAvailability availability);
    // Runs a command through the main window; false when it cannot.
    bool ExecuteCommand(int number, const QStringList& arguments = {});
    bool CanRunCommand(int number) const;

    // Another program asked the application to close.
    void CloseRequested();

    // The end of the run (also done by the destructor, once): stores what
    // is kept, deletes the auto-save files when this run recovered them,
    // frees the parts and sweeps the order folders.
    void Shutdown();

    // ---- Parts and state ----
    const TAppSettings& Settings() const { return loaded_.settings; }
    const TLoadedAppSettings& LoadedSettings() const { return loaded_; }
    TRegConfiguration* UserSettings() const { return userSettings_.get(); }
    // The skin and the deployment's files in the design folders.
    TECResourceManager* Resources() const { return resources_.get(); }
    // The customer's account as the user settings keep it; the order
    // dialogs fill in what the server knows.
    TQORUser& CurrentUser() { return currentUser_; }
    // Writes the current user record to the user settings.
    void SaveUserAccount();
    TProductItemList& Catalogue() { return *catalogue_; }
    TCartController* Cart() const { return cart_.get(); }
    TQOROrderInterface* OrderInterface() const { return orderInterface_.get(); }
    // The price calculator on the current price lists; null before the
    // order interface has loaded them.
    const TXTCIPrices* Prices() const { return prices_.get(); }
    // The date of the stored price lists the prices come from; invalid
    // without prices.
    QDateTime PriceListDate() const;
    IMainWindow* MainWindow() const { return mainWindow_.get(); }
    const QStringList& Arguments() const { return arguments_; }
    const QString& ApplicationTitle() const { return applicationTitle_; }
    const QString& UserName() const { return userName_; }
    const QString& DataFolder() const { return loaded_.dataFolder; }
    const QString& TempCartFile() const { return tempCartFile_; }
    const QString& AutoSaveFolder() const { return autoSaveFolder_; }
    const QString& AutoSaveCartFile() const { return autoSaveCartFile_; }
    const QString& AutoSavePhotoBookFile() const { return autoSavePhotoBookFile_; }
    bool ReverseButtonOrder() const { return reverseButtonOrder_; }
    bool DeviceStart() const { return deviceStart_; }
    void ClearDeviceStart() { deviceStart_ = false; }
    bool RecoveryReached() const { return recoveryReached_; }
    // "UseJPG2000Compression" of the user settings as read at start-up.
    bool UseJpeg2000() const { return useJpeg2000_; }
    // "use_lzw": GIF pictures are listed and LZW-compressed files written.
    bool UseLzw() const { return useLzw_; }
    // "block_treeview_oncreate": the folder tree opens without expanding.
    bool BlockTreeViewOnCreate() const { return blockTreeViewOnCreate_; }
    // The picture drawn over a thumbnail to point at it, or null.
    std::shared_ptr<const TECPictureResource> ArrowPicture() const { return arrowPicture_; }
    // The folder tree's last folder, stored as "LastTreeViewPath" at the end.
    void SetLastTreeViewPath(const QString& path) { lastTreeViewPath_ = path; }
    TPhotoBookRequest& PhotoBookRequest() { return photoBookRequest_; }

private:
    void CreateResources(const TQORAppOptions& options);
    void ProgressStep(const QString& text);
    void ReadSettings(const TQORAppOptions& options);
    void ReadUserSettings(const TQORAppOptions& options);
    void CreateMainWindow();
    // The dialog of an unreadable catalogue or price list; false to end.
    bool FatalDataDialog(const QString& text);
    void FinishSplash();
    void Recover();
    // Links the catalogue to the current articles and takes a new price
    // calculator for the cart, the text macros and the hand-over import.
    void LinkPrices();
    // Offers a price download when the stored lists are older than
    // "prices_check_after_x_days".
    void CheckPriceAge();
    void StartTour();
    // Reads the settings the later steps hand to the pictures and the
    // folder tree, and loads the arrow picture.
    void ReadLateSettings();
    QString LastTmpOrderDir() const;
    void DeleteAutoSaveFiles();
    // Deletes the order folders but the one named `kept`.
    static void SweepOrderFolders(const QString& kept);

    static TQORApp* instance_;

    IAppWindowFactory& windows_;
    std::unique_ptr<TStartupSkinReporter> skinReporter_;
    std::unique_ptr<TECResourceManager> resources_;
    QStringList arguments_;
    TLoadedAppSettings loaded_;
    std::unique_ptr<TProductTexts> texts_;
    std::unique_ptr<TProductItemList> catalogue_;
    std::unique_ptr<TCartController> cart_;
    std::unique_ptr<TRegConfiguration> userSettings_;
    // The hosts order server discovery may name ("zode_allowed_hosts").
    QStringList allowedHosts_;
    TXMLDocumentPtr xchg_;
    std::unique_ptr<IMainWindow> mainWindow_;
    std::unique_ptr<TQOROrderInterface> orderInterface_;
    std::unique_ptr<TXTCIProductUpdater> productUpdater_;
    std::unique_ptr<TXTCIPrices> prices_;
    std::unique_ptr<ISplashWindow> splash_;
    TCommandHandler commandHandler_;
    TCommandAvailability commandAvailability_;
    TPhotoBookRequest photoBookRequest_;
    TQORUser currentUser_;
    std::shared_ptr<const TECPictureResource> arrowPicture_;
    QString lastTreeViewPath_;
    int protocolNumber_ = 0;

    QString applicationTitle_;
    QString userName_;
    QString tempCartFile_;
    QString autoSaveFolder_;
    QString autoSaveCartFile_;
    QString autoSavePhotoBookFile_;
    bool reverseButtonOrder_ = false;
    bool useJpeg2000_ = false;
    bool useLzw_ = true;
    bool blockTreeViewOnCreate_ = false;
    bool deviceStart_ = false;
    bool recoveryReached_ = false;
    bool keepAutoSavePhotoBook_ = false;
    bool keepAutoSaveCart_ = false;
    bool shutDown_ = false;

    std::int64_t startTimeMs_ = 0;
    std::int64_t lastStepMs_ = 0;
    int minSplashTime_ = 1000;
    int minSplashOverlap_ = 1000;
};

// When the splash window may close: in debug mode (no splash) at `start`;
// otherwise the later of `now` + `minOverlap` and `start` + `minTime`.
std::int64_t SplashEndTime(bool debugMode, std::int64_t start, std::int64_t now, int minTime, int minOverlap);

// A name made safe as a single folder name: separators and control
// characters become "_", "." and ".." become "_"; empty stays empty.
QString FolderNameOf(const QString& title);

} // namespace pavlora
