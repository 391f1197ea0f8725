// How a host program starts: over its sandbox, with the line it was given.
#include <cstdio>
#include <string>

#include "platform/host/HostControl.h"
#include "platform/platform.h"

namespace platform {

void startProgram() { host::ensureSandbox(); }

const char* commandLineTail() {
    // The arguments joined by blanks, as a Windows launcher puts them on one
    // line; the kernel keeps them NUL-separated after the program's name.
    static std::string line;
    line.clear();
    if (std::FILE* in = std::fopen("/proc/self/cmdline", "rb")) {
        bool inName = true;
        for (int c; (c = std::fgetc(in)) != EOF;) {
            if (c == '\0') {
                if (!inName) line += ' ';
                inName = false;
            } else if (!inName) {
                line += static_cast<char>(c);
            }
        }
        std::fclose(in);
    }
    if (!line.empty() && line.back() == ' ') line.pop_back();
    return line.c_str();
}

}  // namespace platform
