// Writing a byte buffer as a complete file.
#pragma once

#include <cstdint>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// Creates the missing directories of path, then creates or replaces the file
// with exactly these bytes. On failure no file is left at path, and every
// directory this call made is taken away again, deepest first, wherever the
// failure happened: a broken product file or a folder that no install log
// lists would outlive the undo.
ErrorHandle writeFile(const String& path, const void* data, uint32_t length);
