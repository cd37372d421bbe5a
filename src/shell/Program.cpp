#include "shell/Program.h"

#include <QApplication>

namespace shell {

int ProgramMain(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}

} // namespace shell
