// Removing an installed product by its install log: the uninstaller's work.
#pragma once

#include "foundation/String.h"
#include "installlog/InstallLog.h"

struct RemovalReport {
    int removedFiles = 0;
    int removedKeys = 0;
    String problems;  // one line for each thing left in place, and why
};

// Removes what the log lists and nothing else: every file only when its path
// is plain, lies inside the directory of the location it was recorded with
// and reaches it through no junction or link; then the registry keys of this
// product, in log order. Goes on past a failure and lists it.
RemovalReport removeInstallation(const InstallLog& log);

// Whether a recorded path may be removed under the recorded location; when
// not, why not.
bool insideLocation(const String& path, const String& base, String& why);
