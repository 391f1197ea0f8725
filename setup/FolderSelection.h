// The user's choice of where the product and its shortcut group go.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

struct FolderChoice {
    enum Outcome { chosen, cancelled, failed } outcome;
    String installationDirectory;  // chosen parent + "\Vantorel"
    String shortcutDirectory;      // chosen Start menu folder + "\Vantorel"
    String desktopDirectory;
    ErrorHandle failure;
};

FolderChoice chooseFolders();
