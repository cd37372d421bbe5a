// Test main shared by every suite: one offscreen QApplication for the whole program,
// created before the tests, as every widget and timer needs it.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VTRM_THREAD_SANITIZER 1
#endif
#endif

#ifdef VTRM_THREAD_SANITIZER
// ThreadSanitizer and the threads Qt starts for itself. Qt's libraries are not built with
// it: it cannot see their futex-based locks, and their accesses carry no frame names
// (<null> frames in libQt6Core/libQt6Gui), so a suppressions file could only name whole
// libraries, and every event handler of the program runs under a Qt frame. Reports are
// left out here instead when one of the racing threads is one of these Qt threads,
// started by Qt's own QThread::start (the program's threads are std::threads); every
// other report stays. tests/integration/tsan.supp tells the same.
#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <link.h>

extern "C" {
int __tsan_get_report_data(void* report, const char** description, int* count, int* stackCount,
                           int* mopCount, int* locCount, int* mutexCount, int* threadCount,
                           int* uniqueTidCount, void** sleepTrace, unsigned long traceSize);
int __tsan_get_report_thread(void* report, unsigned long idx, int* tid, uint64_t* osId,
                             int* running, const char** name, int* parentTid, void** trace,
                             unsigned long traceSize);
}

namespace __tsan {
struct ReportDesc;
// The runtime's hook for a program to keep a report back (a weak default returns
// `suppressed`).
bool OnReport(const ReportDesc* rep, bool suppressed);
} // namespace __tsan

namespace {

// Qt's threads left out, by the name Qt gives them (as the kernel keeps it, 15 bytes).
const char* const kQtThreads[] = {
    // QThreadPool::globalInstance()'s workers: Qt converts and smooth-scales large
    // pictures in slices on them (the window shape in TForm::UpdateShape, the busy
    // window's frames, every repaint of the main window), then waits on a semaphore.
    // Shown by DeviceReadTest and every other test that paints the main window.
    "Thread (pooled)",
    // The non-native file dialog's QFileSystemModel reads file details on its
    // QFileInfoGatherer thread (with a GLib event dispatcher of its own), joined when the
    // dialog goes. Shown by the tests that answer a file dialog (ConfigFileTest,
    // EngineeringServicesTest, FaultWalkTest's whole-image load).
    "QFileInfoGather",
};

// Where QThread::start lies in libQt6Core: a thread whose creation stack passes through
// it was started by Qt.
uintptr_t g_startBegin = 0;
uintptr_t g_startEnd = 0;

void FindQThreadStart() {
    void* core = dlopen("libQt6Core.so.6", RTLD_NOW | RTLD_NOLOAD);
    void* start = core ? dlsym(core, "_ZN7QThread5startENS_8PriorityE") : nullptr;
    Dl_info info{};
    ElfW(Sym)* symbol = nullptr;
    if (start && dladdr1(start, &info, reinterpret_cast<void**>(&symbol), RTLD_DL_SYMENT) &&
        symbol) {
        g_startBegin = reinterpret_cast<uintptr_t>(info.dli_saddr);
        g_startEnd = g_startBegin + symbol->st_size;
    }
}

// The hook runs inside the runtime while it reports; its own code is left uninstrumented
// so that it cannot start a report in turn.
#define VTRM_NOT_INSTRUMENTED __attribute__((no_sanitize("thread")))

VTRM_NOT_INSTRUMENTED bool IsQtThread(void* report, int index) {
    int tid = 0, running = 0, parent = 0;
    uint64_t osId = 0;
    const char* name = nullptr;
    void* trace[4] = {};
    __tsan_get_report_thread(report, index, &tid, &osId, &running, &name, &parent, trace, 4);
    if (!name) return false;
    bool known = false;
    for (const char* qt : kQtThreads)
        known = known || std::strcmp(name, qt) == 0;
    if (!known) return false;
    for (void* pc : trace) {
        const auto at = reinterpret_cast<uintptr_t>(pc);
        if (at >= g_startBegin && at < g_startEnd) return true;
    }
    return false;
}

} // namespace

VTRM_NOT_INSTRUMENTED bool __tsan::OnReport(const ReportDesc* rep, bool suppressed) {
    if (suppressed) return true;
    void* report = const_cast<ReportDesc*>(rep);
    const char* description = nullptr;
    int count = 0, stacks = 0, mops = 0, locs = 0, mutexes = 0, threads = 0, unique = 0;
    void* sleep[1] = {};
    __tsan_get_report_data(report, &description, &count, &stacks, &mops, &locs, &mutexes, &threads,
                           &unique, sleep, 1);
    if (!description || std::strcmp(description, "data-race") != 0) return false;
    for (int i = 0; i < threads; ++i)
        if (IsQtThread(report, i)) return true;
    return false;
}
#endif

int main(int argc, char** argv) {
#ifdef VTRM_THREAD_SANITIZER
    FindQThreadStart(); // before any thread is started
#endif
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
