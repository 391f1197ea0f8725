#include "setup/ProductSettings.h"

#include <cstring>

#include "engine/LogSeal.h"
#include "foundation/RegistryKey.h"
#include "installlog/InstallLog.h"
#include "installlog/LogDigest.h"
#include "setup/ProductConstants.h"

ProductSettings::ProductSettings()
    : companyKeyPath("Software\\Hollowmere"),
      productKeyPath(companyKeyPath + "\\Vantorel"),
      settingsSubKeyName("ScreenSaver") {}

String ProductSettings::readValue(const char* name) const {
    RegistryKey key(productKeyPath.text(), 0);
    String value;
    if (isFailure(key.readText(name, value))) value = "";
    key.close();
    return value;
}

String ProductSettings::readInstalledVersion() const { return readValue("Version"); }

String ProductSettings::readInstallationPath() const { return readValue("InstallationPath"); }

ErrorHandle ProductSettings::recordInstallation(const String& installationDirectory,
                                                const String& writtenLogDigest) const {
    InstallLog log;
    // The install run wrote "Vantorel.gus"; names compare without regard to case.
    String logPath = installationDirectory + "\\Vantorel.GUS";
    ErrorHandle result = log.readLogFile(logPath);
    // The installation folder may be writable by a standard user, who could
    // slip lines into the log between the install run's write and this read:
    // sealed below, they would have the uninstaller remove what they name
    // with administrator rights. So the record read must be the one written.
    if (!isFailure(result)) {
        String readBack = logDigest(log);
        if (readBack.isEmpty()) {
            result = makeError("Unable to compute the install log's digest");
        } else if (std::strcmp(readBack.text(), writtenLogDigest.text()) != 0) {
            String message;
            message.format("The install log \"%s\" was changed during the installation.",
                           logPath.text());
            result = makeError(message);
        }
    }
    if (!isFailure(result)) {
        // The sub-key first, so that a remover deleting in list order takes
        // the child before its parent.
        log.addRegistryKey("HKEY_CURRENT_USER",
                           productKeyPath + "\\" + settingsSubKeyName.text());
        log.addRegistryKey("HKEY_CURRENT_USER", productKeyPath);
        result = log.writeLogFile(logPath);
    }
    // The log is final now: seal it for the uninstaller before the values
    // below make the product count as installed. Were the seal missing after
    // them, the uninstaller would refuse the log while the setup refused to
    // run again, and the product could be neither removed nor reinstalled.
    if (!isFailure(result)) result = storeLogDigest(log);
    if (!isFailure(result)) {
        RegistryKey key(productKeyPath.text(), 0);
        result = key.writeText("InstallationPath", installationDirectory.text());
        keepWorst(result, key.writeText("Version", product::version));
        // Half recorded is not recorded: the installation is undone, and
        // these go with it.
        if (isFailure(result)) {
            key.deleteValue("InstallationPath");
            key.deleteValue("Version");
        }
        key.close();
    }
    return result;
}
