#include "core/QORThread.h"

#include "core/Logger.h"
#include "core/QORException.h"
#include "core/ThreadId.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <exception>
#include <pthread.h>
#include <vector>

namespace pavlora {

// One call of Synchronize: run once on the UI thread, by whoever claims it
// first (the posted event or a WaitFor that pumps), while the worker waits.
struct TQORThread::SyncCall {
    explicit SyncCall(const std::function<void()>& function)
        : call(function)
    {
    }

    void Run()
    {
        if (claimed.exchange(true))
            return;
        try {
            call();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        finished.notify_all();
    }

    void WaitDone()
    {
        std::unique_lock<std::mutex> lock(mutex);
        finished.wait(lock, [this] { return done; });
    }

    std::function<void()> call;
    std::atomic<bool> claimed{false};
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr error;
};

namespace {

// Serialises synchronised calls when there is no UI thread to run them on.
// Never destroyed: threads stopped at program end still use it.
std::recursive_mutex& NoUiLock()
{
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

void StopAllThreads()
{
    TQORThread::StopAll();
}

} // namespace

// Every started thread until it is joined, and the threads that destroy
// themselves (the orphans), which it owns.
class TThreadRegistry {
public:
    // Never destroyed: threads still running at exit are stopped by an
    // exit handler and find the registry intact while they finish.
    static TThreadRegistry& Instance()
    {
        static TThreadRegistry* registry = [] {
            auto* created = new TThreadRegistry;
            std::atexit(StopAllThreads);
            return created;
        }();
        return *registry;
    }

    void Started(TQORThread* thread)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        live_.push_back(thread);
        if (!postRoutineAdded_ && QCoreApplication::instance()) {
            // Threads must be stopped before the application object, and
            // everything a termination handler uses, goes away.
            qAddPostRoutine(StopAllThreads);
            postRoutineAdded_ = true;
        }
    }

    void Joined(TQORThread* thread)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::erase(live_, thread);
    }

    int RunningCount()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(live_.size());
    }

    void Adopt(TQORThreadPtr<TQORThread> thread)
    {
        bool done = false;
        {
            std::lock_guard<std::mutex> threadLock(thread->mutex_);
            thread->freeOnTerminate_ = true;
            done = thread->finished_ || !thread->started_;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            orphans_.push_back(std::move(thread));
        }
        if (done)
            ScheduleReap();
    }

    // Destroys finished orphans later on the UI thread; without one they
    // are destroyed by the next Start() or StopAll().
    static void ScheduleReap()
    {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [] { Instance().ReapFinished(); }, Qt::QueuedConnection);
    }

    void ReapFinished()
    {
        std::vector<TQORThreadPtr<TQORThread>> finished;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto it = orphans_.begin(); it != orphans_.end();) {
                TQORThread* thread = it->get();
                std::lock_guard<std::mutex> threadLock(thread->mutex_);
                const bool self = thread->worker_.get_id() == std::this_thread::get_id();
                if (!self && (thread->finished_ || !thread->started_)) {
                    finished.push_back(std::move(*it));
                    it = orphans_.erase(it);
                } else {
                    ++it;
                }
            }
        }
        finished.clear(); // joins and destroys, outside the registry's lock
    }

    void StopAll()
    {
        for (;;) {
            std::vector<TQORThread*> running;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                running = live_;
            }
            if (running.empty())
                break;
            for (TQORThread* thread : running) {
                thread->Terminate();
                thread->Resume();
            }
            for (TQORThread* thread : running)
                thread->WaitFor();
        }
        ReapFinished();
    }

private:
    std::mutex mutex_;
    std::vector<TQORThread*> live_;
    std::vector<TQORThreadPtr<TQORThread>> orphans_;
    bool postRoutineAdded_ = false;
};

bool IsUiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void TQORThreadDeleter::operator()(TQORThread* thread) const
{
    if (!thread)
        return;
    {
        std::unique_lock<std::mutex> lock(thread->mutex_);
        if (thread->terminatingOn_ == std::this_thread::get_id()) {
            // Released from inside its own termination handler: it cannot be
            // waited for here, so it destroys itself once the handler returns.
            lock.unlock();
            TThreadRegistry::Instance().Adopt(TQORThreadPtr<TQORThread>(thread));
            return;
        }
    }
    thread->Terminate();
    thread->Resume();
    thread->WaitFor();
    delete thread;
}

TQORThread::TQORThread(QString name)
    : name_(std::move(name))
{
}

TQORThread::~TQORThread()
{
    // Normally already stopped by TQORThreadDeleter; this keeps a thread
    // destroyed some other way from outliving its object.
    Terminate();
    Resume();
    WaitFor();
}

void TQORThread::Start()
{
    TThreadRegistry::Instance().ReapFinished();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (started_)
            return;
        started_ = true;
        worker_ = std::thread([this] { Run(); });
    }
    TThreadRegistry::Instance().Started(this);
}

void TQORThread::Terminate()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopSource_.request_stop();
    }
    changed_.notify_all();
}

