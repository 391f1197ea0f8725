// The system's hash on the host: OpenSSL's libcrypto.
#include <openssl/evp.h>

#include "platform/Hashing.h"
#include "platform/host/HostControl.h"
#include "platform/host/WindowsPaths.h"

namespace platform {

Status sha256(const void* data, size_t size, unsigned char digest[32]) {
    uint32_t injected = 0;
    if (host::injectFault(host::Call::sha256, &injected)) return host::failWith(injected);
    unsigned int length = 0;
    if (EVP_Digest(data, size, digest, &length, EVP_sha256(), nullptr) == 1 && length == 32)
        return statusOk;
    return host::failWith(0x80090020u);  // NTE_FAIL, as CryptoAPI says an internal error
}

}  // namespace platform
