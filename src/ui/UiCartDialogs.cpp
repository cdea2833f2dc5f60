#include "ui/UiCartDialogs.h"

#include "ui/FormInfoBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QProgressDialog>

namespace pavlora {

TUiCartDialogs::TUiCartDialogs(TAppSettings settings, QWidget* owner)
    : settings_(std::move(settings))
    , owner_(owner)
{
}

TUiCartDialogs::~TUiCartDialogs()
{
    HideProgress();
    SetBusy(false);
}

TAppMsgDlgBtn TUiCartDialogs::Ask(const TCartMessage& message)
{
    TMessageBoxRequest request;
    request.title = message.title;
    request.text = message.text;
    request.height = message.height;
    request.width = message.width;
    request.buttons = message.buttons;
    request.kind = message.kind;
    const int result = ShowMessageBox(request, settings_, owner_.data(), progress_.data());
    for (const TAppMsgDlgBtn button : message.buttons)
        if (MessageButtonResult(button) == result)
            return button;
    // Closing the box is the customer's "no": the last (refusing) button.
    return message.buttons.isEmpty() ? bCancel : message.buttons.back();
}

QString TUiCartDialogs::QtFilter(const QString& filter)
{
    // Pairs of "description|pattern"; Qt shows the descriptions, which name the patterns.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts.at(i).contains(QLatin1Char('('))
                ? parts.at(i)
                : parts.at(i) + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString TUiCartDialogs::SaveFileName(const TCartFileDialog& dialog)
{
    QFileDialog files(owner_.data());
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setNameFilter(QtFilter(dialog.filter));
    files.setDefaultSuffix(QString(dialog.defaultExtension).remove(QLatin1Char('*')).remove(QLatin1Char('.')));
    files.setDirectory(dialog.folder);
    files.selectFile(dialog.fileName);
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
        return {};
    return files.selectedFiles().front();
}

QString TUiCartDialogs::OpenFileName(const TCartFileDialog& dialog)
{
    QFileDialog files(owner_.data());
    files.setAcceptMode(QFileDialog::AcceptOpen);
    files.setFileMode(QFileDialog::ExistingFile);
    files.setNameFilter(QtFilter(dialog.filter));
    files.setDirectory(dialog.folder);
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
        return {};
    return files.selectedFiles().front();
}

void TUiCartDialogs::ShowProgress(const QString& text, int steps)
{
    if (!progress_) {
        progress_ = new QProgressDialog(owner_.data());
        progress_->setCancelButton(nullptr);
        progress_->setMinimumDuration(0);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setAttribute(Qt::WA_DeleteOnClose);
    }
    progress_->setLabelText(text);
    progress_->setRange(0, std::max(0, steps));
    progress_->setValue(0);
    progress_->show();
}

void TUiCartDialogs::AdvanceProgress()
{
    if (progress_)
        progress_->setValue(std::min(progress_->maximum(), progress_->value() + 1));
}

void TUiCartDialogs::HideProgress()
{
    if (progress_)
        progress_->close();
}

void TUiCartDialogs::ProcessPendingEvents()
{
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TUiCartDialogs::SetBusy(bool busy)
{
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace pavlora
