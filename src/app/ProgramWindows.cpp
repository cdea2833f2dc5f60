#include "app/ProgramWindows.h"

#include "app/QORApp.h"
#include "catalogue/Cart.h"
#include "catalogue/CartController.h"
#include "catalogue/ProductItem.h"
#include "catalogue/ProductItemList.h"
#include "core/AppMessageBox.h"
#include "core/Logger.h"
#include "core/QORException.h"
#include "core/RegConfiguration.h"
#include "ordering/INA.h"
#include "ordering/PriceListPage.h"
#include "ordering/TransportSettings.h"
#include "ordering/UserAccount.h"
#include "ordering/XTCIPrices.h"
#include "ui/MainForm.h"
#include "ui/NavigationCommands.h"
#include "ui/PriceListDialog.h"
#include "ui/SettingsDialog.h"
#include "ui/Skin.h"
#include "ui/SplashForm.h"
#include "ui/WindowMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <unistd.h>

namespace pavlora {

namespace {

// Milliseconds since the process started (10 ms resolution), or -1.
qint64 ProcessUptimeMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray statText = stat.readAll();
    // The fields after the command name; the start time is the 22nd field.
    const QList<QByteArray> fields = statText.mid(statText.lastIndexOf(')') + 2).split(' ');
    const long ticks = ::sysconf(_SC_CLK_TCK);
    if (fields.size() < 20 || ticks <= 0)
        return -1;
    const double started = fields.at(19).toDouble() / static_cast<double>(ticks);
    const double now = uptime.readAll().split(' ').value(0).toDouble();
    return static_cast<qint64>((now - started) * 1000.0);
}

// The print formats the customer may prefer: the formats of the prints
// groups.
QList<TSettingsDialog::Format> PrintFormats(const TProductItemList& catalogue)
{
    QList<TSettingsDialog::Format> formats;
    for (const auto& group : catalogue) {
        if (group->editType != ProductEditType::Prints || !group->HasChildren())
            continue;
        for (const auto& format : *group->Children())
            formats.append({format->displayName, format->FullId()});
    }
    return formats;
}

TMainFormServices Services(TQORApp& app)
{
    TMainFormServices services;
    services.cartIsEmpty = [&app] { return !app.Cart() || app.Cart()->Cart().Count() == 0; };
    services.mayClose = [&app] { return !app.Cart() || app.Cart()->QueryCartSave(true); };
    services.defaultLeafFullId = [&app](const QString& groupId) {
        TProductItem* group = app.Catalogue().Find(groupId);
        TProductItem* leaf = group ? group->DefaultLeaf() : nullptr;
        return leaf ? leaf->FullId() : QString();
    };
    return services;
}

} // namespace

TProgramMainWindow::TProgramMainWindow(TQORApp& app)
    : app_(app)
    , form_(std::make_unique<TMainForm>(app.Settings(), Services(app)))
{
    form_->RegisterCommand(Command::Settings, [this](const QStringList&) { return ShowSettings(); });
    form_->RegisterCommand(Command::Prices, [this](const QStringList&) { return ShowPriceList(); });
    form_->Create();
    if (TRegConfiguration* settings = app.UserSettings()) {
        // Screen geometries, the primary screen first.
        QList<QRect> screens;
        const QScreen* primary = QGuiApplication::primaryScreen();
        if (primary)
            screens.append(primary->geometry());
        for (const QScreen* screen : QGuiApplication::screens())
            if (screen != primary)
                screens.append(screen->geometry());
        form_->RestorePlacement(settings->LoadWindowPlacement(screens));
        QObject::connect(form_.get(), &TMainForm::closing, form_.get(), [this] {
            if (TRegConfiguration* userSettings = app_.UserSettings())
                userSettings->SaveWindowPlacement(form_->Placement());
        });
    }
    app.SetCommandHandler(
        [this](int number, const QStringList& arguments) { return form_->RunCommand(number, arguments); },
        [this](int number) { return form_->CanRun(number); });
}

TProgramMainWindow::~TProgramMainWindow() = default;

void TProgramMainWindow::Show()
{
    form_->show();
}

void TProgramMainWindow::Hide()
{
    form_->hide();
}

