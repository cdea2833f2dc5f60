#pragma once

#include "core/AppMessageBox.h"
#include "core/AppSettings.h"
#include "core/QORError.h"
#include "core/WindowPlacement.h"
#include "ui/CommandLineSwitches.h"
#include "ui/NavigationCommands.h"
#include "ui/ProgressWindow.h"
#include "ui/WorkFrame.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <map>

namespace pavlora {

class TECButton;
class TECImage;
class TECPanel;
class THelpForm;

// What the main window asks of the application object; every member may be
// left empty (the main window then behaves as if the answer were "no").
struct TMainFormServices {
    std::function<bool()> cartIsEmpty;
    std::function<bool()> cartHasIncompleteProducts; // with "allow_empty_products_in_cart" deleting
    std::function<void()> removeIncompleteProducts;
    std::function<bool()> mayClose; // the cart is saved or need not be, and no upload runs
    std::function<void()> startOnlineUpdate; // the update button
    std::function<void()> markOrderAborted; // a progress hide with a negative value
    std::function<void(const QStringList& pictures)> addImagesAsPrints;
    std::function<QString(const QString& groupId)> defaultLeafFullId; // of a catalogue group
};

// The main window: the navigation bar, the host panel "MainFrame" with one
// working frame at a time, the command executor, the window messages other
// parts post, the progress window and the message box.
//
// Frames and the commands that show them are registered by the parts that
// build them (RegisterCommand); a command nobody registered is refused like
// any command that cannot run, and the navigation buttons whose command is
// refused are disabled.
//
// UI thread only, except PostMessage and ProgressNotice, which any thread
// may call.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    // Runs a command with its arguments; false when it could not run.
    using TCommandHandler = std::function<bool(const QStringList& arguments)>;
    using TFrameFactory = std::function<TWorkFrame*(QWidget* host)>;
    using TUrlOpener = std::function<bool(const QUrl& url)>;

    TMainForm(TAppSettings settings, TMainFormServices services = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The window's creation: caption, message box, the start page, the
    // design configuration. Call once after the registrations.
    void Create();
    // Applies the design configuration ("Forms.dat") again.
    void ApplyDesign();

    // Commands.
    void RegisterCommand(int number, TCommandHandler handler);
    bool CanRun(int number) const;
    bool ExecuteCommandText(const QString& text);
    bool ExecuteCommand(int number, const QString& argumentText);
    bool RunCommand(int number, const QStringList& arguments);
    const TCommandVocabulary& Vocabulary() const { return vocabulary_; }
    void SetVocabulary(TCommandVocabulary vocabulary) { vocabulary_ = std::move(vocabulary); }

    // Frames.
    TWorkFrame* ShowFrame(const QString& slot, const TFrameFactory& create);
    bool CanLeaveFrame(bool closing);
    TWorkFrame* CurrentFrame() const { return current_; }
    QString CurrentSlot() const;
    TECPanel* Host() const { return host_; }
    TECButton* NavigationButton(const QString& name) const;

    // The command line, processed once when message 1140 arrives.
    void SetCommandLine(const QStringList& arguments);
    void PostProcessCommandLine();
    void PostRefresh(int reason);
    // Posts a window message to this window; safe from any thread.
    void PostMessage(int message, std::int64_t wParam = 0, std::int64_t lParam = 0, const QString& text = {});
    // Reports the state of a long operation from any thread.
    void ProgressNotice(std::uint8_t state, const QString& text, std::function<void()> cancel, float progress);
    TProgressWindow* ProgressWindow() const { return progress_; }

    // An exception that reached the event loop: logged and shown as an
    // error box instead of ending the program. Returns the error shown.
    TQORError ShowUnhandledException(const std::exception& error);
    static TQORError UnhandledExceptionError(const std::exception& error);

    // The message box, owned by this window.
    int ShowMessageBox(const TMessageBoxRequest& request);
    // Opens an http or https address with the desktop; other schemes are refused.
    bool OpenExternalUrl(const QString& address);
    void SetUrlOpener(TUrlOpener opener) { urlOpener_ = std::move(opener); }
    bool NavigationLocked() const { return navigationLocked_; }

    // The window's placement: restored before the window is first shown (a
    // minimised window opens normal), read when it closes. A maximised
    // window keeps the size it had before.
    void RestorePlacement(const TWindowPlacement& placement);
    TWindowPlacement Placement() const;
    bool DeviceStart() const { return deviceStart_; }

Q_SIGNALS:
    // A command ran (number, arguments); for the application object's bookkeeping.
    void commandRan(int number, const QStringList& arguments);
    // The window is closing (the close query said yes).
    void closing();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildNavigation();
    void CartAction();
    bool RunBuiltIn(int number, const QStringList& arguments, bool* handled);
    bool ShowStartPage();
    bool ShowBrowser(const QString& address, int page);
    void ShowHelp(const QStringList& arguments);
    void OverviewHint();
    void UpdateButtons();
    void ProcessCommandLine();
    void ShowProgressWindow(std::uint8_t state, float progress, bool delayOver = false);
    void ShowError(const QString& text);

    TAppSettings settings_;
    TMainFormServices services_;
    TCommandVocabulary vocabulary_ = TCommandVocabulary::Standard();
    std::map<int, TCommandHandler> handlers_;
    TUrlOpener urlOpener_;

    TECPanel* buttonPanel_ = nullptr;
    TECImage* logo1_ = nullptr;
    TECImage* logo2_ = nullptr;
    TECPanel* host_ = nullptr;
    QHash<QString, TECButton*> buttons_;
    QHash<QString, QPointer<TWorkFrame>> frames_; // by slot
    QPointer<TWorkFrame> current_;
    QPointer<TWorkFrame> previous_;
    QPointer<THelpForm> help_;
    QPointer<TProgressWindow> progress_;
    TProgressNoticeSlot noticeSlot_;
    QTimer progressDelay_;
    std::uint8_t pendingProgressState_ = 0;

    QStringList commandLine_;
    bool commandLineDone_ = false;
    bool deviceStart_ = false;
    bool navigationLocked_ = false;
    bool pendingPictureImport_ = false;
    bool created_ = false;
};

} // namespace pavlora
