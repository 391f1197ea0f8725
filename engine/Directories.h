// Directories: the existence test, creation with every missing parent, and
// removal of what a deletion left empty. These work by changing the process's
// current drive and directory and leave them changed.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// True when the path can be made the current directory; it then stays current.
bool directoryExists(const String& path);

// Blanks around the path and one trailing backslash are ignored. Levels that
// exist are entered, missing ones created; levels created before a failure stay.
ErrorHandle createDirectoryChain(const String& path);

// Removes directory and then each parent that is left empty, up to but not
// including base (base itself too when removeBase is set). Stops quietly at
// the first directory that still holds something.
ErrorHandle removeEmptyDirectories(const String& directory, const String& base, bool removeBase);
