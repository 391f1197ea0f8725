// Unpacks one packed resource file the way the setup does (all checks, both
// checksums, the fast decoder) and writes nothing: bench/run times this
// process against the peer's decompressor.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "installset/PackedResource.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantorel-bench-unpack RESOURCE-FILE\n");
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (in == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    std::vector<unsigned char> resource;
    unsigned char chunk[1 << 16];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) resource.insert(resource.end(), chunk, chunk + got);
    std::fclose(in);
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    ErrorHandle result = unpackPackedBytes("BENCH", resource.data(), static_cast<uint32_t>(resource.size()),
                                           &data, &length, &mustFree);
    if (isFailure(result)) {
        std::fprintf(stderr, "%s\n", reportText(result).text());
        return 1;
    }
    if (mustFree) std::free(const_cast<unsigned char*>(data));
    return 0;
}
