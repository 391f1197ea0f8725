// A file's version resource, through the version library
// (GetFileVersionInfoSizeA, GetFileVersionInfoA, VerQueryValueA). Results
// follow platform/Status.h.
#pragma once

#include <cstdint>

#include "platform/Status.h"

namespace platform {

Status fileVersionInfoSize(const char* path, uint32_t* size);
Status fileVersionInfo(const char* path, uint32_t size, void* block);
Status versionQueryValue(const void* block, const char* subBlock, const void** value,
                         uint32_t* length);

}  // namespace platform
