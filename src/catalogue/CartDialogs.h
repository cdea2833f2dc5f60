#pragma once

#include "core/AppMessageBox.h"

#include <QList>
#include <QString>

namespace pavlora {

// One question or message of the cart.
struct TCartMessage {
    QString title; // empty: the kind's own header
    QString text;
    int height = 0;
    int width = 0;
    QList<TAppMsgDlgBtn> buttons;
    MessageKind kind = MessageKind::Warning;
};

// A file dialog of the cart.
struct TCartFileDialog {
    QString fileName; // proposed name
    QString filter; // "Text (*.psc)|*.psc"
    QString defaultExtension;
    QString folder; // starting folder
};

// Everything the cart asks the customer or shows while it works. The
// program shell implements it with its message box, file dialogs, progress
// window and busy cursor; tests answer it by script. The headless default
// shows nothing, answers every question with its first button and cancels
// every file dialog.
//
// Called on the UI thread only.
class TCartDialogs {
public:
    virtual ~TCartDialogs() = default;

    virtual TAppMsgDlgBtn Ask(const TCartMessage& message)
    {
        return message.buttons.isEmpty() ? bOK : message.buttons.front();
    }
    // The chosen file, or empty when cancelled.
    virtual QString SaveFileName(const TCartFileDialog& /*dialog*/) { return {}; }
    virtual QString OpenFileName(const TCartFileDialog& /*dialog*/) { return {}; }

    // The progress window (state 8, "copying pictures into the cart").
    virtual void ShowProgress(const QString& /*text*/, int /*steps*/) { }
    virtual void AdvanceProgress() { }
    virtual void HideProgress() { }
    // Lets the window system breathe between items of a long save or load.
    virtual void ProcessPendingEvents() { }
    // The hourglass cursor.
    virtual void SetBusy(bool /*busy*/) { }
};

} // namespace pavlora
