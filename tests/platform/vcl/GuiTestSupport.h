#pragma once
// Helpers for tests that meet modal windows and event loops.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace gui_test {

// Runs action on the next modal window to open, from the event loop. If none opens
// within the watchdog time the action never runs (and the test's own checks fail); a
// modal window left open by a faulty action is closed by the watchdog, so a test never
// hangs.
inline void WhenModal(std::function<void(QWidget*)> action, int watchdogMs = 5000) {
    auto* poll = new QTimer;
    auto* elapsed = new QElapsedTimer;
    elapsed->start();
    QObject::connect(poll, &QTimer::timeout, [poll, elapsed, action, watchdogMs] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            delete elapsed;
            action(modal);
            if (QApplication::activeModalWidget() == modal) {
                QTimer::singleShot(watchdogMs, modal, [modal] { modal->close(); });
            }
        } else if (elapsed->elapsed() > watchdogMs) {
            poll->stop();
            poll->deleteLater();
            delete elapsed;
        }
    });
    poll->start(5);
}

// Handles events until done() holds or the time runs out; returns done().
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done();
}

} // namespace gui_test
