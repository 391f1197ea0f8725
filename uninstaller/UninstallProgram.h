// The uninstaller's dialogue: given the install log's path, asks once, removes
// the product, and says what happened in one box.
#pragma once

// The whole program: its command line tail as WinMain receives it (see
// uninstaller/LogArgument.h) in, its exit code out.
int runUninstaller(const char* commandLine);

// One removal. logPath is null when the program was given none. Silent
// removal asks nothing and shows nothing. Exit codes are Windows Installer's:
// 0 everything was removed, 1602 the question was declined, 1603 the log was
// refused or something stayed, 1639 no log was given.
int runUninstallProgram(const char* logPath, bool silent = false);
