#include "installset/Crc16.h"

namespace {

struct CrcTable {
    uint16_t entry[256];
    constexpr CrcTable() : entry() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned value = i;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0x8408u : value >> 1;
            entry[i] = static_cast<uint16_t>(value);
        }
    }
};

// Built by the compiler, so the program carries it as constant data.
constexpr CrcTable table;

}  // namespace

uint16_t crc16(const unsigned char* bytes, uint32_t length, uint16_t start) {
    uint16_t crc = start;
    for (uint32_t i = 0; i < length; ++i)
        crc = static_cast<uint16_t>((crc >> 8) ^ table.entry[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}
