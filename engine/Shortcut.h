// Making one shell link file (".lnk") that points at a target.
#pragma once

#include "foundation/ErrorReport.h"

// Link and target paths are required; description, arguments and working
// directory may be null, meaning not given. Without a working directory the
// link starts in the target's parent directory. The link's directory is
// created when missing; an existing link at the path is replaced.
ErrorHandle createShortcut(const char* linkPath, const char* targetPath, const char* description,
                           const char* arguments, const char* workingDirectory);
