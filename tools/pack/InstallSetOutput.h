// What `vantorel-pack pack` writes: packed files, the three tables, a
// resource script for windres and a C++ source for the host build, all
// without timestamps so that the same inputs give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/pack/Manifest.h"

struct OutputFile {
    std::string name;  // relative to the output folder
    std::vector<unsigned char> bytes;
};

// Reads every product file; throws ManifestError naming the row of a file
// that cannot be read. width 9 to 16 packs every file with that maximum code
// width; smallestWidth (0) chooses each file's own.
std::vector<OutputFile> buildInstallSet(const Manifest& manifest, uint32_t width = 0);

std::vector<unsigned char> tableBytes(const std::vector<std::string>& rows);

// Leaves a file whose content is already right untouched, so builds that
// depend on it stay quiet. Throws std::runtime_error when it cannot write.
void writeIfChanged(const std::string& path, const std::vector<unsigned char>& bytes);
void writeIfChanged(const std::string& path, const unsigned char* bytes, size_t size);

std::vector<unsigned char> readWholeFile(const std::string& path);  // throws when unreadable
