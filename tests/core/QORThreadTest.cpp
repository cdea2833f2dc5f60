#include "LogTestFixture.h"

#include "core/QORException.h"
#include "core/QORThread.h"
#include "core/ThreadId.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <stdexcept>

namespace pavlora::test {
namespace {

// A worker whose work is given as a function of the thread.
class TFunctionThread : public TQORThread {
public:
    TFunctionThread(QString name, std::function<void(TFunctionThread&)> work)
        : TQORThread(std::move(name))
        , work_(std::move(work))
    {
    }

    using TQORThread::Suspend;
    using TQORThread::Synchronize;

protected:
    void Execute() override { work_(*this); }
    QString ErrorContext() const override { return QStringLiteral("Test.TFunctionThread.Execute"); }

private:
    std::function<void(TFunctionThread&)> work_;
};

using Thread = TQORThreadPtr<TFunctionThread>;

Thread MakeThread(std::function<void(TFunctionThread&)> work, const char* name = "TTest.Worker")
{
    return TQORThread::Create<TFunctionThread>(QString::fromLatin1(name), std::move(work));
}

using QORThreadTest = LogTestFixture;

TEST_F(QORThreadTest, AWorkerThatThrowsHandsBackAnError)
{
    std::atomic<std::int64_t> handlerThread{0};
    TQORError delivered;
    Thread thread = MakeThread([](TFunctionThread&) { throw std::runtime_error("Festplatte voll"); });
    thread->SetOnTerminate([&](TQORThread& finished) {
        handlerThread = CurrentThreadId();
        delivered = finished.Result();
    });
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return thread->IsFinished(); }));
    thread->WaitFor();

    const TQORError expected{2, QStringLiteral("Test.TFunctionThread.Execute"), QStringLiteral("Festplatte voll"),
        QStringLiteral("std::runtime_error")};
    EXPECT_EQ(thread->Result(), expected);
    EXPECT_EQ(delivered, expected);
    EXPECT_EQ(LastError(), expected);
    EXPECT_EQ(handlerThread.load(), CurrentThreadId()) << "the termination handler runs on the UI thread";
}

TEST_F(QORThreadTest, StartAndTerminationAreLoggedWithTheWorkersId)
{
    Thread thread = MakeThread([](TFunctionThread&) {}, "TImageServer.StartDirectoryScan");
    thread->Start();
    thread->WaitFor();
    const QString prefix
        = QStringLiteral("Thread ID: %1 is reporting: TImageServer.StartDirectoryScan").arg(thread->ThreadId());
    const QStringList lines = LogLines(ReportLogPath());
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].endsWith(prefix + QStringLiteral(" Thread start"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(prefix + QStringLiteral(" DoTerminate start"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].endsWith(prefix + QStringLiteral(" DoTerminate stop"))) << lines[3].toStdString();
    EXPECT_NE(thread->ThreadId(), CurrentThreadId());
}

TEST_F(QORThreadTest, SynchronizeRunsOnTheUiThreadAndRethrowsOnTheWorker)
{
    std::atomic<std::int64_t> ranOn{0};
    std::atomic<bool> caught{false};
    Thread thread = MakeThread([&](TFunctionThread& self) {
        self.Synchronize([&] { ranOn = CurrentThreadId(); });
        try {
            self.Synchronize([] { throw std::logic_error("im UI-Thread"); });
        } catch (const std::logic_error&) {
            caught = true;
        }
    });
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return thread->IsFinished(); }));
    EXPECT_EQ(ranOn.load(), CurrentThreadId());
    EXPECT_TRUE(caught.load());
    EXPECT_EQ(thread->Result().code, 0);
}

// The UI thread stops a worker with wait while the worker is inside a
// synchronised call and no event loop runs: the wait must run the call.
TEST_F(QORThreadTest, StoppingWithWaitCannotDeadlockAgainstASynchronisedCall)
{
    std::atomic<int> calls{0};
    std::atomic<bool> handlerCalled{false};
    Thread thread = MakeThread([&](TFunctionThread& self) {
        while (!self.IsTerminated())
            self.Synchronize([&] { ++calls; });
    });
    thread->SetOnTerminate([&](TQORThread&) { handlerCalled = true; });
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return calls.load() > 3; }));

    TQORThread::StopThread(thread, true);
    EXPECT_EQ(thread, nullptr);
    EXPECT_FALSE(handlerCalled.load()) << "StopThread detaches the termination handler";
    EXPECT_EQ(TQORThread::RunningCount(), 0);
}

