#include "tools/pack/Manifest.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "engine/PathNames.h"
#include "platform/Text.h"

namespace fs = std::filesystem;

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

const char* const macros[] = {"%APP%", "%SHORTCUT%", "%DESKTOP%", "%WIN%", "%WINSYS%", "%WINSYS32%"};

// Why the setup could not write this destination where the manifest means it
// to go, or empty. macroFound tells whether it begins with a location macro.
std::string destinationFault(const std::string& destination, bool& macroFound) {
    macroFound = false;
    std::string rest = destination;
    if (destination[0] == '%') {
        size_t close = destination.find('%', 1);
        std::string macro = destination.substr(0, close == std::string::npos ? close : close + 1);
        if (std::find(std::begin(macros), std::end(macros), macro) == std::end(macros))
            return "unknown location macro '" + macro + "' in destination";
        rest = destination.substr(macro.size());
        if (rest.empty() || rest[0] != '\\')
            return "destination needs a backslash and a file name after " + macro;
        rest.erase(0, 1);
        macroFound = true;
    } else if (destination.size() >= 2 && std::isalpha(static_cast<unsigned char>(destination[0])) &&
               destination[1] == ':') {
        rest = destination.substr(2);
        if (!rest.empty() && rest[0] == '\\') rest.erase(0, 1);
    }
    size_t start = 0;
    for (;;) {
        size_t end = rest.find('\\', start);
        std::string name = rest.substr(start, end == std::string::npos ? end : end - start);
        // The uninstaller's own rule: a name it would not remove is not packed.
        switch (nameFault(name.data(), name.size())) {
            case NameFault::none: break;
            case NameFault::empty: return "destination has an empty folder or file name";
            case NameFault::dotOrDotDot: return "destination has a '" + name + "' component";
            case NameFault::refusedCharacter:
                return "destination holds a character Windows refuses in names";
            case NameFault::endsInDotOrBlank:
                return "destination has the name '" + name +
                       "', which ends in a dot or blank that Windows drops";
            case NameFault::deviceName:
                return "destination has the name '" + name + "', which Windows keeps for a device";
        }
        if (end == std::string::npos) return "";
        start = end + 1;
    }
}

}  // namespace

Manifest readManifest(const std::string& path, const std::string& binDir) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ManifestError("cannot read manifest " + path);
    fs::path base = fs::path(path).parent_path();
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
    auto warn = [&](const std::string& why) {
        manifest.warnings.push_back(path + ":" + std::to_string(line) + ": warning: " + why);
    };
    while (std::getline(in, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#') continue;
        // The setup's tables end a row at a NUL: the field would be cut short.
        if (text.find('\0') != std::string::npos) fail("a field holds a NUL byte");
        // The setup reads its tables as UTF-8 and hands every name to the
        // system as the UTF-16 it stands for; other bytes name nothing.
        if (!platform::isValidUtf8(text.data(), text.size())) fail("the line is not UTF-8 text");
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
            bool macroFound = false;
            std::string fault = destinationFault(fields[3], macroFound);
            if (!fault.empty()) fail(fault);
            if (!macroFound)
                warn("destination " + fields[3] + " has no location macro: the setup writes it, "
                     "but the uninstaller cannot remove it");
            if (fields.size() > 4) {
                // The link is named title + ".lnk", which then ends well.
                std::string link = fields[4] + ".lnk";
                if (nameFault(link.data(), link.size()) != NameFault::none)
                    fail("shortcut title '" + fields[4] +
                         "' is not a file name: a path separator or a character Windows refuses");
            }
            if (fields.size() > 5 && !fields[5].empty() && fields[5] != "Y")
                fail("desktop flag must be Y or empty, not '" + fields[5] + "'");
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
                source = (fs::path(binDir) / source.substr(binMark.size())).string();
            } else {
                source = (base / source).string();
            }
            // Checked before anything is read: a folder would pack as an empty
            // file, and the setup's sizes are signed 32-bit numbers.
            std::error_code ignored;
            fs::file_status status = fs::status(source, ignored);
            if (fs::is_directory(status)) fail("source " + source + " is a folder, not a file");
            if (fs::is_regular_file(status)) {
                uintmax_t size = fs::file_size(source, ignored);
                if (!ignored && size > 2147483647u)
                    fail("source " + source + " has " + std::to_string(size) +
                         " bytes; the setup takes files of up to 2147483647 bytes");
            }
            manifest.files.push_back(FileRow{fields[1], source, fields.size() == 4, line});
        } else {
            fail("unknown row type '" + kind + "'");
        }
    }
    for (const FileSetRow& row : manifest.fileSet) {
        line = row.line;
        if (fileNames.count(row.resource) == 0) fail("no FILE row for " + row.resource);
        std::string group = row.tableRow.substr(row.resource.size() + 1);
        group = group.substr(0, group.find('|'));
        if (std::find(manifest.groups.begin(), manifest.groups.end(), group) == manifest.groups.end())
            warn("group " + group + " is not a FILEGROUP row: the setup installs only its own "
                 "groups, and this row perhaps never");
    }
    return manifest;
}
