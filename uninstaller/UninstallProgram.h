// The uninstaller's dialogue: given the install log's path, asks once, removes
// the product, and says what happened in one box.
#pragma once

// logPath is null when the program was given no argument. Silent removal asks
// nothing and shows nothing; its exit code says whether everything was removed
// (0) or not (1).
int runUninstallProgram(const char* logPath, bool silent = false);
