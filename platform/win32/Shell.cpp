// Shell links, the folder browser, the system's folders and the shell's
// opener, by their wide forms: paths are UTF-8 here and exact at the system.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include "platform/Shell.h"
#include "platform/win32/Failure.h"
#include "platform/win32/Text.h"

namespace platform {

Status initializeComponents() { return fromResult(CoInitialize(nullptr)); }

namespace {

// A text property of the link, converted for the call.
template <class Set>
Status withWide(const char* text, Set set) {
    WideText wide(text);
    if (wide.status() != statusOk) return wide.status();
    return fromResult(set(wide.get()));
}

class Win32ShellLink : public ShellLink {
public:
    explicit Win32ShellLink(IShellLinkW* link) : link_(link), persist_(nullptr) {}
    Status setPath(const char* target) override {
        return withWide(target, [&](const wchar_t* t) { return link_->SetPath(t); });
    }
    Status setDescription(const char* text) override {
        return withWide(text, [&](const wchar_t* t) { return link_->SetDescription(t); });
    }
    Status setArguments(const char* text) override {
        return withWide(text, [&](const wchar_t* t) { return link_->SetArguments(t); });
    }
    Status setWorkingDirectory(const char* dir) override {
        return withWide(dir, [&](const wchar_t* t) { return link_->SetWorkingDirectory(t); });
    }
    Status queryPersistFile() override {
        return fromResult(
            link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist_)));
    }
    Status save(const char* linkPath) override {
        if (persist_ == nullptr) return fromResult(E_NOINTERFACE);
        WideText wide(linkPath);
        if (wide.status() != statusOk) return wide.status();
        // The link file is saved through a MAX_PATH name; a longer one would be cut.
        if (wide.units() >= MAX_PATH) return failed(ERROR_FILENAME_EXCED_RANGE);
        return fromResult(persist_->Save(wide.get(), TRUE));
    }
    void release() override {
        if (persist_ != nullptr) persist_->Release();
        link_->Release();
        delete this;
    }

private:
    IShellLinkW* link_;
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
        *chosen = nullptr;
        WideText wideTitle(title);
        if (wideTitle.status() != statusOk) return wideTitle.status();
        wchar_t name[MAX_PATH] = L"";
        BROWSEINFOW info;
        ZeroMemory(&info, sizeof info);
        info.hwndOwner = nullptr;
        info.pidlRoot = static_cast<LPCITEMIDLIST>(root);
        info.pszDisplayName = name;
        info.lpszTitle = wideTitle.get();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        // Null is the user's cancel: the browser has no failure of its own to report.
        *chosen = SHBrowseForFolderW(&info);
        // The display name is only shown; one that is no valid text stays empty.
        if (toUtf8(name, -1, displayName, shellPathBytes) != statusOk) displayName[0] = '\0';
        return statusOk;
    }
    Status pathOf(ItemList item, char* path) override {
        wchar_t wide[MAX_PATH];
        // The shell gives no reason when an item is no file-system folder.
        if (!SHGetPathFromIDListW(static_cast<LPCITEMIDLIST>(item), wide)) return fromResult(E_FAIL);
        return toUtf8(wide, -1, path, shellPathBytes);
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
    IShellLinkW* made = nullptr;
    Status status = fromResult(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                IID_IShellLinkW, reinterpret_cast<void**>(&made)));
    if (status == statusOk) *link = new Win32ShellLink(made);
    return status;
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
    wchar_t wide[MAX_PATH];
    HRESULT result = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, wide);
    // S_FALSE: a folder the system knows of but that does not exist.
    if (result != S_OK) return fromResult(result == S_FALSE ? E_FAIL : result);
    return toUtf8(wide, -1, path, shellPathBytes);
}

Status shellExecute(const char* verb, const char* file) {
    WideText wideVerb(verb), wideFile(file);
    if (wideVerb.status() != statusOk) return wideVerb.status();
    if (wideFile.status() != statusOk) return wideFile.status();
    intptr_t result = reinterpret_cast<intptr_t>(
        ShellExecuteW(nullptr, wideVerb.get(), wideFile.get(), nullptr, nullptr, 1));
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
