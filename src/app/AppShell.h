#pragma once

#include "skin/DesignErrors.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

namespace pavlora {

class IOrderShell;
class TECResourceManager;
class TQORApp;

// The splash window shown while the application object is built. UI
// thread only.
class ISplashWindow {
public:
    virtual ~ISplashWindow() = default;
    // Shows the window and paints it once.
    virtual void Show() = 0;
    // The design shows a step label ("StepLabel") that is visible.
    virtual bool HasVisibleStepLabel() const = 0;
    // Sets the step label's text and repaints.
    virtual void SetStepText(const QString& text) = 0;
    // Closes the window on a 50 ms timer once the monotonic clock reaches
    // `endTimeMs`, then calls `closed` (which enables the main window).
    virtual void CloseAt(std::int64_t endTimeMs, std::function<void()> closed) = 0;
};

// What the application object needs of the main window. The main window
// registers its command handler with the application object when it is
// created (TQORApp::SetCommandHandler). UI thread only.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    // Applies the window's design configuration.
    virtual void ApplyDesign() = 0;
    // Builds the command vocabulary.
    virtual void BuildCommandList() = 0;
    // Queues the processing of the command line (message 1140).
    virtual void PostProcessCommandLine(const QStringList& arguments) = 0;
    // Queues the refresh of the shown page (message 1176).
    virtual void PostRefreshPage() = 0;
    // Another program asked the application to close (message 1148).
    virtual void CloseRequested() = 0;
    // The progress window, upload view and questions of server operations.
    virtual IOrderShell& OrderShell() = 0;
};

// Makes the windows of the start-up. The program makes widgets; tests make
// scripted stand-ins.
class IAppWindowFactory {
public:
    virtual ~IAppWindowFactory() = default;
    // The splash window, or none when the design has none.
    virtual std::unique_ptr<ISplashWindow> CreateSplash(TQORApp& app) = 0;
    virtual std::unique_ptr<IMainWindow> CreateMainWindow(TQORApp& app) = 0;
    // Runs pending events of the UI thread.
    virtual void ProcessEvents() { }
    // Where the skin layer's reports go (design errors, missing pictures).
    virtual TSkinReporter& SkinReporter()
    {
        static THeadlessSkinReporter headless;
        return headless;
    }
    // The windows paint with this resource manager from now on (null: no
    // skin).
    virtual void UseResources(TECResourceManager* /*resources*/) { }
};

} // namespace pavlora
