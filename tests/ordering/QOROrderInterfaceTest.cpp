// The order interface's workers, its order data chain, abort and the result
// table, against the reference order server.

#include "ordering/QOROrderInterface.h"
#include "ordering/OrderActionDispatcher.h"
#include "ordering/ZODE.h"

#include "support/OrderServerProcess.h"
#include "support/TestSandbox.h"

#include <QScopeGuard>
#include <QThread>

#include <pugixml.hpp>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace pavlora {
namespace {

using test::OrderServerProcess;

// The shell, answered by script.
class ScriptedShell : public IOrderShell {
public:
    void ShowProgress(TProgressState state, float progress) override
    {
        progress_.append({state, progress});
        EXPECT_TRUE(IsUiThread());
    }
    void UploadView(TUploadViewAction action, const TUploadProgress&) override
    {
        if (action == TUploadViewAction::Close)
            ++uploadViewCloses;
    }
    bool AskRetry(const TQORError& error) override
    {
        asked.append(error);
        return retryAnswers.isEmpty() ? false : retryAnswers.takeFirst();
    }
    void ShowError(const TQORError& error) override { shown.append(error); }
    bool ConfirmCancel() override { return confirmCancel; }
    void RunContinuation(int continuation) override { continuations.append(continuation); }
    void ReturnToCart() override { ++returnedToCart; }
    void FinishAbortedAction(int retryAction) override { finishedAborted.append(retryAction); }
    void TransferCancelled() override { ++cancelled; }

    QList<std::pair<TProgressState, float>> progress_;
    QList<bool> retryAnswers;
    QList<TQORError> asked;
    QList<TQORError> shown;
    QList<int> continuations;
    QList<int> finishedAborted;
    int returnedToCart = 0;
    int cancelled = 0;
    int uploadViewCloses = 0;
    bool confirmCancel = true;
};

class OrderInterfaceTest : public ::testing::Test {
protected:
    std::unique_ptr<TQOROrderInterface> Interface(const OrderServerProcess& server)
    {
        const QByteArray text = test::XChgText({server.ControllerUrl() + QLatin1Char('|') + server.DtdUrl()}, false);
        pugi::xml_document xchg;
        EXPECT_TRUE(xchg.load_buffer(text.constData(), static_cast<std::size_t>(text.size())));
        return std::make_unique<TQOROrderInterface>(
            TQOROrderInterface::CreateProtocol(0, ina_, {}), xchg, shell_, ina_);
    }

    TINA ina_;
    ScriptedShell shell_;
};

TEST_F(OrderInterfaceTest, LoginRunsOnAWorkerAndReturnsTheUserOnTheUiThread)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    auto orders = Interface(server);
    TQORUser user;
    user.email = QStringLiteral("demo@example.org");
    user.password = QStringLiteral("demo");
    bool done = false;
    TQORUser result;
    orders->UserLogin(user, [&](const TQORError& error, const TQORUser& loggedIn) {
        EXPECT_TRUE(IsUiThread());
        EXPECT_FALSE(error.IsError()) << error.VerboseMessage().toStdString();
        result = loggedIn;
        done = true;
    });
    ASSERT_TRUE(test::WaitUntil([&] { return done; }));
    EXPECT_TRUE(result.loggedIn);
    EXPECT_EQ(result.addresses.value(0).lastName, QStringLiteral("Mustermann"));
    EXPECT_FALSE(user.loggedIn); // the caller's record is untouched until it takes the result
    EXPECT_TRUE(test::WaitUntil([&] { return orders->RunningThreads() == 0; }));
    // The exchange showed the progress window in its server-exchange state.
    EXPECT_TRUE(std::any_of(shell_.progress_.begin(), shell_.progress_.end(),
        [](const auto& entry) { return entry.first == TProgressState::ServerExchange; }));
}

// The price layer's part of the chain, held until the test lets it go.
class HeldProductUpdater : public IProductUpdater {
public:
    void UpdateProducts(TProtocol&, bool download, const QString& groupId) override
    {
        std::unique_lock<std::mutex> lock(mutex_);
        calls.append(std::make_pair(download, groupId));
        released_.wait(lock, [this] { return released; });
    }
    void Release()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            released = true;
        }
        released_.notify_all();
    }
    QList<std::pair<bool, QString>> Calls()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls;
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool released = false;
    QList<std::pair<bool, QString>> calls;
};

