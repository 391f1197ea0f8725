// Directories: the existence test, creation with every missing parent, and
// removal of what a deletion left empty. These work by changing the process's
// current drive and directory, and put both back before they return, so that
// a relative path means the same before and after them.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/GrowableArray.h"
#include "foundation/String.h"

// True when the path can be made the current directory.
bool directoryExists(const String& path);

// Blanks around the path and one trailing backslash are ignored. Levels that
// exist are entered, missing ones created; levels created before a failure stay.
ErrorHandle createDirectoryChain(const String& path);

// The directories on the way to path that do not exist yet, deepest first:
// what createDirectoryChain (path) is about to make.
GrowableArray<String> missingDirectories(const String& path);
// Takes away those of them that exist, deepest first, stopping quietly at the
// first that cannot go (it holds something): how an operation that made them
// leaves nothing behind when it fails, wherever the chain stopped.
void removeDirectories(const GrowableArray<String>& made);

// Removes directory and then each parent that is left empty, up to but not
// including base (base itself too when removeBase is set). Stops quietly at
// the first directory that still holds something.
ErrorHandle removeEmptyDirectories(const String& directory, const String& base, bool removeBase);
