#pragma once

#include "core/QORThread.h"
#include "ordering/INA.h"
#include "ordering/OrderShell.h"
#include "ordering/Protocol.h"
#include "ordering/QOROrderResume.h"
#include "ordering/QORRecords.h"
#include "ordering/XTCIProductLinks.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <set>

namespace pugi {
class xml_document;
} // namespace pugi

namespace pavlora {

class TRegConfiguration;
enum class TOrderKind : int; // ordering/OIOrderThread.h

// A worker of the order interface: one operation on the protocol. Its
// result returns to the UI thread in the termination handler.
class TOIThread : public TQORThread {
public:
    TOIThread(QString name, QString context, std::function<void()> work)
        : TQORThread(std::move(name))
        , context_(std::move(context))
        , work_(std::move(work))
    {
    }
    const QString& Context() const { return context_; }

protected:
    void Execute() override { work_(); }
    QString ErrorContext() const override { return QStringLiteral("QOROrderInterface.TOIThread.Execute"); }

private:
    QString context_;
    std::function<void()> work_;
};

// What the order data chain fetched.
struct TOrderData {
    TQORCountryList countries;
    TQORPaymentInfoList payments;
    TQORCreditCardTypeList cardTypes;
};

// The one object the application talks to for server operations.
//
// Thread contract: every public function is called on the UI thread. Each
// operation runs on its own worker (TOIThread); its result and outputs
// come back to the UI thread through the callback given, never as an
// exception. Progress and upload notices from the workers reach the shell
// on the UI thread as queued calls. Abort cuts every running transfer and
// drops the results; the destructor aborts and joins whatever still runs.
// The running-thread list is only touched on the UI thread.
class TQOROrderInterface : public QObject {
public:
    using ResultCallback = std::function<void(const TQORError&)>;
    template <class T>
    using OutputCallback = std::function<void(const TQORError&, const T&)>;

    // `protocol` is initialised here with the XChg.dat document and the
    // settings of the same names.
    TQOROrderInterface(std::unique_ptr<TProtocol> protocol, const pugi::xml_document& xchg, IOrderShell& shell,
        TINA& ina = TINA::Instance());
    ~TQOROrderInterface() override;

    // The protocol of a registered number (0: the ZODE protocol), or
    // nothing. `allowedHosts` is the setting "zode_allowed_hosts".
    static std::unique_ptr<TProtocol> CreateProtocol(int number, TINA& ina, const QStringList& allowedHosts);

    TProtocol& Protocol() { return *protocol_; }
    // The exchange records read from XChg.dat at creation (ReadXchgLinks).
    const TXchgList& XchgLinks() const { return xchgLinks_; }
    void SetLanguage(const QString& languageCode, const QString& locale, int pricesCheckAfterDays);
    void SetProductUpdater(IProductUpdater* updater) { productUpdater_ = updater; }
    // The application's default result callback, taken over by Abort.
    void SetDefaultResultCallback(ResultCallback callback) { defaultCallback_ = std::move(callback); }
    // The user settings whose "LastTmpOrderDir" a cancelled transfer clears.
    void SetUserSettings(TRegConfiguration* settings) { userSettings_ = settings; }

    // ---- Operations (each on its own worker) ----
    void UserLogin(const TQORUser& user, OutputCallback<TQORUser> done);
    void UserRegistration(const TQORUser& user, OutputCallback<TQORUser> done);
    void UpdateUserData(const TQORUser& user, ResultCallback done);
    void GetUserSecurityQuestion(const TQORUser& user, OutputCallback<TQORUser> done);
    void RequestNewUserPassword(const QString& login, const QString& answer, ResultCallback done);
    void GetCountryList(OutputCallback<TQORCountryList> done);
    void GetPickupStoreList(const QString& zip, const QString& city, OutputCallback<TQORPickupStoreList> done);
    void GetPaymentInfoList(OutputCallback<TQORPaymentInfoList> done);
    void GetCreditCardTypeList(OutputCallback<TQORCreditCardTypeList> done);
    void CheckCoupon(const TQORCoupon& coupon, OutputCallback<TQORCoupon> done);
    // With `download` on a worker, without it right here.
    void UpdateProducts(bool download, const QString& groupId, ResultCallback done);

