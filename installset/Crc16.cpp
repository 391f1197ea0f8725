#include "installset/Crc16.h"

// Where the processor multiplies polynomials (x86-64 hosts: the install-set
// builder and the tests; never the Windows programs, which stay small), long
// runs fold 64 bytes at a time with carry-less multiplications, six times as
// fast as the tables.
#if defined(__x86_64__) && !defined(_WIN32)
#define VANTOREL_CRC_FOLDING 1
#include <immintrin.h>
#endif

// The hosts read sixteen bytes a step through sixteen tables. The Windows
// programs check a few hundred kilobytes once, where a byte a step costs
// nothing noticeable and the setup is 300 bytes smaller.
#if defined(_WIN32)
#define VANTOREL_CRC_SLICES 1
#else
#define VANTOREL_CRC_SLICES 16
#endif

namespace {

// table[0] is the classic one; table[k][i] is the checksum of byte i followed
// by k zero bytes, so sixteen bytes fold in with sixteen independent lookups.
// Built on first use into zeroed memory rather than by the compiler: as
// constant data the 8 KB would be an eighth of the setup program's file,
// and building them takes microseconds once. (Everything that checks
// sums runs on one thread.)
struct CrcTables {
    uint16_t table[VANTOREL_CRC_SLICES][256];
    bool built;
#ifdef VANTOREL_CRC_FOLDING
    bool folding;
    // x^n mod the polynomial for the fold distances, one 64-bit lane each.
    uint64_t by512[2], by128[2];
#endif
};
CrcTables tables;

#ifdef VANTOREL_CRC_FOLDING
// In the reflected order of this checksum the first bit of a message is its
// highest power of x, and 16 bytes loaded little-endian are a polynomial of
// degree below 128 with bit i standing for x^(127 - i). Appending 128 bits
// multiplies what came before by x^128, so a 128-bit remainder V folds onto
// the next block as V's upper half times x^192 and its lower half times
// x^128, modulo the polynomial x^16 + x^12 + x^5 + 1. Both products come from
// one carry-less multiplication of a 64-bit half by the constant, which stands
// as x^(n - 1) mod the polynomial: a product of two such lanes lands one bit
// short of the register's own order, which is the missing factor x.

uint32_t power(unsigned n) {  // x^n mod the polynomial, bit d standing for x^d
    uint32_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & 0x10000) r ^= 0x11021;
    }
    return r;
}

uint64_t lane(uint32_t poly) {  // bit j stands for x^(63 - j)
    uint64_t v = 0;
    for (int d = 0; d < 16; ++d)
        if (poly >> d & 1) v |= uint64_t(1) << (63 - d);
    return v;
}

__attribute__((target("pclmul,sse4.1"))) inline __m128i fold(__m128i v, __m128i k, __m128i next) {
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(v, k, 0x00), _mm_clmulepi64_si128(v, k, 0x11)), next);
}

__attribute__((target("pclmul,sse4.1"))) inline __m128i load(const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// At least 64 bytes; *done receives how many it took, all but the last 15 at
// most. A start value counts as the same bits flipped in the first two
// bytes. The remainder left is a 16-byte message whose checksum is that of
// every byte folded into it, and the tables take it from there.
__attribute__((target("pclmul,sse4.1"))) uint16_t crc16Folded(const CrcTables& t, const unsigned char* bytes,
                                                               uint32_t length, uint16_t start, uint32_t* done) {
    const __m128i by512 = _mm_set_epi64x(static_cast<long long>(t.by512[1]), static_cast<long long>(t.by512[0]));
    const __m128i by128 = _mm_set_epi64x(static_cast<long long>(t.by128[1]), static_cast<long long>(t.by128[0]));
    __m128i v0 = _mm_xor_si128(load(bytes), _mm_cvtsi32_si128(start));
    __m128i v1 = load(bytes + 16), v2 = load(bytes + 32), v3 = load(bytes + 48);
    uint32_t i = 64;
    for (; i + 64 <= length; i += 64) {
        v0 = fold(v0, by512, load(bytes + i));
        v1 = fold(v1, by512, load(bytes + i + 16));
        v2 = fold(v2, by512, load(bytes + i + 32));
        v3 = fold(v3, by512, load(bytes + i + 48));
    }
    v3 = fold(fold(fold(v0, by128, v1), by128, v2), by128, v3);
    for (; i + 16 <= length; i += 16) v3 = fold(v3, by128, load(bytes + i));
    unsigned char rest[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(rest), v3);
    *done = i;
    uint32_t crc = 0;
    for (unsigned char byte : rest) crc = (crc >> 8) ^ t.table[0][(crc ^ byte) & 0xFF];
    return static_cast<uint16_t>(crc);
}
#endif

const CrcTables& crcTables() {
    if (!tables.built) {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned value = i;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0x8408u : value >> 1;
            tables.table[0][i] = static_cast<uint16_t>(value);
        }
        for (int k = 1; k < VANTOREL_CRC_SLICES; ++k)
            for (unsigned i = 0; i < 256; ++i)
                tables.table[k][i] = static_cast<uint16_t>((tables.table[k - 1][i] >> 8) ^
                                                           tables.table[0][tables.table[k - 1][i] & 0xFF]);
#ifdef VANTOREL_CRC_FOLDING
        __builtin_cpu_init();
        tables.folding = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
        tables.by512[0] = lane(power(575));
        tables.by512[1] = lane(power(511));
        tables.by128[0] = lane(power(191));
        tables.by128[1] = lane(power(127));
#endif
        tables.built = true;
    }
    return tables;
}

}  // namespace

uint16_t crc16(const unsigned char* bytes, uint32_t length, uint16_t start) {
    const CrcTables& tables = crcTables();
    const auto& t = tables.table;
    uint32_t crc = start;
    uint32_t i = 0;
#ifdef VANTOREL_CRC_FOLDING
    if (tables.folding && length >= 64) crc = crc16Folded(tables, bytes, length, start, &i);
#endif
#if VANTOREL_CRC_SLICES == 16
    for (; i + 16 <= length; i += 16) {
        const unsigned char* p = bytes + i;
        crc ^= uint32_t(p[0]) | uint32_t(p[1]) << 8;
        crc = t[15][crc & 0xFF] ^ t[14][crc >> 8] ^ t[13][p[2]] ^ t[12][p[3]] ^ t[11][p[4]] ^
              t[10][p[5]] ^ t[9][p[6]] ^ t[8][p[7]] ^ t[7][p[8]] ^ t[6][p[9]] ^ t[5][p[10]] ^
              t[4][p[11]] ^ t[3][p[12]] ^ t[2][p[13]] ^ t[1][p[14]] ^ t[0][p[15]];
    }
#endif
    for (; i < length; ++i) crc = (crc >> 8) ^ t[0][(crc ^ bytes[i]) & 0xFF];
    return static_cast<uint16_t>(crc);
}
