#include "ordering/OrderActionDispatcher.h"

#include "core/QORException.h"
#include "ordering/QOROrderInterface.h"

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
        if (retryAction_ == static_cast<int>(TOrderRetryAction::CreateOnlineOrder)
            || retryAction_ == static_cast<int>(TOrderRetryAction::ResumeOnlineOrder))
            HangUpAfterOrder();
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

std::function<void(const TQORError&, const TQOROrder&)> TOrderActionDispatcher::OrderDone()
{
    return [this](const TQORError& error, const TQOROrder& order) {
        lastOrder_ = order;
        Done(error);
    };
}

void TOrderActionDispatcher::StartCreateOnlineOrder(
    TQOROrderInterface& orders, const TQOROrder& order, std::function<bool()> internetCheck)
{
    Start(static_cast<int>(TOrderRetryAction::CreateOnlineOrder),
        static_cast<int>(TOrderContinuation::OrderConfirmation),
        [this, &orders, order, internetCheck = std::move(internetCheck)] {
            if (internetCheck && !internetCheck())
                return;
            orders.CreateOnlineOrder(order, OrderDone());
        });
}

void TOrderActionDispatcher::StartCreateCDOrderOnline(TQOROrderInterface& orders, const TQOROrder& order)
{
    Start(static_cast<int>(TOrderRetryAction::CreateCDOrderOnline),
        static_cast<int>(TOrderContinuation::DiscWritingView),
        [this, &orders, order] { orders.CreateCDOrderOnline(order, OrderDone()); });
}

void TOrderActionDispatcher::StartCreateCDOrderOffline(TQOROrderInterface& orders, const TQOROrder& order)
{
    Start(static_cast<int>(TOrderRetryAction::CreateCDOrderOffline),
        static_cast<int>(TOrderContinuation::DiscWritingView),
        [this, &orders, order] { orders.CreateCDOrderOffline(order, OrderDone()); });
}

void TOrderActionDispatcher::StartResumeOnlineOrder(
    TQOROrderInterface& orders, const TQOROrder& order, const TQOROrderResume& resume)
{
    Start(static_cast<int>(TOrderRetryAction::ResumeOnlineOrder),
        static_cast<int>(TOrderContinuation::OrderConfirmation),
        [this, &orders, order, resume] { orders.ResumeOnlineOrderCreation(order, resume, OrderDone()); });
}

void TOrderActionDispatcher::HangUpAfterOrder()
{
    // Only a dial-up connection the program opened itself would be hung up
    // (after asking, unless "AutoDisconnect" is on). This platform has no
    // dial-up component, so the answer is always no and nothing is asked.
    if (!TQOROrderInterface::ProgramOpenedConnection())
        return;
}

} // namespace pavlora
