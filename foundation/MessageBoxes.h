// The only two boxes the programs show: a report (its text, an icon for its
// severity, OK) and a yes/no question. No owner window: there is none.
#pragma once

#include "foundation/ErrorReport.h"

void showReport(void* owner, const char* title, const ErrorHandle& handle);
bool askYesNo(void* owner, const char* title, const char* question, bool defaultYes);
