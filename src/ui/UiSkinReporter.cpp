#include "ui/UiSkinReporter.h"

#include "core/Logger.h"
#include "core/QORThread.h"

#include <QGuiApplication>

namespace pavlora {

TUiSkinReporter::TUiSkinReporter(TAnswerer answerer)
    : answerer_(std::move(answerer))
{
}

QMessageBox::StandardButton TUiSkinReporter::Ask(QMessageBox& box) const
{
    if (box.windowTitle().isEmpty())
        box.setWindowTitle(QGuiApplication::applicationDisplayName());
    if (answerer_)
        return answerer_(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

TDesignErrorAnswer TUiSkinReporter::AskDesignError(const QString& text)
{
    ReportMessage(QStringLiteral("Design error: ") + text);
    if (!IsUiThread())
        return TDesignErrorAnswer::Ignore;
    QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll);
    box.setDefaultButton(QMessageBox::Yes);
    switch (Ask(box)) {
    case QMessageBox::No:
        return TDesignErrorAnswer::Raise;
    case QMessageBox::YesToAll:
        return TDesignErrorAnswer::IgnoreAll;
    default:
        // Yes, and a box closed without an answer: go on.
        return TDesignErrorAnswer::Ignore;
    }
}

void TUiSkinReporter::ShowWarning(const QString& text)
{
    ReportMessage(QStringLiteral("Warning: ") + text);
    if (!IsUiThread())
        return;
    QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::Ok);
    Ask(box);
}

void TUiSkinReporter::ShowError(const QString& title, const QString& text)
{
    ReportMessage(title + QStringLiteral(": ") + text);
    if (!IsUiThread())
        return;
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    Ask(box);
}

} // namespace pavlora
