// The bytes of a shell link file in the public .lnk format: header, link
// info with the target as local base path, and the string data. Strings are
// stored in the ANSI code page, byte for byte as the setup gave them.
#pragma once

#include <string>
#include <vector>

namespace platform {
namespace host {

struct ShellLinkProperties {
    std::string target;
    bool hasDescription = false;
    std::string description;
    bool hasArguments = false;
    std::string arguments;
    bool hasWorkingDirectory = false;
    std::string workingDirectory;
};

// False when a string is too long for the format's 16-bit counts.
bool shellLinkBytes(const ShellLinkProperties& link, std::vector<unsigned char>* bytes);

}  // namespace host
}  // namespace platform
