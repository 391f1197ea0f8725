// Registry keys and their values under the current user and the local
// machine, as RegCreateKeyExA and friends give them. Results follow
// platform/Status.h; the registry's own results are already such codes.
#pragma once

#include <cstdint>

#include "platform/Status.h"

namespace platform {

enum : uint32_t { regSz = 1, regDword = 4 };
enum : int { rootCurrentUser = 0, rootLocalMachine = 1 };
typedef void* RegHandle;

Status regCreateKey(int root, const char* path, RegHandle* key);
// RegOpenKeyExA: an existing key only, never created (errFileNotFound when it
// is missing). Removing something must not leave behind a key it had to make.
Status regOpenKey(int root, const char* path, RegHandle* key);
// With data null only the size is returned, as RegQueryValueExA does.
Status regQueryValue(RegHandle key, const char* name, uint32_t* type, unsigned char* data,
                     uint32_t* size);
Status regSetValue(RegHandle key, const char* name, uint32_t type, const unsigned char* data,
                   uint32_t size);
Status regDeleteKey(RegHandle key, const char* subKey);
// RegDeleteValue: errFileNotFound when there is no such value.
Status regDeleteValue(RegHandle key, const char* name);
void regCloseKey(RegHandle key);

}  // namespace platform
