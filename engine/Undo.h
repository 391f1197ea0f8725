// Removing what an install log lists: the undo of a failed installation.
#pragma once

#include "foundation/ErrorReport.h"
#include "installlog/InstallLog.h"

// Whether removing a file recorded under this location may also remove the
// location's own directory once empty: the installation and shortcut
// directories were made by the setup; the desktop or the Windows directory
// never go.
bool removesBase(const String& location);
// Deletes the recorded files (and the directories they leave empty, up to the
// root of each file's location) in the order recorded, then the recorded
// registry keys. A file behind a junction or link is left alone. Stops at the
// first failure and returns it.
ErrorHandle undoInstallation(const InstallLog& log);
