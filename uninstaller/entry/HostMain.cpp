// The host uninstaller: the same dialogue in the terminal, over the sandbox.
// Its arguments come as the shell split them; they are put on one line as a
// Windows launcher would write them, an argument holding a blank quoted as a
// whole, so that a log path with blanks stays one argument.
#include <cstring>
#include <string>

#include "platform/System.h"
#include "uninstaller/UninstallProgram.h"

int main(int argc, char** argv) {
    platform::startProgram();
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        bool blank = std::strpbrk(argv[i], " \t") != nullptr;
        line += blank ? "\"" + std::string(argv[i]) + "\"" : std::string(argv[i]);
    }
    return runUninstaller(line.c_str());
}
