#pragma once

#include "app/AppShell.h"
#include "ordering/OrderShell.h"

#include <QMainWindow>

namespace pavlora {

// The program's windows until the skinned main window and message box
// take their place: a plain main window with the application title that
// refuses every command, and a message box built on QMessageBox.
class TProvisionalMainWindow : public QMainWindow, public IMainWindow, public IOrderShell {
public:
    explicit TProvisionalMainWindow(TQORApp& app);

    // IMainWindow
    void Show() override { show(); }
    void Hide() override { hide(); }
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override { return isEnabled(); }
    void ApplyDesign() override { }
    void BuildCommandList() override { }
    void PostProcessCommandLine(const QStringList&) override { }
    void PostRefreshPage() override { }
    void CloseRequested() override;
    IOrderShell& OrderShell() override { return *this; }

    // IOrderShell
    void ShowProgress(TProgressState, float) override { }
    void UploadView(TUploadViewAction, const TUploadProgress&) override { }
    bool AskRetry(const TQORError& error) override;
    void ShowError(const TQORError& error) override;
    bool ConfirmCancel() override;
    void RunContinuation(int) override { }
    void ReturnToCart() override { }
    void FinishAbortedAction(int) override { }
    void TransferCancelled() override { }
};

class TProgramWindows : public IAppWindowFactory {
public:
    std::unique_ptr<ISplashWindow> CreateSplash(TQORApp& app) override;
    std::unique_ptr<IMainWindow> CreateMainWindow(TQORApp& app) override;
    void ProcessEvents() override;
};

// Registers the QMessageBox-based message box as the process-wide hook.
void RegisterProvisionalMessageBox();

} // namespace pavlora
