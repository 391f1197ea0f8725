#include "engine/Uninstaller.h"

#include "engine/FileVersionInfo.h"
#include "engine/ResourceFile.h"
#include "foundation/RegistryKey.h"

const char* const uninstallerSubPath = "\\System\\TessalyUninstaller.exe";
const char* const currentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const uninstallKeyPrefix = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

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

ErrorHandle registerUninstaller(const String& applicationName, const String& logPath) {
    String commonFiles;
    ErrorHandle result = readCommonFilesDirectory(commonFiles);
    if (isFailure(result)) return result;
    // "<common files>\System\TessalyUninstaller.exe" "<log path>"
    String command("\"");
    command.append(commonFiles.text());
    command.append("\\System\\TessalyUninstaller.exe\" \"");
    command.append(logPath.text());
    command.append("\"");
    RegistryKey entry((String(uninstallKeyPrefix) + applicationName.text()).text(), 1);
    result = entry.writeText("DisplayName", applicationName.text());
    if (!isFailure(result)) result = entry.writeText("UninstallString", command.text());
    entry.close();
    return result;
}
