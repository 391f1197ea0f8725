#include "uninstaller/UninstallProgram.h"

#include "foundation/ErrorReport.h"
#include "foundation/ExitCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RunLog.h"
#include "installlog/InstallLog.h"
#include "installlog/LogDigest.h"
#include "platform/Dialogs.h"
#include "uninstaller/LogArgument.h"
#include "uninstaller/LogTrust.h"
#include "uninstaller/Removal.h"

namespace {
const char* const caption = "Uninstall";
const char* const versionText = "Tessaly Uninstaller 1.0.0.1";  // as its version resource says

const char* const helpText =
    "TessalyUninstaller.exe [/S] [/LOG[=<file>]] \"<install log>\"\n\n"
    "/S\t\tremove without the question and the closing box\n"
    "/LOG=<file>\twrite a record of the run to the file\n"
    "/LOG\t\tthe same, into a dated file in %TEMP%\n"
    "/? or /HELP\tshow this box\n\n"
    "Exit codes:\n"
    "0\tremoved\n"
    "1602\tcancelled by the user\n"
    "1603\tnothing removed (the log was refused), or not all of it\n"
    "1639\tinvalid command line, or the log file cannot be created";

// Every box of the uninstaller goes through here, so that a silent removal
// can never stop to wait for a person; what it would have shown goes to the
// run log instead.
bool quiet = false;
void tell(const ErrorHandle& report) {
    if (quiet)
        runlog::note("Not shown (silent): %s", reportText(report).text());
    else
        showReport(nullptr, caption, report);
}

int finish(int exitCode, const char* meaning) {
    runlog::note("Result: %s, exit code %d", meaning, exitCode);
    return exitCode;
}
}  // namespace

int runUninstallProgram(const char* logPath, bool silent) {
    quiet = silent;
    if (logPath == nullptr || logPath[0] == '\0') {
        tell(makeError("No install log was given. Start the uninstaller with the path of "
                       "the product's install log (the .gus file) as its argument."));
        return finish(exitcode::invalidCommandLine, "no install log given");
    }
    runlog::note("Install log: %s", logPath);
    // The bytes are read once: the digest is checked on exactly what is
    // parsed, and before a line is parsed, so that an edited log, however
    // large, costs no more than reading and hashing it.
    FileBytes bytes;
    InstallLog log;
    ErrorHandle read = bytes.read(logPath);
    if (isFailure(read)) {
        tell(makeError(read.message() + "\nNothing was removed."));
        return finish(exitcode::failed, "the install log cannot be read");
    }
    ErrorHandle trust = checkRegistration(logPath, bytes.data(), bytes.size(),
                                          logApplicationName(bytes.data(), bytes.size()));
    if (isFailure(trust)) {
        tell(trust);
        return finish(exitcode::failed, "the install log was refused");
    }
    read = log.readLogText(bytes.data(), bytes.size());
    if (isFailure(read)) {
        tell(makeError(read.message() + "\nNothing was removed."));
        return finish(exitcode::failed, "the install log cannot be read");
    }
    trust = checkLocations(log, logPath, SystemFolders::ofThisMachine());
    if (!isFailure(trust)) trust = checkWays(log);
    if (isFailure(trust)) {
        tell(trust);
        return finish(exitcode::failed, "the install log was refused");
    }
    String question;
    question.format("Do you wish to remove %s and all of its components?",
                    log.applicationName.text());
    if (!silent && !askYesNo(nullptr, caption, question.text(), false))
        return finish(exitcode::userCancelled, "cancelled by the user");
    // The question may have waited a long time: the folders are checked again.
    trust = checkWays(log);
    if (isFailure(trust)) {
        tell(trust);
        return finish(exitcode::failed, "the install log was refused");
    }

    RemovalReport report = removeInstallation(log);
    if (report.problems.isEmpty()) {
        String done;
        done.format("%s was removed.", log.applicationName.text());
        tell(makeReport(SeverityInfo, done, 0));
        return finish(exitcode::success, "removed");
    }
    String message;
    message.format("%s was removed, except for what follows:\n", log.applicationName.text());
    message.append(report.problems.text());
    tell(makeError(message));
    return finish(exitcode::failed, "not all was removed");
}

int runUninstaller(const char* commandLine) {
    if (commandLine == nullptr) return exitcode::invalidCommandLine;
    UninstallArguments arguments = parseUninstallArguments(commandLine);
    if (!arguments.valid) return exitcode::invalidCommandLine;
    if (arguments.help) {
        int answer = 0;
        platform::messageBox(helpText, caption, platform::mbOk | platform::mbIconInformation,
                             &answer);
        return exitcode::success;
    }
    if (arguments.log) {
        String path = arguments.logFile;
        platform::Status status = path.isEmpty()
                                      ? runlog::openInTemporaryFolder("Tessaly Uninstaller", path)
                                      : runlog::open(path.text());
        if (status != platform::statusOk) {
            String message;
            message.format("The log file \"%s\" cannot be created: %s", path.text(),
                           lastSystemError().message().text());
            quiet = arguments.silent;
            tell(makeError(message));
            return exitcode::invalidCommandLine;
        }
        runlog::note("%s\nCommand line: %s", versionText, commandLine);
    }
    int exitCode = runUninstallProgram(
        arguments.installLog.isEmpty() ? nullptr : arguments.installLog.text(), arguments.silent);
    runlog::close();
    return exitCode;
}
