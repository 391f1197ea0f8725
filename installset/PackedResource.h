// Packed resources of type "LZF": found by name, checked (magic, lengths,
// both checksums, in that order) and handed out as the file's bytes.
#pragma once

#include <cstdint>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"
#include "installset/LzwDecoder.h"

// A stored resource is handed out in place (mustFree false); a compressed one
// in a malloc'd block of exactly the unpacked length that the caller frees.
ErrorHandle unpackResource(const String& name, const unsigned char** data, uint32_t* length,
                           bool* mustFree);

// Where a compressed resource's bytes are decoded to: obtain gives a block of
// at least size bytes or null, release takes it back. A caller that hands out
// the block afterwards (mustFree true) releases it with its own release.
struct UnpackBuffers {
    unsigned char* (*obtain)(uint32_t size);
    void (*release)(unsigned char* block, uint32_t size);
};

// The same checks over bytes already in hand (the install-set builder uses it
// on files); name is only used in the messages. Without buffers the block
// comes from malloc, as unpackResource's does.
ErrorHandle unpackPackedBytes(const String& name, const unsigned char* resource, uint32_t size,
                              const unsigned char** data, uint32_t* length, bool* mustFree,
                              const UnpackBuffers* buffers = nullptr);

// The same checks for a caller that only passes the bytes on: they go to
// output's deliver as they become final, a compressed resource's through the
// window instead of a block of its full length, a stored one's in one piece.
// length receives the unpacked length. A resource found bad after bytes went
// out (its unpacked checksum) is reported all the same; a piece that deliver
// refuses ends it with "Decompression error", and the caller knows why.
ErrorHandle unpackPackedBytesTo(const String& name, const unsigned char* resource, uint32_t size,
                                const LzwOutput& output, uint32_t* length);
