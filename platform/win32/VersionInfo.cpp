// A file's version resource, through the version library's wide calls.
#include <windows.h>

#include "platform/VersionInfo.h"
#include "platform/win32/Failure.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Text.h"

namespace platform {

namespace {

// version.dll is no KnownDLL: imported statically it would be looked for
// beside the program first. It is loaded from the system folder when first
// needed instead.
struct VersionLibrary {
    typedef DWORD(WINAPI* InfoSize)(LPCWSTR, LPDWORD);
    typedef BOOL(WINAPI* Info)(LPCWSTR, DWORD, DWORD, LPVOID);
    typedef BOOL(WINAPI* Query)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    InfoSize infoSize = nullptr;
    Info info = nullptr;
    Query query = nullptr;

    void load() {
        HMODULE module = loadSystemLibrary(L"version.dll");
        if (module == nullptr) return;
        infoSize = reinterpret_cast<InfoSize>(
            reinterpret_cast<void*>(GetProcAddress(module, "GetFileVersionInfoSizeW")));
        info = reinterpret_cast<Info>(
            reinterpret_cast<void*>(GetProcAddress(module, "GetFileVersionInfoW")));
        query = reinterpret_cast<Query>(
            reinterpret_cast<void*>(GetProcAddress(module, "VerQueryValueW")));
    }
};

// The programs have one thread; a plain flag is all the guarding needed.
VersionLibrary library;
bool libraryLoaded = false;

const VersionLibrary& versionLibrary() {
    if (!libraryLoaded) library.load();
    libraryLoaded = true;
    return library;
}

}  // namespace

Status fileVersionInfoSize(const char* path, uint32_t* size) {
    *size = 0;
    if (versionLibrary().infoSize == nullptr) return failed(ERROR_MOD_NOT_FOUND);
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    DWORD handle = 0;
    *size = versionLibrary().infoSize(wide.get(), &handle);
    return *size != 0 ? statusOk : lastFailure();
}

Status fileVersionInfo(const char* path, uint32_t size, void* block) {
    if (versionLibrary().info == nullptr) return failed(ERROR_MOD_NOT_FOUND);
    WideText wide(path);
    if (wide.status() != statusOk) return wide.status();
    return versionLibrary().info(wide.get(), 0, size, block) ? statusOk : lastFailure();
}

Status versionQueryValue(const void* block, const char* subBlock, const void** value,
                         uint32_t* length) {
    if (versionLibrary().query == nullptr) return failed(ERROR_MOD_NOT_FOUND);
    WideText wide(subBlock);
    if (wide.status() != statusOk) return wide.status();
    void* found = nullptr;
    UINT n = 0;
    // VerQueryValue sets no error of its own when the value is missing.
    if (!versionLibrary().query(block, wide.get(), &found, &n))
        return failed(ERROR_RESOURCE_TYPE_NOT_FOUND);
    *value = found;
    *length = n;
    return statusOk;
}

}  // namespace platform
