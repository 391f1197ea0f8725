// One registry key under the current user (root 0) or the local machine
// (root 1), opened or created; text values, and numbers where Windows
// expects a REG_DWORD.
#pragma once

#include <cstdint>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

class RegistryKey {
public:
    // Keys are created when missing, unless only an existing key will do (a
    // key opened to delete below it, or to check what an installation left).
    enum Opening { createMissing, existingOnly };
    RegistryKey(const char* keyPath, int root, Opening opening = createMissing);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool isOpen() const { return handle_ != nullptr; }
    void close();
    ErrorHandle readText(const char* valueName, String& value);
    ErrorHandle writeText(const char* valueName, const char* value);
    ErrorHandle writeNumber(const char* valueName, uint32_t value);
    ErrorHandle deleteSubKey(const char* subKeyName);

private:
    void* handle_;
    String path_;  // the root's name and the key's path, for the run log
};

// The registry root of a recorded area (1 local machine, 0 current user), or
// -1 for any other text.
int registryRootOf(const String& area);
