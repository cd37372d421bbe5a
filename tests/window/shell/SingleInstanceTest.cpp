// The single-instance rule across processes: the test program starts itself a second time
// as the "second start", which must restore and activate the first window and end.
#include "window/shell/SingleInstance.h"
#include "platform/desktop/User32.h"
#include "platform/vcl/Forms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#endif

namespace {

constexpr const char* SecondStartVariable = "VTRM408X_TEST_SECOND_START";

// Runs only inside the second process.
TEST(SingleInstanceTest, SecondStartHelper) {
    const char* title = std::getenv(SecondStartVariable);
    if (!title) GTEST_SKIP() << "runs as the second start of RestoresTheFirstWindow";
    EXPECT_TRUE(window::shell::RestoreRunningInstance(title));
}

TEST(SingleInstanceTest, SecondStartRestoresAndActivatesTheFirstWindow) {
    const std::string title =
        "VTRM408x single instance " + std::to_string(QCoreApplication::applicationPid());
    QWidget first;
    first.setWindowTitle(QString::fromStdString(title));
    first.show();
    first.showMinimized();
    ASSERT_TRUE(platform::desktop::PublishWindowTitle(&first, title));
    EXPECT_FALSE(platform::desktop::PublishWindowTitle(&first, title)) << "the title is taken";

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(SecondStartVariable, QString::fromStdString(title));
    second.setProcessEnvironment(env);
    second.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=SingleInstanceTest.SecondStartHelper"});
    ASSERT_TRUE(second.waitForStarted(5000));
    // The first process keeps handling events while the second one talks to it.
    QElapsedTimer clock;
    clock.start();
    while (second.state() != QProcess::NotRunning && clock.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        second.waitForFinished(10);
    }
    for (int i = 0; i < 20 && first.isMinimized(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardOutput().toStdString();
    EXPECT_FALSE(first.isMinimized());
    EXPECT_TRUE(first.isVisible());
}

TEST(SingleInstanceTest, NoWindowOfThatTitleMeansAFirstStart) {
    EXPECT_FALSE(window::shell::RestoreRunningInstance("no window has this title 7f3c"));
}

TEST(SingleInstanceTest, AWindowOfThisProcessWithTheTitleIsFoundDirectly) {
    QWidget other;
    other.setWindowTitle("VTRM408x Gaming Mouse v1.0");
    other.show();
    other.showMinimized();
    EXPECT_TRUE(window::shell::RestoreRunningInstance(window::shell::MainWindowTitle));
    EXPECT_FALSE(other.isMinimized());
}

constexpr const char* StartVariable = "VTRM408X_TEST_START";

// One start of the program as the program block runs it, inside a process of its own:
// the claim at entry, then the window built (a while later, as the real one takes), shown
// minimised and announced. Prints what happened for the test that started it.
TEST(SingleInstanceTest, StartHelper) {
    const char* title = std::getenv(StartVariable);
    if (!title) GTEST_SKIP() << "runs as one of the starts of TwoStartsCloseTogether";
    if (!window::shell::ClaimSingleInstance(title)) {
        std::printf("second start ended\n");
        return;
    }
    std::printf("first start runs\n");
    const auto pump = [](int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    pump(600); // building the window
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(title));
    window.show();
    window.showMinimized();
    window::shell::AnnounceMainWindow(title, &window);
    pump(300);
    std::printf("%s\n", window.isMinimized() ? "left minimised" : "restored");
    std::fflush(stdout);
}

// Today's road looked for a window only: a second start while the first was still
// building its window found none and ran as well.
TEST(SingleInstanceTest, TwoStartsCloseTogetherLeaveOneRunning) {
    const std::string title =
        "VTRM408x starts " + std::to_string(QCoreApplication::applicationPid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(StartVariable, QString::fromStdString(title));
    QProcess first, second;
    for (QProcess* start : {&first, &second}) {
        start->setProcessEnvironment(env);
        start->start(QCoreApplication::applicationFilePath(),
                     {"--gtest_filter=SingleInstanceTest.StartHelper"});
        ASSERT_TRUE(start->waitForStarted(5000));
        if (start == &first) QThread::msleep(100);
    }
    ASSERT_TRUE(second.waitForFinished(20000));
    ASSERT_TRUE(first.waitForFinished(20000));
    const std::string a = first.readAllStandardOutput().toStdString();
    const std::string b = second.readAllStandardOutput().toStdString();
    const auto ran = [](const std::string& out) {
        return out.find("first start runs") != std::string::npos;
    };
    const auto ended = [](const std::string& out) {
        return out.find("second start ended") != std::string::npos;
    };
    // Exactly one runs (normally the earlier one; a slow process start may swap them).
    EXPECT_TRUE((ran(a) && ended(b)) || (ran(b) && ended(a))) << a << "\n---\n" << b;
    EXPECT_FALSE(ran(a) && ran(b)) << "both starts ran";
    // The other start's request waited for the window being built and restored it.
    const std::string& runner = ran(a) ? a : b;
    EXPECT_NE(runner.find("restored"), std::string::npos) << runner;
}

#if __has_include(<xcb/xcb.h>)

// A virtual X display of the test's own, when the machine has Xvfb.
class OwnDisplay {
public:
    OwnDisplay() {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty()) {
            why = "Xvfb is not installed";
            return;
        }
        for (int n = 140; n < 200 && name.empty(); ++n) {
            const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            if (std::filesystem::exists(lock) ||
                std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)))
                continue;
            // -noreset: the probe below is the last client to leave, which would reset it.
            server_.start(xvfb, {QString(":%1").arg(n), "-nolisten", "tcp", "-noreset", "-screen",
                                 "0", "640x480x24"});
            if (!server_.waitForStarted(5000)) break;
            const std::string display = ":" + std::to_string(n);
            for (int i = 0; i < 100 && server_.state() == QProcess::Running; ++i) {
                xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
                const bool up = !xcb_connection_has_error(c);
                xcb_disconnect(c);
                if (up) {
                    name = display;
                    break;
                }
                QThread::msleep(50);
            }
            if (name.empty()) {
                server_.kill();
                server_.waitForFinished(2000);
            }
        }
        if (name.empty() && why.empty()) why = "Xvfb did not start";
    }
    ~OwnDisplay() {
        server_.terminate();
        server_.waitForFinished(3000);
    }
    std::string name, why;

private:
    QProcess server_;
};

// A client of the display that is not this program: its windows know nothing of the
// program's local socket.
struct ForeignClient {
    explicit ForeignClient(const std::string& display) {
        c = xcb_connect(display.c_str(), nullptr);
        root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    }
    ~ForeignClient() { xcb_disconnect(c); }
    xcb_atom_t Atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }
    xcb_window_t Window(const std::string& title, bool netName) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, root, 10, 10, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (!title.empty())
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w,
                                netName ? Atom("_NET_WM_NAME") : xcb_atom_t{XCB_ATOM_WM_NAME},
                                netName ? Atom("UTF8_STRING") : xcb_atom_t{XCB_ATOM_STRING}, 8,
                                static_cast<uint32_t>(title.size()), title.data());
        xcb_map_window(c, w);
        Sync();
        return w;
    }
    void Sync() { std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }
    bool Viewable(xcb_window_t w) {
        auto* reply = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
        const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(reply);
        return viewable;
    }
    xcb_window_t Topmost() {
        auto* reply = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
        const int n = reply ? xcb_query_tree_children_length(reply) : 0;
        const xcb_window_t top =
            n ? xcb_query_tree_children(reply)[n - 1] : xcb_window_t{XCB_WINDOW_NONE};
        std::free(reply);
        return top;
    }
    xcb_window_t Focus() {
        auto* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
        const xcb_window_t focus = reply ? reply->focus : xcb_window_t{XCB_WINDOW_NONE};
        std::free(reply);
        return focus;
    }
    xcb_connection_t* c;
    xcb_window_t root;
};

