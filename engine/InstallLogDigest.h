// The setup's seal on the finished log: the digest of the finished install log goes into the
// product's Uninstall entry, where the uninstaller checks the log against it.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// Digests the log as it now lies on disk and stores the digest as
// "InstallLogSHA256" in the Uninstall entry of applicationName.
ErrorHandle storeLogDigest(const String& applicationName, const String& logPath);
