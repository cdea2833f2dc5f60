#pragma once

#include "core/QORError.h"
#include "ordering/INA.h"
#include "ordering/Protocol.h"

#include <QString>

namespace pavlora {

// What the order interface needs of the program shell: the progress window,
// the upload view, the questions and the views its results open. The
// program's main window implements it; tests answer by script. Every call
// comes on the UI thread.
class IOrderShell {
public:
    virtual ~IOrderShell() = default;

    // The progress window (message 1225); a negative progress when aborted.
    virtual void ShowProgress(TProgressState state, float progress) = 0;
    // The upload view (message 1224).
    virtual void UploadView(TUploadViewAction action, const TUploadProgress& progress) = 0;
    // The normal mouse cursor again.
    virtual void RestoreCursor() { }

    // Shows a communication error with the buttons Abort and Retry; true
    // for Retry.
    virtual bool AskRetry(const TQORError& error) = 0;
    // Shows an error with an OK button.
    virtual void ShowError(const TQORError& error) = 0;
    // "Wollen Sie die Übertragung wirklich abbrechen?" with Yes and No.
    virtual bool ConfirmCancel() = 0;

    // Runs a continuation of the result table (the dialogs it opens).
    virtual void RunContinuation(int continuation) = 0;
    // Abort after code 49: back to the cart view, refreshed.
    virtual void ReturnToCart() = 0;
    // Finishes what `retryAction` had begun when its operation was aborted.
    virtual void FinishAbortedAction(int retryAction) = 0;
    // After a cancelled transfer, once every worker has stopped and the
    // order interface has deleted the order folder, cleared
    // "LastTmpOrderDir" and released the resume object: opens the cart view,
    // or the start view when the cart is empty.
    virtual void TransferCancelled() = 0;
};

// Loads and links the key accounts' price lists (the price layer
// implements it); run on a worker for a download.
class IProductUpdater {
public:
    virtual ~IProductUpdater() = default;
    virtual void UpdateProducts(TProtocol& protocol, bool download, const QString& groupId) = 0;
};

} // namespace pavlora
