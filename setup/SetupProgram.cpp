#include "setup/SetupProgram.h"

#include "engine/InstallRun.h"
#include "engine/PathTrust.h"
#include "engine/Undo.h"
#include "foundation/ExitCodes.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RunLog.h"
#include "installlog/LogDigest.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "setup/FolderSelection.h"
#include "setup/ProductConstants.h"
#include "setup/ProductSettings.h"
#include "setup/SetupArguments.h"

namespace {

// Each outcome's exit code and how the run log names it, in the order of
// SetupOutcome.
struct Ending {
    int exitCode;
    const char* meaning;
};
const Ending endings[] = {
    {exitcode::success, "installed"},
    {exitcode::success, "help shown"},
    {exitcode::userCancelled, "cancelled by the user"},
    {exitcode::failed, "failed"},
    {exitcode::anotherRunning, "another setup is running"},
    {exitcode::failed, "unable to tell whether another setup is running"},
    {exitcode::alreadyInstalled, "already installed"},
    {exitcode::invalidCommandLine, "invalid command line"},
};

const char* const helpText =
    "VantorelSetup.exe [/S [/D=<folder>]] [/LOG[=<file>]]\n\n"
    "/S\t\tinstall without any question or box, into the Program Files folder\n"
    "/D=<folder>\twith /S: the installation folder itself\n"
    "/LOG=<file>\twrite a record of the run to the file\n"
    "/LOG\t\tthe same, into a dated file in %TEMP%\n"
    "/? or /HELP\tshow this box\n\n"
    "Exit codes:\n"
    "0\tinstalled\n"
    "1602\tcancelled by the user\n"
    "1603\tfailed; what was made has been removed again\n"
    "1618\tanother setup is running\n"
    "1638\ta version is already installed\n"
    "1639\tinvalid command line, or the log file cannot be created";

// Every report of a run goes through here: a silent run shows no box, and
// notes in its log what it would have shown.
bool silentRun = false;
void tell(const ErrorHandle& report) {
    if (silentRun)
        runlog::note("Not shown (silent): %s", reportText(report).text());
    else
        showReport(nullptr, product::caption, report);
}

void sayGoodbye() { tell(makeReport(SeverityInfo, "Have a nice day.", 0)); }

// Held from before the settings are read until the program ends.
class SetupLock {
public:
    SetupLock()
        : lock_(nullptr), status_(platform::claimInstanceLock(product::setupMutexName, &lock_)) {}
    ~SetupLock() { platform::releaseInstanceLock(lock_); }
    SetupLock(const SetupLock&) = delete;
    SetupLock& operator=(const SetupLock&) = delete;
    bool held() const { return lock_ != nullptr; }
    // Why it is not held: errAlreadyExists when another setup holds it.
    platform::Status status() const { return status_; }

private:
    platform::InstanceLock lock_;
    platform::Status status_;
};

// Closes the run log however the run ends.
struct RunLogKept {
    ~RunLogKept() { runlog::close(); }
};

// The recorded version when the product counts as installed, else empty text.
String installedVersion() {
    ProductSettings settings;
    String version = settings.readInstalledVersion();
    String path = settings.readInstallationPath();
    return path.isEmpty() ? String() : version;
}

bool folderPath(int csidl, String& path) {
    char buffer[platform::shellPathBytes];
    if (platform::specialFolderPath(csidl, buffer) != platform::statusOk) {
        runlog::note("The system gives no path for its folder %d.", csidl);
        return false;
    }
    path = buffer;
    return true;
}

void noteFolders(const String& installation, const String& shortcuts, const String& desktop) {
    runlog::note("Installation folder: %s\nShortcut group: %s\nDesktop: %s", installation.text(),
                 shortcuts.text(), desktop.text());
}

// The dialogue's run with the system's folders in place of the browsers.
SetupOutcome runSilentSetup(const SetupArguments& arguments) {
    String installationDirectory = arguments.installationDirectory;
    String shortcutParent, desktopDirectory;
    if (installationDirectory.isEmpty()) {
        if (!folderPath(platform::csidlProgramFiles, installationDirectory))
            return SetupOutcome::failed;
        installationDirectory.append(product::installationFolder);
    }
    if (!folderPath(platform::csidlPrograms, shortcutParent) ||
        !folderPath(platform::csidlDesktopDirectory, desktopDirectory))
        return SetupOutcome::failed;
    String shortcutDirectory = shortcutParent + product::installationFolder;
    noteFolders(installationDirectory, shortcutDirectory, desktopDirectory);
    ErrorHandle result = installProduct(installationDirectory, shortcutDirectory, desktopDirectory);
    if (!isFailure(result)) return SetupOutcome::installed;
    tell(result);
    return SetupOutcome::failed;
}

SetupOutcome runDialogue() {
    if (!askYesNo(nullptr, product::caption, "Do you wish to install Vantorel v0.94a?", false)) {
        sayGoodbye();
        return SetupOutcome::cancelled;
    }
    FolderChoice choice = chooseFolders();
    if (choice.outcome == FolderChoice::failed) {
        tell(choice.failure);
        return SetupOutcome::failed;
    }
    if (choice.outcome == FolderChoice::cancelled) {
        runlog::note("A folder browser was closed without a choice.");
        return SetupOutcome::cancelled;
    }
    noteFolders(choice.installationDirectory, choice.shortcutDirectory, choice.desktopDirectory);
    String question;
    question.format("Install Vantorel to '%s'?", choice.installationDirectory.text());
    if (!askYesNo(nullptr, product::caption, question.text(), false)) {
        sayGoodbye();
        return SetupOutcome::cancelled;
    }
    return runSetup(choice.installationDirectory, choice.shortcutDirectory,
                    choice.desktopDirectory)
               ? SetupOutcome::installed
               : SetupOutcome::failed;
}

// Opens the log that /LOG asked for; false when it cannot be created.
bool openRunLog(const SetupArguments& arguments) {
    String path = arguments.logFile;
    platform::Status status = path.isEmpty()
                                  ? runlog::openInTemporaryFolder("Vantorel Setup", path)
                                  : runlog::open(path.text());
    if (status == platform::statusOk) return true;
    String message;
    message.format("The log file \"%s\" cannot be created: %s", path.text(),
                   lastSystemError().message().text());
    tell(makeError(message));
    return false;
}

SetupOutcome runWithArguments(const SetupArguments& arguments, const char* commandLine) {
    if (arguments.log) {
        if (!openRunLog(arguments)) return SetupOutcome::invalidCommandLine;
        runlog::note("Setup Vantorel %s\nCommand line: %s", product::version, commandLine);
    }
    platform::initializeComponents();
    SetupLock lock;
    if (!lock.held()) {
        if (lock.status() == platform::errAlreadyExists) {
            tell(makeError("Another setup of Vantorel is running.\n"
                           "Wait until it has finished, then start this one again."));
            return SetupOutcome::anotherSetupRunning;
        }
        String message;
        message.format("Unable to tell whether another setup of Vantorel is running: %s",
                       systemReason(lock.status()).text());
        tell(makeError(message));
        return SetupOutcome::lockUnavailable;
    }
    String version = installedVersion();
    if (!version.isEmpty()) {
        String message;
        message.format("Vantorel version %s is already installed.\n"
                       "It must be uninstalled before you can install version v0.94a.\n",
                       version.text());
        tell(makeError(message));
        return SetupOutcome::alreadyInstalled;
    }
    return arguments.silent ? runSilentSetup(arguments) : runDialogue();
}

}  // namespace

