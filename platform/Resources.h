// Resources of the program's own module, looked up by type and name. Results
// follow platform/Status.h.
#pragma once

#include <cstdint>

#include "platform/Status.h"

namespace platform {

// The bytes stay valid for the life of the program; size bounds every reader.
// errResourceTypeNotFound or errResourceNameNotFound: the module has no such
// resource; any other failure: it is there but cannot be loaded.
Status loadResource(const char* type, const char* name, const unsigned char** data,
                    uint32_t* size);
bool isResourceMissing(Status status);

}  // namespace platform