// Any program's top-level window with the exact title keeps the program from starting:
// it is restored (mapped again after a minimise), raised and activated.
TEST(SingleInstanceTest, AnotherProgramsWindowWithTheTitleIsRestoredAndActivated) {
    OwnDisplay display;
    if (display.name.empty()) GTEST_SKIP() << "no X server for the test: " << display.why;
    const char* saved = std::getenv("DISPLAY");
    const std::string savedDisplay = saved ? saved : "";
    setenv("DISPLAY", display.name.c_str(), 1);
    ForeignClient other(display.name);
    for (bool netName : {false, true}) {
        SCOPED_TRACE(netName ? "_NET_WM_NAME" : "WM_NAME");
        const std::string title = std::string("Foreign ") + (netName ? "net " : "") +
                                  std::to_string(QCoreApplication::applicationPid());
        const xcb_window_t target = other.Window(title, netName);
        other.Window(title + " not quite", netName); // an inexact title does not count
        const xcb_window_t above = other.Window("", netName);
        xcb_unmap_window(other.c, target); // minimised
        other.Sync();
        ASSERT_FALSE(other.Viewable(target));
        ASSERT_EQ(other.Topmost(), above);

        EXPECT_FALSE(window::shell::ClaimSingleInstance(title)) << "this start must end";
        other.Sync();
        EXPECT_TRUE(other.Viewable(target));
        EXPECT_EQ(other.Topmost(), target);
        EXPECT_EQ(other.Focus(), target);
    }
    EXPECT_TRUE(window::shell::ClaimSingleInstance("no window of any program has this title 5e1a"));
    if (saved)
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

#endif

} // namespace
