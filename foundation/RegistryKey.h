// One registry key under the current user (root 0) or the local machine
// (root 1), opened or created; text values, and numbers where Windows
// expects a REG_DWORD.
#pragma once

#include <cstdint>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"
#include "platform/Status.h"

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
    // Why the key, or the value readText last asked for, could not be had:
    // the system's code (errFileNotFound for one that is not there), or 0
    // when it was there (a value of another type than text included).
    platform::Status status() const { return status_; }
    void close();
    ErrorHandle readText(const char* valueName, String& value);
    ErrorHandle writeText(const char* valueName, const char* value);
    ErrorHandle writeNumber(const char* valueName, uint32_t value);
    ErrorHandle deleteSubKey(const char* subKeyName);
    // A value that is not there is as good as deleted.
    ErrorHandle deleteValue(const char* valueName);

private:
    void* handle_;
    platform::Status status_;
};

// The registry root of a recorded area (1 local machine, 0 current user), or
// -1 for any other text.
int registryRootOf(const String& area);
