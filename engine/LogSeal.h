// The setup's seal on the finished log: the digest of the finished install log goes into the
// product's Uninstall entry, where the uninstaller checks the log against it.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

class InstallLog;

// Stores the digest of the file just written from log as "InstallLogSHA256"
// in the Uninstall entry of the log's application.
ErrorHandle storeLogDigest(const InstallLog& log);
