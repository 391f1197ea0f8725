#include "engine/UninstallerDeployment.h"

#include "engine/FileVersionInfo.h"
#include "engine/ResourceFile.h"
#include "foundation/RegistryKey.h"

const char* const uninstallerSubPath = "\\System\\TessalyUninstaller.exe";
const char* const currentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const uninstallKeyPrefix = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

String uninstallKeyPath(const String& applicationName) {
    return String(uninstallKeyPrefix) + applicationName.text();
}

namespace {

const uint32_t carriedVersionHigh = 0x00010000;  // 1.0
const uint32_t carriedVersionLow = 0x00000001;   // .0.1

// A copy at least as new as ours serves every product that shares it.
bool keepsExisting(const FileVersionInfo& info) {
    uint32_t high = info.fileVersionMS();
    uint32_t low = info.fileVersionLS();
    return high > carriedVersionHigh || (high == carriedVersionHigh && low >= carriedVersionLow);
}

}  // namespace

ErrorHandle readCommonFilesDirectory(String& directory) {
    RegistryKey system(currentVersionKey, 1);
    ErrorHandle result = system.readText("CommonFilesDir", directory);
    system.close();
    return result;
}

ErrorHandle deployUninstaller() {
    String commonFiles;
    ErrorHandle result = readCommonFilesDirectory(commonFiles);
    if (isFailure(result)) return result;
    String path = commonFiles + uninstallerSubPath;
    FileVersionInfo info;
    if (isFailure(info.readVersionInfo(path)) || !keepsExisting(info))
        return installResourceFile("TESSALY_UNINSTALLER", path);
    return noError();
}

ErrorHandle registerUninstaller(const String& applicationName, const String& logPath,
                                const AppsEntry& apps) {
    String commonFiles;
    ErrorHandle result = readCommonFilesDirectory(commonFiles);
    if (isFailure(result)) return result;
    // "<common files>\System\TessalyUninstaller.exe" "<log path>"
    String program("\"");
    program.append(commonFiles.text());
    program.append("\\System\\TessalyUninstaller.exe\" ");
    String quotedLog = String("\"") + logPath.text() + "\"";
    String command = program + quotedLog.text();
    String quietCommand = program + "/S " + quotedLog.text();
    RegistryKey entry(uninstallKeyPath(applicationName).text(), 1);
    // The first failure stops the rest; the key is recorded already, so the
    // undo removes whatever was written before it.
    struct Text { const char* name; const String& value; } texts[] = {
        {"DisplayName", applicationName},     {"UninstallString", command},
        {"QuietUninstallString", quietCommand}, {"DisplayVersion", apps.displayVersion},
        {"Publisher", apps.publisher},        {"DisplayIcon", apps.displayIcon},
        {"InstallLocation", apps.installLocation},
    };
    for (const Text& text : texts) {
        result = entry.writeText(text.name, text.value.text());
        if (isFailure(result)) break;
    }
    // Windows offers to change or repair a program only through its own
    // setup; this one can do neither, so it says so.
    if (!isFailure(result)) result = entry.writeNumber("EstimatedSize", apps.estimatedSizeKb);
    if (!isFailure(result)) result = entry.writeNumber("NoModify", 1);
    if (!isFailure(result)) result = entry.writeNumber("NoRepair", 1);
    entry.close();
    return result;
}
