// The order workers of the order interface (online, disc and resumed
// orders) against a protocol answered by script: where the work runs, what
// comes back, abort, retry and the cancelled transfer's clean-up.

#include "ordering/OIOrderThread.h"
#include "ordering/OrderActionDispatcher.h"
#include "ordering/OrderFolders.h"
#include "ordering/QOROrderInterface.h"

#include "core/QORException.h"
#include "core/RegConfiguration.h"
#include "support/OrderServerProcess.h"
#include "support/TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <pugixml.hpp>

#include <gtest/gtest.h>

#include <thread>

namespace pavlora {
namespace {

// A protocol whose order operations do what the test scripted: record the
// call, open the upload view, then fail, wait for an abort or finish the
// order.
class ScriptedProtocol : public TProtocol {
public:
    struct Call {
        QString operation;
        TQOROrder order;
        QString resumeFolder;
        bool onUiThread = false;
    };

    void Initialize(const pugi::xml_document&) override { }
    void CreateSession() override { }
    void RenewSession(bool) override { }
    void CloseSession(bool) override { }
    void UserLogin(const QString&, const QString&) override { }
    void UserRegistration(const TQORUser&) override { }
    void GetUserData(TQORUser&) override { }
    void UpdateUserData(const TQORUser&) override { }
    void GetCountryList(TQORCountryList&) override { }
    void GetPickupStoreList(TQORPickupStoreList&, const QString&, const QString&) override { }
    void GetPaymentInfoList(TQORPaymentInfoList&) override { }
    void GetCreditCardTypeList(TQORCreditCardTypeList&) override { }
    void CheckCoupon(TQORCoupon&) override { }
    void GetUserSecurityQuestion(TQORUser&) override { }
    void RequestNewUserPassword(const QString&, const QString&) override { }

    void CreateOnlineOrder(TQOROrder& order) override { Run(QStringLiteral("CreateOnlineOrder"), order, nullptr); }
    void CreateCDOrderOnline(TQOROrder& order) override { Run(QStringLiteral("CreateCDOrderOnline"), order, nullptr); }
    void CreateCDOrderOffline(TQOROrder& order) override
    {
        Run(QStringLiteral("CreateCDOrderOffline"), order, nullptr);
    }
    void ResumeOnlineOrderCreation(TQOROrder& order, TQOROrderResume& resume) override
    {
        Run(QStringLiteral("ResumeOnlineOrderCreation"), order, &resume);
    }

    QList<Call> Calls() const
    {
        QMutexLocker lock(&mutex_);
        return calls_;
    }

    // Set before the operation starts.
    int failures = 0; // the first calls fail with code 40
    bool holdUntilAborted = false;
    QString orderFolder; // the folder the operation "prepares"
    static QString LongPath() { return QStringLiteral("/orders/") + QString(300, QLatin1Char('x')); }

private:
    void Run(const QString& operation, TQOROrder& order, TQOROrderResume* resume)
    {
        int number = 0;
        {
            QMutexLocker lock(&mutex_);
            calls_.append(Call{operation, order, resume ? resume->orderFolder : QString(), IsUiThread()});
            number = static_cast<int>(calls_.size());
        }
        if (!orderFolder.isEmpty())
            order.orderFolder = orderFolder;
        TUploadProgress opened;
        opened.filePath = LongPath();
        opened.totalBytes = 4096;
        opened.fileCount = 3;
        opened.fileIndex = 1;
        opened.overallFraction = 0.25F;
        NotifyUploadView(TUploadViewAction::Open, opened);
        if (holdUntilAborted) {
            while (!IsAborted())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            throw EQORException(112, QStringLiteral("aborted"), QString(), QStringLiteral("ZODE.TXTCI.Upload"));
        }
        if (number <= failures)
            throw EQORException(40, QStringLiteral("HTTP 503"), QString(), QStringLiteral("ZODE.TXTCI.Upload"));
        order.orderNumber = QStringLiteral("A-%1").arg(number);
    }

    mutable QMutex mutex_;
    QList<Call> calls_;
};

class ScriptedShell : public IOrderShell {
public:
    void ShowProgress(TProgressState, float) override { }
    void UploadView(TUploadViewAction action, const TUploadProgress& progress) override
    {
        EXPECT_TRUE(IsUiThread());
        views.append({action, progress});
    }
    bool AskRetry(const TQORError& error) override
    {
        asked.append(error);
        return retryAnswers.isEmpty() ? false : retryAnswers.takeFirst();
    }
    void ShowError(const TQORError& error) override { shown.append(error); }
    bool ConfirmCancel() override { return confirmCancel; }
    void RunContinuation(int continuation) override { continuations.append(continuation); }
    void ReturnToCart() override { }
    void FinishAbortedAction(int) override { }
    void TransferCancelled() override { ++cancelled; }

