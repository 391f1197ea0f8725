#include "tests/support/InstallSetResources.h"

#include <set>

#include "installset/Crc16.h"
#include "platform/host/HostControl.h"

void putTable(const char* type, const std::vector<std::string>& rows) {
    std::vector<unsigned char> bytes;
    for (const std::string& row : rows) {
        bytes.insert(bytes.end(), row.begin(), row.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    bytes.push_back(0);
    platform::host::putResource(type, "VANTOREL", bytes);
}

void putStored(const std::string& name, const std::string& content) {
    const unsigned char* data = reinterpret_cast<const unsigned char*>(content.data());
    uint32_t n = static_cast<uint32_t>(content.size());
    uint16_t crc = crc16(data, n, 0);
    std::vector<unsigned char> bytes = {0x92, 0x49, 0x24, 0x92, 0, 0, 0, 0};
    auto put32 = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) bytes.push_back(static_cast<unsigned char>(v >> s));
    };
    auto put16 = [&](uint16_t v) {
        bytes.push_back(static_cast<unsigned char>(v >> 8));
        bytes.push_back(static_cast<unsigned char>(v));
    };
    put32(n);
    put16(crc);
    put32(n);
    put16(crc);
    bytes.insert(bytes.end(), content.begin(), content.end());
    platform::host::putResource("LZF", name, bytes);
}

void putInstallSet(const std::vector<std::string>& filesetRows) {
    putTable("FILESET", filesetRows);
    std::set<std::string> names;
    std::vector<std::string> sizes;
    for (const std::string& row : filesetRows) {
        std::string name = row.substr(0, row.find('|'));
        if (!names.insert(name).second) continue;
        putStored(name, name + " bytes");
        sizes.push_back(name + "|" + std::to_string(name.size() + 6));
    }
    putTable("FILESIZE", sizes);
    putStored("TESSALY_UNINSTALLER", "uninstaller stand-in without a version");
}
