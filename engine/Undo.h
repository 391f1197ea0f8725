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
// The undo of an installation that did not finish. Should undoInstallation
// stop at something it cannot remove (a log another process holds open),
// the log's Uninstall entry goes all the same: never sealed, it would only
// start an uninstaller that refuses the log, and stand in the system's list
// of programs with nothing able to take it away. Returns undoInstallation's
// report.
ErrorHandle undoUnfinishedInstallation(const InstallLog& log);
