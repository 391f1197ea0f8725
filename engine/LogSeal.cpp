#include "engine/LogSeal.h"

#include "engine/UninstallerDeployment.h"
#include "foundation/RegistryKey.h"
#include "installlog/InstallLog.h"
#include "installlog/LogDigest.h"

ErrorHandle storeLogDigest(const InstallLog& log) {
    String digest = logDigest(log);
    if (digest.isEmpty()) return makeError("Unable to compute the install log's digest");
    // The entry was made by the run; a missing one is made again rather than
    // leaving the log without a digest the uninstaller can find.
    RegistryKey entry(uninstallKeyPath(log.applicationName).text(), 1);
    ErrorHandle result = entry.writeText(logDigestValueName, digest.text());
    entry.close();
    return result;
}
