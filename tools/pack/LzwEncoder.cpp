#include "tools/pack/LzwEncoder.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<unsigned char>& out) : out_(out), window_(0), bits_(0), written_(0) {}

    // The decoder takes a code's low byte first, then its high part, each
    // from the most significant bit down.
    void putCode(uint32_t code, uint32_t width) {
        uint32_t highBits = width - 8;
        uint64_t ordered = (static_cast<uint64_t>(code & 0xFF) << highBits) | (code >> 8);
        window_ = (window_ << width) | ordered;
        bits_ += width;
        written_ += width;
        while (bits_ >= 8) {
            bits_ -= 8;
            out_.push_back(static_cast<unsigned char>(window_ >> bits_));
        }
    }
    // Padding after the last code is zero bits up to the byte's end.
    void finish() {
        if (bits_ > 0) out_.push_back(static_cast<unsigned char>(window_ << (8 - bits_)));
        bits_ = 0;
    }
    uint64_t codeBits() const { return written_; }

private:
    std::vector<unsigned char>& out_;
    uint64_t window_;
    uint32_t bits_;
    uint64_t written_;  // by the codes, without padding
};

// (prefix code, byte) -> code of the strings the decoder's table holds. The
// slots hold 16-bit codes and each code's (prefix, byte) stands once beside
// them: half a megabyte at width 16 where whole keys in the slots took two,
// and the walks that the encoder is made of wait on the cache.
class StringDictionary {
public:
    explicit StringDictionary(uint32_t maxWidth)
        : shift_(64 - (maxWidth + 1)), mask_((1u << (maxWidth + 1)) - 1),
          slots_(size_t(1) << (maxWidth + 1)), keys_(size_t(1) << maxWidth) {}

    void clear() { std::fill(slots_.begin(), slots_.end(), uint16_t(0)); }
    // -1 when absent.
    int32_t find(uint32_t prefix, uint32_t byte) const {
        uint32_t key = prefix << 8 | byte;
        for (uint32_t i = slotOf(key);; i = (i + 1) & mask_) {
            uint32_t code = slots_[i];
            if (code == 0) return -1;
            if (keys_[code] == key) return static_cast<int32_t>(code);
        }
    }
    // A string the table already holds keeps its older code: the strings
    // that extend it hang off that one. (A parse that takes a shorter match
    // makes the decoder define such a second code for the same string.)
    // Whether the string was new.
    bool insert(uint32_t prefix, uint32_t byte, uint32_t code) {
        uint32_t key = prefix << 8 | byte;
        uint32_t i = slotOf(key);
        for (; slots_[i] != 0; i = (i + 1) & mask_)
            if (keys_[slots_[i]] == key) return false;
        slots_[i] = static_cast<uint16_t>(code);
        keys_[code] = key;
        return true;
    }

private:
    uint32_t slotOf(uint32_t key) const {
        return static_cast<uint32_t>(((key + 1) * 0x9E3779B97F4A7C15ull) >> shift_);
    }
    uint32_t shift_;
    uint32_t mask_;
    std::vector<uint16_t> slots_;  // codes from 256 up; 0: empty
    std::vector<uint32_t> keys_;
};

