#include "platform/host/PeVersionResource.h"

#include <cstdint>

namespace platform {
namespace host {
namespace {

const uint32_t rtVersion = 16;
const uint32_t highBit = 0x80000000u;

class Image {
public:
    Image(const unsigned char* bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool has(size_t offset, size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    uint16_t u16(size_t offset) const {
        return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
    }
    uint32_t u32(size_t offset) const {
        return static_cast<uint32_t>(bytes_[offset]) | static_cast<uint32_t>(bytes_[offset + 1]) << 8 |
               static_cast<uint32_t>(bytes_[offset + 2]) << 16 |
               static_cast<uint32_t>(bytes_[offset + 3]) << 24;
    }

private:
    const unsigned char* bytes_;
    size_t size_;
};

struct Sections {
    size_t table;
    unsigned count;
    uint32_t fileAlignment;
};

// The loader reads a section from its raw pointer rounded down to 512 bytes
// whenever the file alignment is at least that; small-alignment images map
// the pointer as it stands.
uint32_t rawPointer(uint32_t pointer, uint32_t fileAlignment) {
    if (fileAlignment < 0x200) return pointer;
    return pointer & ~0x1FFu;
}

// The file offset of count bytes at a relative virtual address, when all of
// them lie in one section's raw data and in the file.
bool offsetOf(const Image& image, const Sections& sections, uint32_t rva, uint32_t count,
              size_t* offset) {
    for (unsigned i = 0; i < sections.count; ++i) {
        size_t header = sections.table + static_cast<size_t>(i) * 40;
        uint32_t virtualSize = image.u32(header + 8);
        uint32_t address = image.u32(header + 12);
        uint32_t rawSize = image.u32(header + 16);
        uint32_t pointer = rawPointer(image.u32(header + 20), sections.fileAlignment);
        uint32_t span = virtualSize > rawSize ? virtualSize : rawSize;
        if (rva < address || rva - address >= span) continue;
        uint32_t within = rva - address;
        if (within > rawSize || count > rawSize - within) return false;
        size_t at = static_cast<size_t>(pointer) + within;
        if (!image.has(at, count)) return false;
        *offset = at;
        return true;
    }
    return false;
}

// Entry index of a resource directory, returning its OffsetToData. With
// wantedId null the first entry is taken, named or numbered.
bool directoryEntry(const Image& image, const Sections& sections, uint32_t rootRva,
                    uint32_t directory, const uint32_t* wantedId, uint32_t* target) {
    size_t at;
    if (!offsetOf(image, sections, rootRva + directory, 16, &at)) return false;
    uint32_t named = image.u16(at + 12);
    uint32_t numbered = image.u16(at + 14);
    uint32_t total = named + numbered;
    for (uint32_t i = 0; i < total; ++i) {
        size_t entry;
        if (!offsetOf(image, sections, rootRva + directory + 16 + i * 8, 8, &entry)) return false;
        uint32_t name = image.u32(entry);
        if (wantedId != nullptr && ((name & highBit) != 0 || name != *wantedId)) continue;
        *target = image.u32(entry + 4);
        return true;
    }
    return false;
}

}  // namespace

bool findVersionResource(const unsigned char* bytes, size_t size, size_t* offset,
                         size_t* length) {
    Image image(bytes, size);
    if (!image.has(0, 64) || bytes[0] != 'M' || bytes[1] != 'Z') return false;
    size_t pe = image.u32(0x3C);
    if (!image.has(pe, 24) || image.u32(pe) != 0x00004550u) return false;
    unsigned sectionCount = image.u16(pe + 6);
    size_t optionalSize = image.u16(pe + 20);
    size_t optional = pe + 24;
    if (!image.has(optional, optionalSize) || optionalSize < 2) return false;

    size_t countField;
    size_t directories;
    switch (image.u16(optional)) {
        case 0x10B: countField = 92; directories = 96; break;   // PE32
        case 0x20B: countField = 108; directories = 112; break;  // PE32+
        default: return false;
    }
    // The resource directory is the third data directory; it must lie inside
    // the optional header the file declares.
    size_t resourceSlot = directories + 2 * 8;
    if (optionalSize < resourceSlot + 8 || image.u32(optional + countField) < 3) return false;
    uint32_t rootRva = image.u32(optional + resourceSlot);
    if (rootRva == 0 || image.u32(optional + resourceSlot + 4) == 0) return false;

    Sections sections;
    sections.table = optional + optionalSize;
    sections.count = sectionCount;
    sections.fileAlignment = image.u32(optional + 36);
    if (!image.has(sections.table, static_cast<size_t>(sectionCount) * 40)) return false;

    // Three levels: type, name, language; the first two must be directories,
    // the last a data entry.
    uint32_t wanted = rtVersion;
    uint32_t names;
    if (!directoryEntry(image, sections, rootRva, 0, &wanted, &names) || !(names & highBit))
        return false;
    uint32_t languages;
    if (!directoryEntry(image, sections, rootRva, names & ~highBit, nullptr, &languages) ||
        !(languages & highBit))
        return false;
    uint32_t data;
    if (!directoryEntry(image, sections, rootRva, languages & ~highBit, nullptr, &data) ||
        (data & highBit))
        return false;

    size_t dataEntry;
    if (!offsetOf(image, sections, rootRva + data, 16, &dataEntry)) return false;
    uint32_t dataRva = image.u32(dataEntry);
    uint32_t dataSize = image.u32(dataEntry + 4);
    if (dataSize == 0 || !offsetOf(image, sections, dataRva, dataSize, offset)) return false;
    *length = dataSize;
    return true;
}

}  // namespace host
}  // namespace platform
