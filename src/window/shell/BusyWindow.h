#pragma once
// The busy-window step of the device transfers, on the program's busy window.
#include "device/Subroutines.h"

#include <QAbstractEventDispatcher>
#include <QPointer>

#include <chrono>
#include <cstdint>

namespace window::shell {

class TFormLoadingUI;

// Each step centres FormLoadingUI on Form1, shows it on top and handles the waiting
// messages; Hide hides it and handles them again. Without FormLoadingUI both only
// handle messages; without Form1 the window keeps its place.
//
// While the window stays up from one step to the next, the messages are handled only
// when the screen can show something new: when the window has just come up or moved,
// when the animation's next frame is due, and otherwise once per kQuietMs (or up to
// kFrameWaitMs later, when the next frame is due by then). A transfer makes a step every
// millisecond or so, and on a window system each round of message handling costs about
// a tenth of that in requests to the display server.
class TBusyWindow : public ::device::BusyWindow {
public:
    // About one refresh of a 60 Hz screen.
    static constexpr std::chrono::milliseconds kQuietMs{16};
    static constexpr std::chrono::milliseconds kFrameWaitMs{4};

    void Step() override;
    void Hide() override;

private:
    void BringToFront(TFormLoadingUI& busy, bool wasUp);
    void WatchEventHandling();
    bool MessagesDue() const;
    void HandleMessages();

    std::chrono::steady_clock::time_point handledAt_{};
    // What the program's windows may have done since the busy window was last brought to
    // the front: events were handled (here or anywhere else), or the count of their
    // moves changed.
    bool handledSinceFront_ = true;
    uint64_t windowOrderAtFront_ = 0;
    QPointer<QAbstractEventDispatcher> watched_;
};

// Makes the device transfers use the program's busy window, or no longer. While it is
// installed, the busy window is hidden before every message dialog shows.
void InstallBusyWindow();
void UninstallBusyWindow();

} // namespace window::shell
