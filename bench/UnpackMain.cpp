// Unpacks one packed resource file RUNS times the way the setup does (all
// checks, both checksums, the fast decoder, a fresh buffer of the exact
// length each time) and prints the median CPU time of one unpack in
// nanoseconds (CPU time, so that other work on the machine does not count). The resource is
// read into memory first, as the setup finds it in its own module.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "installset/PackedResource.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vantorel-bench-unpack RESOURCE-FILE RUNS\n");
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
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
        long long ns = (end.tv_sec - start.tv_sec) * 1000000000LL + (end.tv_nsec - start.tv_nsec);
        times.push_back(ns);
    }
    if (times.empty()) return 2;
    std::sort(times.begin(), times.end());
    std::printf("%lld\n", times[times.size() / 2]);
    return 0;
}
