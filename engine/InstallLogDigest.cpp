#include "engine/InstallLogDigest.h"

#include "engine/Uninstaller.h"
#include "foundation/RegistryKey.h"
#include "installlog/LogDigest.h"

ErrorHandle storeLogDigest(const String& applicationName, const String& logPath) {
    FileBytes log;
    ErrorHandle result = log.read(logPath);
    if (isFailure(result)) return result;
    String digest = digestText(log.data(), log.size());
    if (digest.isEmpty()) return makeError("Unable to compute the install log's digest");
    // The entry was made by the run; a missing one is made again rather than
    // leaving the log without a digest the uninstaller can find.
    RegistryKey entry(uninstallKeyPath(applicationName).text(), 1);
    result = entry.writeText(logDigestValueName, digest.text());
    entry.close();
    return result;
}
