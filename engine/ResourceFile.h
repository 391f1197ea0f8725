// A packed resource of the program written out as a file.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

ErrorHandle installResourceFile(const String& name, const String& path);
