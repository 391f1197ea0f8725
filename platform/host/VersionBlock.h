// The tree of a VS_VERSIONINFO block: nodes of length, value length, type,
// UTF-16 key, value and children, each aligned to 4 bytes from the block's
// start.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {
namespace host {

// The length the block's root node claims, when the root fits in size bytes
// and is long enough to hold its own header; 0 otherwise.
uint32_t versionBlockLength(const unsigned char* block, size_t size);

// The value of the node that a path such as "\" or "\VarFileInfo\Translation"
// names (components matched without regard to case). The walk stays inside
// the root's claimed length and inside every parent. Text values are not
// offered: the ANSI library would hand them out converted, and nothing here
// reads them.
bool findVersionValue(const unsigned char* block, const char* path, const void** value,
                      uint32_t* length);

}  // namespace host
}  // namespace platform
