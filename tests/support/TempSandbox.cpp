#include "tests/support/TempSandbox.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TempSandbox::TempSandbox() {
    char pattern[] = "/tmp/vantorel-test-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) std::abort();
    root_ = made;
    platform::host::setSandbox(root_);
    platform::host::ensureSandbox();
    platform::host::resetFaults();
    platform::host::scriptAnswers({});
}

TempSandbox::~TempSandbox() {
    platform::host::resetFaults();
    platform::host::stopScript();
    std::error_code ignored;
    // Read-only files are part of some tests; give write back before removing.
    for (auto& entry : std::filesystem::recursive_directory_iterator(root_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
}

std::string TempSandbox::path(const std::string& windowsPath) const {
    return platform::host::hostPath(windowsPath);
}

std::string TempSandbox::readHostFile(const std::string& hostPath) const {
    std::ifstream in(hostPath, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void TempSandbox::writeHostFile(const std::string& hostPath, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(hostPath).parent_path());
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out << bytes;
}