    int Closes() const
    {
        return static_cast<int>(std::count_if(
            views.begin(), views.end(), [](const auto& view) { return view.first == TUploadViewAction::Close; }));
    }

    QList<std::pair<TUploadViewAction, TUploadProgress>> views;
    QList<bool> retryAnswers;
    QList<TQORError> asked;
    QList<TQORError> shown;
    QList<int> continuations;
    bool confirmCancel = true;
    int cancelled = 0;
};

TQOROrder SampleOrder()
{
    TQOROrder order;
    order.itemCount = 7;
    order.orderTotal = 12.5F;
    order.user.email = QStringLiteral("demo@example.org");
    order.firmId = QStringLiteral("F1");
    return order;
}

TQOROrderResume SampleResume(const QString& folder)
{
    TQOROrderResume resume;
    resume.orderFolder = folder + QLatin1Char('/');
    resume.sessionId = QStringLiteral("S1");
    resume.totalFiles = 3;
    resume.filesDone = 1;
    resume.kept = true;
    return resume;
}

class OrderThreadsTest : public ::testing::Test {
protected:
    OrderThreadsTest()
    {
        auto scripted = std::make_unique<ScriptedProtocol>();
        protocol_ = scripted.get();
        pugi::xml_document xchg;
        orders_ = std::make_unique<TQOROrderInterface>(std::move(scripted), xchg, shell_, ina_);
    }

    TINA ina_;
    ScriptedShell shell_;
    ScriptedProtocol* protocol_ = nullptr;
    std::unique_ptr<TQOROrderInterface> orders_;
};

struct OrderCase {
    std::string name;
    QString operation;
    int retryAction;
    int continuation;
};

class OrderOperationTest : public OrderThreadsTest, public ::testing::WithParamInterface<OrderCase> {
protected:
    void StartDirect(TQOROrderInterface::OutputCallback<TQOROrder> done)
    {
        const TQOROrder order = SampleOrder();
        switch (GetParam().retryAction) {
        case 109:
            orders_->CreateOnlineOrder(order, std::move(done));
            break;
        case 110:
            orders_->CreateCDOrderOnline(order, std::move(done));
            break;
        case 111:
            orders_->CreateCDOrderOffline(order, std::move(done));
            break;
        default:
            orders_->ResumeOnlineOrderCreation(order, SampleResume(QStringLiteral("/r")), std::move(done));
            break;
        }
    }
    void StartThroughDispatcher(TOrderActionDispatcher& dispatcher, const std::function<bool()>& internetCheck)
    {
        const TQOROrder order = SampleOrder();
        switch (GetParam().retryAction) {
        case 109:
            dispatcher.StartCreateOnlineOrder(*orders_, order, internetCheck);
            break;
        case 110:
            dispatcher.StartCreateCDOrderOnline(*orders_, order);
            break;
        case 111:
            dispatcher.StartCreateCDOrderOffline(*orders_, order);
            break;
        default:
            dispatcher.StartResumeOnlineOrder(*orders_, order, SampleResume(QStringLiteral("/r")));
            break;
        }
    }
};

TEST_P(OrderOperationTest, RunsOnAWorkerAndDeliversTheOrderAndTheUploadViewOnTheUiThread)
{
    bool done = false;
    TQOROrder result;
    StartDirect([&](const TQORError& error, const TQOROrder& order) {
        EXPECT_TRUE(IsUiThread());
        EXPECT_FALSE(error.IsError()) << error.VerboseMessage().toStdString();
        result = order;
        done = true;
    });
    ASSERT_TRUE(test::WaitUntil([&] { return done && orders_->RunningThreads() == 0; }));
    const QList<ScriptedProtocol::Call> calls = protocol_->Calls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls.front().operation, GetParam().operation);
    EXPECT_FALSE(calls.front().onUiThread);
    EXPECT_EQ(calls.front().order.itemCount, 7);
    EXPECT_EQ(result.orderNumber, QStringLiteral("A-1")); // written by the worker
    EXPECT_EQ(result.user.email, QStringLiteral("demo@example.org"));
    if (GetParam().retryAction == 120) {
        EXPECT_EQ(calls.front().resumeFolder, QStringLiteral("/r/"));
    }

