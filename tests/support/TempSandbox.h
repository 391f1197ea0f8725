// A fresh sandboxed Windows machine in a temporary folder, for one test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/host/HostControl.h"

class TempSandbox {
public:
    TempSandbox();
    ~TempSandbox();
    const std::string& root() const { return root_; }
    // The host path of a Windows path in this sandbox.
    std::string path(const std::string& windowsPath) const;
    std::string readHostFile(const std::string& hostPath) const;
    void writeHostFile(const std::string& hostPath, const std::string& bytes) const;

private:
    std::string root_;
};

// Fixture form, for test groups that all need a sandbox.
class SandboxTest : public ::testing::Test {
protected:
    TempSandbox sandbox;
};
