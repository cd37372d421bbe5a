#include "platform/vcl/Threads.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vcl {

namespace {
QThread::Priority ToQt(TThreadPriority p) {
    switch (p) {
    case tpIdle:
        return QThread::IdlePriority;
    case tpLowest:
        return QThread::LowestPriority;
    case tpLower:
        return QThread::LowPriority;
    case tpHigher:
        return QThread::HighPriority;
    case tpHighest:
        return QThread::HighestPriority;
    case tpTimeCritical:
        return QThread::TimeCriticalPriority;
    default:
        return QThread::NormalPriority;
    }
}

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

// Linux schedules each thread by its own nice value; Qt's priorities leave it alone for
// ordinary threads. A raise that the process has no right to is refused by the kernel
// and the thread keeps its value.
void ApplyNice(long tid, int baseNice, TThreadPriority p) {
    if (tid == 0) return;
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid),
                std::clamp(baseNice + NiceOffset(p), -20, 19));
}

bool OnGuiThread() {
    return !QCoreApplication::instance() ||
           QThread::currentThread() == QCoreApplication::instance()->thread();
}
} // namespace

class TThread::Runner : public QThread {
public:
    explicit Runner(TThread* t) : owner(t) {}
    void run() override { owner->Run(); }
    TThread* owner;
};

TThread::TThread(bool createSuspended)
    : runner_(std::make_unique<Runner>(this)), starter_(std::make_unique<QObject>()),
      baseNice_(ProcessNice()) {
    if (!createSuspended) {
        startRequested_ = true;
        QTimer::singleShot(0, starter_.get(), [this] { Start(); });
    }
}

TThread::~TThread() {
    if (started_ && !runner_->isFinished()) {
        Terminate();
        WaitFor();
    }
    runner_->wait();
}

void TThread::Start() {
    if (started_.exchange(true)) return;
    if (freeOnTerminate_) {
        QObject::connect(
            runner_.get(), &QThread::finished, QCoreApplication::instance(),
            [this] { delete this; }, Qt::QueuedConnection);
    }
    runner_->start(ToQt(priority_));
}

void TThread::SetPriority(TThreadPriority priority) {
    priority_ = priority;
    if (!runner_->isRunning()) return;
    runner_->setPriority(ToQt(priority));
    ApplyNice(nativeId_, baseNice_, priority);
}

void TThread::Run() {
    nativeId_ = static_cast<long>(syscall(SYS_gettid));
    ApplyNice(nativeId_, baseNice_, priority_);
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
    finished_ = true;
}

int TThread::WaitFor() {
    if (startRequested_) Start();
    if (!started_) return returnValue_;
    if (OnGuiThread() && QCoreApplication::instance()) {
        // Keep posted calls flowing: the worker may be waiting in Synchronize.
        while (!runner_->wait(5))
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        runner_->wait();
    }
    return returnValue_;
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (OnGuiThread()) {
        // A blocking call into the own thread would wait forever.
        method();
        return;
    }
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            try {
                method();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error) std::rethrow_exception(error);
}

} // namespace vcl
