// The product's own settings under the current user: which version is
// installed, and where.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

class ProductSettings {
public:
    ProductSettings();

    // Empty text when the value cannot be read (the product is not installed).
    String readInstalledVersion() const;
    String readInstallationPath() const;
    // Completes the install log with the product's registry keys, seals it,
    // then records "InstallationPath" and "Version"; should either value
    // fail, neither stays. writtenLogDigest is the logDigest of the log the
    // install run wrote: the log read back must be that one.
    ErrorHandle recordInstallation(const String& installationDirectory,
                                   const String& writtenLogDigest) const;

    const String companyKeyPath;
    const String productKeyPath;
    const String settingsSubKeyName;

private:
    String readValue(const char* name) const;
};
