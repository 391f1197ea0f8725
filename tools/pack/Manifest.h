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
};

// Messages name the manifest and the line: "manifest.txt:12: ...".
class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Manifest readManifest(const std::string& path, const std::string& binDir);
