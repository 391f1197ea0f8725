#include "platform/host/VersionBlock.h"

#include <cctype>

namespace platform {
namespace host {
namespace {

struct Node {
    size_t start;
    size_t end;          // one past the node, never past its parent
    size_t value;        // where the value starts
    size_t valueBytes;
    uint16_t type;
    size_t keyStart;     // UTF-16 key, terminator excluded
    size_t keyChars;
    size_t children;     // where the first child starts
};

uint16_t u16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

size_t align4(size_t offset) { return (offset + 3) & ~static_cast<size_t>(3); }

bool readNode(const unsigned char* block, size_t start, size_t parentEnd, Node* node) {
    if (start > parentEnd || parentEnd - start < 6) return false;
    size_t length = u16(block + start);
    if (length < 6 || length > parentEnd - start) return false;
    node->start = start;
    node->end = start + length;
    uint16_t valueLength = u16(block + start + 2);
    node->type = u16(block + start + 4);
    node->keyStart = start + 6;
    size_t at = node->keyStart;
    while (true) {
        if (node->end - at < 2) return false;  // key without its terminator
        if (u16(block + at) == 0) break;
        at += 2;
    }
    node->keyChars = (at - node->keyStart) / 2;
    node->value = align4(at + 2);
    node->valueBytes = node->type == 1 ? static_cast<size_t>(valueLength) * 2 : valueLength;
    if (node->value > node->end || node->valueBytes > node->end - node->value) {
        if (valueLength != 0) return false;
        node->value = node->end;
    }
    node->children = align4(node->value + node->valueBytes);
    return true;
}

bool keyMatches(const unsigned char* block, const Node& node, const char* name, size_t n) {
    if (node.keyChars != n) return false;
    for (size_t i = 0; i < n; ++i) {
        uint16_t c = u16(block + node.keyStart + 2 * i);
        unsigned char want = static_cast<unsigned char>(name[i]);
        if (c >= 0x80 || want >= 0x80) {
            if (c != want) return false;
        } else if (std::tolower(c) != std::tolower(want)) {
            return false;
        }
    }
    return true;
}

bool findChild(const unsigned char* block, const Node& parent, const char* name, size_t n,
               Node* child) {
    size_t at = parent.children;
    while (at < parent.end) {
        Node node;
        if (!readNode(block, at, parent.end, &node)) return false;
        if (keyMatches(block, node, name, n)) {
            *child = node;
            return true;
        }
        at = align4(node.end);
    }
    return false;
}

}  // namespace

uint32_t versionBlockLength(const unsigned char* block, size_t size) {
    Node root;
    if (size < 6 || !readNode(block, 0, size, &root)) return 0;
    return static_cast<uint32_t>(root.end);
}

bool findVersionValue(const unsigned char* block, const char* path, const void** value,
                      uint32_t* length) {
    Node node;
    if (!readNode(block, 0, u16(block), &node)) return false;
    const char* p = path;
    while (*p != '\0') {
        while (*p == '\\') ++p;
        if (*p == '\0') break;
        const char* name = p;
        while (*p != '\0' && *p != '\\') ++p;
        Node child;
        if (!findChild(block, node, name, static_cast<size_t>(p - name), &child)) return false;
        node = child;
    }
    if (node.type == 1 && node.valueBytes != 0) return false;
    *value = block + node.value;
    *length = static_cast<uint32_t>(node.valueBytes);
    return true;
}

}  // namespace host
}  // namespace platform