    // The upload view opened with the order's figures, the path cut to the
    // view's 255 characters, and closed when the worker ended.
    ASSERT_FALSE(shell_.views.isEmpty());
    EXPECT_EQ(shell_.views.front().first, TUploadViewAction::Open);
    const TUploadProgress& opened = shell_.views.front().second;
    EXPECT_EQ(opened.filePath, ScriptedProtocol::LongPath().left(255));
    EXPECT_EQ(opened.totalBytes, 4096);
    EXPECT_EQ(opened.fileCount, 3);
    EXPECT_EQ(opened.fileIndex, 1);
    EXPECT_FLOAT_EQ(opened.overallFraction, 0.25F);
    EXPECT_EQ(shell_.Closes(), 1);
}

TEST_P(OrderOperationTest, RetryRunsTheSameOperationWithTheSameArgumentsThenTheContinuation)
{
    protocol_->failures = 1;
    shell_.retryAnswers = {true};
    int checks = 0;
    TOrderActionDispatcher dispatcher(shell_);
    StartThroughDispatcher(dispatcher, [&] {
        ++checks;
        return true;
    });
    ASSERT_TRUE(test::WaitUntil([&] { return !shell_.continuations.isEmpty(); }));
    EXPECT_EQ(dispatcher.RetryAction(), GetParam().retryAction);
    EXPECT_EQ(shell_.continuations, QList<int>{GetParam().continuation});
    ASSERT_EQ(shell_.asked.size(), 1);
    EXPECT_EQ(shell_.asked.front().code, 40);
    const QList<ScriptedProtocol::Call> calls = protocol_->Calls();
    ASSERT_EQ(calls.size(), 2);
    for (const ScriptedProtocol::Call& call : calls) {
        EXPECT_EQ(call.operation, GetParam().operation);
        EXPECT_EQ(call.order.itemCount, 7);
        EXPECT_FLOAT_EQ(call.order.orderTotal, 12.5F);
        EXPECT_EQ(call.order.firmId, QStringLiteral("F1"));
        EXPECT_TRUE(call.order.orderNumber.isEmpty()); // not the first run's output
        EXPECT_EQ(call.resumeFolder, calls.front().resumeFolder);
    }
    EXPECT_EQ(dispatcher.LastOrder().orderNumber, QStringLiteral("A-2"));
    if (GetParam().retryAction == 109) {
        EXPECT_EQ(checks, 2); // the internet check comes before every attempt
    }
}

TEST_P(OrderOperationTest, AbortDropsTheResultAndTheDefaultCallbackTakesOver)
{
    protocol_->holdUntilAborted = true;
    QList<TQORError> defaults;
    orders_->SetDefaultResultCallback([&](const TQORError& error) { defaults.append(error); });
    bool delivered = false;
    StartDirect([&](const TQORError&, const TQOROrder&) { delivered = true; });
    ASSERT_TRUE(test::WaitUntil([&] { return protocol_->Calls().size() == 1; }));
    orders_->Abort();
    ASSERT_TRUE(test::WaitUntil([&] { return orders_->RunningThreads() == 0; }));
    EXPECT_FALSE(delivered);
    ASSERT_EQ(defaults.size(), 1);
    EXPECT_EQ(defaults.front().code, 112);
}

INSTANTIATE_TEST_SUITE_P(Orders, OrderOperationTest,
    ::testing::Values(OrderCase{"Online", QStringLiteral("CreateOnlineOrder"), 109, 112},
        OrderCase{"CDOnline", QStringLiteral("CreateCDOrderOnline"), 110, 128},
        OrderCase{"CDOffline", QStringLiteral("CreateCDOrderOffline"), 111, 128},
        OrderCase{"Resume", QStringLiteral("ResumeOnlineOrderCreation"), 120, 112}),
    test::CaseName());

TEST_F(OrderThreadsTest, AFailedInternetCheckSendsNothing)
{
    TOrderActionDispatcher dispatcher(shell_);
    dispatcher.StartCreateOnlineOrder(*orders_, SampleOrder(), [] { return false; });
    EXPECT_EQ(orders_->RunningThreads(), 0);
    EXPECT_TRUE(protocol_->Calls().isEmpty());
}

TEST_F(OrderThreadsTest, CancelConfirmedCleansUpTheTransferRefusedLeavesItRunning)
{
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "Yes" : "No");
        const QString folder = OrderFoldersRoot() + QStringLiteral("/tmp_order_20261211120000");
        test::WriteFile(folder + QStringLiteral("/resume.dat"), "<order_resume version=\"1.0\"/>");
        TRegConfiguration user(QStringLiteral("Pavlora"), QString(), QStringLiteral("Account"),
            test::MakeFolder(QStringLiteral("config")));
        user.StoreLastTmpOrderDir(folder + QLatin1Char('/'));
        orders_->SetUserSettings(&user);
        protocol_->holdUntilAborted = true;
        protocol_->orderFolder = folder + QLatin1Char('/');
        bool delivered = false;
        orders_->ResumeOnlineOrderCreation(
            SampleOrder(), SampleResume(folder), [&](const TQORError&, const TQOROrder&) { delivered = true; });
        ASSERT_TRUE(test::WaitUntil([&] { return !shell_.views.isEmpty(); }));
        shell_.confirmCancel = confirm;
        shell_.cancelled = 0;
        shell_.views.clear();