int exitCodeOf(SetupOutcome outcome) { return endings[static_cast<int>(outcome)].exitCode; }

ErrorHandle installProduct(const String& installationDirectory, const String& shortcutDirectory,
                           const String& desktopDirectory) {
    InstallSet set;
    ErrorHandle result = set.parseInstallSet(product::installSetPrefix);
    if (!isFailure(result)) result = set.checkPackedResources();
    if (isFailure(result)) return result;
    GroupList groupsToInstall(8, false);
    groupsToInstall.append(product::groupToInstall);
    FileLocations locations;
    locations.setLocationValue("%APP%", installationDirectory);
    locations.setLocationValue("%SHORTCUT%", shortcutDirectory);
    locations.setLocationValue("%DESKTOP%", desktopDirectory);
    set.setLocations(locations);
    set.log.applicationName = product::applicationName;
    AppsEntry apps;
    apps.displayVersion = product::displayVersion;
    apps.publisher = product::publisher;
    apps.displayIcon = product::displayIcon;
    result = runInstall(set, groupsToInstall, product::productName, apps);
    if (!isFailure(result))
        result = ProductSettings().recordInstallation(installationDirectory, logDigest(set.log));
    // Finished means sealed and recorded. Short of that the Uninstall entry
    // would only start an uninstaller that refuses the log, so whatever
    // failed, the run's record is undone whole. The user is shown what
    // failed; what the undo met is of no further use to them, only to the
    // run log's reader.
    if (isFailure(result)) {
        runlog::note("The installation failed: %s\nUndoing what it made.", result.message().text());
        ErrorHandle undo = undoUnfinishedInstallation(set.log);
        if (isFailure(undo))
            runlog::note("The undo stopped: %s", undo.message().text());
        else
            runlog::note("The undo is complete.");
    }
    return result;
}

bool runSetup(const String& installationDirectory, const String& shortcutDirectory,
              const String& desktopDirectory) {
    ErrorHandle result = installProduct(installationDirectory, shortcutDirectory, desktopDirectory);
    if (isFailure(result)) {
        tell(result);
        return false;
    }
    if (askYesNo(nullptr, product::caption,
                 "Installation is complete.\nDo you wish to view the HTML documentation now?",
                 true)) {
        String page = installationDirectory + product::documentationPage;
        // Handed to the shell as administrator: only when no folder on its way,
        // nor the page, was made a link while the question waited.
        if (crossesReparsePoint(page)) {
            String message;
            message.format("The documentation \"%s\" was not opened: a junction or link lies on its way.",
                           page.text());
            tell(makeError(message));
        } else if (platform::shellExecute("open", page.text()) != platform::statusOk) {
            tell(makeError("Unable to launch browser."));
        }
    }
    return true;
}

int runSetupProgram(const char* commandLine) {
    // A script that asked for something we do not know gets nothing done and
    // no box that would wait for a person who is not there.
    SetupArguments arguments = parseSetupArguments(commandLine);
    if (!arguments.valid) return exitCodeOf(SetupOutcome::invalidCommandLine);
    if (arguments.help) {
        int answer = 0;
        platform::messageBox(helpText, product::caption,
                             platform::mbOk | platform::mbIconInformation, &answer);
        return exitCodeOf(SetupOutcome::helpShown);
    }
    silentRun = arguments.silent;
    RunLogKept logKept;
    SetupOutcome outcome = runWithArguments(arguments, commandLine);
    silentRun = false;
    const Ending& ending = endings[static_cast<int>(outcome)];
    runlog::note("Result: %s, exit code %d", ending.meaning, ending.exitCode);
    return ending.exitCode;
}
