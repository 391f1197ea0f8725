// Packed resources of type "LZF": found by name, checked (magic, lengths,
// both checksums, in that order) and handed out as the file's bytes.
#pragma once

#include <cstdint>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

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
