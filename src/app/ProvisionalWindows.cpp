#include "app/ProvisionalWindows.h"

#include "app/QORApp.h"
#include "core/AppMessageBox.h"
#include "core/Logger.h"
#include "ui/SplashForm.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <unistd.h>

namespace pavlora {

namespace {

QString Caption(TAppMsgDlgBtn button)
{
    switch (button) {
    case bYes:
        return QStringLiteral("Ja");
    case bNo:
        return QStringLiteral("Nein");
    case bOK:
        return QStringLiteral("OK");
    case bCancel:
        return QStringLiteral("Abbrechen");
    case bAbort:
        return QStringLiteral("Abbrechen");
    case bRetry:
        return QStringLiteral("Wiederholen");
    case bIgnore:
        return QStringLiteral("Ignorieren");
    case bSave:
        return QStringLiteral("Speichern");
    case bNotSave:
        return QStringLiteral("Nicht speichern");
    case bClose:
        return QStringLiteral("Schließen");
    case bNext:
        return QStringLiteral("Weiter");
    case bUpdate:
        return QStringLiteral("Aktualisieren");
    case bSkip:
        return QStringLiteral("Überspringen");
    default:
        return QString();
    }
}

int ShowQtMessageBox(const TMessageBoxRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setTextFormat(request.textForm == MessageTextForm::Html || request.textForm == MessageTextForm::Plain
            ? Qt::RichText
            : Qt::AutoText);
    box.setText(request.text);
    switch (request.kind) {
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    default:
        box.setIcon(QMessageBox::Information);
    }
    QList<std::pair<QAbstractButton*, int>> results;
    for (TAppMsgDlgBtn button : request.buttons) {
        const QString caption = Caption(button);
        if (caption.isEmpty())
            continue;
        results.append({box.addButton(caption, QMessageBox::AcceptRole), MessageButtonResult(button)});
    }
    box.exec();
    for (const auto& [button, result] : results)
        if (box.clickedButton() == button)
            return result;
    return MessageResult::Cancel;
}

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

} // namespace

TProvisionalMainWindow::TProvisionalMainWindow(TQORApp& app)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(app.ApplicationTitle());
    setMinimumSize(800, 600);
    auto* welcome = new QLabel(QStringLiteral("Willkommen bei %1").arg(app.ApplicationTitle().toHtmlEscaped()), this);
    welcome->setAlignment(Qt::AlignCenter);
    setCentralWidget(welcome);
    app.SetCommandHandler([](int, const QStringList&) { return false; }, [](int) { return false; });
}

void TProvisionalMainWindow::SetEnabled(bool enabled)
{
    const bool wasEnabled = isEnabled();
    setEnabled(enabled);
    if (enabled && !wasEnabled) {
        // The start-up time from the process start to an enabled main window.
        ReportMessage(QStringLiteral("Main window enabled after %1 ms").arg(ProcessUptimeMs()));
    }
}

void TProvisionalMainWindow::CloseRequested()
{
    ShowAppMessageBox(QString(), QStringLiteral("AppMustClose"), {bOK}, MessageKind::Warning);
    close();
}

bool TProvisionalMainWindow::AskRetry(const TQORError& error)
{
    return ShowAppMessageBox(QString(), error.HtmlMessage(), {bAbort, bRetry}, MessageKind::Error)
        == MessageResult::Retry;
}

void TProvisionalMainWindow::ShowError(const TQORError& error)
{
    ShowAppMessageBox(QString(), error.HtmlMessage(), {bOK}, MessageKind::Error);
}

bool TProvisionalMainWindow::ConfirmCancel()
{
    return ShowAppMessageBox(QString(), QStringLiteral("Wollen Sie die Übertragung wirklich abbrechen?"), {bYes, bNo},
               MessageKind::Confirmation)
        == MessageResult::Yes;
}

std::unique_ptr<ISplashWindow> TProgramWindows::CreateSplash(TQORApp& app)
{
    Q_UNUSED(app);
    // The settings are not read yet: the splash shows the product's name.
    return std::make_unique<TSplashForm>(QGuiApplication::applicationDisplayName());
}

std::unique_ptr<IMainWindow> TProgramWindows::CreateMainWindow(TQORApp& app)
{
    return std::make_unique<TProvisionalMainWindow>(app);
}

void TProgramWindows::ProcessEvents()
{
    QCoreApplication::processEvents();
}

void RegisterProvisionalMessageBox()
{
    SetMessageBoxHook(ShowQtMessageBox);
}

} // namespace pavlora
