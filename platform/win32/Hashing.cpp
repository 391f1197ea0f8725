// SHA-256 by CryptoAPI, which lives in advapi32, a KnownDLL the programs
// import anyway.
#include <windows.h>
#include <wincrypt.h>

#include "platform/Hashing.h"
#include "platform/win32/Failure.h"

namespace platform {

Status sha256(const void* data, size_t size, unsigned char digest[32]) {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
        return lastFailure();
    Status status = statusOk;
    HCRYPTHASH hash = 0;
    if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
        DWORD length = 32;
        if (!CryptHashData(hash, static_cast<const BYTE*>(data), static_cast<DWORD>(size), 0) ||
            !CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0))
            status = lastFailure();
        else if (length != 32)
            status = failed(static_cast<DWORD>(NTE_BAD_LEN));
        CryptDestroyHash(hash);
    } else {
        status = lastFailure();
    }
    CryptReleaseContext(provider, 0);
    if (status != statusOk) SetLastError(status);
    return status;
}

}  // namespace platform