TEST_F(QORThreadTest, AWorkerSuspendsItselfUntilResumedOrTerminated)
{
    std::atomic<int> rounds{0};
    Thread thread = MakeThread([&](TFunctionThread& self) {
        while (!self.IsTerminated()) {
            ++rounds;
            self.Suspend();
        }
    });
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return thread->IsSuspended(); }));
    EXPECT_EQ(rounds.load(), 1);

    thread->Resume();
    ASSERT_TRUE(WaitUntil([&] { return rounds.load() == 2 && thread->IsSuspended(); }));

    thread->Terminate();
    ASSERT_TRUE(WaitUntil([&] { return thread->IsFinished(); }));
    EXPECT_EQ(rounds.load(), 2);
}

TEST_F(QORThreadTest, AThreadStoppedWithoutWaitDestroysItself)
{
    std::atomic<bool> destroyedWork{false};
    struct Flag {
        std::atomic<bool>* flag;
        ~Flag() { *flag = true; }
    };
    auto flag = std::make_shared<Flag>(Flag{&destroyedWork});
    Thread thread = MakeThread([flag](TFunctionThread& self) {
        while (!self.IsTerminated())
            self.Suspend();
    });
    flag.reset();
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return thread->IsSuspended(); }));

    TQORThread::StopThread(thread, false);
    EXPECT_EQ(thread, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return destroyedWork.load() && TQORThread::RunningCount() == 0; }));
}

TEST_F(QORThreadTest, ADetachedThreadMayReleaseItselfFromItsTerminationHandler)
{
    Thread owned = MakeThread([](TFunctionThread&) {});
    Thread* owner = &owned;
    std::atomic<bool> handled{false};
    owned->SetOnTerminate([&](TQORThread&) {
        owner->reset(); // the owner lets go while the handler still runs
        handled = true;
    });
    owned->Start();
    ASSERT_TRUE(WaitUntil([&] { return handled.load() && TQORThread::RunningCount() == 0; }));
    EXPECT_EQ(owned, nullptr);
}

TEST_F(QORThreadTest, StartDetachedRunsAndCleansUp)
{
    std::atomic<bool> done{false};
    Thread thread = MakeThread([&](TFunctionThread&) {});
    thread->SetOnTerminate([&](TQORThread&) { done = true; });
    TQORThread::StartDetached(std::move(thread));
    EXPECT_TRUE(WaitUntil([&] { return done.load() && TQORThread::RunningCount() == 0; }));
}

TEST_F(QORThreadTest, StopAllStopsAndJoinsEveryRunningThread)
{
    std::atomic<int> stopped{0};
    std::vector<Thread> threads;
    for (int i = 0; i < 3; ++i) {
        threads.push_back(MakeThread([&](TFunctionThread& self) {
            while (!self.IsTerminated())
                self.Suspend();
            ++stopped;
        }));
        threads.back()->Start();
    }
    TQORThread::StartDetached(MakeThread([](TFunctionThread& self) {
        while (!self.IsTerminated())
            self.Synchronize([] {});
    }));
    ASSERT_TRUE(WaitUntil([&] {
        return std::all_of(threads.begin(), threads.end(), [](const Thread& thread) { return thread->IsSuspended(); });
    }));

    TQORThread::StopAll();
    EXPECT_EQ(stopped.load(), 3);
    EXPECT_EQ(TQORThread::RunningCount(), 0);
}

TEST_F(QORThreadTest, ATerminatedThreadThatNeverRanSkipsItsWork)
{
    std::atomic<bool> worked{false};
    Thread thread = MakeThread([&](TFunctionThread&) { worked = true; });
    thread->Terminate();
    thread->Start();
    thread->WaitFor();
    EXPECT_FALSE(worked.load());
    EXPECT_TRUE(thread->IsFinished());
}

} // namespace
} // namespace pavlora::test
