#pragma once

#include "app/AppShell.h"
#include "ordering/OrderShell.h"
#include "ui/UiSkinReporter.h"

#include <memory>

namespace pavlora {

class TMainForm;
class TQORApp;

// The program's main window as the application object sees it: the
// skinned TMainForm with the application's answers, the settings dialog
// (command 10), the price list (command 11) and the order interface's
// progress and questions.
class TProgramMainWindow : public IMainWindow, public IOrderShell {
public:
    explicit TProgramMainWindow(TQORApp& app);
    ~TProgramMainWindow() override;

    TMainForm& Form() { return *form_; }

    // IMainWindow
    void Show() override;
    void Hide() override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void ApplyDesign() override;
    void BuildCommandList() override { }
    void PostProcessCommandLine(const QStringList& arguments) override;
    void PostRefreshPage() override;
    void CloseRequested() override;
    IOrderShell& OrderShell() override { return *this; }

    // IOrderShell
    void ShowProgress(TProgressState state, float progress) override;
    void UploadView(TUploadViewAction, const TUploadProgress&) override { }
    bool AskRetry(const TQORError& error) override;
    void ShowError(const TQORError& error) override;
    bool ConfirmCancel() override;
    void RunContinuation(int) override { }
    void ReturnToCart() override { }
    void FinishAbortedAction(int) override { }
    void TransferCancelled() override { }

private:
    bool ShowSettings();
    bool ShowPriceList();

    TQORApp& app_;
    std::unique_ptr<TMainForm> form_;
};

// Makes the splash window and the main window of the program.
class TProgramWindows : public IAppWindowFactory {
public:
    std::unique_ptr<ISplashWindow> CreateSplash(TQORApp& app) override;
    std::unique_ptr<IMainWindow> CreateMainWindow(TQORApp& app) override;
    void ProcessEvents() override;
    TSkinReporter& SkinReporter() override { return skinReporter_; }
    void UseResources(TECResourceManager* resources) override;

private:
    TUiSkinReporter skinReporter_;
};

} // namespace pavlora