void TQORThread::Resume()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        suspended_ = false;
    }
    changed_.notify_all();
}

bool TQORThread::IsSuspended() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return suspended_;
}

bool TQORThread::IsFinished() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return finished_;
}

std::int64_t TQORThread::ThreadId() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return threadId_;
}

TQORError TQORThread::Result() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return result_;
}

void TQORThread::SetResult(const TQORError& error)
{
    std::lock_guard<std::mutex> lock(mutex_);
    result_ = error;
}

void TQORThread::SetOnTerminate(TerminateHandler handler)
{
    std::lock_guard<std::mutex> lock(mutex_);
    onTerminate_ = std::move(handler);
}

QString TQORThread::ErrorContext() const
{
    return QStringLiteral("QORThread.TQORThread.Execute");
}

void TQORThread::WaitFor()
{
    std::unique_lock<std::mutex> lock(mutex_);
    const auto self = std::this_thread::get_id();
    if (!started_ || worker_.get_id() == self || terminatingOn_ == self)
        return;
    const bool pump = IsUiThread();
    for (;;) {
        changed_.wait(lock, [&] { return finished_ || (pump && pendingSync_ && !pendingSync_->claimed); });
        if (finished_)
            break;
        // The worker waits for the UI thread, and the UI thread waits here:
        // run its call now instead of through the event loop.
        const std::shared_ptr<SyncCall> call = pendingSync_;
        lock.unlock();
        call->Run();
        lock.lock();
    }
    lock.unlock();
    Join();
}

void TQORThread::Join()
{
    std::lock_guard<std::mutex> lock(joinMutex_);
    if (worker_.joinable()) {
        worker_.join();
        TThreadRegistry::Instance().Joined(this);
    }
}

void TQORThread::Suspend()
{
    std::unique_lock<std::mutex> lock(mutex_);
    suspended_ = true;
    changed_.wait(lock, [this] { return !suspended_ || stopSource_.stop_requested(); });
    suspended_ = false;
}

void TQORThread::Synchronize(const std::function<void()>& call)
{
    if (IsUiThread()) {
        call();
        return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        std::lock_guard<std::recursive_mutex> lock(NoUiLock());
        call();
        return;
    }
    const auto sync = std::make_shared<SyncCall>(call);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pendingSync_ = sync;
    }
    changed_.notify_all();
    if (!QMetaObject::invokeMethod(
            app, [sync] { sync->Run(); }, Qt::QueuedConnection)) {
        // The application object is going away: nobody will run it there.
        std::lock_guard<std::recursive_mutex> lock(NoUiLock());
        sync->Run();
    }
    sync->WaitDone();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pendingSync_.reset();
    }
    if (sync->error)
        std::rethrow_exception(sync->error);
}

void TQORThread::Run()
{
    const std::int64_t id = CurrentThreadId();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        threadId_ = id;
    }
    // The kernel keeps 15 bytes of a thread's name.
    ::pthread_setname_np(::pthread_self(), name_.right(15).toUtf8().constData());
    ReportThread(id, name_ + QStringLiteral(" Thread start"));

    if (!IsTerminated()) {
        try {
            Execute();
        } catch (...) {
            SetResult(RecordCurrentException(ErrorContext()));
        }
    }
    DoTerminate();

    bool orphan = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        orphan = freeOnTerminate_;
    }
    changed_.notify_all();
    if (orphan)
        TThreadRegistry::ScheduleReap();
}

void TQORThread::DoTerminate()
{
    try {
        Synchronize([this] {
            ReportThread(threadId_, name_ + QStringLiteral(" DoTerminate start"));
            TerminateHandler handler;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                handler = onTerminate_;
                terminatingOn_ = std::this_thread::get_id();
            }
            if (handler) {
                try {
                    handler(*this);
                } catch (...) {
                    RecordCurrentException(QStringLiteral("QORThread.TQORThread.DoTerminate"));
                }
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                terminatingOn_ = std::thread::id();
            }
            ReportThread(threadId_, name_ + QStringLiteral(" DoTerminate stop"));
        });
    } catch (...) {
        RecordCurrentException(QStringLiteral("QORThread.TQORThread.DoTerminate"));
    }
}

void TQORThread::StopThreadImpl(TQORThreadPtr<TQORThread>& thread, bool wait)
{
    if (!thread)
        return;
    thread->SetOnTerminate({});
    if (wait) {
        thread.reset();
        return;
    }
    thread->Terminate();
    thread->Resume();
    TThreadRegistry::Instance().Adopt(std::move(thread));
}

void TQORThread::StartDetachedImpl(TQORThreadPtr<TQORThread> thread)
{
    TQORThread* raw = thread.get();
    raw->Start();
    TThreadRegistry::Instance().Adopt(std::move(thread));
}

void TQORThread::StopAll()
{
    TThreadRegistry::Instance().StopAll();
}

int TQORThread::RunningCount()
{
    return TThreadRegistry::Instance().RunningCount();
}

} // namespace pavlora
