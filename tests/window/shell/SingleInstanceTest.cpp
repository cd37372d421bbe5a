// The single-instance rule across processes: the test program starts itself a second time
// as the "second start", which must restore and activate the first window and end.
#include "window/shell/SingleInstance.h"
#include "platform/vcl/Forms.h"
#include "platform/desktop/User32.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr const char* SecondStartVariable = "VTRM408X_TEST_SECOND_START";

// Runs only inside the second process.
TEST(SingleInstanceTest, SecondStartHelper) {
    const char* title = std::getenv(SecondStartVariable);
    if (!title) GTEST_SKIP() << "runs as the second start of RestoresTheFirstWindow";
    EXPECT_TRUE(shell::RestoreRunningInstance(title));
}

TEST(SingleInstanceTest, SecondStartRestoresAndActivatesTheFirstWindow) {
    const std::string title =
        "VTRM408x single instance " + std::to_string(QCoreApplication::applicationPid());
    QWidget first;
    first.setWindowTitle(QString::fromStdString(title));
    first.show();
    first.showMinimized();
    ASSERT_TRUE(platform::win::PublishWindowTitle(&first, title));
    EXPECT_FALSE(platform::win::PublishWindowTitle(&first, title)) << "the title is taken";

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
    EXPECT_FALSE(shell::RestoreRunningInstance("no window has this title 7f3c"));
}

TEST(SingleInstanceTest, AWindowOfThisProcessWithTheTitleIsFoundDirectly) {
    QWidget other;
    other.setWindowTitle("VTRM408x Gaming Mouse v1.0");
    other.show();
    other.showMinimized();
    EXPECT_TRUE(shell::RestoreRunningInstance(shell::MainWindowTitle));
    EXPECT_FALSE(other.isMinimized());
}

} // namespace
