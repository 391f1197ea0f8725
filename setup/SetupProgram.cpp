#include "setup/SetupProgram.h"

#include "engine/InstallLogDigest.h"
#include "engine/InstallRun.h"
#include "engine/Undo.h"
#include "foundation/ErrorReport.h"
#include "platform/platform.h"
#include "setup/FolderSelection.h"
#include "setup/ProductConstants.h"
#include "setup/ProductSettings.h"

namespace {

void sayGoodbye() {
    showReport(nullptr, product::caption, makeReport(SeverityInfo, "Have a nice day.", 0));
}

}  // namespace

void runSetup(const String& installationDirectory, const String& shortcutDirectory,
              const String& desktopDirectory) {
    ErrorHandle result;
    {
        InstallSet set;
        result = set.parseInstallSet(product::installSetPrefix);
        if (!isFailure(result)) result = set.checkPackedResources();
        if (!isFailure(result)) {
            GroupList groupsToInstall(8, false);
            groupsToInstall.append(product::groupToInstall);
            FileLocations locations;
            locations.setLocationValue("%APP%", installationDirectory);
            locations.setLocationValue("%SHORTCUT%", shortcutDirectory);
            locations.setLocationValue("%DESKTOP%", desktopDirectory);
            set.setLocations(locations);
            set.log.applicationName = product::applicationName;
            result = runInstall(set, groupsToInstall, product::productName);
            // The user is shown the run's failure; what the undo met is of no
            // further use to them.
            if (isFailure(result)) undoInstallation(set.log);
        }
    }
    if (!isFailure(result)) result = ProductSettings().recordInstallation(installationDirectory);
    // Last, once the log will not be written again.
    if (!isFailure(result))
        result = storeLogDigest(product::applicationName,
                                installationDirectory + "\\" + product::productName + ".gus");
    if (isFailure(result)) {
        showReport(nullptr, product::caption, result);
        return;
    }
    if (askYesNo(nullptr, product::caption,
                 "Installation is complete.\nDo you wish to view the HTML documentation now?",
                 true)) {
        String page = installationDirectory + product::documentationPage;
        if (platform::shellExecute("open", page.text()) <= 32)
            showReport(nullptr, product::caption, makeError("Unable to launch browser."));
    }
}

int runSetupProgram() {
    platform::initializeComponents();
    {
        ProductSettings settings;
        String version = settings.readInstalledVersion();
        String path = settings.readInstallationPath();
        if (!version.isEmpty() && !path.isEmpty()) {
            String message;
            message.format("Vantorel version %s is already installed.\n"
                           "It must be uninstalled before you can install version v0.94a.\n",
                           version.text());
            showReport(nullptr, product::caption, makeError(message));
            return 0;
        }
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
