// The shell link object of the sandbox: it collects the properties the setup
// sets and saves them as a real .lnk file at the host path of the link.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/host/HostControl.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/host/ShellLinkFile.h"
#include "platform/host/WindowsPaths.h"

namespace platform {
namespace {

// Written beside the link and renamed over it, so that a save either
// replaces the link whole or leaves what was there.
bool writeReplacing(const std::string& path, const std::vector<unsigned char>& bytes) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || !(st.st_mode & S_IWUSR)))
        return false;
    std::string temp = path + ".saving";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0) written = false;
    if (!written || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

const uint32_t eFail = 0x80004005u;

// A call of the link object, made to fail when a test asks for that.
bool injected(host::Call kind, Status* status) {
    uint32_t code = 0;
    if (!host::injectFault(kind, &code)) return false;
    *status = host::failWith(code);
    return true;
}

class HostShellLink : public ShellLink {
public:
    Status setPath(const char* target) override {
        Status status;
        if (injected(host::Call::setLinkPath, &status)) return status;
        link_.target = target;
        return statusOk;
    }
    Status setDescription(const char* text) override {
        Status status;
        if (injected(host::Call::setLinkDescription, &status)) return status;
        link_.hasDescription = true;
        link_.description = text;
        return statusOk;
    }
    Status setArguments(const char* text) override {
        Status status;
        if (injected(host::Call::setLinkArguments, &status)) return status;
        link_.hasArguments = true;
        link_.arguments = text;
        return statusOk;
    }
    Status setWorkingDirectory(const char* dir) override {
        Status status;
        if (injected(host::Call::setLinkWorkingDirectory, &status)) return status;
        link_.hasWorkingDirectory = true;
        link_.workingDirectory = dir;
        return statusOk;
    }
    Status queryPersistFile() override {
        Status status;
        if (injected(host::Call::queryPersistFile, &status)) return status;
        persistable_ = true;
        return statusOk;
    }
    Status save(const char* linkPath) override {
        Status status;
        if (injected(host::Call::saveLink, &status)) return status;
        if (!persistable_) return host::failWith(eFail);
        // Saved through a MAX_PATH name on Windows; a longer one would be cut.
        if (utf16Units(linkPath) >= 260) return host::failWith(206);
        host::MappedPath mapped;
        if (uint32_t code = host::mapPath(linkPath, &mapped)) return host::failWith(code);
        if (Status way = host::checkWay(mapped)) return way;
        std::string file = mapped.host;
        std::vector<unsigned char> bytes;
        if (file.empty() || !host::shellLinkBytes(link_, &bytes)) return host::failWith(eFail);
        return writeReplacing(file, bytes) ? statusOk : host::failWith(0x80030005u);  // STG_E_ACCESSDENIED
    }
    void release() override { delete this; }

private:
    host::ShellLinkProperties link_;
    bool persistable_ = false;
};

}  // namespace

Status ShellLink::create(ShellLink** link) {
    *link = nullptr;
    Status status;
    if (injected(host::Call::createShellLink, &status)) return status;
    *link = new HostShellLink();
    return statusOk;
}

}  // namespace platform