TEST_F(OrderInterfaceTest, TheOrderDataChainDeliversOnceAndTracksOnlyItsOwnThreads)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    HeldProductUpdater updater; // outlives the interface and its workers
    auto orders = Interface(server);
    orders->SetProductUpdater(&updater);
    const auto release = qScopeGuard([&] { updater.Release(); });

    int chainCalls = 0;
    TQORError chainError;
    TOrderData data;
    ASSERT_TRUE(
        orders->StartOrderDataChain(QStringLiteral("Prints"), [&](const TQORError& error, const TOrderData& read) {
            chainError = error;
            data = read;
            ++chainCalls;
        }));
    ASSERT_TRUE(test::WaitUntil([&] { return orders->RunningThreads() == 1 && !updater.Calls().isEmpty(); }));

    // An unrelated operation fails while the chain still waits for its
    // products: its error is its own, the chain goes on.
    TQORUser unknown;
    unknown.email = QStringLiteral("nobody@example.org");
    TQORError ownError;
    orders->GetUserSecurityQuestion(unknown, [&](const TQORError& error, const TQORUser&) { ownError = error; });
    ASSERT_TRUE(test::WaitUntil([&] { return ownError.IsError(); }));
    EXPECT_EQ(ownError.code, 110);
    EXPECT_EQ(chainCalls, 0);

    updater.Release();
    ASSERT_TRUE(test::WaitUntil([&] { return chainCalls == 1; }));
    EXPECT_FALSE(chainError.IsError()) << chainError.VerboseMessage().toStdString();
    EXPECT_EQ(data.countries.size(), 3);
    EXPECT_EQ(data.payments.size(), 3);
    EXPECT_EQ(data.cardTypes.size(), 2);
    EXPECT_EQ(updater.Calls(), (QList<std::pair<bool, QString>>{{true, QStringLiteral("Prints")}}));
    EXPECT_TRUE(test::WaitUntil([&] { return orders->RunningThreads() == 0; }));
    EXPECT_EQ(chainCalls, 1);
}

TEST_F(OrderInterfaceTest, TheOrderDataChainIsRefusedWhileTwoThreadsRun)
{
    OrderServerProcess server({QStringLiteral("--delay"), QStringLiteral("countrylist_request=1500")});
    ASSERT_TRUE(server.IsRunning());
    auto orders = Interface(server);
    int finished = 0;
    orders->GetCountryList([&](const TQORError&, const TQORCountryList&) { ++finished; });
    orders->GetCountryList([&](const TQORError&, const TQORCountryList&) { ++finished; });
    bool chainCalled = false;
    EXPECT_FALSE(
        orders->StartOrderDataChain(QString(), [&](const TQORError&, const TOrderData&) { chainCalled = true; }));
    ASSERT_TRUE(test::WaitUntil([&] { return finished == 2; }));
    EXPECT_FALSE(chainCalled);
}

TEST_F(OrderInterfaceTest, AbortDropsTheResultAndHandsOverToTheDefaultCallback)
{
    OrderServerProcess server({QStringLiteral("--delay"), QStringLiteral("countrylist_request=3000")});
    ASSERT_TRUE(server.IsRunning());
    auto orders = Interface(server);
    QList<TQORError> defaults;
    orders->SetDefaultResultCallback([&](const TQORError& error) { defaults.append(error); });
    bool delivered = false;
    orders->GetCountryList([&](const TQORError&, const TQORCountryList&) { delivered = true; });
    ASSERT_TRUE(test::WaitUntil([&] { return server.RequestCount(QStringLiteral("countrylist_request")) == 1; }));
    orders->Abort();
    ASSERT_TRUE(test::WaitUntil([&] { return orders->RunningThreads() == 0; }));
    EXPECT_FALSE(delivered);
    ASSERT_EQ(defaults.size(), 1);
    EXPECT_EQ(defaults.front().code, 112);
    EXPECT_TRUE(std::any_of(shell_.progress_.begin(), shell_.progress_.end(),
        [](const auto& entry) { return entry.first == TProgressState::Hide && entry.second < 0.0F; }));

    // The next operation is not aborted by the earlier cancel.
    bool again = false;
    server.Lines();
    orders->GetCountryList([&](const TQORError& error, const TQORCountryList& list) {
        EXPECT_FALSE(error.IsError());
        EXPECT_EQ(list.size(), 3);
        again = true;
    });
    EXPECT_TRUE(test::WaitUntil([&] { return again; }));
}

