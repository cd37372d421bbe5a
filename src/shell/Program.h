#pragma once

namespace shell {

// The program block: single-instance check, application set-up, main window and busy
// window creation, message loop. Returns the process exit code.
int ProgramMain(int argc, char** argv);

} // namespace shell
