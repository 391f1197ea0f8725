// The uninstaller's dialogue: given the install log's path, asks once, removes
// the product, and says what happened in one box.
#pragma once

// logPath is null when the program was given no argument.
int runUninstallProgram(const char* logPath);
