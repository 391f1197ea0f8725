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
    // Completes the install log with the product's registry keys, then
    // records "InstallationPath" and "Version".
    ErrorHandle recordInstallation(const String& installationDirectory) const;

    const String companyKeyPath;
    const String productKeyPath;
    const String settingsSubKeyName;

private:
    String readValue(const char* name) const;
};
