// vantorel-error-probe: asks the platform layer for the text of a system error whose message
// carries an insert (ERROR_BAD_EXE_FORMAT, "%1" in its text), as lastSystemError asks for every
// text it reports, and prints it. It exits 0 only when the text came back with the insert as
// written: with no arguments to fill it from, the lookup must not try to.
#include <cstdio>
#include <cstring>

#include "platform/System.h"

int main() {
    char text[512];
    if (platform::systemErrorText(193, text, sizeof text) != platform::statusOk) {
        std::printf("no text for 193\n");
        return 1;
    }
    std::printf("%s", text);
    return std::strstr(text, "%1") != nullptr ? 0 : 1;
}
