// Version library, shell links, the folder browser and the shell's opener.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include "platform/platform.h"
#include "platform/win32/SystemLibraries.h"

namespace platform {

namespace {

// version.dll is no KnownDLL: imported statically it would be looked for
// beside the program first. It is loaded from the system folder when first
// needed instead.
struct VersionLibrary {
    typedef DWORD(WINAPI* InfoSize)(LPCSTR, LPDWORD);
    typedef BOOL(WINAPI* Info)(LPCSTR, DWORD, DWORD, LPVOID);
    typedef BOOL(WINAPI* Query)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    InfoSize infoSize = nullptr;
    Info info = nullptr;
    Query query = nullptr;

    void load() {
        HMODULE module = loadSystemLibrary("version.dll");
        if (module == nullptr) return;
        infoSize = reinterpret_cast<InfoSize>(
            reinterpret_cast<void*>(GetProcAddress(module, "GetFileVersionInfoSizeA")));
        info = reinterpret_cast<Info>(
            reinterpret_cast<void*>(GetProcAddress(module, "GetFileVersionInfoA")));
        query = reinterpret_cast<Query>(
            reinterpret_cast<void*>(GetProcAddress(module, "VerQueryValueA")));
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

uint32_t fileVersionInfoSize(const char* path) {
    DWORD handle = 0;
    if (versionLibrary().infoSize == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return versionLibrary().infoSize(path, &handle);
}

bool fileVersionInfo(const char* path, uint32_t size, void* block) {
    return versionLibrary().info != nullptr && versionLibrary().info(path, 0, size, block) != 0;
}

bool versionQueryValue(const void* block, const char* subBlock, const void** value,
                       uint32_t* length) {
    void* found = nullptr;
    UINT n = 0;
    if (versionLibrary().query == nullptr || !versionLibrary().query(block, subBlock, &found, &n))
        return false;
    *value = found;
    *length = n;
    return true;
}

void initializeComponents() { CoInitialize(nullptr); }

namespace {

class Win32ShellLink : public ShellLink {
public:
    explicit Win32ShellLink(IShellLinkA* link) : link_(link), persist_(nullptr) {}
    void setPath(const char* target) override { link_->SetPath(target); }
    void setDescription(const char* text) override { link_->SetDescription(text); }
    void setArguments(const char* text) override { link_->SetArguments(text); }
    void setWorkingDirectory(const char* dir) override { link_->SetWorkingDirectory(dir); }
    bool queryPersistFile() override {
        return SUCCEEDED(link_->QueryInterface(IID_IPersistFile,
                                               reinterpret_cast<void**>(&persist_)));
    }
    bool save(const wchar_t* linkPath) override {
        return persist_ != nullptr && SUCCEEDED(persist_->Save(linkPath, TRUE));
    }
    void release() override {
        if (persist_ != nullptr) persist_->Release();
        link_->Release();
        delete this;
    }

private:
    IShellLinkA* link_;
    IPersistFile* persist_;
};

class Win32ShellFolders : public ShellFolders {
public:
    explicit Win32ShellFolders(IMalloc* malloc) : malloc_(malloc) {}
    ItemList specialFolder(int csidl) override {
        LPITEMIDLIST item = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &item))) return nullptr;
        return item;
    }
    ItemList browse(ItemList root, char* displayName, const char* title) override {
        BROWSEINFOA info;
        ZeroMemory(&info, sizeof info);
        info.hwndOwner = nullptr;
        info.pidlRoot = static_cast<LPCITEMIDLIST>(root);
        info.pszDisplayName = displayName;
        info.lpszTitle = title;
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        return SHBrowseForFolderA(&info);
    }
    bool pathOf(ItemList item, char* path) override {
        return SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(item), path) != 0;
    }
    void free(ItemList item) override {
        if (item != nullptr) malloc_->Free(item);
    }
    void release() override {
        malloc_->Release();
        delete this;
    }

private:
    IMalloc* malloc_;
};

}  // namespace

ShellLink* ShellLink::create() {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return nullptr;
    return new Win32ShellLink(link);
}

bool ansiToWide(const char* text, wchar_t* out, int outChars) {
    return MultiByteToWideChar(CP_ACP, 0, text, -1, out, outChars) != 0;
}

ShellFolders* ShellFolders::open() {
    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc)) || malloc == nullptr) return nullptr;
    return new Win32ShellFolders(malloc);
}

bool specialFolderPath(int csidl, char* path) {
    return SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK;
}

intptr_t shellExecute(const char* verb, const char* file) {
    return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, file, nullptr, nullptr, 1));
}

}  // namespace platform
