#include "platform/vcl/Threads.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <deque>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform::vcl {

namespace {
// Steps of the nice value away from the process's (higher is nicer, -20..19).
int NiceOffset(TThreadPriority p) {
    switch (p) {
    case tpIdle:
        return 19;
    case tpLowest:
        return 10;
    case tpLower:
        return 5;
    case tpHigher:
        return -5;
    case tpHighest:
        return -10;
    case tpTimeCritical:
        return -20;
    default:
        return 0;
    }
}

int ProcessNice() {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    return errno == 0 ? nice : 0;
}

// Linux schedules each thread by its own nice value; the idle priority also puts the
// thread into the idle class, and the other priorities take it back out of it. A raise
// that the process has no right to is refused by the kernel and the thread keeps its
// value.
void ApplyPriority(long tid, int baseNice, TThreadPriority p) {
    if (tid == 0) return;
    const auto id = static_cast<pid_t>(tid);
    const sched_param none{};
    if (p == tpIdle)
        sched_setscheduler(id, SCHED_IDLE, &none);
    else if (sched_getscheduler(id) == SCHED_IDLE)
        sched_setscheduler(id, SCHED_OTHER, &none);
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid),
                std::clamp(baseNice + NiceOffset(p), -20, 19));
}

// The thread object whose thread this is, on the threads this class runs. They are
// never the GUI thread, and asking Qt would make it adopt them.
thread_local const TThread* t_current = nullptr;

bool OnGuiThread() {
    if (!QCoreApplication::instance()) return true;
    return !t_current && QThread::currentThread() == QCoreApplication::instance()->thread();
}

// The calls the workers hand to the GUI thread. A call and its completion travel
// through the mutex and the condition variable; the worker wakes the GUI thread by
// writing an eventfd that the GUI thread's event loop watches, and so runs no Qt code
// itself.
class GuiCalls {
public:
    static GuiCalls& Instance() {
        static GuiCalls calls;
        return calls;
    }

    // On the GUI thread: its event loop starts watching for calls (once).
    void Watch() {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || wake_ < 0) return;
        {
            std::lock_guard lock(mutex_);
            if (watched_) return;
            watched_ = true;
        }
        // A child of the application: it goes with it, and the calls left then are
        // released unrun.
        auto* notifier = new QSocketNotifier(wake_, QSocketNotifier::Read, app);
        QObject::connect(notifier, &QSocketNotifier::activated, [this] { RunPending(); });
        QObject::connect(notifier, &QObject::destroyed, [this] { Unwatch(); });
    }

    // On a worker: runs method on the GUI thread and waits until it has run (or the
    // application has gone without running it).
    void Call(const std::function<void()>& method) {
        Pending call;
        call.method = &method;
        Push(&call);
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return call.done; });
        if (call.error) std::rethrow_exception(call.error);
    }

    // On a worker: task runs on the GUI thread later; the worker goes on at once.
    void Post(std::function<void()> task) {
        auto* call = new Pending;
        call->owned = std::move(task);
        call->method = &call->owned;
        call->detached = true;
        Push(call);
    }

private:
    struct Pending {
        std::function<void()> owned;
        const std::function<void()>* method = nullptr;
        bool detached = false; // nobody waits: the GUI thread deletes it
        bool done = false;
        std::exception_ptr error;
    };

    GuiCalls() : wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

    void Push(Pending* call) {
        bool watched;
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(call);
            watched = watched_;
        }
        if (wake_ >= 0) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
        }
        // No watch yet (threads made away from the GUI thread) or no eventfd: Qt's own
        // queued call wakes the GUI thread instead.
        if (!watched) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this] {
                    Watch();
                    RunPending();
                },
                Qt::QueuedConnection);
        }
    }

    // On the GUI thread: runs the calls waiting, including those that come while it does.
    void RunPending() {
        if (wake_ >= 0) {
            uint64_t count;
            [[maybe_unused]] const ssize_t n = ::read(wake_, &count, sizeof count);
        }
        for (;;) {
            Pending* call;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty()) return;
                call = queue_.front();
                queue_.pop_front();
            }
            std::exception_ptr error;
            try {
                (*call->method)();
            } catch (...) {
                error = std::current_exception();
            }
            if (call->detached) {
                delete call;
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                call->error = error;
                call->done = true;
            }
            done_.notify_all();
        }
    }

    void Unwatch() {
        std::deque<Pending*> left;
        {
            std::lock_guard lock(mutex_);
            watched_ = false;
            left.swap(queue_);
            for (Pending* call : left)
                call->done = true;
        }
        done_.notify_all();
        for (Pending* call : left)
            if (call->detached) delete call;
    }

    const int wake_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<Pending*> queue_;
    bool watched_ = false;
};
} // namespace

TThread::TThread(bool createSuspended)
    : starter_(std::make_unique<QObject>()), baseNice_(ProcessNice()) {
    if (OnGuiThread()) GuiCalls::Instance().Watch();
    if (!createSuspended) {
        startRequested_ = true;
        QTimer::singleShot(0, starter_.get(), [this] { Start(); });
    }
}

TThread::~TThread() {
    if (started_ && !finished_) {
        Terminate();
        WaitFor();
    }
    Join();
}

void TThread::Start() {
    if (started_.exchange(true)) return;
    const bool freeOnTerminate = freeOnTerminate_;
    std::lock_guard lock(joinMutex_);
    thread_ = std::thread([this, freeOnTerminate] {
        t_current = this;
        Run();
        {
            std::lock_guard end(endMutex_);
            finished_ = true;
        }
        ended_.notify_all();
        // Nothing of the object is touched after this: the GUI thread may delete it.
        if (freeOnTerminate) {
            if (QCoreApplication::instance())
                GuiCalls::Instance().Post([this] { delete this; });
            else
                delete this;
        }
    });
}

void TThread::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(priorityMutex_);
    priority_ = priority;
    if (!started_ || finished_) return;
    ApplyPriority(nativeId_, baseNice_, priority);
}

void TThread::Run() {
    {
        // The thread's id is made known only once it runs at its priority; a change of
        // priority made meanwhile waits and then applies to the running thread.
        std::lock_guard lock(priorityMutex_);
        const long id = static_cast<long>(syscall(SYS_gettid));
        ApplyPriority(id, baseNice_, priority_);
        nativeId_ = id;
    }
    try {
        Execute();
    } catch (...) {
        fatalException_ = std::current_exception();
    }
    if (OnTerminate) {
        try {
            Synchronize([this] { OnTerminate(this); });
        } catch (...) {
            if (!fatalException_) fatalException_ = std::current_exception();
        }
    }
}

void TThread::Join() {
    std::lock_guard lock(joinMutex_);
    if (!thread_.joinable()) return;
    if (t_current == this)
        thread_.detach(); // deleted by itself: nobody is left to join it
    else
        thread_.join();
}

int TThread::WaitFor() {
    if (startRequested_) Start();
    if (!started_) return returnValue_;
    // A thread waiting for itself would wait forever.
    if (t_current == this) return returnValue_;
    if (OnGuiThread() && QCoreApplication::instance()) {
        // Keep the calls flowing: the worker may be waiting in Synchronize.
        std::unique_lock lock(endMutex_);
        while (!ended_.wait_for(lock, std::chrono::milliseconds(5),
                                [this] { return finished_.load(); })) {
            lock.unlock();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            lock.lock();
        }
    }
    Join();
    return returnValue_;
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (OnGuiThread()) {
        // A blocking call into the own thread would wait forever.
        method();
        return;
    }
    GuiCalls::Instance().Call(method);
}

} // namespace platform::vcl
