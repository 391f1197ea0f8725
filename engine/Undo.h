// Removing what an install log lists: the undo of a failed installation.
#pragma once

#include "foundation/ErrorReport.h"
#include "installlog/InstallLog.h"

// Whether removing a file recorded under this location may also remove the
// location's own directory once empty: the installation and shortcut
// directories were made by the setup; the desktop or the Windows directory
// never go.
bool removesBase(const String& location);
// Whether a junction or link lies below base on the way to path, or is path
// itself; with withBase, base counts too (a directory the setup makes and
// removes). A standard user can plant one in a folder they may write, and a
// write or a deletion of the elevated setup would follow it anywhere.
bool crossesReparsePoint(const String& path, const String& base, bool withBase);
// The registry root of a recorded area (1 local machine, 0 current user), or
// -1 for any other text.
int registryRootOf(const String& area);

// Deletes the recorded files (and the directories they leave empty, up to the
// root of each file's location) in the order recorded, then the recorded
// registry keys. A file behind a junction or link is left alone. Stops at the
// first failure and returns it.
ErrorHandle undoInstallation(const InstallLog& log);
