// The Windows error codes the host model sets as the last system error, so
// that what the setup reports reads as it does on Windows.
#pragma once

#include <cstdint>

namespace platform {
namespace host {
const uint32_t errFileNotFound = 2;
const uint32_t errPathNotFound = 3;
const uint32_t errAccessDenied = 5;
const uint32_t errSharingViolation = 32;
const uint32_t errFileExists = 80;
const uint32_t errDiskFull = 112;
const uint32_t errAlreadyExists = 183;
const uint32_t errDirectoryName = 267;
}  // namespace host
}  // namespace platform
