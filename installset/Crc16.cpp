#include "installset/Crc16.h"

namespace {

// table[0] is the classic one; table[k][i] is the checksum of byte i followed
// by k zero bytes, so eight bytes fold in with eight independent lookups.
// Built on first use into zeroed memory rather than by the compiler: as
// constant data the 4 KB would be a fifteenth of the setup program's file,
// and building them takes a few microseconds once. (Everything that checks
// sums runs on one thread.)
struct CrcTables {
    uint16_t table[8][256];
    bool built;
};
CrcTables tables;

const CrcTables& crcTables() {
    if (!tables.built) {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned value = i;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0x8408u : value >> 1;
            tables.table[0][i] = static_cast<uint16_t>(value);
        }
        for (int k = 1; k < 8; ++k)
            for (unsigned i = 0; i < 256; ++i)
                tables.table[k][i] = static_cast<uint16_t>((tables.table[k - 1][i] >> 8) ^
                                                           tables.table[0][tables.table[k - 1][i] & 0xFF]);
        tables.built = true;
    }
    return tables;
}

}  // namespace

uint16_t crc16(const unsigned char* bytes, uint32_t length, uint16_t start) {
    const auto& t = crcTables().table;
    uint32_t crc = start;
    uint32_t i = 0;
    for (; i + 8 <= length; i += 8) {
        const unsigned char* p = bytes + i;
        crc ^= uint32_t(p[0]) | uint32_t(p[1]) << 8;
        crc = t[7][crc & 0xFF] ^ t[6][crc >> 8] ^ t[5][p[2]] ^ t[4][p[3]] ^ t[3][p[4]] ^
              t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; i < length; ++i) crc = (crc >> 8) ^ t[0][(crc ^ bytes[i]) & 0xFF];
    return static_cast<uint16_t>(crc);
}
