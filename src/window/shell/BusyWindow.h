#pragma once
// The busy-window step of the device transfers, on the program's busy window.
#include "device/Subroutines.h"

namespace shell {

// Each step centres FormLoadingUI on Form1, shows it on top and handles the waiting
// messages; Hide hides it and handles them again. Without FormLoadingUI both only
// handle messages; without Form1 the window keeps its place.
class TBusyWindow : public device::BusyWindow {
public:
    void Step() override;
    void Hide() override;
};

// Makes the device transfers use the program's busy window, or no longer.
void InstallBusyWindow();
void UninstallBusyWindow();

} // namespace shell