// Which strings the table holds, by a hash of their bytes: whether a string
// can be in the table is then a look at two bits instead of a walk of its
// links. Hashes may collide and bits may be shared, so "perhaps" is followed
// by the walk (about one time in seventy where the table is full and the
// string is not in it); "no" is certain. The hash of a string is its bytes
// (plus one, so that leading zero bytes count) as digits of base stringBase,
// modulo 2^32. Bits and hashes take an eighth of the table's own memory, so
// that all of them stay in the cache.
class StringHashes {
public:
    explicit StringHashes(uint32_t maxWidth, uint32_t longestString)
        : shift_(64 - (maxWidth - 2)), words_(size_t(1) << (maxWidth - 2)),
          ofCode_(size_t(1) << maxWidth), powers_(size_t(longestString) + 4) {
        for (uint32_t byte = 0; byte < 256; ++byte) ofCode_[byte] = byte + 1;
        powers_[0] = 1;
        for (size_t i = 1; i < powers_.size(); ++i) powers_[i] = powers_[i - 1] * stringBase;
    }
    void clear() { std::fill(words_.begin(), words_.end(), 0u); }
    uint32_t ofCode(uint32_t code) const { return ofCode_[code]; }
    uint32_t power(uint32_t n) const { return powers_[n]; }
    static uint32_t extend(uint32_t hash, unsigned char byte) { return hash * stringBase + byte + 1; }
    void add(uint32_t code, uint32_t hash) {
        ofCode_[code] = hash;
        uint64_t mixed = hash * 0x9E3779B97F4A7C15ull;
        words_[mixed >> shift_] |= bits(mixed);
    }
    bool perhaps(uint32_t hash) const {
        uint64_t mixed = hash * 0x9E3779B97F4A7C15ull;
        return (words_[mixed >> shift_] & bits(mixed)) == bits(mixed);
    }

private:
    static constexpr uint32_t stringBase = 0x01000193u * 0x9E3779B1u | 1;
    // Two bits of one word: one memory access, and four strings a word.
    static uint64_t bits(uint64_t mixed) { return (1ull << (mixed & 63)) | (1ull << (mixed >> 6 & 63)); }
    uint32_t shift_;
    std::vector<uint64_t> words_;
    std::vector<uint32_t> ofCode_;
    std::vector<uint32_t> powers_;
};

