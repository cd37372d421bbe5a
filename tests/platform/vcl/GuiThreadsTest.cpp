// Worker threads and Synchronize against a GUI thread that pumps its events.
#include "common/TaskNice.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GuiTestSupport.h"
#include "platform/vcl/Threads.h"

#include <QThread>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

using namespace platform::rtl;
using namespace platform::vcl;

namespace {

// Calls Synchronize count times (or until terminated), each call counting on the GUI
// thread.
class SyncWorker : public TThread {
public:
    SyncWorker(bool suspended, int count) : TThread(suspended), count_(count) {}
    ~SyncWorker() override {
        Terminate();
        WaitFor();
    }
    std::atomic<int> synced{0};
    std::atomic<bool> wrongThread{false};

protected:
    void Execute() override {
        for (int i = 0; (count_ < 0 || i < count_) && !Terminated(); ++i) {
            Synchronize([this] {
                if (QThread::currentThread() != qApp->thread()) wrongThread = true;
                ++synced;
            });
        }
        SetReturnValue(7);
    }

private:
    int count_;
};

TEST(ThreadTest, SynchronizeWhileTheGuiThreadPumpsDoesNotDeadlock) {
    SyncWorker worker(false, 200);
    // The GUI thread is busy in a loop of its own that handles messages, as a transfer
    // with the busy window does.
    const bool done = gui_test::PumpUntil([&] { return worker.Finished(); }, 10000);
    ASSERT_TRUE(done) << "the worker is stuck in Synchronize";
    EXPECT_EQ(worker.synced, 200);
    EXPECT_FALSE(worker.wrongThread);
    EXPECT_EQ(worker.WaitFor(), 7);
}

TEST(ThreadTest, StoppingAWorkerThatSynchronizesFromTheGuiThread) {
    SyncWorker worker(false, -1);
    ASSERT_TRUE(gui_test::PumpUntil([&] { return worker.synced > 5; }));
    // Terminate, then wait while pumping: a Synchronize in flight completes.
    worker.Terminate();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
}

// A method run through Synchronize may wait in an event loop of its own (a modal dialog,
// a busy loop); a second worker's Synchronize runs meanwhile.
TEST(ThreadTest, ASynchronizedMethodThatPumpsRunsAnotherWorkersCall) {
    SyncWorker second(true, 1);
    bool secondRan = false;
    class Outer : public TThread {
    public:
        explicit Outer(std::function<void()> method) : TThread(true), method_(std::move(method)) {}
        ~Outer() override { WaitFor(); }

    protected:
        void Execute() override { Synchronize(method_); }

    private:
        std::function<void()> method_;
    };
    Outer first([&] {
        second.Start();
        secondRan = gui_test::PumpUntil([&] { return second.synced == 1; }, 5000);
    });
    first.Start();
    EXPECT_TRUE(gui_test::PumpUntil([&] { return first.Finished(); }, 10000));
    EXPECT_TRUE(secondRan) << "the second worker's call waited for the first method to end";
}

TEST(ThreadTest, SynchronizeOnTheGuiThreadRunsInline) {
    bool ran = false;
    TThread::Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(ThreadTest, SynchronizePassesTheExceptionToTheWorker) {
    class Thrower : public TThread {
    public:
        Thrower() : TThread(true) {}
        std::atomic<bool> caught{false};

    protected:
        void Execute() override {
            try {
                Synchronize([] { throw std::runtime_error("from the GUI thread"); });
            } catch (const std::runtime_error&) {
                caught = true;
            }
        }
    };
    Thrower t;
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(t.caught);
}

TEST(ThreadTest, SuspendedThreadWaitsForStartAndOnTerminateRunsOnTheGuiThread) {
    SyncWorker worker(true, 1);
    QThread::msleep(30);
    QApplication::processEvents();
    EXPECT_EQ(worker.synced, 0);
    EXPECT_FALSE(worker.Finished());
    bool onGui = false;
    worker.OnTerminate = [&](TObject* sender) {
        EXPECT_EQ(sender, &worker);
        onGui = QThread::currentThread() == qApp->thread();
    };
    worker.SetPriority(tpLower);
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(worker.synced, 1);
    EXPECT_TRUE(onGui);
    EXPECT_EQ(worker.Priority(), tpLower);
}

TEST(ThreadTest, FreeOnTerminateDeletesTheThreadOnTheGuiThread) {
    static std::atomic<bool> deleted{false};
    class Self : public TThread {
    public:
        Self() : TThread(true) {}
        ~Self() override { deleted = true; }

    protected:
        void Execute() override {}
    };
    deleted = false;
    auto* t = new Self;
    t->SetFreeOnTerminate(true);
    t->Start();
    EXPECT_TRUE(gui_test::PumpUntil([] { return deleted.load(); }));
}

TEST(ThreadTest, AnExceptionEndingExecuteIsKept) {
    class Fails : public TThread {
    public:
        Fails() : TThread(true) {}

    protected:
        void Execute() override { throw std::runtime_error("read failed"); }
    };
    Fails t;
    t.Start();
    t.WaitFor();
    ASSERT_TRUE(t.FatalException());
    EXPECT_THROW(std::rethrow_exception(t.FatalException()), std::runtime_error);
}

using testing_support::NiceOfTask;

TEST(ThreadTest, APriorityBelowNormalMakesTheThreadNicerThanTheGuiThread) {
    class Waits : public TThread {
    public:
        Waits() : TThread(true) {}
        std::atomic<bool> release{false};

    protected:
        void Execute() override {
            while (!release && !Terminated())
                QThread::msleep(1);
        }
    };
    const int guiNice = NiceOfTask(getpid());
    Waits t;
    t.SetPriority(tpLower);
    t.Start();
    ASSERT_TRUE(gui_test::PumpUntil([&] { return t.NativeThreadId() != 0; }));
    ASSERT_NE(t.NativeThreadId(), getpid());
    // Execute may already be running: the nice value is set before it starts.
    const int lower = NiceOfTask(t.NativeThreadId());
    EXPECT_GT(lower, guiNice);
    t.SetPriority(tpIdle); // a running thread follows a change at once
    const int idle = NiceOfTask(t.NativeThreadId());
    EXPECT_GT(idle, lower);
    EXPECT_EQ(NiceOfTask(getpid()), guiNice) << "the GUI thread must keep its priority";
    t.release = true;
    t.WaitFor();
}

} // namespace
