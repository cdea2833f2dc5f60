#include "ordering/QOROrderInterface.h"

#include "core/Logger.h"
#include "core/QORException.h"
#include "ordering/ZODE.h"

#include <QCoreApplication>
#include <QPointer>

#include <pugixml.hpp>

#include <vector>

namespace pavlora {

// Hands the protocol's notices from the workers to the shell on the UI
// thread.
class TQOROrderInterface::Observer : public IProtocolObserver {
public:
    explicit Observer(TQOROrderInterface& owner)
        : owner_(owner)
    {
    }

    void ProgressNotice(TProgressState state, float progress) override
    {
        Post([this, state, progress] { owner_.shell_.ShowProgress(state, progress); });
    }
    void UploadViewNotice(TUploadViewAction action, const TUploadProgress& progress) override
    {
        Post([this, action, progress] { owner_.shell_.UploadView(action, progress); });
    }

private:
    void Post(std::function<void()> call)
    {
        if (IsUiThread()) {
            call();
            return;
        }
        QMetaObject::invokeMethod(&owner_, std::move(call), Qt::QueuedConnection);
    }

    TQOROrderInterface& owner_;
};

// A group of operations with one callback: called once, when the last
// member has finished or as soon as one fails.
struct TQOROrderInterface::Chain {
    ResultCallback done;
    int pending = 0;
};

TQOROrderInterface::TQOROrderInterface(
    std::unique_ptr<TProtocol> protocol, const pugi::xml_document& xchg, IOrderShell& shell, TINA& ina)
    : protocol_(std::move(protocol))
    , xchgLinks_(ReadXchgLinks(xchg.document_element()))
    , shell_(shell)
    , ina_(ina)
    , observer_(std::make_unique<Observer>(*this))
{
    if (!protocol_)
        throw EQORException(2, QStringLiteral("Invalid protocol type. Protocol is not implemented!"), QString(),
            QStringLiteral("QOROrderInterface.TQOROrderInterface.Create"));
    protocol_->SetAborted(false);
    protocol_->Initialize(xchg);
    protocol_->SetObserver(observer_.get());
}

TQOROrderInterface::~TQOROrderInterface()
{
    Abort();
    // Workers still running are joined here; their results are dropped.
    std::map<TOIThread*, Running> remaining;
    remaining.swap(running_);
    for (auto& [raw, entry] : remaining)
        TQORThread::StopThread(entry.thread, true);
    protocol_->SetObserver(nullptr);
}

std::unique_ptr<TProtocol> TQOROrderInterface::CreateProtocol(int number, TINA& ina, const QStringList& allowedHosts)
{
    if (number == 0)
        return std::make_unique<TXTCI>(ina, allowedHosts);
    return nullptr;
}

void TQOROrderInterface::SetLanguage(const QString& languageCode, const QString& locale, int pricesCheckAfterDays)
{
    protocol_->SetLanguage(languageCode, locale, pricesCheckAfterDays);
}

void TQOROrderInterface::Start(const char* threadName, const char* context, std::function<void()> work,
    ResultCallback finish, const std::shared_ptr<Chain>& chain)
{
    StartThread(TQORThread::Create<TOIThread>(QLatin1String(threadName),
                    QStringLiteral("TQOROrderInterface.") + QLatin1String(context), std::move(work)),
        std::move(finish), chain);
}

void TQOROrderInterface::StartThread(
    TQORThreadPtr<TOIThread> thread, ResultCallback finish, const std::shared_ptr<Chain>& chain)
{
    // A new operation is not aborted by an earlier cancel.
    protocol_->SetAborted(false);
    TOIThread* raw = thread.get();
    thread->SetOnTerminate([this](TQORThread& finished) { Terminated(static_cast<TOIThread&>(finished)); });
    if (chain)
        ++chain->pending;
    running_[raw] = Running{std::move(thread), std::move(finish), chain};
    raw->Start();
}

void TQOROrderInterface::Terminated(TOIThread& thread)
{
    const auto found = running_.find(&thread);
    if (found == running_.end())
        return;
    Running entry = std::move(found->second);
    running_.erase(found);
    const TQORError result = thread.Result();
    lastThreadError_ = result;
    if (result.IsError())
        shell_.ShowProgress(TProgressState::Hide, 0.0F);

    if (abortCallback_) {
        // Aborted: the results are dropped and the application's default
        // callback finishes what was pending, once.
        const ResultCallback callback = std::move(abortCallback_);
        abortCallback_ = {};
        callback(result);
    } else if (entry.finish) {
        entry.finish(result);
    }
    if (entry.chain && entry.chain->done) {
        --entry.chain->pending;
        if (result.IsError() || entry.chain->pending == 0) {
            const ResultCallback done = std::move(entry.chain->done);
            entry.chain->done = {};
            done(result);
        }
    }
    shell_.UploadView(TUploadViewAction::Close, TUploadProgress{});
    // `entry.thread` goes here: released inside its own termination
    // handler, it destroys itself once the handler has returned.
}

void TQOROrderInterface::UserLogin(const TQORUser& user, OutputCallback<TQORUser> done)
{
    auto data = std::make_shared<TQORUser>(user);
    Start(
        "TOILoginThread", "UserLogin",
        [this, data] {
            protocol_->UserLogin(data->email, data->password);
            protocol_->GetUserData(*data);
            data->loggedIn = true;
        },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::UserRegistration(const TQORUser& user, OutputCallback<TQORUser> done)
{
    auto data = std::make_shared<TQORUser>(user);
    Start(
        "TOIUserRegistrationThread", "UserRegistration",
        [this, data] {
            protocol_->UserRegistration(*data);
            protocol_->UserLogin(data->email, data->password);
            protocol_->GetUserData(*data);
            data->loggedIn = true;
        },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::UpdateUserData(const TQORUser& user, ResultCallback done)
{
    auto data = std::make_shared<TQORUser>(user);
    Start(
        "TOIUpdateUserDataThread", "UpdateUserData", [this, data] { protocol_->UpdateUserData(*data); },
        std::move(done));
}

void TQOROrderInterface::GetUserSecurityQuestion(const TQORUser& user, OutputCallback<TQORUser> done)
{
    auto data = std::make_shared<TQORUser>(user);
    Start(
        "TOIGetUserSecurityQuestionThread", "GetUserSecurityQuestion",
        [this, data] { protocol_->GetUserSecurityQuestion(*data); },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::RequestNewUserPassword(const QString& login, const QString& answer, ResultCallback done)
{
    Start(
        "TOIRequestNewUserPasswordThread", "RequestNewUserPassword",
        [this, login, answer] { protocol_->RequestNewUserPassword(login, answer); }, std::move(done));
}

void TQOROrderInterface::GetCountryList(OutputCallback<TQORCountryList> done)
{
    auto data = std::make_shared<TQORCountryList>();
    Start(
        "TOIGetCountryListThread", "GetCountryList", [this, data] { protocol_->GetCountryList(*data); },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::GetPickupStoreList(
    const QString& zip, const QString& city, OutputCallback<TQORPickupStoreList> done)
{
    auto data = std::make_shared<TQORPickupStoreList>();
    Start(
        "TOIGetPickupStoreListThread", "GetPickupStoreList",
        [this, data, zip, city] { protocol_->GetPickupStoreList(*data, zip, city); },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::GetPaymentInfoList(OutputCallback<TQORPaymentInfoList> done)
{
    auto data = std::make_shared<TQORPaymentInfoList>();
    Start(
        "TOIGetPaymentInfoListThread", "GetPaymentInfoList", [this, data] { protocol_->GetPaymentInfoList(*data); },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::GetCreditCardTypeList(OutputCallback<TQORCreditCardTypeList> done)
{
    auto data = std::make_shared<TQORCreditCardTypeList>();
    Start(
        "TOIGetCreditCardTypeListThread", "GetCreditCardTypeList",
        [this, data] { protocol_->GetCreditCardTypeList(*data); },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::CheckCoupon(const TQORCoupon& coupon, OutputCallback<TQORCoupon> done)
{
    auto data = std::make_shared<TQORCoupon>(coupon);
    Start(
        "TOICheckCouponThread", "CheckCoupon", [this, data] { protocol_->CheckCoupon(*data); },
        [data, done](const TQORError& error) { done(error, *data); });
}

void TQOROrderInterface::UpdateProducts(bool download, const QString& groupId, ResultCallback done)
{
    const auto work = [this, download, groupId] {
        if (productUpdater_)
            productUpdater_->UpdateProducts(*protocol_, download, groupId);
    };
    if (!download) {
        TQORError result;
        try {
            work();
        } catch (...) {
            result = RecordCurrentException(QStringLiteral("QOROrderInterface.TOIThread.Execute"));
        }
        lastThreadError_ = result;
        if (done)
            done(result);
        return;
    }
    Start("TOIGetProductListThread", "UpdateProducts", work, std::move(done));
}

bool TQOROrderInterface::StartOrderDataChain(const QString& groupId, OutputCallback<TOrderData> done)
{
    if (RunningThreads() > 1)
        return false;
    auto data = std::make_shared<TOrderData>();
    auto chain = std::make_shared<Chain>();
    chain->done = [data, done](const TQORError& error) { done(error, *data); };
    Start(
        "TOIGetCountryListThread", "GetCountryList", [this, data] { protocol_->GetCountryList(data->countries); }, {},
        chain);
    Start(
        "TOIGetPaymentInfoListThread", "GetPaymentInfoList",
        [this, data] { protocol_->GetPaymentInfoList(data->payments); }, {}, chain);
    Start(
        "TOIGetCreditCardTypeListThread", "GetCreditCardTypeList",
        [this, data] { protocol_->GetCreditCardTypeList(data->cardTypes); }, {}, chain);
    Start(
        "TOIGetProductListThread", "UpdateProducts",
        [this, groupId] {
            if (productUpdater_)
                productUpdater_->UpdateProducts(*protocol_, true, groupId);
        },
        {}, chain);
    return true;
}

void TQOROrderInterface::Abort()
{
    protocol_->SetAborted(true);
    bool anyRunning = false;
    for (auto& [raw, entry] : running_) {
        entry.finish = {};
        if (entry.chain)
            entry.chain->done = {};
        anyRunning = true;
    }
    abortCallback_ = anyRunning ? defaultCallback_ : ResultCallback{};
    shell_.ShowProgress(TProgressState::Hide, -1.0F);
    ina_.DisconnectAll();
}

void TQOROrderInterface::CancelTransfer()
{
    if (!shell_.ConfirmCancel())
        return;
    Abort();
    // The order folder may only go once the upload worker has let go of it.
    WaitForThreads();
    DiscardTransfer();
    shell_.TransferCancelled();
    shell_.UploadView(TUploadViewAction::Close, TUploadProgress{});
}

void TQOROrderInterface::WaitForThreads()
{
    // The termination handlers run while we wait and take the threads off
    // the list; a thread stays valid until its handler has returned.
    while (!running_.empty()) {
        std::vector<TOIThread*> threads;
        for (const auto& [raw, entry] : running_)
            threads.push_back(raw);
        TOIThread* first = threads.front();
        first->WaitFor();
        // A thread whose handler did not run (no event loop) is taken off here.
        const auto found = running_.find(first);
        if (found != running_.end()) {
            Running entry = std::move(found->second);
            running_.erase(found);
        }
    }
}

} // namespace pavlora
