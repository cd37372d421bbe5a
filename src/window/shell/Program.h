#pragma once
#include "platform/win/HidBus.h"

#include <memory>
#include <string>
#include <vector>

namespace window::shell {

// The program block: single-instance check, application set-up, main window and busy
// window creation, message loop. Returns the process exit code.
int ProgramMain(int argc, char** argv);

// The application as the program block sets it up before the first window: its title
// "Gaming Mouse" and the program's icon.
void PrepareApplication();

// The designs of the windows a start builds before its window first shows: the main
// window's and the busy window's.
std::vector<std::string> StartupFormDesigns();

// Chooses the bus the program talks to the mouse through and installs it: the simulated
// mouse when VTRM408X_SIMULATE=1, hidraw when it is 0; unset, hidraw when the mouse
// (the ids of the default image header) is plugged in now, else the simulated mouse,
// said in one line on stderr.
std::shared_ptr<platform::win::HidBus> InstallDeviceBus();

} // namespace window::shell
