// A resource of the host program's module for the length of one test.
#pragma once

#include <string>
#include <vector>

#include "platform/host/HostControl.h"

struct ScopedResource {
    ScopedResource(const std::string& type, const std::string& name, const std::string& bytes) : type(type), name(name) {
        platform::host::putResource(type, name, std::vector<unsigned char>(bytes.begin(), bytes.end()));
    }
    ScopedResource(const std::string& type, const std::string& name, const std::vector<unsigned char>& bytes)
        : ScopedResource(type, name, std::string(bytes.begin(), bytes.end())) {}
    ~ScopedResource() { platform::host::removeResource(type, name); }
    ScopedResource(const ScopedResource&) = delete;
    std::string type, name;
};
