#include "ordering/OrderActionDispatcher.h"

#include "core/QORException.h"

namespace pavlora {

TOrderActionDispatcher::TOrderActionDispatcher(IOrderShell& shell)
    : shell_(shell)
{
}

void TOrderActionDispatcher::Start(int retryAction, int continuation, std::function<void()> start)
{
    retryAction_ = retryAction;
    continuation_ = continuation;
    start_ = std::move(start);
    aborted_ = false;
    if (start_)
        start_();
}

void TOrderActionDispatcher::Done(const TQORError& result)
{
    try {
        Handle(result);
    } catch (...) {
        shell_.ShowError(RecordCurrentException(QStringLiteral("QOR_Cls_2_0.QORApp.OrderInterfaceActionDone")));
    }
}

void TOrderActionDispatcher::Handle(const TQORError& result)
{
    shell_.RestoreCursor();
    if (result.IsError())
        shell_.ShowProgress(TProgressState::Hide, 0.0F);
    if (aborted_) {
        aborted_ = false;
        shell_.FinishAbortedAction(retryAction_);
        return;
    }
    switch (result.code) {
    case 0:
        shell_.RunContinuation(continuation_);
        break;
    case 40:
    case 41:
    case 48:
        if (shell_.AskRetry(result) && start_)
            start_();
        break;
    case 49:
        if (shell_.AskRetry(result)) {
            if (start_)
                start_();
        } else {
            shell_.ReturnToCart();
        }
        break;
    default:
        shell_.ShowError(result);
        break;
    }
}

} // namespace pavlora
