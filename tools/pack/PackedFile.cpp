#include "tools/pack/PackedFile.h"

#include <stdexcept>

#include "installset/Crc16.h"
#include "installset/PackedHeader.h"
#include "tools/pack/LzwEncoder.h"

namespace {

enum : uint32_t { firstWidth = 9, lastWidth = 16, sampledCycles = 8 };

struct Stretch {
    size_t from, length;
};

// The samples are the widest table's own cycles, where its bits per byte are
// known exactly; a narrower table is encoded over the same bytes from a fresh
// start. On text and programs that has favoured the wider table by up to two
// and a half percent: a narrower one goes on to be encoded whole unless its
// samples take more than this much more.
const double sampleBias = 1.02;

// Bits per byte of width over the stretches.
double sampledRate(const unsigned char* data, uint32_t width, const std::vector<Stretch>& stretches) {
    uint64_t covered = 0, bits = 0;
    for (const Stretch& s : stretches) {
        bits += lzwCycles(data + s.from, s.length, width, s.length).bits;
        covered += s.length;
    }
    return double(bits) / double(covered);
}

}  // namespace

LzwChoice smallestLzw(const unsigned char* data, size_t size, size_t exhaustiveLimit) {
    LzwChoice best{0, {}};
    if (size <= exhaustiveLimit) {
        for (uint32_t width = firstWidth; width <= lastWidth; ++width) {
            std::vector<unsigned char> payload = lzwEncode(data, size, width);
            if (best.width == 0 || payload.size() < best.payload.size()) best = LzwChoice{width, std::move(payload)};
        }
        return best;
    }
    std::vector<LzwCycleEnd> ends;
    best = LzwChoice{lastWidth, lzwEncode(data, size, lastWidth, lzwLongestString, &ends)};
    // Cycles spread evenly over the file. A file the widest table covers in
    // one cycle has no samples: each narrower width is encoded whole.
    std::vector<Stretch> stretches;
    uint64_t bits = 0, covered = 0;
    size_t cycles = ends.size();
    for (size_t k = 0; k < cycles && k < sampledCycles; ++k) {
        size_t i = cycles <= sampledCycles ? k : (2 * k + 1) * cycles / (2 * sampledCycles);
        LzwCycleEnd start = i == 0 ? LzwCycleEnd{0, 0} : ends[i - 1];
        stretches.push_back(Stretch{start.at, ends[i].at - start.at});
        bits += ends[i].bits - start.bits;
        covered += ends[i].at - start.at;
    }
    double rate = covered == 0 ? 0 : double(bits) / double(covered);

    for (uint32_t width = lastWidth - 1; width >= firstWidth; --width) {
        if (!stretches.empty()) {
            double sampled = sampledRate(data, width, stretches);
            // Clearly worse on the samples, or not packing them at all.
            if (sampled >= 8 || sampled >= rate * sampleBias) break;
            rate = sampled;
        }
        std::vector<unsigned char> payload = lzwEncode(data, size, width);
        if (payload.size() >= best.payload.size()) break;
        best = LzwChoice{width, std::move(payload)};
    }
    return best;
}

std::vector<unsigned char> packFile(const std::vector<unsigned char>& bytes, bool forceStored,
                                    uint32_t width) {
    if (bytes.size() > 0xFFFFFFFFu) throw std::runtime_error("file is larger than 4 GB");
    uint32_t length = static_cast<uint32_t>(bytes.size());
    LzwChoice packed{packedStored, {}};
    bool stored = forceStored || length == 0;
    if (!stored) {
        packed = width == smallestWidth ? smallestLzw(bytes.data(), bytes.size())
                                        : LzwChoice{width, lzwEncode(bytes.data(), bytes.size(), width)};
        stored = packed.payload.size() >= bytes.size();
    }
    const std::vector<unsigned char>& payload = stored ? bytes : packed.payload;

    PackedHeader header;
    header.magic = packedMagic;
    header.method = stored ? packedStored : packed.width;
    header.unpackedLength = length;
    header.unpackedCrc = crc16(bytes.data(), length, 0);
    header.packedLength = static_cast<uint32_t>(payload.size());
    header.packedCrc = crc16(payload.data(), header.packedLength, 0);
    std::vector<unsigned char> resource(packedHeaderSize);
    resource.reserve(packedHeaderSize + payload.size());
    writePackedHeader(header, resource.data());
    resource.insert(resource.end(), payload.begin(), payload.end());
    return resource;
}
