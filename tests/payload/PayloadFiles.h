// Reading the shipped install set and the payload's files in the tests.
#pragma once

#include <string>
#include <vector>

// The rows of a table resource named "VANTOREL", bounded by the resource's
// size; fails the test when the resource is missing or not terminated.
std::vector<std::string> tableRows(const char* type);
// The fields of a row split at '|'.
std::vector<std::string> fields(const std::string& row);
// The raw bytes of a resource; empty when it is missing.
std::vector<unsigned char> resourceBytes(const char* type, const std::string& name);
std::vector<unsigned char> readFileBytes(const std::string& path);
std::string sourceDir();
// A fresh scratch folder under the system's temporary folder.
std::string scratchFolder();
void removeFolder(const std::string& path);