void TProgramMainWindow::SetEnabled(bool enabled)
{
    const bool wasEnabled = form_->isEnabled();
    form_->setEnabled(enabled);
    if (enabled && !wasEnabled) {
        // The start-up time from the process start to an enabled main window.
        ReportMessage(QStringLiteral("Main window enabled after %1 ms").arg(ProcessUptimeMs()));
    }
}

bool TProgramMainWindow::IsEnabled() const
{
    return form_->isEnabled();
}

void TProgramMainWindow::ApplyDesign()
{
    form_->ApplyDesign();
}

void TProgramMainWindow::PostProcessCommandLine(const QStringList& arguments)
{
    form_->SetCommandLine(arguments);
    form_->PostProcessCommandLine();
}

void TProgramMainWindow::PostRefreshPage()
{
    form_->PostMessage(WindowMessage::ReloadPages);
}

void TProgramMainWindow::CloseRequested()
{
    form_->PostMessage(WindowMessage::CloseRequest);
}

void TProgramMainWindow::ShowProgress(TProgressState state, float progress)
{
    form_->ProgressNotice(static_cast<std::uint8_t>(state), QString(), {}, progress);
}

bool TProgramMainWindow::AskRetry(const TQORError& error)
{
    return ShowAppMessageBox(app_.ApplicationTitle(), error.HtmlMessage(), {bAbort, bRetry}, MessageKind::Error)
        == MessageResult::Retry;
}

void TProgramMainWindow::ShowError(const TQORError& error)
{
    ShowAppMessageBox(app_.ApplicationTitle(), error.HtmlMessage(), {bOK}, MessageKind::Error);
}

bool TProgramMainWindow::ConfirmCancel()
{
    return ShowAppMessageBox(app_.ApplicationTitle(), QStringLiteral("Wollen Sie die Übertragung wirklich abbrechen?"),
               {bYes, bNo}, MessageKind::Confirmation)
        == MessageResult::Yes;
}

bool TProgramMainWindow::ShowSettings()
{
    TRegConfiguration* settings = app_.UserSettings();
    if (!settings)
        return false;
    TStoredAccount account = StoredAccountOf(app_.CurrentUser());
    TSettingsDialog dialog(
        *settings, account, PrintFormats(app_.Catalogue()),
        app_.Settings().Integer(QStringLiteral("show_tour"), 1) == 1,
        [this, settings](const TProxySettings&, const QString&) {
            ConfigureTransport(TINA::Instance(), app_.Settings(), *settings, app_.DataFolder());
        },
        form_.get());
    dialog.exec();
    // The dialog saved the login and the auto-login password with the
    // account; the user record takes them.
    ApplyStoredAccount(app_.CurrentUser(), account);
    if (TWorkFrame* frame = form_->CurrentFrame())
        QCoreApplication::postEvent(
            frame, new TWindowMessageEvent(WindowMessage::Refresh, RefreshReason::AfterSettings));
    return true;
}

bool TProgramMainWindow::ShowPriceList()
{
    // Without price lists (a start cut short) there is nothing to show.
    const TXTCIPrices* prices = app_.Prices();
    if (!prices)
        return false;
    QString html;
    try {
        html = PriceListPage(*prices, app_.Catalogue(), app_.PriceListDate());
    } catch (...) {
        RecordCurrentException(QStringLiteral("ZODE.TXCTI.GetHTMLPriceList"));
        ShowAppMessageBox(app_.ApplicationTitle(), TQORError{207, QString(), QString(), QString()}.Message(), {bOK},
            MessageKind::Error);
        return true;
    }
    TPriceListDialog dialog(html, prices->Settings().viewWidth, form_.get());
    dialog.exec();
    return true;
}

std::unique_ptr<ISplashWindow> TProgramWindows::CreateSplash(TQORApp&)
{
    // The settings are not read yet: the splash shows the product's name.
    return std::make_unique<TSplashForm>(QGuiApplication::applicationDisplayName());
}

std::unique_ptr<IMainWindow> TProgramWindows::CreateMainWindow(TQORApp& app)
{
    return std::make_unique<TProgramMainWindow>(app);
}

void TProgramWindows::UseResources(TECResourceManager* resources)
{
    Skin::SetResourceManager(resources);
}

void TProgramWindows::ProcessEvents()
{
    QCoreApplication::processEvents();
}

} // namespace pavlora
