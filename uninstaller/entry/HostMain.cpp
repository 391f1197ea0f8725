// The host uninstaller: the same dialogue in the terminal, over the sandbox.
// Its arguments come as the shell split them, so a log path with blanks is
// one argument without quotes.
#include <cstring>

#include "platform/System.h"
#include "uninstaller/UninstallProgram.h"

int main(int argc, char** argv) {
    platform::startProgram();
    int first = 1;
    bool silent = argc > 1 && (std::strcmp(argv[1], "/S") == 0 || std::strcmp(argv[1], "/s") == 0);
    if (silent) ++first;
    return runUninstallProgram(argc > first ? argv[first] : nullptr, silent);
}
