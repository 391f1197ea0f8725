// Removing what an install log lists: the undo of a failed installation.
#pragma once

#include "foundation/ErrorReport.h"
#include "installlog/InstallLog.h"

// Deletes the recorded files (and the directories they leave empty, up to the
// root of each file's location) in the order recorded, then the recorded
// registry keys. Stops at the first failure and returns it.
ErrorHandle undoInstallation(const InstallLog& log);
