// The system's hash on the host: OpenSSL's libcrypto.
#include <openssl/evp.h>

#include "platform/platform.h"

namespace platform {

bool sha256(const void* data, size_t size, unsigned char digest[32]) {
    unsigned int length = 0;
    return EVP_Digest(data, size, digest, &length, EVP_sha256(), nullptr) == 1 && length == 32;
}

}  // namespace platform
