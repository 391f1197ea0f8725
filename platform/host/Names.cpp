#include "platform/host/Names.h"

#include <cctype>

namespace platform {
namespace host {

int compareNames(const char* a, const char* b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb || ca == 0) return ca - cb;
    }
    return 0;
}

int compareNames(const char* a, const char* b) { return compareNames(a, b, static_cast<size_t>(-1)); }

}  // namespace host
}  // namespace platform
