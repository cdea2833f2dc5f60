#include "core/AppMessageBox.h"

#include <mutex>

namespace pavlora {

namespace {

std::mutex& HookLock()
{
    static std::mutex lock;
    return lock;
}

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

} // namespace

int MessageButtonResult(TAppMsgDlgBtn button)
{
    switch (button) {
    case bYes:
    case bUpdate:
        return MessageResult::Yes;
    case bNo:
    case bSkip:
        return MessageResult::No;
    case bOK:
    case bClose:
        return MessageResult::OK;
    case bCancel:
        return MessageResult::Cancel;
    case bAbort:
        return MessageResult::Abort;
    case bRetry:
        return MessageResult::Retry;
    case bIgnore:
        return MessageResult::Ignore;
    case bSave:
        return MessageResult::Save;
    case bNotSave:
        return MessageResult::NotSave;
    case bNext:
        return MessageResult::Next;
    case bAll:
    case bNoToAll:
    case bYesToAll:
    case bHelp:
        break;
    }
    return MessageResult::None;
}

void SetMessageBoxHook(TMessageBoxHook hook)
{
    std::lock_guard guard(HookLock());
    Hook() = std::move(hook);
}

int ShowAppMessageBox(const TMessageBoxRequest& request)
{
    TMessageBoxHook hook;
    {
        std::lock_guard guard(HookLock());
        hook = Hook();
    }
    return hook ? hook(request) : MessageResult::None;
}

int ShowAppMessageBox(const QString& title, const QString& text, const QList<TAppMsgDlgBtn>& buttons, MessageKind kind)
{
    TMessageBoxRequest request;
    request.title = title;
    request.text = text;
    request.buttons = buttons;
    request.kind = kind;
    return ShowAppMessageBox(request);
}

} // namespace pavlora