TEST_F(OrderInterfaceTest, CancelTransferWaitsForTheWorkersBeforeTheShellCleansUp)
{
    OrderServerProcess server({QStringLiteral("--delay"), QStringLiteral("countrylist_request=3000")});
    ASSERT_TRUE(server.IsRunning());
    auto orders = Interface(server);
    orders->GetCountryList([](const TQORError&, const TQORCountryList&) {});
    ASSERT_TRUE(test::WaitUntil([&] { return server.RequestCount(QStringLiteral("countrylist_request")) == 1; }));
    orders->CancelTransfer();
    EXPECT_EQ(orders->RunningThreads(), 0);
    EXPECT_EQ(shell_.cancelled, 1);
}

TEST_F(OrderInterfaceTest, ACommunicationErrorOffersRetryOfTheSameOperation)
{
    OrderServerProcess server({QStringLiteral("--drop"), QStringLiteral("countrylist_request:1")});
    ASSERT_TRUE(server.IsRunning());
    auto orders = Interface(server);
    TOrderActionDispatcher dispatcher(shell_);
    shell_.retryAnswers = {true};
    int starts = 0;
    TQORCountryList countries;
    dispatcher.Start(static_cast<int>(TOrderRetryAction::GetCountryList), 4242, [&] {
        ++starts;
        orders->GetCountryList([&](const TQORError& error, const TQORCountryList& list) {
            countries = list;
            dispatcher.Done(error);
        });
    });
    ASSERT_TRUE(test::WaitUntil([&] { return !shell_.continuations.isEmpty(); }));
    EXPECT_EQ(starts, 2);
    ASSERT_EQ(shell_.asked.size(), 1);
    EXPECT_EQ(shell_.asked.front().code, 40);
    EXPECT_EQ(shell_.continuations, QList<int>{4242});
    EXPECT_EQ(countries.size(), 3);
}

TEST_F(OrderInterfaceTest, ALoginFailureShowsTheErrorWithoutRetry)
{
    OrderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    auto orders = Interface(server);
    TOrderActionDispatcher dispatcher(shell_);
    TQORUser user;
    user.email = QStringLiteral("demo@example.org");
    user.password = QStringLiteral("falsch");
    dispatcher.Start(static_cast<int>(TOrderRetryAction::UserLogin), 104,
        [&] { orders->UserLogin(user, [&](const TQORError& error, const TQORUser&) { dispatcher.Done(error); }); });
    ASSERT_TRUE(test::WaitUntil([&] { return !shell_.shown.isEmpty(); }));
    EXPECT_TRUE(shell_.asked.isEmpty());
    EXPECT_TRUE(shell_.continuations.isEmpty());
    EXPECT_EQ(
        shell_.shown.front().Message(), QStringLiteral("Login fehlgeschlagen. Bitte überprüfen Sie Ihre Eingaben."));
}

TEST_F(OrderInterfaceTest, Code49WithAbortReturnsToTheCart)
{
    TOrderActionDispatcher dispatcher(shell_);
    int starts = 0;
    dispatcher.Start(static_cast<int>(TOrderRetryAction::CreateOnlineOrder), 0, [&] { ++starts; });
    dispatcher.Done(TQORError{49, QStringLiteral("x"), QString(), QString()});
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(shell_.asked.size(), 1);
    EXPECT_EQ(shell_.returnedToCart, 1);
}

TEST_F(OrderInterfaceTest, WorkersStillRunningAreAbortedAndJoinedWhenTheInterfaceGoes)
{
    OrderServerProcess server({QStringLiteral("--delay"), QStringLiteral("countrylist_request=5000")});
    ASSERT_TRUE(server.IsRunning());
    auto orders = Interface(server);
    bool delivered = false;
    orders->GetCountryList([&](const TQORError&, const TQORCountryList&) { delivered = true; });
    ASSERT_TRUE(test::WaitUntil([&] { return server.RequestCount(QStringLiteral("countrylist_request")) == 1; }));
    orders.reset();
    EXPECT_FALSE(delivered);
    EXPECT_EQ(ina_.BusyClients(), 0);
}

} // namespace
} // namespace pavlora
