#pragma once
// Worker threads in the library's manner.
//
// Stopping a thread that may be inside Synchronize: Synchronize waits for the GUI
// thread, so the GUI thread must never block while joining such a worker. Call
// Terminate(), wake the worker from whatever it blocks on (its own means: an eventfd, a
// condition), then WaitFor() - from the GUI thread WaitFor keeps handling posted events
// while it waits, so a pending Synchronize completes and the worker can end. The
// destructor of a running thread does the same (Terminate, then WaitFor); a derived
// class whose Execute uses its own members must do it in its own destructor, since they
// are gone by the time the base destructor runs.
//
// The worker is a std::thread, and Synchronize hands its call over through a std::mutex
// and condition variable: its start, every hand-off and its join are ones that a thread
// checker (ThreadSanitizer) sees, which it cannot for Qt's own thread and queued calls.
#include "platform/vcl/Component.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QObject;

namespace platform::vcl {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    // A suspended thread waits for Start (or Resume) before Execute runs. A thread not
    // created suspended starts as soon as the creating thread's event loop runs again,
    // or at Start or WaitFor if they come first: Execute cannot run before the derived
    // class's constructor has finished.
    explicit TThread(bool createSuspended);
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Resume() { Start(); }
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // Waits until Execute has returned and gives ReturnValue. On the GUI thread it keeps
    // handling posted events meanwhile (see above).
    int WaitFor();

    // With FreeOnTerminate the thread object deletes itself on the GUI thread once
    // Execute has returned; nobody may touch it after Start then.
    bool FreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool on) { freeOnTerminate_ = on; }
    // On Linux a priority is the thread's own nice value, relative to the process's:
    // below normal runs nicer than the GUI thread. Raising a running thread's priority
    // (above normal, or back up from below) needs that right (root, CAP_SYS_NICE or
    // RLIMIT_NICE); without it the thread stays where it is.
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority priority);
    // The system's id of the running thread (Linux: its task id), 0 before Execute runs.
    long NativeThreadId() const { return nativeId_; }
    int ReturnValue() const { return returnValue_; }
    // The exception that ended Execute, if any.
    std::exception_ptr FatalException() const { return fatalException_; }

    // Runs on the GUI thread once Execute has returned (through Synchronize).
    TNotifyEvent OnTerminate;

    // Runs method on the GUI thread and waits for it; inline when called on the GUI
    // thread. An exception of method passes to the caller. The GUI thread runs it from
    // its event loop, nested ones too; should the application go first, it returns
    // without running it.
    static void Synchronize(const std::function<void()>& method);

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int value) { returnValue_ = value; }

private:
    void Run();
    void Join();

    std::thread thread_;
    std::mutex joinMutex_;
    std::mutex endMutex_; // finished_ is set under it, and ended_ tells the waiters
    std::condition_variable ended_;
    std::unique_ptr<QObject> starter_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> started_{false};
    bool startRequested_ = false;
    bool freeOnTerminate_ = false;
    std::atomic<TThreadPriority> priority_{tpNormal};
    std::atomic<long> nativeId_{0};
    std::mutex priorityMutex_; // the id's publication and every priority change
    int baseNice_ = 0;         // the process's nice value when the thread was made
    int returnValue_ = 0;
    std::exception_ptr fatalException_;
};

} // namespace platform::vcl
