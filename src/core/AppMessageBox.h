#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace pavlora {

// The buttons of the program's message box; the number is the value the
// callers and the design files use.
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

// The header of a message box.
enum class MessageKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3, Hint = 4 };

// How the text of a message box is shown.
enum class MessageTextForm {
    Plain = 0, // wrapped into HTML as it stands; callers may use markup
    Bold = 1,
    BoldAlso = 2, // shown like Bold
    Html = 3, // the text is a whole HTML document
    File = 4, // the text names an HTML file in the current folder
};

// Results of a message box: the usual dialog results and the program's own.
namespace MessageResult {
inline constexpr int None = 0; // no box could be shown
inline constexpr int OK = 1;
inline constexpr int Cancel = 2; // also: the window was closed
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
inline constexpr int Save = 100;
inline constexpr int NotSave = 101;
inline constexpr int Next = 102;
} // namespace MessageResult

// The result a button gives when pressed; 0 for the values that make no
// button (bAll, bNoToAll, bYesToAll, bHelp).
int MessageButtonResult(TAppMsgDlgBtn button);

// One message box as a caller asks for it.
struct TMessageBoxRequest {
    QString title; // not shown in the box; kept for logs and tests
    QString text;
    bool keepScrollPosition = false;
    int height = 0; // above 100 replaces the designed outer size
    int width = 0;
    QList<TAppMsgDlgBtn> buttons;
    MessageKind kind = MessageKind::Warning;
    MessageTextForm textForm = MessageTextForm::Plain;
};

// The process-wide message-box hook for code that has no application
// object. The program shell registers its box on the UI thread; tests
// register an answerer. Without a hook nothing is shown and the result is
// MessageResult::None.
using TMessageBoxHook = std::function<int(const TMessageBoxRequest&)>;
void SetMessageBoxHook(TMessageBoxHook hook);
int ShowAppMessageBox(const QString& title, const QString& text, const QList<TAppMsgDlgBtn>& buttons, MessageKind kind);
int ShowAppMessageBox(const TMessageBoxRequest& request);

} // namespace pavlora
