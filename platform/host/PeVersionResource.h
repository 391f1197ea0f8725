// Finding the version resource inside the bytes of a PE file, as the loader
// would find it, without trusting any offset or size the file states.
#pragma once

#include <cstddef>

namespace platform {
namespace host {

// The raw VS_VERSIONINFO resource: type RT_VERSION, its first name, that
// name's first language. False when the bytes are no PE image, hold no
// version resource, or anything on the way points outside the file.
bool findVersionResource(const unsigned char* image, size_t size, size_t* offset,
                         size_t* length);

}  // namespace host
}  // namespace platform
