#include "window/shell/Program.h"

int main(int argc, char** argv) {
    return window::shell::ProgramMain(argc, argv);
}
