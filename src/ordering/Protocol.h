#pragma once

#include "ordering/INA.h"
#include "ordering/QOROrderResume.h"
#include "ordering/QORRecords.h"

#include <QString>

#include <atomic>
#include <functional>

namespace pugi {
class xml_document;
} // namespace pugi

namespace pavlora {

// States of the progress window (the main window's message 1225).
enum class TProgressState : int {
    Hide = 1,
    ServerExchange = 3,
    ComputingPictures = 4,
    CopyingPictures = 6,
    OtherComputation = 9,
};

// Actions of the upload view (the main window's message 1224).
enum class TUploadViewAction : int { Update = 0, Close = 1, Open = 2 };

// What the protocol tells the program shell while it works. Called on the
// worker threads; an implementation hands the values to the UI thread.
class IProtocolObserver {
public:
    virtual ~IProtocolObserver() = default;
    // The progress window: state and progress (negative when aborted).
    virtual void ProgressNotice(TProgressState state, float progress) = 0;
    // The upload view: opened with the order's figures, then the progress
    // of the file being uploaded.
    virtual void UploadViewNotice(TUploadViewAction action, const TUploadProgress& progress) = 0;
};

// The abstract order protocol that the order interface drives; TXTCI (the
// ZODE protocol) is its one implementation. The operations run on the
// order interface's worker threads and raise EQORException.
class TProtocol {
public:
    virtual ~TProtocol() = default;

    virtual void Initialize(const pugi::xml_document& xchg) = 0;
    virtual void CreateSession() = 0;
    virtual void RenewSession(bool dropFirst) = 0;
    virtual void CloseSession(bool normal) = 0;
    virtual void UserLogin(const QString& login, const QString& password) = 0;
    virtual void UserRegistration(const TQORUser& user) = 0;
    virtual void GetUserData(TQORUser& user) = 0;
    virtual void UpdateUserData(const TQORUser& user) = 0;
    virtual void GetCountryList(TQORCountryList& list) = 0;
    virtual void GetPickupStoreList(TQORPickupStoreList& list, const QString& zip, const QString& city) = 0;
    virtual void GetPaymentInfoList(TQORPaymentInfoList& list) = 0;
    virtual void GetCreditCardTypeList(TQORCreditCardTypeList& list) = 0;
    virtual void CheckCoupon(TQORCoupon& coupon) = 0;
    virtual void GetUserSecurityQuestion(TQORUser& user) = 0;
    virtual void RequestNewUserPassword(const QString& login, const QString& answer) = 0;

    // The order declaration and upload, and disc orders. A protocol that
    // does not offer one keeps the default, which raises EQORException
    // (code 2, "operation not available: " and the name).
    virtual void CreateOnlineOrder(TQOROrder& order);
    virtual void CreateCDOrderOnline(TQOROrder& order);
    virtual void CreateCDOrderOffline(TQOROrder& order);
    // Completes an interrupted online order from its resume object.
    virtual void ResumeOnlineOrderCreation(TQOROrder& order, TQOROrderResume& resume);
    // Uploads the files of the order declared in the current session.
    virtual void Upload(TQOROrder& order);

    // The abort flag: set by the order interface's Abort, polled between
    // the steps of long operations, reset when an operation starts.
    void SetAborted(bool aborted) { aborted_ = aborted; }
    bool IsAborted() const { return aborted_.load(); }

    void SetObserver(IProtocolObserver* observer) { observer_ = observer; }
    IProtocolObserver* Observer() const { return observer_; }

    // Settings of the application the protocol keeps.
    void SetLanguage(const QString& languageCode, const QString& locale, int pricesCheckAfterDays)
    {
        languageCode_ = languageCode;
        locale_ = locale;
        pricesCheckAfterDays_ = pricesCheckAfterDays;
    }

protected:
    void NotifyProgress(TProgressState state, float progress) const
    {
        if (IProtocolObserver* observer = observer_.load())
            observer->ProgressNotice(state, progress);
    }
    // The upload view's data; the file path is cut to the 255 characters
    // the view holds.
    void NotifyUploadView(TUploadViewAction action, TUploadProgress progress) const;

    QString languageCode_;
    QString locale_;
    int pricesCheckAfterDays_ = 0;

private:
    std::atomic<bool> aborted_{false};
    std::atomic<IProtocolObserver*> observer_{nullptr};
};

} // namespace pavlora
