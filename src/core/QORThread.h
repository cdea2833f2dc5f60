#pragma once

#include "core/QORError.h"

#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace pavlora {

class TQORThread;

// Deletes a thread only after it has stopped: asks it to terminate, wakes
// it, waits for it (running its synchronised calls meanwhile when called on
// the UI thread), then destroys it. So a derived thread is never destroyed
// while its Execute still runs.
struct TQORThreadDeleter {
    void operator()(TQORThread* thread) const;
};

template <class T>
using TQORThreadPtr = std::unique_ptr<T, TQORThreadDeleter>;

// The program's named worker thread.
//
// Derived classes implement Execute, which runs on the worker and polls
// IsTerminated() (or hands StopToken() to lower layers) between steps.
// Contract:
// - Created stopped; Start() begins the work. The start, and the begin and
//   end of the termination handling, are written to the report log with the
//   worker's thread id.
// - No exception leaves the worker: one escaping Execute is recorded (last
//   error, report log) and handed back by Result().
// - The termination handler runs on the UI thread (the thread of the
//   QCoreApplication) after Execute, while the worker waits for it.
//   Synchronize() runs any call there the same way. Without an application
//   object both run on the worker, serialised by one process-wide lock.
// - Waiting for a thread on the UI thread runs that thread's synchronised
//   calls meanwhile, so stopping with wait cannot deadlock against a worker
//   that is inside Synchronize().
// - Threads that nobody waits for (StopThread without wait, StartDetached)
//   destroy themselves when done; StopAll() stops and joins every thread
//   still running at program end, before the application object goes away.
class TQORThread {
public:
    using TerminateHandler = std::function<void(TQORThread&)>;

    explicit TQORThread(QString name);
    virtual ~TQORThread();

    TQORThread(const TQORThread&) = delete;
    TQORThread& operator=(const TQORThread&) = delete;

    template <class T, class... Args>
    static TQORThreadPtr<T> Create(Args&&... args)
    {
        return TQORThreadPtr<T>(new T(std::forward<Args>(args)...));
    }

    // Starts the worker; a second call does nothing.
    void Start();
    // Asks the worker to stop at its next check; wakes it when suspended.
    void Terminate();
    bool IsTerminated() const { return stopSource_.stop_requested(); }
    std::stop_token StopToken() const { return stopSource_.get_token(); }
    // Wakes a worker that suspended itself.
    void Resume();
    bool IsSuspended() const;
    // Waits until the worker, including its termination handling, has
    // finished. Must not be called on the worker itself.
    void WaitFor();
    bool IsFinished() const;

    const QString& Name() const { return name_; }
    // The worker's kernel thread id once it runs, else 0.
    std::int64_t ThreadId() const;
    // The error an escaping exception handed back; code 0 when none.
    TQORError Result() const;

    // The handler run on the UI thread when the work has ended.
    void SetOnTerminate(TerminateHandler handler);

    // Stops `thread`: detaches its termination handler, asks it to
    // terminate and wakes it. With `wait`, waits for it and destroys it;
    // otherwise it destroys itself when done. `thread` is empty afterwards.
    template <class T>
    static void StopThread(TQORThreadPtr<T>& thread, bool wait)
    {
        TQORThreadPtr<TQORThread> base(thread.release());
        StopThreadImpl(base, wait);
    }

    // Starts a thread that nobody holds; it destroys itself when done. The
    // pointer stays valid until its termination handler has returned.
    template <class T>
    static T* StartDetached(TQORThreadPtr<T> thread)
    {
        T* raw = thread.get();
        TQORThreadPtr<TQORThread> base(thread.release());
        StartDetachedImpl(std::move(base));
        return raw;
    }

    // Stops and joins every thread still running (program end).
    static void StopAll();
    // Number of started threads not yet joined (tests, diagnostics).
    static int RunningCount();

protected:
    // The work, on the worker thread.
    virtual void Execute() = 0;
    // Context recorded for an exception that escapes Execute.
    virtual QString ErrorContext() const;

    // [worker] Runs `call` on the UI thread and waits for it; an exception
    // it throws is rethrown here.
    void Synchronize(const std::function<void()>& call);
    // [worker] Blocks until Resume() or Terminate().
    void Suspend();
    // [worker] Hands back an error without throwing.
    void SetResult(const TQORError& error);

private:
    friend struct TQORThreadDeleter;
    friend class TThreadRegistry;
    struct SyncCall;

    static void StopThreadImpl(TQORThreadPtr<TQORThread>& thread, bool wait);
    static void StartDetachedImpl(TQORThreadPtr<TQORThread> thread);

    void Run();
    void DoTerminate();
    void Join();

    const QString name_;
    std::stop_source stopSource_;
    mutable std::mutex mutex_;
    std::mutex joinMutex_;
    std::condition_variable changed_;
    std::thread worker_;
    std::thread::id terminatingOn_; // thread running the termination handler
    std::int64_t threadId_ = 0;
    bool started_ = false;
    bool suspended_ = false;
    bool finished_ = false;
    bool freeOnTerminate_ = false;
    std::shared_ptr<SyncCall> pendingSync_;
    TerminateHandler onTerminate_;
    TQORError result_;
};

// True on the thread of the QCoreApplication (false when there is none).
bool IsUiThread();

} // namespace pavlora