// Encodes data from a fresh table into writer, to the end or up to where the
// table fills after covering at least `until` bytes. Returns how many bytes
// the codes cover.
size_t encode(const unsigned char* data, size_t size, uint32_t maxWidth, uint32_t longestString,
              size_t until, BitWriter& writer, std::vector<LzwCycleEnd>* cycleEnds) {
    StringDictionary dictionary(maxWidth);
    StringHashes hashes(maxWidth, longestString);

    // How far the strings of the table reach from `at`: the codes of every
    // prefix of the longest match (the table holds each prefix of a string it
    // holds) into codes[1..length]; returns the length.
    auto matchCodes = [&](size_t at, uint32_t* codes) {
        uint32_t code = data[at];
        codes[1] = code;
        uint32_t length = 1;
        for (; at + length < size && length < longestString; ++length) {
            int32_t longer = dictionary.find(code, data[at + length]);
            if (longer < 0) break;
            code = static_cast<uint32_t>(longer);
            codes[length + 1] = code;
        }
        return length;
    };
    // The match found by looking ahead from where the longest match ends is,
    // when that match is taken, the next step's match: kept, not walked again.
    // The one entry made in between extends the string just taken, so it can
    // lengthen the kept match only where that match ended on that string.
    std::vector<uint32_t> codeBuffers(3 * (size_t(longestString) + 1));
    uint32_t* codes = codeBuffers.data();
    uint32_t* ahead = codes + longestString + 1;
    uint32_t* scratch = ahead + longestString + 1;  // the other look-aheads
    size_t aheadAt = 0;  // where the kept match starts; 0: none kept
    uint32_t aheadLength = 0;

    uint32_t width = 9, threshold = 512, nextCode = 256;
    size_t pos = 0;
    uint32_t previous = data[pos++];  // the table holds single bytes only
    writer.putCode(previous, width);
    // Whether the entry the decoder makes next (previous + the next string's
    // first byte) is a string of the current table. Right after a reset its
    // prefix is a code of the old table, and the encoder must never use it.
    bool previousInTable = true;
    while (pos < size) {
        // The decoder defines this entry while reading the next code, so the
        // next code may already be it.
        if (previousInTable && dictionary.insert(previous, data[pos], nextCode))
            hashes.add(nextCode, StringHashes::extend(hashes.ofCode(previous), data[pos]));
        // Flexible parsing: of the prefixes of the longest match, take the one
        // after which the next match reaches furthest. Every prefix is a
        // string of the table, so the stream stays one the decoder reads like
        // any other; only the choice of codes differs. A shorter prefix costs
        // a table entry, though: the decoder's next entry is that prefix plus
        // one byte, which the table already holds. So it must reach at least
        // two bytes further; at one byte the wasted entries cost more than
        // the codes saved (measured on text and binaries alike).
        uint32_t longest;
        if (aheadAt == pos && ahead[aheadLength] != previous) {
            std::swap(codes, ahead);
            longest = aheadLength;
        } else {
            longest = matchCodes(pos, codes);
        }
        aheadAt = 0;
        uint32_t take = longest;
        // While the table is less than half full its entries serve longer
        // and are worth more: there a shorter match must reach three bytes
        // further, later two (about 1% smaller at widths 15 and 16, 0.3% at
        // 14 on text and binaries).
        uint32_t gain = nextCode < (1u << (maxWidth - 1)) ? 3 : 2;
        bool resetsAfter = nextCode + 1 == threshold && width == maxWidth;
        if (longest > 1 && pos + longest < size && !resetsAfter) {
            aheadLength = matchCodes(pos + longest, ahead);
            aheadAt = pos + longest;
            size_t bestReach = aheadAt + aheadLength;
            // Four prefixes back: 0.2 to 0.4% smaller than two, for 6% more
            // time; six gain nothing more.
            for (uint32_t length = longest - 1; length >= 1 && length + 4 >= longest; --length) {
                size_t from = pos + length;
                // The match from here pays only if it covers everything up to
                // `gain` bytes past the best one: the bytes up to where that
                // one starts, its string and those. Most do not, and the
                // hashes tell without a walk.
                size_t needed = bestReach + gain;
                if (needed > size || needed - from > longestString) continue;
                uint32_t head = 0;
                for (size_t at = from; at < aheadAt; ++at) head = StringHashes::extend(head, data[at]);
                uint32_t tail = hashes.ofCode(ahead[aheadLength]);
                for (size_t at = bestReach; at < needed; ++at) tail = StringHashes::extend(tail, data[at]);
                if (!hashes.perhaps(head * hashes.power(aheadLength + gain) + tail)) continue;
                uint32_t reach = matchCodes(from, scratch);
                if (from + reach >= needed) {
                    // The better look-ahead is kept for the next step in its turn.
                    std::swap(ahead, scratch);
                    aheadAt = from;
                    aheadLength = reach;
                    bestReach = from + reach;
                    take = length;
                }
            }
        }
        uint32_t code = codes[take];
        pos += take;
        writer.putCode(code, width);
        previousInTable = true;
        if (++nextCode == threshold) {
            threshold *= 2;
            if (++width > maxWidth) {
                if (cycleEnds != nullptr) cycleEnds->push_back(LzwCycleEnd{pos, writer.codeBits()});
                if (pos >= until) break;
                dictionary.clear();
                hashes.clear();
                width = 9;
                threshold = 512;
                nextCode = 256;
                previousInTable = code < 256;
            }
        }
        previous = code;
    }
    return pos;
}

void checkWidth(uint32_t maxWidth) {
    if (maxWidth < 9 || maxWidth > 16) throw std::invalid_argument("LZW width must be 9 to 16");
}

}  // namespace

std::vector<unsigned char> lzwEncode(const unsigned char* data, size_t size, uint32_t maxWidth,
                                     uint32_t longestString, std::vector<LzwCycleEnd>* cycleEnds) {
    checkWidth(maxWidth);
    std::vector<unsigned char> out;
    if (size == 0) return out;
    out.reserve(size / 2 + 16);
    BitWriter writer(out);
    encode(data, size, maxWidth, longestString < 1 ? 1 : longestString, size, writer, cycleEnds);
    writer.finish();
    return out;
}

LzwCycles lzwCycles(const unsigned char* data, size_t size, uint32_t maxWidth, size_t until) {
    checkWidth(maxWidth);
    if (size == 0) return LzwCycles{0, 0};
    std::vector<unsigned char> out;
    BitWriter writer(out);
    size_t covered = encode(data, size, maxWidth, lzwLongestString, until, writer, nullptr);
    return LzwCycles{covered, writer.codeBits()};
}