    // ---- Orders (QOROrderInterfaceOrders.cpp) ----
    // The worker gets a copy of the record and hands it back, as it left
    // it, with the result. The order started last is the transfer that
    // CancelTransfer cleans up.
    void CreateOnlineOrder(const TQOROrder& order, OutputCallback<TQOROrder> done);
    void CreateCDOrderOnline(const TQOROrder& order, OutputCallback<TQOROrder> done);
    void CreateCDOrderOffline(const TQOROrder& order, OutputCallback<TQOROrder> done);
    // Completes the interrupted order of `resume` (its folder, session and
    // files done).
    void ResumeOnlineOrderCreation(
        const TQOROrder& order, const TQOROrderResume& resume, OutputCallback<TQOROrder> done);

    // The order data chain: countries, payment options, card types and the
    // products of `groupId`, fetched together; `done` is called once, when
    // the last of them has finished or as soon as one fails. Refused (false,
    // nothing happens) while more than one thread is running.
    bool StartOrderDataChain(const QString& groupId, OutputCallback<TOrderData> done);

    // Cuts everything that runs: the protocol's abort flag, every transfer
    // cut, every pending result dropped; the default result callback takes
    // the place of the chain's.
    void Abort();
    // The cancel-confirmation callback (the upload view's Cancel): asks
    // "Wollen Sie die Übertragung wirklich abbrechen?"; on Yes aborts, waits
    // for the workers, deletes the order folder of the transfer, clears
    // "LastTmpOrderDir", releases the resume object, lets the shell open the
    // cart (or start) view and closes the upload view.
    void CancelTransfer();
    // Waits for every running worker (their results are delivered).
    void WaitForThreads();

    int RunningThreads() const { return static_cast<int>(running_.size()); }
    TQORError LastThreadError() const { return lastThreadError_; }

    // Whether the program opened a dial-up connection: there is none on
    // this platform.
    static constexpr bool ProgramOpenedConnection() { return false; }

private:
    class Observer;
    struct Chain;
    // The order operation started last: what its worker works on.
    struct OrderTransfer {
        std::shared_ptr<TQOROrder> order;
        std::shared_ptr<TQOROrderResume> resume;
    };

    // Starts `work` on a worker; `finish` runs on the UI thread with the
    // result unless the result was dropped.
    void Start(const char* threadName, const char* context, std::function<void()> work, ResultCallback finish,
        const std::shared_ptr<Chain>& chain = nullptr);
    void StartThread(TQORThreadPtr<TOIThread> thread, ResultCallback finish, const std::shared_ptr<Chain>& chain);
    void StartOrder(TOrderKind kind, const TQOROrder& order, OutputCallback<TQOROrder> done);
    // Cleans up after a cancelled transfer whose workers have stopped.
    void DiscardTransfer();
    void Terminated(TOIThread& thread);

    std::unique_ptr<TProtocol> protocol_;
    TXchgList xchgLinks_;
    IOrderShell& shell_;
    TINA& ina_;
    std::unique_ptr<Observer> observer_;
    IProductUpdater* productUpdater_ = nullptr;
    TRegConfiguration* userSettings_ = nullptr;
    OrderTransfer transfer_;
    ResultCallback defaultCallback_;
    ResultCallback abortCallback_; // the default callback after an abort, called once

    struct Running {
        TQORThreadPtr<TOIThread> thread;
        ResultCallback finish;
        std::shared_ptr<Chain> chain;
    };
    std::map<TOIThread*, Running> running_;
    TQORError lastThreadError_;
};

} // namespace pavlora
