#include "installset/BitReader.h"

BitReader::BitReader(const unsigned char* data, uint32_t length)
    : data_(data), length_(length), consumed_(0), current_(0), bitsLeft_(0), bitPosition_(7) {}

bool BitReader::readBits(int count, uint8_t* out) {
    unsigned result = 0;
    bool good = true;
    for (int i = 0; i < count; ++i) {
        if (bitsLeft_ == 0) {
            if (consumed_ >= length_) {
                good = false;
                break;
            }
            current_ = data_[consumed_++];
            bitsLeft_ = 8;
            bitPosition_ = 7;
        }
        if ((current_ >> bitPosition_) & 1) result |= 1u << (count - 1 - i);
        --bitPosition_;
        --bitsLeft_;
    }
    *out = static_cast<uint8_t>(result);
    return good;
}

bool BitReader::readCode(int width, uint32_t* value) {
    uint32_t result = 0;
    int shift = 0;
    bool good = true;
    uint8_t part = 0;
    if (width >= 9) {
        for (int groups = (width - 1) / 8; groups > 0; --groups) {
            good = readBits(8, &part) && good;
            result |= static_cast<uint32_t>(part) << shift;
            shift += 8;
            width -= 8;
        }
    }
    if (width > 0) {
        good = readBits(width, &part) && good;
        result |= static_cast<uint32_t>(part) << shift;
    }
    *value = result;
    return good;
}
