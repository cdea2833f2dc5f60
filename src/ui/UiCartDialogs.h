#pragma once

#include "catalogue/CartDialogs.h"
#include "core/AppSettings.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

namespace pavlora {

// The cart's questions, file dialogs and progress shown with the program's
// message box and Qt's dialogs.
//
// UI thread only.
class TUiCartDialogs final : public TCartDialogs {
public:
    TUiCartDialogs(TAppSettings settings, QWidget* owner);
    ~TUiCartDialogs() override;

    TAppMsgDlgBtn Ask(const TCartMessage& message) override;
    QString SaveFileName(const TCartFileDialog& dialog) override;
    QString OpenFileName(const TCartFileDialog& dialog) override;
    void ShowProgress(const QString& text, int steps) override;
    void AdvanceProgress() override;
    void HideProgress() override;
    void ProcessPendingEvents() override;
    void SetBusy(bool busy) override;

    // "Text (*.psc)|*.psc" as a Qt filter "Text (*.psc)".
    static QString QtFilter(const QString& filter);

private:
    TAppSettings settings_;
    QPointer<QWidget> owner_;
    QPointer<QProgressDialog> progress_;
    bool busy_ = false;
};

} // namespace pavlora
