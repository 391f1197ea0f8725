#include "tests/support/TinyPe.h"

namespace {

void put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

void put32(Bytes& b, size_t at, uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

void pad4(Bytes& b) {
    while (b.size() % 4 != 0) b.push_back(0);
}

}  // namespace

Bytes versionNode(const std::string& key, const Bytes& value, uint16_t type,
                  const std::vector<Bytes>& children) {
    Bytes node(6, 0);
    for (char c : key) {
        node.push_back(static_cast<unsigned char>(c));
        node.push_back(0);
    }
    node.push_back(0);
    node.push_back(0);
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

Bytes fixedInfo(const uint32_t (&words)[13]) {
    Bytes b(52, 0);
    for (int i = 0; i < 13; ++i) put32(b, static_cast<size_t>(i) * 4, words[i]);
    return b;
}

Bytes versionResource(const Bytes& fixed, bool withTranslation, uint16_t language,
                      uint16_t codePage) {
    std::vector<Bytes> children;
    Bytes text;
    for (char c : std::string("1.0.0.1")) {
        text.push_back(static_cast<unsigned char>(c));
        text.push_back(0);
    }
    text.push_back(0);
    text.push_back(0);
    Bytes table = versionNode("040904E4", {}, 1, {versionNode("FileVersion", text, 1, {})});
    children.push_back(versionNode("StringFileInfo", {}, 1, {table}));
    if (withTranslation) {
        Bytes pair(4, 0);
        put16(pair, 0, language);
        put16(pair, 2, codePage);
        children.push_back(versionNode("VarFileInfo", {}, 1, {versionNode("Translation", pair, 0, {})}));
    }
    return versionNode("VS_VERSION_INFO", fixed, 0, children);
}

Bytes tinyPe(const Bytes& resource, uint32_t type) {
    const size_t peAt = 0x40;
    const size_t optionalAt = peAt + 24;
    const size_t sectionAt = optionalAt + 0xE0;
    const size_t rawAt = 0x200;
    const uint32_t sectionRva = 0x1000;
    const size_t dataAt = 0x58;  // after the three directories and the data entry

    Bytes section(dataAt, 0);
    section.insert(section.end(), resource.begin(), resource.end());
    while (section.size() % 0x200 != 0) section.push_back(0);
    // Type, name and language directories, one numbered entry each.
    put16(section, 0x0E, 1);
    put32(section, 0x10, type);
    put32(section, 0x14, 0x80000018u);
    put16(section, 0x18 + 0x0E, 1);
    put32(section, 0x28, 1);
    put32(section, 0x2C, 0x80000030u);
    put16(section, 0x30 + 0x0E, 1);
    put32(section, 0x40, 0x409);
    put32(section, 0x44, 0x48);
    put32(section, 0x48, sectionRva + static_cast<uint32_t>(dataAt));
    put32(section, 0x4C, static_cast<uint32_t>(resource.size()));

    Bytes image(rawAt, 0);
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, peAt);
    put32(image, peAt, 0x00004550u);
    put16(image, peAt + 4, 0x14C);
    put16(image, peAt + 6, 1);
    put16(image, peAt + 20, 0xE0);
    put16(image, peAt + 22, 0x0102);
    put16(image, optionalAt, 0x10B);
    put32(image, optionalAt + 32, 0x1000);  // section alignment
    put32(image, optionalAt + 36, 0x200);   // file alignment
    put32(image, optionalAt + 92, 16);
    put32(image, optionalAt + 96 + 16, sectionRva);
    put32(image, optionalAt + 96 + 20, static_cast<uint32_t>(section.size()));
    const char name[] = ".rsrc";
    for (size_t i = 0; i < 5; ++i) image[sectionAt + i] = static_cast<unsigned char>(name[i]);
    put32(image, sectionAt + 8, static_cast<uint32_t>(section.size()));
    put32(image, sectionAt + 12, sectionRva);
    put32(image, sectionAt + 16, static_cast<uint32_t>(section.size()));
    put32(image, sectionAt + 20, rawAt);
    image.insert(image.end(), section.begin(), section.end());
    return image;
}

std::string asText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
