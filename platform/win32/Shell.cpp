// Shell links, the folder browser, the system's folders and the shell's opener.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include "platform/Shell.h"
#include "platform/win32/Failure.h"

namespace platform {

Status initializeComponents() { return fromResult(CoInitialize(nullptr)); }

namespace {

class Win32ShellLink : public ShellLink {
public:
    explicit Win32ShellLink(IShellLinkA* link) : link_(link), persist_(nullptr) {}
    Status setPath(const char* target) override { return fromResult(link_->SetPath(target)); }
    Status setDescription(const char* text) override {
        return fromResult(link_->SetDescription(text));
    }
    Status setArguments(const char* text) override { return fromResult(link_->SetArguments(text)); }
    Status setWorkingDirectory(const char* dir) override {
        return fromResult(link_->SetWorkingDirectory(dir));
    }
    Status queryPersistFile() override {
        return fromResult(
            link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist_)));
    }
    Status save(const wchar_t* linkPath) override {
        if (persist_ == nullptr) return fromResult(E_NOINTERFACE);
        return fromResult(persist_->Save(linkPath, TRUE));
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
    Status specialFolder(int csidl, ItemList* item) override {
        LPITEMIDLIST found = nullptr;
        Status status = fromResult(SHGetSpecialFolderLocation(nullptr, csidl, &found));
        *item = status == statusOk ? found : nullptr;
        return status;
    }
    Status browse(ItemList root, char* displayName, const char* title, ItemList* chosen) override {
        BROWSEINFOA info;
        ZeroMemory(&info, sizeof info);
        info.hwndOwner = nullptr;
        info.pidlRoot = static_cast<LPCITEMIDLIST>(root);
        info.pszDisplayName = displayName;
        info.lpszTitle = title;
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        // Null is the user's cancel: the browser has no failure of its own to report.
        *chosen = SHBrowseForFolderA(&info);
        return statusOk;
    }
    Status pathOf(ItemList item, char* path) override {
        // The shell gives no reason when an item is no file-system folder.
        if (SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(item), path)) return statusOk;
        return fromResult(E_FAIL);
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

Status ShellLink::create(ShellLink** link) {
    *link = nullptr;
    IShellLinkA* made = nullptr;
    Status status = fromResult(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                IID_IShellLinkA, reinterpret_cast<void**>(&made)));
    if (status == statusOk) *link = new Win32ShellLink(made);
    return status;
}

Status ansiToWide(const char* text, wchar_t* out, int outChars) {
    return MultiByteToWideChar(CP_ACP, 0, text, -1, out, outChars) != 0 ? statusOk : lastFailure();
}

Status ShellFolders::open(ShellFolders** folders) {
    *folders = nullptr;
    IMalloc* malloc = nullptr;
    Status status = fromResult(SHGetMalloc(&malloc));
    if (status == statusOk && malloc == nullptr) status = fromResult(E_FAIL);
    if (status == statusOk) *folders = new Win32ShellFolders(malloc);
    return status;
}

Status specialFolderPath(int csidl, char* path) {
    HRESULT result = SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    // S_FALSE: a folder the system knows of but that does not exist.
    return result == S_OK ? statusOk : fromResult(result == S_FALSE ? E_FAIL : result);
}

Status shellExecute(const char* verb, const char* file) {
    intptr_t result =
        reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, file, nullptr, nullptr, 1));
    if (result > 32) return statusOk;
    // Its small numbers are mostly Windows codes already; these few are its own.
    switch (result) {
        case 0: return failed(ERROR_NOT_ENOUGH_MEMORY);
        case SE_ERR_ACCESSDENIED: return failed(ERROR_ACCESS_DENIED);
        case SE_ERR_SHARE: return failed(ERROR_SHARING_VIOLATION);
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_NOASSOC: return failed(ERROR_NO_ASSOCIATION);
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY: return failed(ERROR_DDE_FAIL);
        case SE_ERR_DLLNOTFOUND: return failed(ERROR_DLL_NOT_FOUND);
        default: return failed(static_cast<DWORD>(result));
    }
}

}  // namespace platform
