#pragma once

#include "core/QORError.h"
#include "ordering/OrderShell.h"

#include <functional>

namespace pavlora {

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

    int RetryAction() const { return retryAction_; }
    int Continuation() const { return continuation_; }

private:
    void Handle(const TQORError& result);

    IOrderShell& shell_;
    int retryAction_ = 0;
    int continuation_ = 0;
    std::function<void()> start_;
    bool aborted_ = false;
};

} // namespace pavlora
