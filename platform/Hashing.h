// The system's own hash: CryptoAPI on Windows, libcrypto in the host model.
// Results follow platform/Status.h.
#pragma once

#include <cstddef>

#include "platform/Status.h"

namespace platform {

Status sha256(const void* data, size_t size, unsigned char digest[32]);

}  // namespace platform
