// The manifest of an install set: which groups exist, where each packed file
// goes (rows of the tables as the setup reads them), and which product file
// each packed resource is made from.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

struct FileSetRow {
    std::string resource;
    std::string tableRow;  // the row exactly as FILESET carries it
    int line;
};

struct FileRow {
    std::string resource;
    std::string source;  // resolved against the manifest's folder or --bin
    bool stored;
    int line;
};

struct Manifest {
    std::string path;
    std::vector<std::string> groups;
    std::vector<FileSetRow> fileSet;
    std::vector<FileRow> files;
    // What the setup installs as asked but perhaps not as meant, each naming
    // its line: "manifest.txt:12: warning: ...".
    std::vector<std::string> warnings;
};

// Messages name the manifest and the line: "manifest.txt:12: ...".
class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Refuses, naming the line, every row the setup would refuse, mishandle or
// could not remove again: fields holding a NUL, destinations that leave their
// folder or name an unknown macro, titles that are paths, desktop flags other
// than Y, sources that are folders or larger than the setup's 31-bit sizes.
Manifest readManifest(const std::string& path, const std::string& binDir);
