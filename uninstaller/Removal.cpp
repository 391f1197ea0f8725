#include "uninstaller/Removal.h"

#include <cstring>

#include "engine/FileDeletion.h"
#include "engine/PathNames.h"
#include "engine/Undo.h"
#include "foundation/RegistryKey.h"

namespace {

void addProblem(RemovalReport& report, const String& what, const String& why) {
    report.problems.append(what.text());
    report.problems.append(": ");
    String reason = why;
    reason.trimRight();  // system texts end with a line break of their own
    report.problems.append(reason.text());
    report.problems.append("\n");
}

bool hasDotDot(const String& path) {
    const char* p = path.text();
    for (const char* part = p; *part != '\0';) {
        const char* end = std::strchr(part, '\\');
        size_t n = end != nullptr ? static_cast<size_t>(end - part) : std::strlen(part);
        if (n == 2 && part[0] == '.' && part[1] == '.') return true;
        if (end == nullptr) break;
        part = end + 1;
    }
    return false;
}

}  // namespace

bool insideLocation(const String& path, const String& base, String& why) {
    String directory = base;
    directory.trimRight('\\');
    // A log could be edited to make a whole drive the product's directory.
    if (directory.length() < 3 || directory.text()[1] != ':' || directory.text()[2] != '\\') {
        why = "its location is not a directory the setup creates";
        return false;
    }
    directory.append("\\");
    if (hasDotDot(path) ||
        path.length() <= directory.length() ||
        compareNoCase(path.text(), directory.text(), directory.length()) != 0) {
        why = String("it does not lie inside ") + directory.text();
        return false;
    }
    return true;
}

RemovalReport removeInstallation(const InstallLog& log) {
    RemovalReport report;
    for (int32_t i = 0; i < log.installedFiles.size(); ++i) {
        const InstalledFileRecord& record = log.installedFiles[i];
        String base = log.locations.locationValue(record.location.text());
        String why;
        if (!insideLocation(record.path, base, why)) {
            addProblem(report, record.path, String("not removed, ") + why.text());
            continue;
        }
        ErrorHandle result =
            deleteFileAndDirectories(record.path, base, removesBase(record.location));
        if (isFailure(result))
            addProblem(report, record.path, result.message());
        else
            ++report.removedFiles;
    }
    for (int32_t i = 0; i < log.registryKeys.size(); ++i) {
        const RegistryKeyRecord& record = log.registryKeys[i];
        String name = String(record.area) + "\\" + record.key.text();
        int root = registryRootOf(record.area);
        if (root < 0) {
            addProblem(report, name, "not removed, unknown registry area");
            continue;
        }
        String parent, key;
        splitPath(record.key, parent, key);
        if (key.isEmpty()) {
            addProblem(report, name, "not removed, not a sub-key");
            continue;
        }
        RegistryKey holder(parent.text(), root);
        ErrorHandle result = holder.deleteSubKey(key.text());
        holder.close();
        if (isFailure(result))
            addProblem(report, name, result.message());
        else
            ++report.removedKeys;
    }
    return report;
}
