// Whether a path may be acted on by an elevated program: the folders that a
// standard user may write can hold junctions and links that lead elsewhere.
#pragma once

#include "foundation/String.h"

// Whether a junction or link is any folder from the drive root down to path,
// or path itself. A standard user can plant one in a folder they made, or
// rename such a folder and put one in its place, and a write or a deletion of
// the elevated programs would follow it anywhere. Every act that writes or
// deletes checks its way again as it happens (platform/Files.h); this check
// comes first so that the programs can say what they left alone and why.
bool crossesReparsePoint(const String& path);
