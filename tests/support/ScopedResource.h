// A resource of the host program's module for the length of one test.
#pragma once

#include <string>
#include <vector>

#include "platform/host/HostControl.h"

class ScopedResource {
public:
    ScopedResource(const std::string& type, const std::string& name,
                   const std::vector<unsigned char>& bytes)
        : type_(type), name_(name) {
        platform::host::putResource(type, name, bytes);
    }
    ScopedResource(const std::string& type, const std::string& name, const std::string& bytes)
        : ScopedResource(type, name, std::vector<unsigned char>(bytes.begin(), bytes.end())) {}
    ~ScopedResource() { platform::host::removeResource(type_, name_); }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;

private:
    std::string type_, name_;
};
