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

// The same checks over bytes already in hand (the install-set builder uses it
// on files); name is only used in the messages.
ErrorHandle unpackPackedBytes(const String& name, const unsigned char* resource, uint32_t size,
                              const unsigned char** data, uint32_t* length, bool* mustFree);
