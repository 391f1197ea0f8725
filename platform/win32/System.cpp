// Resources, message boxes, system errors and the registry, on Windows.
#include <windows.h>
#include <wincrypt.h>

#include "platform/platform.h"
#include "platform/win32/SystemLibraries.h"

namespace platform {

void startProgram() { restrictLibrarySearch(); }

const char* commandLineTail() {
    // As the runtime hands WinMain its line: past the program's name, where
    // blanks inside quotes belong to the name, and the blanks after it.
    const char* p = GetCommandLineA();
    bool quoted = false;
    while (*p > ' ' || (*p != '\0' && quoted)) {
        if (*p == '"') quoted = !quoted;
        ++p;
    }
    while (*p != '\0' && *p <= ' ') ++p;
    return p;
}

ResourceStatus loadResource(const char* type, const char* name, const unsigned char** data,
                            uint32_t* size) {
    HRSRC found = FindResourceA(nullptr, name, type);
    if (found == nullptr) return ResourceStatus::notFound;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return ResourceStatus::notLoaded;
    *data = static_cast<const unsigned char*>(bytes);
    *size = SizeofResource(nullptr, found);
    return ResourceStatus::found;
}

int messageBox(const char* text, const char* caption, unsigned flags) {
    return MessageBoxA(nullptr, text, caption, flags);
}

uint32_t lastErrorCode() { return GetLastError(); }

void setLastErrorCode(uint32_t code) { SetLastError(code); }

bool systemErrorText(uint32_t code, char* buf, size_t size) {
    // No arguments are passed, so inserts such as %1 stay as written rather
    // than being read from a null argument list.
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0x400, buf, static_cast<DWORD>(size), nullptr);
    if (n == 0 && size > 0) buf[0] = '\0';
    return n != 0;
}

long regCreateKey(int root, const char* path, RegHandle* key) {
    HKEY opened = nullptr;
    char noClass[] = "";
    LONG result = RegCreateKeyExA(root == rootLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                                  path, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &opened, nullptr);
    *key = result == ERROR_SUCCESS ? opened : nullptr;
    return result;
}

long regOpenKey(int root, const char* path, RegHandle* key) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(root == rootLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                                path, 0, KEY_ALL_ACCESS, &opened);
    *key = result == ERROR_SUCCESS ? opened : nullptr;
    return result;
}

long regQueryValue(RegHandle key, const char* name, uint32_t* type, unsigned char* data,
                   uint32_t* size) {
    DWORD t = 0;
    DWORD n = size != nullptr ? *size : 0;
    LONG result = RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, type ? &t : nullptr,
                                   data, size ? &n : nullptr);
    if (type != nullptr) *type = t;
    if (size != nullptr) *size = n;
    return result;
}

long regSetValue(RegHandle key, const char* name, uint32_t type, const unsigned char* data,
                 uint32_t size) {
    return RegSetValueExA(static_cast<HKEY>(key), name, 0, type, data, size);
}

long regDeleteKey(RegHandle key, const char* subKey) {
    return RegDeleteKeyA(static_cast<HKEY>(key), subKey);
}

void regCloseKey(RegHandle key) { RegCloseKey(static_cast<HKEY>(key)); }

// CryptoAPI lives in advapi32, a KnownDLL the programs import anyway.
bool sha256(const void* data, size_t size, unsigned char digest[32]) {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
        return false;
    bool ok = false;
    HCRYPTHASH hash = 0;
    if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
        DWORD length = 32;
        ok = CryptHashData(hash, static_cast<const BYTE*>(data), static_cast<DWORD>(size), 0) &&
             CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0) && length == 32;
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(provider, 0);
    return ok;
}

InstanceLock claimInstanceLock(const char* name) {
    char global[MAX_PATH];
    lstrcpynA(global, "Global\\", sizeof global);
    lstrcpynA(global + 7, name, sizeof global - 7);
    HANDLE mutex = CreateMutexA(nullptr, TRUE, global);
    // Opened rather than made: someone holds the name. A mutex that another
    // account made and we may not open fails outright; that counts the same.
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        mutex = nullptr;
    }
    return mutex;
}

void releaseInstanceLock(InstanceLock lock) {
    if (lock == nullptr) return;
    ReleaseMutex(static_cast<HANDLE>(lock));
    CloseHandle(static_cast<HANDLE>(lock));
}

bool windowsDirectory(char* buf, size_t size) {
    UINT n = GetWindowsDirectoryA(buf, static_cast<UINT>(size));
    return n != 0 && n < size;
}

}  // namespace platform
