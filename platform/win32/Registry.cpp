// Registry keys and values under the current user and the local machine, by
// the wide calls: key names, value names and text values are UTF-8 here and
// the exact UTF-16 text in the registry.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "platform/Registry.h"
#include "platform/win32/Failure.h"
#include "platform/win32/Text.h"

namespace platform {

namespace {
HKEY rootKey(int root) { return root == rootLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
Status result(LONG code) { return code == ERROR_SUCCESS ? statusOk : failed(static_cast<DWORD>(code)); }
bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// A text value's UTF-16 data as UTF-8, with the caller's buffer rules: only
// the size when data is null, ERROR_MORE_DATA with the size when it is short.
Status textValue(HKEY key, const wchar_t* name, unsigned char* data, uint32_t* size) {
    DWORD bytes = 0;
    if (Status status = result(RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &bytes)))
        return status;
    // Room for one more unit, zero, should the stored data be cut mid-unit.
    wchar_t* wide = static_cast<wchar_t*>(calloc(bytes / sizeof(wchar_t) + 1, sizeof(wchar_t)));
    if (wide == nullptr) return failed(ERROR_NOT_ENOUGH_MEMORY);
    DWORD got = bytes;
    Status status = result(RegQueryValueExW(key, name, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(wide), &got));
    size_t utf8 = 0;
    int units = static_cast<int>(got / sizeof(wchar_t));
    if (status == statusOk) status = utf8Length(wide, units, &utf8);
    if (status == statusOk && utf8 > 0xFFFFFFFEu) status = failed(ERROR_INVALID_DATA);
    if (status == statusOk && data != nullptr) {
        if (*size < utf8) {
            status = failed(ERROR_MORE_DATA);
        } else if (units > 0) {
            WideCharToMultiByte(CP_UTF8, 0, wide, units, reinterpret_cast<char*>(data),
                                static_cast<int>(*size), nullptr, nullptr);
        }
    }
    free(wide);
    if (status == statusOk || status == ERROR_MORE_DATA) *size = static_cast<uint32_t>(utf8);
    return status;
}
}  // namespace

Status regCreateKey(int root, const char* path, RegHandle* key) {
    *key = nullptr;
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    HKEY opened = nullptr;
    wchar_t noClass[] = L"";
    LONG code = RegCreateKeyExW(rootKey(root), wide.get(), 0, noClass, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    if (code == ERROR_SUCCESS) *key = opened;
    return result(code);
}

Status regOpenKey(int root, const char* path, RegHandle* key) {
    *key = nullptr;
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    HKEY opened = nullptr;
    LONG code = RegOpenKeyExW(rootKey(root), wide.get(), 0, KEY_ALL_ACCESS, &opened);
    if (code == ERROR_SUCCESS) *key = opened;
    return result(code);
}

Status regQueryValue(RegHandle key, const char* name, uint32_t* type, unsigned char* data,
                     uint32_t* size) {
    WideText wide(name);
    if (wide.status() != statusOk) return wide.status();
    HKEY handle = static_cast<HKEY>(key);
    DWORD t = 0;
    if (Status status = result(RegQueryValueExW(handle, wide.get(), nullptr, &t, nullptr, nullptr)))
        return status;
    if (type != nullptr) *type = t;
    if (size == nullptr) return statusOk;
    if (isText(t)) return textValue(handle, wide.get(), data, size);
    DWORD n = *size;
    Status status = result(RegQueryValueExW(handle, wide.get(), nullptr, nullptr, data, &n));
    *size = n;
    return status;
}

Status regSetValue(RegHandle key, const char* name, uint32_t type, const unsigned char* data,
                   uint32_t size) {
    WideText wide(name);
    if (wide.status() != statusOk) return wide.status();
    HKEY handle = static_cast<HKEY>(key);
    if (!isText(type)) return result(RegSetValueExW(handle, wide.get(), 0, type, data, size));
    // The UTF-8 bytes as given, terminator included, become UTF-16 units.
    WideText text(reinterpret_cast<const char*>(data), size);
    if (text.status() != statusOk) return text.status();
    return result(RegSetValueExW(handle, wide.get(), 0, type,
                                 reinterpret_cast<const BYTE*>(text.get()),
                                 static_cast<DWORD>(text.units() * sizeof(wchar_t))));
}

Status regDeleteKey(RegHandle key, const char* subKey) {
    WideText wide(subKey);
    if (wide.status() != statusOk) return wide.status();
    return result(RegDeleteKeyW(static_cast<HKEY>(key), wide.get()));
}

Status regDeleteValue(RegHandle key, const char* name) {
    WideText wide(name);
    if (wide.status() != statusOk) return wide.status();
    return result(RegDeleteValueW(static_cast<HKEY>(key), wide.get()));
}

void regCloseKey(RegHandle key) { RegCloseKey(static_cast<HKEY>(key)); }

}  // namespace platform
