#pragma once

#include "core/QORError.h"
#include "ordering/OrderShell.h"
#include "ordering/QOROrderResume.h"
#include "ordering/QORRecords.h"

#include <functional>

namespace pavlora {

class TQOROrderInterface;

// Retry actions: what is run again when the customer chooses Retry.
enum class TOrderRetryAction : int {
    GetCountryList = 100,
    CheckCoupon = 101,
    UserLogin = 102,
    UserRegistration = 103,
    OrderDataChainAfterLogin = 104,
    OrderDataChainAfterRegistration = 105,
    UpdateUserData = 107,
    CreateOnlineOrder = 109,
    CreateCDOrderOnline = 110,
    CreateCDOrderOffline = 111,
    PriceUpdate = 113,
    GetUserSecurityQuestion = 116,
    RequestNewUserPassword = 119,
    ResumeOnlineOrder = 120,
};

// Continuations of the order operations.
enum class TOrderContinuation : int {
    // The order confirmation view; the order folder is deleted and the cart
    // emptied when "EmptyCartAfterOrder" is "true".
    OrderConfirmation = 112,
    // The disc writing view.
    DiscWritingView = 128,
};

// The application's default result callback ("OrderInterfaceActionDone"):
// before an operation starts, the application stores what to run again
// (the retry action, with the very call that started it) and what to do on
// success (the continuation); the result then decides.
//
//   code 0            run the continuation
//   40, 41, 48        the error with Abort and Retry; Retry starts the same
//                     operation with the same arguments again
//   49                the same; Abort returns to the cart view
//   any other         the error
//
// After an abort the pending action is finished instead. UI thread only.
class TOrderActionDispatcher {
public:
    explicit TOrderActionDispatcher(IOrderShell& shell);

    // Stores the retry action, its start and the continuation, then starts.
    void Start(int retryAction, int continuation, std::function<void()> start);
    // The result of the operation started last.
    void Done(const TQORError& result);
    // The next result is of an aborted operation.
    void MarkAborted() { aborted_ = true; }

    // ---- Order operations with their retry actions and continuations ----
    // The arguments are copied when the operation is started first, so
    // Retry runs it again with the very same ones; the result comes to Done.
    // 109: the internet check (false stops before anything is sent), then
    // CreateOnlineOrder; continuation 112.
    void StartCreateOnlineOrder(
        TQOROrderInterface& orders, const TQOROrder& order, std::function<bool()> internetCheck = {});
    // 110 and 111: continuation the disc writing view.
    void StartCreateCDOrderOnline(TQOROrderInterface& orders, const TQOROrder& order);
    void StartCreateCDOrderOffline(TQOROrderInterface& orders, const TQOROrder& order);
    // 120: the interrupted order of `resume`; continuation 112.
    void StartResumeOnlineOrder(TQOROrderInterface& orders, const TQOROrder& order, const TQOROrderResume& resume);
    // The order record as the worker of the last order operation left it.
    const TQOROrder& LastOrder() const { return lastOrder_; }

    int RetryAction() const { return retryAction_; }
    int Continuation() const { return continuation_; }

private:
    void Handle(const TQORError& result);
    // The result callback of the order operations.
    std::function<void(const TQORError&, const TQOROrder&)> OrderDone();
    // After a successful online order: hangs up a dial-up connection the
    // program opened, asking unless "AutoDisconnect" is on. There is no
    // dial-up component on this platform, so the program never opened one.
    static void HangUpAfterOrder();

    IOrderShell& shell_;
    int retryAction_ = 0;
    int continuation_ = 0;
    std::function<void()> start_;
    bool aborted_ = false;
    TQOROrder lastOrder_;
};

} // namespace pavlora
