// The program: the launch check, one instance per user, the application
// object behind the splash window, the message loop and the orderly end.

#include "app/AppException.h"
#include "app/LaunchCheck.h"
#include "app/ProgramWindows.h"
#include "app/QORApp.h"
#include "app/SingleInstance.h"
#include "core/AppFolders.h"
#include "core/AppMessageBox.h"
#include "core/AppSettingsLoader.h"
#include "core/DebugConfig.h"
#include "core/Logger.h"
#include "core/Version.h"
#include "imaging/ImageUtils.h"
#include "ui/FormInfoBox.h"

#include <QApplication>

#include <cstdio>

using namespace pavlora;

namespace {

constexpr char kCloseRunningSwitch[] = "--close-running";

// Exceptions that reach the event loop become the error box instead of
// ending the program.
class TQORApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            ReportUnhandledException(std::current_exception());
            return false;
        }
    }
};

QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    ReadDebugConfig();
    const QStringList arguments = ArgumentsOf(argc, argv);
    if (arguments.contains(QLatin1String(kCloseRunningSwitch))) {
        QCoreApplication core(argc, argv);
        return SendCloseRequest() ? 0 : 1;
    }

    const TLaunchCheckResult launch = RunLaunchCheck(AppFolders::ProgramFolder(), arguments, IsDebugMode());
    if (!launch.proceed)
        return 0;
    // Taken after the launch check: the process that hands over to the
    // launcher never holds it.
    TSingleInstanceLock lock;
    if (!lock.TryLock())
        return 0;

    TQORApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pavlora"));
    QGuiApplication::setApplicationDisplayName(QLatin1String(kProductName));
    QCoreApplication::setApplicationVersion(QLatin1String(kProductVersion));
    ReportMessage(QStringLiteral("%1 %2 started").arg(QLatin1String(kProductName), QLatin1String(kProductVersion)));

    TImageUtils::Register(std::make_unique<TImageUtils>());
    // Boxes asked for before the main window exists (a missing data folder)
    // show with the default layout; the main window registers its own.
    RegisterMessageBoxHook(TAppSettings(), nullptr);

    TProgramWindows windows;
    TQORApp app(windows);
    TCloseRequestServer closeServer;
    QObject::connect(
        &closeServer, &TCloseRequestServer::closeRequested, &application, [&app] { app.CloseRequested(); });
    closeServer.Listen(lock.Folder());

    TQORAppOptions options;
    options.arguments = launch.arguments;
    options.settingsSource = ProgramSettingsSource();
    try {
        if (!app.Create(options))
            return 0;
    } catch (const EDataFolderNotFound&) {
        ReportMessage(QLatin1String(kDataFolderNotFoundText));
        ShowAppMessageBox(QString(), QLatin1String(kDataFolderNotFoundText), {bOK}, MessageKind::Error);
        return 1;
    } catch (...) {
        ReportUnhandledException(std::current_exception());
        return 1;
    }
    const int result = QApplication::exec();
    app.Shutdown();
    return result;
}
