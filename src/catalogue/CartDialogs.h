#pragma once

#include <QList>
#include <QString>

namespace pavlora {

// The buttons of the program's message box. (The message box itself comes
// with the program shell; the cart asks through TCartDialogs.)
enum TAppMsgDlgBtn {
    bYes = 0,
    bNo = 1,
    bOK = 2,
    bCancel = 3,
    bAbort = 4,
    bRetry = 5,
    bIgnore = 6,
    bAll = 7,
    bNoToAll = 8,
    bYesToAll = 9,
    bHelp = 10,
    bSave = 11,
    bNotSave = 12,
    bClose = 13,
    bNext = 14,
    bUpdate = 15,
    bSkip = 16,
};

// The kinds of message box.
enum class MessageKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3, Hint = 4 };

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
