#include "tests/support/TinyPe.h"

#include <string>

namespace {

void put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

void put32(Bytes& b, size_t at, uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

void pad4(Bytes& b) { b.resize((b.size() + 3) & ~size_t(3), 0); }

Bytes utf16(const std::string& text) {
    Bytes b;
    for (char c : text + '\0') b.insert(b.end(), {static_cast<unsigned char>(c), 0});
    return b;
}

// Header, key, value and children, each aligned to 4 bytes; text values
// (type 1) count their length in characters.
Bytes versionNode(const std::string& key, const Bytes& value, uint16_t type,
                  const std::vector<Bytes>& children) {
    Bytes node(6, 0), name = utf16(key);
    node.insert(node.end(), name.begin(), name.end());
    pad4(node);
    node.insert(node.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        pad4(node);
        node.insert(node.end(), child.begin(), child.end());
    }
    put16(node, 0, static_cast<uint32_t>(node.size()));
    put16(node, 2, static_cast<uint32_t>(type == 1 ? value.size() / 2 : value.size()));
    put16(node, 4, type);
    return node;
}

}  // namespace

Bytes fixedInfo(const uint32_t (&words)[13]) {
    Bytes b(52, 0);
    for (int i = 0; i < 13; ++i) put32(b, static_cast<size_t>(i) * 4, words[i]);
    return b;
}

Bytes versionResource(const Bytes& fixed, bool withTranslation, uint16_t language,
                      uint16_t codePage) {
    Bytes table = versionNode("040904E4", {}, 1, {versionNode("FileVersion", utf16("1.0.0.1"), 1, {})});
    std::vector<Bytes> children{versionNode("StringFileInfo", {}, 1, {table})};
    if (withTranslation) {
        Bytes pair(4, 0);
        put16(pair, 0, language);
        put16(pair, 2, codePage);
        children.push_back(versionNode("VarFileInfo", {}, 1, {versionNode("Translation", pair, 0, {})}));
    }
    return versionNode("VS_VERSION_INFO", fixed, 0, children);
}

Bytes tinyPe(const Bytes& resource, uint32_t type) {
    const uint32_t rawAt = 0x200, rva = 0x1000, dataAt = 0x58;  // data after three directories
    Bytes section(dataAt, 0);
    section.insert(section.end(), resource.begin(), resource.end());
    section.resize((section.size() + 0x1FF) & ~size_t(0x1FF), 0);
    const uint32_t size = static_cast<uint32_t>(section.size());
    // Type, name and language directories with one numbered entry each, then
    // the data entry. Fields are written in ascending order, so that a wide
    // write of a narrow field is overwritten by the next.
    const uint32_t tree[][2] = {{0x0E, 1}, {0x10, type}, {0x14, 0x80000018u}, {0x26, 1},
                                {0x28, 1}, {0x2C, 0x80000030u}, {0x3E, 1}, {0x40, 0x409},
                                {0x44, 0x48}, {0x48, rva + dataAt},
                                {0x4C, static_cast<uint32_t>(resource.size())}};
    for (const auto& f : tree) put32(section, f[0], f[1]);
    // MZ stub, PE header (i386, one section), optional header, ".rsrc" section header.
    const uint32_t headers[][2] = {
        {0x00, 'M' | 'Z' << 8}, {0x3C, 0x40}, {0x40, 0x4550}, {0x44, 0x14C}, {0x46, 1},
        {0x54, 0xE0}, {0x56, 0x0102}, {0x58, 0x10B}, {0x78, 0x1000}, {0x7C, 0x200},
        {0xB4, 16}, {0xC8, rva}, {0xCC, size}, {0x138, 'r' << 24 | 's' << 16 | 'r' << 8 | '.'},
        {0x13C, 'c'}, {0x140, size}, {0x144, rva}, {0x148, size}, {0x14C, rawAt}};
    Bytes image(rawAt, 0);
    for (const auto& f : headers) put32(image, f[0], f[1]);
    image.insert(image.end(), section.begin(), section.end());
    return image;
}
