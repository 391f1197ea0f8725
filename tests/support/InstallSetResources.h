// Builds small install sets as resources of the host program, for tests.
#pragma once

#include <string>
#include <vector>

// Puts a table resource (rows, each ended by NUL, then the closing NULs).
void putTable(const char* type, const std::vector<std::string>& rows);
// Puts an LZF resource holding the bytes stored (method 0), checksummed.
void putStored(const std::string& name, const std::string& bytes);
// The FILESET rows given, a FILESIZE row for each resource, and a stored
// resource of each with the text "<name> bytes"; plus a stand-in uninstaller.
void putInstallSet(const std::vector<std::string>& filesetRows);
