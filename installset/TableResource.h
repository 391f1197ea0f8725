// Text tables carried as resources: rows ended by NUL, the table ended by an
// empty row, fields separated by '|'.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/GrowableArray.h"
#include "foundation/String.h"

ErrorHandle readTableResource(const String& name, const String& type, GrowableArray<String>& rows);
