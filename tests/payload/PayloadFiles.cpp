#include "PayloadFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/platform.h"

std::vector<unsigned char> resourceBytes(const char* type, const std::string& name) {
    const unsigned char* data = nullptr;
    uint32_t size = 0;
    if (platform::loadResource(type, name.c_str(), &data, &size) != platform::ResourceStatus::found)
        return {};
    return std::vector<unsigned char>(data, data + size);
}

std::vector<std::string> tableRows(const char* type) {
    std::vector<unsigned char> bytes = resourceBytes(type, "VANTOREL");
    EXPECT_FALSE(bytes.empty()) << type << " is missing";
    std::vector<std::string> rows;
    size_t at = 0;
    while (at < bytes.size() && bytes[at] != 0) {
        std::string row;
        while (at < bytes.size() && bytes[at] != 0) row += static_cast<char>(bytes[at++]);
        EXPECT_LT(at, bytes.size()) << type << ": last row has no NUL";
        ++at;
        rows.push_back(row);
    }
    EXPECT_LT(at, bytes.size()) << type << ": no empty row ends the table";
    return rows;
}

std::vector<std::string> fields(const std::string& row) {
    std::vector<std::string> out(1);
    for (char c : row) {
        if (c == '|')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

std::vector<unsigned char> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

std::string sourceDir() { return VANTOREL_SOURCE_DIR; }

std::string scratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-payload-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    return pattern;
}

void removeFolder(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}
