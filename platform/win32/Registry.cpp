// Registry keys and values under the current user and the local machine.
#include <windows.h>

#include "platform/Registry.h"
#include "platform/win32/Failure.h"

namespace platform {

namespace {
HKEY rootKey(int root) { return root == rootLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
Status result(LONG code) { return code == ERROR_SUCCESS ? statusOk : failed(static_cast<DWORD>(code)); }
}  // namespace

Status regCreateKey(int root, const char* path, RegHandle* key) {
    HKEY opened = nullptr;
    char noClass[] = "";
    LONG code = RegCreateKeyExA(rootKey(root), path, 0, noClass, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    *key = code == ERROR_SUCCESS ? opened : nullptr;
    return result(code);
}

Status regOpenKey(int root, const char* path, RegHandle* key) {
    HKEY opened = nullptr;
    LONG code = RegOpenKeyExA(rootKey(root), path, 0, KEY_ALL_ACCESS, &opened);
    *key = code == ERROR_SUCCESS ? opened : nullptr;
    return result(code);
}

Status regQueryValue(RegHandle key, const char* name, uint32_t* type, unsigned char* data,
                     uint32_t* size) {
    DWORD t = 0;
    DWORD n = size != nullptr ? *size : 0;
    LONG code = RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, type ? &t : nullptr, data,
                                 size ? &n : nullptr);
    if (type != nullptr) *type = t;
    if (size != nullptr) *size = n;
    return result(code);
}

Status regSetValue(RegHandle key, const char* name, uint32_t type, const unsigned char* data,
                   uint32_t size) {
    return result(RegSetValueExA(static_cast<HKEY>(key), name, 0, type, data, size));
}

Status regDeleteKey(RegHandle key, const char* subKey) {
    return result(RegDeleteKeyA(static_cast<HKEY>(key), subKey));
}

Status regDeleteValue(RegHandle key, const char* name) {
    return result(RegDeleteValueA(static_cast<HKEY>(key), name));
}

void regCloseKey(RegHandle key) { RegCloseKey(static_cast<HKEY>(key)); }

}  // namespace platform
