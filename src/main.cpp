#include "window/shell/Program.h"

int main(int argc, char** argv) { return shell::ProgramMain(argc, argv); }
