// CRC-16/KERMIT (reflected polynomial 0x8408, no final XOR): the checksum of
// both the stored payload and the unpacked bytes of a packed resource.
#pragma once

#include <cstdint>

uint16_t crc16(const unsigned char* bytes, uint32_t length, uint16_t start);
