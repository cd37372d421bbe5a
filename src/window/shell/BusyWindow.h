#pragma once
// The busy-window step of the device transfers, on the program's busy window.
#include "device/Subroutines.h"

#include <chrono>

namespace shell {

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
class TBusyWindow : public device::BusyWindow {
public:
    // About one refresh of a 60 Hz screen.
    static constexpr std::chrono::milliseconds kQuietMs{16};
    static constexpr std::chrono::milliseconds kFrameWaitMs{4};

    void Step() override;
    void Hide() override;

private:
    bool MessagesDue() const;
    void HandleMessages();

    std::chrono::steady_clock::time_point handledAt_{};
};

// Makes the device transfers use the program's busy window, or no longer.
void InstallBusyWindow();
void UninstallBusyWindow();

} // namespace shell
