#include "platform/vcl/Threads.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

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
    : runner_(std::make_unique<Runner>(this)), starter_(std::make_unique<QObject>()) {
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
    if (runner_->isRunning()) runner_->setPriority(ToQt(priority));
}

void TThread::Run() {
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
