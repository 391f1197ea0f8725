// Unpacks one packed resource file RUNS times the way the host programs do
// (all checks, both checksums, the fast decoder, a fresh buffer of the exact
// length each time) and prints the median CPU time of one unpack in
// nanoseconds (CPU time, so that other work on the machine does not count). The resource is
// read into memory first, as the setup finds it in its own module.
// With --literal, the payload is decoded by the bit-by-bit decoder that the
// Windows programs carry instead (the decoding alone, without the checks).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "installset/LiteralLzwDecoder.h"
#include "installset/PackedHeader.h"
#include "installset/PackedResource.h"

namespace {

ErrorHandle unpackOnce(const std::vector<unsigned char>& resource, bool literal) {
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    if (!literal) {
        ErrorHandle result = unpackPackedBytes("BENCH", resource.data(), static_cast<uint32_t>(resource.size()),
                                               &data, &length, &mustFree);
        if (mustFree) std::free(const_cast<unsigned char*>(data));
        return result;
    }
    PackedHeader header;
    if (!readPackedHeader(resource.data(), static_cast<uint32_t>(resource.size()), header) ||
        header.method == packedStored || resource.size() - packedHeaderSize < header.packedLength)
        return makeError("not a resource packed with LZW (stored, or a damaged header)");
    unsigned char* out = static_cast<unsigned char*>(std::malloc(header.unpackedLength));
    if (out == nullptr) return insufficientMemory();
    ErrorHandle result = LiteralLzwDecoder(header.method)
                             .decompress(resource.data() + packedHeaderSize, header.packedLength, out,
                                         header.unpackedLength);
    std::free(out);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    bool literal = argc == 4 && std::string(argv[1]) == "--literal";
    if (literal) {
        --argc;
        ++argv;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: vantorel-bench-unpack [--literal] RESOURCE-FILE RUNS\n");
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
    int runs = std::atoi(argv[2]);
    std::vector<long long> times;
    for (int run = 0; run < runs; ++run) {
        timespec start, end;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
        ErrorHandle result = unpackOnce(resource, literal);
        if (isFailure(result)) {
            std::fprintf(stderr, "%s\n", reportText(result).text());
            return 1;
        }
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
        long long ns = (end.tv_sec - start.tv_sec) * 1000000000LL + (end.tv_nsec - start.tv_nsec);
        times.push_back(ns);
    }
    if (times.empty()) return 2;
    std::sort(times.begin(), times.end());
    std::printf("%lld\n", times[times.size() / 2]);
    return 0;
}
