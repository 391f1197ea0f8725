#include "foundation/RegistryKey.h"

#include <cstdlib>
#include <cstring>

#include "platform/Registry.h"

namespace {
ErrorHandle notOpen() { return makeError("Unable to create the registry key"); }

ErrorHandle setValue(void* key, const char* valueName, uint32_t type, const unsigned char* data,
                     uint32_t size) {
    if (key == nullptr) return notOpen();
    if (platform::regSetValue(key, valueName, type, data, size) == platform::statusOk) return noError();
    return makeError(String("Unable to write the '") + valueName + "' registry value");
}
}  // namespace

RegistryKey::RegistryKey(const char* keyPath, int root, Opening opening)
    : handle_(nullptr), status_(platform::statusOk) {
    int chosen = root == 1 ? platform::rootLocalMachine : platform::rootCurrentUser;
    platform::RegHandle key = nullptr;
    status_ = opening == existingOnly ? platform::regOpenKey(chosen, keyPath, &key)
                                      : platform::regCreateKey(chosen, keyPath, &key);
    if (status_ == platform::statusOk) handle_ = key;
}

RegistryKey::~RegistryKey() { close(); }

void RegistryKey::close() {
    if (handle_ != nullptr) platform::regCloseKey(handle_);
    handle_ = nullptr;
}

ErrorHandle RegistryKey::readText(const char* valueName, String& value) {
    if (handle_ == nullptr) return notOpen();
    bool ok = false;
    uint32_t size = 0;
    status_ = platform::regQueryValue(handle_, valueName, nullptr, nullptr, &size);
    // The extra terminator byte below must not wrap the size round to nothing.
    if (status_ == platform::statusOk && size < 0xFFFFFFFFu) {
        // One byte more than asked for, always zero, so a value stored
        // without its terminator is still read whole and never past its end.
        unsigned char* buffer = static_cast<unsigned char*>(std::calloc(size + 1, 1));
        uint32_t type = 0;
        uint32_t got = size;
        status_ = buffer == nullptr
                      ? platform::errNotEnoughMemory
                      : platform::regQueryValue(handle_, valueName, &type, buffer, &got);
        if (status_ == platform::statusOk && type == platform::regSz) {
            value = reinterpret_cast<const char*>(buffer);
            ok = true;
        }
        std::free(buffer);
    }
    if (ok) return noError();
    return makeError(String("Unable to read the '") + valueName + "' registry value");
}

ErrorHandle RegistryKey::writeText(const char* valueName, const char* value) {
    uint32_t size = static_cast<uint32_t>(std::strlen(value)) + 1;
    return setValue(handle_, valueName, platform::regSz,
                    reinterpret_cast<const unsigned char*>(value), size);
}

ErrorHandle RegistryKey::writeNumber(const char* valueName, uint32_t value) {
    // REG_DWORD is stored little-endian whatever the machine.
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16),
                              static_cast<unsigned char>(value >> 24)};
    return setValue(handle_, valueName, platform::regDword, bytes, sizeof bytes);
}

ErrorHandle RegistryKey::deleteSubKey(const char* subKeyName) {
    if (handle_ == nullptr) return notOpen();
    platform::Status status = platform::regDeleteKey(handle_, subKeyName);
    // A key that is already gone is as good as deleted.
    if (status == platform::statusOk || status == platform::errFileNotFound ||
        status == platform::errPathNotFound)
        return noError();
    return makeError(String("Unable to delete the '") + subKeyName + "' registry key");
}

ErrorHandle RegistryKey::deleteValue(const char* valueName) {
    if (handle_ == nullptr) return notOpen();
    platform::Status status = platform::regDeleteValue(handle_, valueName);
    if (status == platform::statusOk || platform::isMissing(status)) return noError();
    return makeError(String("Unable to delete the '") + valueName + "' registry value");
}

int registryRootOf(const String& area) {
    if (std::strcmp(area.text(), "HKEY_LOCAL_MACHINE") == 0) return 1;
    if (std::strcmp(area.text(), "HKEY_CURRENT_USER") == 0) return 0;
    return -1;
}
