#include "setup/SetupProgram.h"

#include "engine/InstallRun.h"
#include "engine/PathTrust.h"
#include "engine/Undo.h"
#include "foundation/MessageBoxes.h"
#include "installlog/LogDigest.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "setup/FolderSelection.h"
#include "setup/ProductConstants.h"
#include "setup/ProductSettings.h"
#include "setup/SetupArguments.h"

namespace {

void sayGoodbye() {
    showReport(nullptr, product::caption, makeReport(SeverityInfo, "Have a nice day.", 0));
}

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

// The recorded version when the product counts as installed, else empty text.
String installedVersion() {
    ProductSettings settings;
    String version = settings.readInstalledVersion();
    String path = settings.readInstallationPath();
    return path.isEmpty() ? String() : version;
}

bool folderPath(int csidl, String& path) {
    char buffer[platform::shellPathBytes];
    if (platform::specialFolderPath(csidl, buffer) != platform::statusOk) return false;
    path = buffer;
    return true;
}

// The dialogue's run with the system's folders in place of the browsers.
int runSilentSetup(const SetupArguments& arguments) {
    if (!installedVersion().isEmpty()) return exitRefused;
    String installationDirectory = arguments.installationDirectory;
    String shortcutParent, desktopDirectory;
    if (installationDirectory.isEmpty()) {
        if (!folderPath(platform::csidlProgramFiles, installationDirectory)) return exitFailed;
        installationDirectory.append(product::installationFolder);
    }
    if (!folderPath(platform::csidlPrograms, shortcutParent) ||
        !folderPath(platform::csidlDesktopDirectory, desktopDirectory))
        return exitFailed;
    ErrorHandle result = installProduct(installationDirectory,
                                        shortcutParent + product::installationFolder,
                                        desktopDirectory);
    return isFailure(result) ? exitFailed : exitInstalled;
}

}  // namespace

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
    // failed; what the undo met is of no further use to them.
    if (isFailure(result)) undoUnfinishedInstallation(set.log);
    return result;
}

void runSetup(const String& installationDirectory, const String& shortcutDirectory,
              const String& desktopDirectory) {
    ErrorHandle result = installProduct(installationDirectory, shortcutDirectory, desktopDirectory);
    if (isFailure(result)) {
        showReport(nullptr, product::caption, result);
        return;
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
            showReport(nullptr, product::caption, makeError(message));
        } else if (platform::shellExecute("open", page.text()) != platform::statusOk) {
            showReport(nullptr, product::caption, makeError("Unable to launch browser."));
        }
    }
}

int runSetupProgram(const char* commandLine) {
    // A script that asked for something we do not know gets nothing done and
    // no box that would wait for a person who is not there.
    SetupArguments arguments = parseSetupArguments(commandLine);
    if (!arguments.valid) return exitFailed;
    platform::initializeComponents();
    SetupLock lock;
    if (!lock.held()) {
        if (arguments.silent) return exitFailed;
        if (lock.status() == platform::errAlreadyExists) {
            showReport(nullptr, product::caption,
                       makeError("Another setup of Vantorel is running.\n"
                                 "Wait until it has finished, then start this one again."));
        } else {
            String message;
            message.format("Unable to tell whether another setup of Vantorel is running: %s",
                           systemReason(lock.status()).text());
            showReport(nullptr, product::caption, makeError(message));
        }
        return 0;
    }
    if (arguments.silent) return runSilentSetup(arguments);
    String version = installedVersion();
    if (!version.isEmpty()) {
        String message;
        message.format("Vantorel version %s is already installed.\n"
                       "It must be uninstalled before you can install version v0.94a.\n",
                       version.text());
        showReport(nullptr, product::caption, makeError(message));
        return 0;
    }
    if (!askYesNo(nullptr, product::caption, "Do you wish to install Vantorel v0.94a?", false)) {
        sayGoodbye();
        return 0;
    }
    FolderChoice choice = chooseFolders();
    if (choice.outcome == FolderChoice::failed) {
        showReport(nullptr, product::caption, choice.failure);
        return 0;
    }
    if (choice.outcome == FolderChoice::cancelled) return 0;
    String question;
    question.format("Install Vantorel to '%s'?", choice.installationDirectory.text());
    if (!askYesNo(nullptr, product::caption, question.text(), false)) {
        sayGoodbye();
        return 0;
    }
    runSetup(choice.installationDirectory, choice.shortcutDirectory, choice.desktopDirectory);
    return 0;
}
