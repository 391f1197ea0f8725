// Whether a path may be acted on by an elevated program: the folders that a
// standard user may write can hold junctions and links that lead elsewhere.
#pragma once

#include "foundation/String.h"

// Whether a junction or link lies below base on the way to path, or is path
// itself; with withBase, base counts too (a directory the setup makes and
// removes). A standard user can plant one in a folder they may write, and a
// write or a deletion of the elevated setup would follow it anywhere.
bool crossesReparsePoint(const String& path, const String& base, bool withBase);
