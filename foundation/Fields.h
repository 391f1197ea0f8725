// Rows of '|'-separated fields, as the install set's tables and the install
// log both write them.
#pragma once

#include "foundation/GrowableArray.h"
#include "foundation/String.h"

// An empty row has no fields; every separator ends one, so "a|b|" has three.
GrowableArray<String> splitFields(const String& row, char separator);
