#include "uninstaller/Removal.h"

#include <cstring>

#include "engine/FileDeletion.h"
#include "engine/PathNames.h"
#include "engine/PathTrust.h"
#include "engine/Undo.h"
#include "foundation/RegistryKey.h"
#include "platform/Status.h"
#include "uninstaller/LogTrust.h"

namespace {

void addProblem(RemovalReport& report, const String& what, const String& why) {
    report.problems.append(what.text());
    report.problems.append(": ");
    String reason = why;
    reason.trimRight();  // system texts end with a line break of their own
    report.problems.append(reason.text());
    report.problems.append("\n");
}

}  // namespace

bool insideLocation(const String& path, const String& base, String& why) {
    if (!isPlainPath(base)) {
        why = "its location is not a plain folder path";
        return false;
    }
    if (!isPlainPath(path)) {
        why = "it is not a plain path";
        return false;
    }
    if (!isBelow(path, base)) {
        why = String("it does not lie inside ") + base.text() + "\\";
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
        // Checked right before the deletion, after the files before it went.
        if (crossesReparsePoint(record.path)) {
            addProblem(report, record.path, "not removed, a junction or link lies on its way");
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
        if (!mayDeleteKey(record, log.applicationName)) {
            addProblem(report, name, "not removed, not a key of this product");
            continue;
        }
        String parent, key;
        splitPath(record.key, parent, key);
        parent.trimRight('\\');
        // A missing parent means the key is gone already; making the parent
        // just to find that out would leave a key behind.
        RegistryKey holder(parent.text(), root, RegistryKey::existingOnly);
        if (!holder.isOpen()) {
            ++report.removedKeys;
            continue;
        }
        ErrorHandle result = holder.deleteSubKey(key.text());
        holder.close();
        if (isFailure(result))
            addProblem(report, name, result.message());
        else
            ++report.removedKeys;
    }
    return report;
}
