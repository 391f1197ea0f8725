// Deleting installed files, and the directories that a deletion leaves empty.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// A file that is already gone counts as deleted.
ErrorHandle deleteFile(const String& path);

// Deletes the file, then removes its directory and the parents left empty,
// up to base (see removeEmptyDirectories).
ErrorHandle deleteFileAndDirectories(const String& filePath, const String& base, bool removeBase);
