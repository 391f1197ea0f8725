#include "installset/Crc16.h"

namespace {

// table[0] is the classic one; table[k][i] is the checksum of byte i followed
// by k zero bytes, so sixteen bytes fold in with sixteen independent lookups.
// Built on first use into zeroed memory rather than by the compiler: as
// constant data the 8 KB would be an eighth of the setup program's file,
// and building them takes microseconds once. (Everything that checks
// sums runs on one thread.)
struct CrcTables {
    uint16_t table[16][256];
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
        for (int k = 1; k < 16; ++k)
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
    for (; i + 16 <= length; i += 16) {
        const unsigned char* p = bytes + i;
        crc ^= uint32_t(p[0]) | uint32_t(p[1]) << 8;
        crc = t[15][crc & 0xFF] ^ t[14][crc >> 8] ^ t[13][p[2]] ^ t[12][p[3]] ^ t[11][p[4]] ^
              t[10][p[5]] ^ t[9][p[6]] ^ t[8][p[7]] ^ t[7][p[8]] ^ t[6][p[9]] ^ t[5][p[10]] ^
              t[4][p[11]] ^ t[3][p[12]] ^ t[2][p[13]] ^ t[1][p[14]] ^ t[0][p[15]];
    }
    for (; i < length; ++i) crc = (crc >> 8) ^ t[0][(crc ^ bytes[i]) & 0xFF];
    return static_cast<uint16_t>(crc);
}
