#include "tools/pack/Manifest.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::vector<std::string> split(const std::string& row) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t at = row.find('|', start);
        fields.push_back(row.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return fields;
        start = at + 1;
    }
}

// Names that a resource script and a file name can both carry unquoted and
// that cannot be taken for a numeric resource id.
bool isResourceName(const std::string& name) {
    if (name.empty()) return false;
    bool digitsOnly = true;
    for (unsigned char c : name) {
        if (!(std::isalnum(c) || c == '_')) return false;
        if (!std::isdigit(c)) digitsOnly = false;
    }
    return !digitsOnly;
}

}  // namespace

Manifest readManifest(const std::string& path, const std::string& binDir) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ManifestError("cannot read manifest " + path);
    std::filesystem::path base = std::filesystem::path(path).parent_path();
    Manifest manifest;
    manifest.path = path;
    std::set<std::string> fileNames;
    std::string text;
    int line = 0;
    auto fail = [&](const std::string& why) {
        std::ostringstream message;
        message << path << ":" << line << ": " << why;
        throw ManifestError(message.str());
    };
    while (std::getline(in, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#') continue;
        std::vector<std::string> fields = split(text);
        const std::string& kind = fields[0];
        if (kind == "FILEGROUP") {
            if (fields.size() != 2 || fields[1].empty()) fail("FILEGROUP row needs one group name");
            manifest.groups.push_back(fields[1]);
        } else if (kind == "FILESET") {
            if (fields.size() < 4 || fields.size() > 6)
                fail("FILESET row needs resource|group|destination[|title[|desktop flag]]");
            if (!isResourceName(fields[1])) fail("bad resource name '" + fields[1] + "'");
            if (fields[2].empty() || fields[3].empty()) fail("FILESET row has an empty group or destination");
            manifest.fileSet.push_back(FileSetRow{fields[1], text.substr(text.find('|') + 1), line});
        } else if (kind == "FILE") {
            if (fields.size() < 3 || fields.size() > 4 || (fields.size() == 4 && fields[3] != "stored"))
                fail("FILE row needs resource|source path[|stored]");
            if (!isResourceName(fields[1])) fail("bad resource name '" + fields[1] + "'");
            if (fields[2].empty()) fail("FILE row has an empty source path");
            if (!fileNames.insert(fields[1]).second) fail("second FILE row for " + fields[1]);
            std::string source = fields[2];
            const std::string binMark = "@BIN@/";
            if (source.compare(0, binMark.size(), binMark) == 0) {
                if (binDir.empty()) fail("source " + source + " needs --bin");
                source = (std::filesystem::path(binDir) / source.substr(binMark.size())).string();
            } else {
                source = (base / source).string();
            }
            manifest.files.push_back(FileRow{fields[1], source, fields.size() == 4, line});
        } else {
            fail("unknown row type '" + kind + "'");
        }
    }
    for (const FileSetRow& row : manifest.fileSet) {
        if (fileNames.count(row.resource) == 0) {
            line = row.line;
            fail("no FILE row for " + row.resource);
        }
    }
    return manifest;
}