        orders_->CancelTransfer();
        if (confirm) {
            EXPECT_EQ(orders_->RunningThreads(), 0);
            EXPECT_FALSE(QFileInfo::exists(folder));
            EXPECT_TRUE(user.Value(QStringLiteral("LastTmpOrderDir")).isEmpty());
            EXPECT_EQ(shell_.cancelled, 1);
            EXPECT_GE(shell_.Closes(), 1);
            EXPECT_FALSE(delivered);
        } else {
            EXPECT_EQ(orders_->RunningThreads(), 1);
            EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/resume.dat")));
            EXPECT_EQ(user.Value(QStringLiteral("LastTmpOrderDir")), folder + QLatin1Char('/'));
            EXPECT_EQ(shell_.cancelled, 0);
            orders_->Abort();
            orders_->WaitForThreads();
        }
        orders_->SetUserSettings(nullptr);
    }
}

TEST(OrderFoldersTest, OnlyOrderFoldersInsideTheOrdersFolderAreDeleted)
{
    const QString root = OrderFoldersRoot();
    const QString outside = test::MakeFolder(QStringLiteral("elsewhere"));
    test::WriteFile(outside + QStringLiteral("/tmp_order_b/keep.jpg"), "b");
    test::WriteFile(outside + QStringLiteral("/target/keep.jpg"), "t");
    test::WriteFile(root + QStringLiteral("/tmp_order_a/File_1.jpg"), "a");
    test::WriteFile(root + QStringLiteral("/keep_me/File_1.jpg"), "k");
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/target"), root + QStringLiteral("/tmp_order_link")));
    test::WriteFile(QFileInfo(root).absolutePath() + QStringLiteral("/tmp_order_c/keep.jpg"), "c");

    struct Case {
        QString folder;
        bool deleted;
        QString survivor; // a file that must still be there
    };
    const QList<Case> cases{
        {root + QStringLiteral("/tmp_order_a/"), true, QString()},
        {root + QStringLiteral("/keep_me"), false, root + QStringLiteral("/keep_me/File_1.jpg")},
        {outside + QStringLiteral("/tmp_order_b"), false, outside + QStringLiteral("/tmp_order_b/keep.jpg")},
        {root + QStringLiteral("/tmp_order_link"), false, outside + QStringLiteral("/target/keep.jpg")},
        {root + QStringLiteral("/../tmp_order_c"), false,
            QFileInfo(root).absolutePath() + QStringLiteral("/tmp_order_c/keep.jpg")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeleteOrderFolder(c.folder), c.deleted) << c.folder.toStdString();
        const QString remaining = c.deleted ? c.folder : c.survivor;
        EXPECT_EQ(QFileInfo::exists(remaining), !c.deleted) << c.folder.toStdString();
    }
}

TEST(OrderProtocolTest, TheZodeProtocolRaisesForOrderOperationsItDoesNotOfferYet)
{
    TINA ina;
    const QByteArray text = test::XChgText({QStringLiteral("127.0.0.1:1/zode|127.0.0.1:1/dtd")}, false);
    pugi::xml_document xchg;
    ASSERT_TRUE(xchg.load_buffer(text.constData(), static_cast<std::size_t>(text.size())));
    const auto protocol = TQOROrderInterface::CreateProtocol(0, ina, {});
    protocol->Initialize(xchg);
    TQOROrder order;
    TQOROrderResume resume;
    const std::pair<const char*, std::function<void()>> operations[]{
        {"CreateOnlineOrder", [&] { protocol->CreateOnlineOrder(order); }},
        {"CreateCDOrderOnline", [&] { protocol->CreateCDOrderOnline(order); }},
        {"CreateCDOrderOffline", [&] { protocol->CreateCDOrderOffline(order); }},
        {"ResumeOnlineOrderCreation", [&] { protocol->ResumeOnlineOrderCreation(order, resume); }},
        {"Upload", [&] { protocol->Upload(order); }},
    };
    for (const auto& [name, operation] : operations) {
        try {
            operation();
            ADD_FAILURE() << name;
        } catch (const EQORException& error) {
            EXPECT_EQ(error.Error().code, 2);
            EXPECT_EQ(error.Error().codeText, QStringLiteral("operation not available: ") + QLatin1String(name));
        }
    }
}

} // namespace
} // namespace pavlora
