// Arbitrary bytes as the FILESET and FILESIZE tables (split at the first
// 0xFF byte): parsing must end in success or a report, never out of bounds.
#include <cstdint>
#include <cstring>
#include <vector>

#include "installset/InstallSet.h"
#include "platform/host/HostControl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* split = static_cast<const uint8_t*>(std::memchr(data, 0xFF, size));
    const uint8_t* end = data + size;
    platform::host::putResource("FILESET", "VANTOREL", std::vector<unsigned char>(data, split ? split : end));
    platform::host::putResource("FILESIZE", "VANTOREL", std::vector<unsigned char>(split ? split + 1 : end, end));
    InstallSet set;
    if (!isFailure(set.parseInstallSet("VANTOREL"))) set.checkPackedResources();
    for (int32_t i = 0; i < set.entries.size(); ++i)
        if (set.entries[i]->destinations.size() == 0 || set.entries[i]->length < 0) __builtin_trap();
    return 0;
}
