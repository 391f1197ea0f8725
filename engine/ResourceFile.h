// A packed resource of the program written out as a file.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// Unpacks the "LZF" resource and writes its bytes to path, creating missing
// directories and replacing a file that is there; the unpacked buffer is
// released whether or not the write worked.
ErrorHandle installResourceFile(const String& name, const String& path);
