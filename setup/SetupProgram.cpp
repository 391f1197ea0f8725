#include "setup/SetupProgram.h"

#include "foundation/ErrorReport.h"
#include "platform/platform.h"

namespace {
const char* const caption = "Setup Vantorel v0.94a";
}

int runSetupProgram() {
    platform::initializeComponents();
    if (!askYesNo(nullptr, caption, "Do you wish to install Vantorel v0.94a?", false)) {
        showReport(nullptr, caption, makeReport(SeverityInfo, "Have a nice day.", 0));
        return 0;
    }
    return 0;
}
