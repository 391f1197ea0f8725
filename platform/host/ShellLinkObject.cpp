// The shell link object of the sandbox: it collects the properties the setup
// sets and saves them as a real .lnk file at the host path of the link.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/host/HostControl.h"
#include "platform/host/ShellLinkFile.h"
#include "platform/platform.h"

namespace platform {
namespace {

// The sandbox treats the ANSI code page as the first 256 code points, so a
// conversion there and back gives the same bytes.
bool wideToAnsi(const wchar_t* text, std::string* out) {
    for (const wchar_t* p = text; *p != 0; ++p) {
        if (static_cast<unsigned long>(*p) > 0xFF) return false;
        out->push_back(static_cast<char>(*p));
    }
    return true;
}

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

class HostShellLink : public ShellLink {
public:
    void setPath(const char* target) override { link_.target = target; }
    void setDescription(const char* text) override {
        link_.hasDescription = true;
        link_.description = text;
    }
    void setArguments(const char* text) override {
        link_.hasArguments = true;
        link_.arguments = text;
    }
    void setWorkingDirectory(const char* dir) override {
        link_.hasWorkingDirectory = true;
        link_.workingDirectory = dir;
    }
    bool queryPersistFile() override {
        persistable_ = !host::injectFault(host::Fault::persistLink);
        return persistable_;
    }
    bool save(const wchar_t* linkPath) override {
        if (!persistable_) return false;
        if (host::injectFault(host::Fault::saveLink)) return false;
        std::string windowsPath;
        if (!wideToAnsi(linkPath, &windowsPath)) return false;
        std::string file = host::hostPath(windowsPath);
        std::vector<unsigned char> bytes;
        if (file.empty() || !host::shellLinkBytes(link_, &bytes)) return false;
        return writeReplacing(file, bytes);
    }
    void release() override { delete this; }

private:
    host::ShellLinkProperties link_;
    bool persistable_ = false;
};

}  // namespace

ShellLink* ShellLink::create() {
    if (host::injectFault(host::Fault::createLink)) return nullptr;
    return new HostShellLink();
}

bool ansiToWide(const char* text, wchar_t* out, int outChars) {
    size_t n = 0;
    while (text[n] != '\0') ++n;
    if (outChars <= 0 || n >= static_cast<size_t>(outChars)) return false;
    for (size_t i = 0; i <= n; ++i) out[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    return true;
}

}  // namespace platform
