#include "uninstaller/UninstallProgram.h"

#include "foundation/ErrorReport.h"
#include "foundation/MessageBoxes.h"
#include "installlog/InstallLog.h"
#include "installlog/LogDigest.h"
#include "uninstaller/LogTrust.h"
#include "uninstaller/Removal.h"

namespace {
const char* const caption = "Uninstall";

// Every box of the uninstaller goes through here, so that a silent removal
// can never stop to wait for a person.
bool quiet = false;
void tell(const ErrorHandle& report) {
    if (!quiet) showReport(nullptr, caption, report);
}
}  // namespace

int runUninstallProgram(const char* logPath, bool silent) {
    quiet = silent;
    if (logPath == nullptr || logPath[0] == '\0') {
        tell(makeError("No install log was given. Start the uninstaller with the path of "
                       "the product's install log (the .gus file) as its argument."));
        return 1;
    }
    // The bytes are read once: the digest is checked on exactly what is
    // parsed, and before a line is parsed, so that an edited log, however
    // large, costs no more than reading and hashing it.
    FileBytes bytes;
    InstallLog log;
    ErrorHandle read = bytes.read(logPath);
    if (isFailure(read)) {
        tell(makeError(read.message() + "\nNothing was removed."));
        return 1;
    }
    ErrorHandle trust = checkRegistration(logPath, bytes.data(), bytes.size(),
                                          logApplicationName(bytes.data(), bytes.size()));
    if (isFailure(trust)) {
        tell(trust);
        return 1;
    }
    read = log.readLogText(bytes.data(), bytes.size());
    if (isFailure(read)) {
        tell(makeError(read.message() + "\nNothing was removed."));
        return 1;
    }
    trust = checkLocations(log, logPath, SystemFolders::ofThisMachine());
    if (!isFailure(trust)) trust = checkWays(log);
    if (isFailure(trust)) {
        tell(trust);
        return 1;
    }
    String question;
    question.format("Do you wish to remove %s and all of its components?",
                    log.applicationName.text());
    if (!silent && !askYesNo(nullptr, caption, question.text(), false)) return 0;
    // The question may have waited a long time: the folders are checked again.
    trust = checkWays(log);
    if (isFailure(trust)) {
        tell(trust);
        return 1;
    }

    RemovalReport report = removeInstallation(log);
    if (report.problems.isEmpty()) {
        String done;
        done.format("%s was removed.", log.applicationName.text());
        tell(makeReport(SeverityInfo, done, 0));
        return 0;
    }
    String message;
    message.format("%s was removed, except for what follows:\n", log.applicationName.text());
    message.append(report.problems.text());
    tell(makeError(message));
    return 1;
}
