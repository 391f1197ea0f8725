// The one sequence container: grows at the end by a fixed step (or doubling).
#pragma once

#include <cstdint>

template <typename E>
class GrowableArray {
public:
    explicit GrowableArray(int32_t growthStep = 8, bool doubling = false)
        : data_(nullptr), size_(0), capacity_(0), growthStep_(growthStep), doubling_(doubling) {}
    GrowableArray(const GrowableArray& other)
        : data_(nullptr), size_(0), capacity_(0), growthStep_(other.growthStep_),
          doubling_(other.doubling_) {
        for (int32_t i = 0; i < other.size_; ++i) append(other.data_[i]);
    }
    GrowableArray& operator=(const GrowableArray& other) {
        if (this == &other) return *this;
        clear();
        for (int32_t i = 0; i < other.size_; ++i) append(other.data_[i]);
        return *this;
    }
    ~GrowableArray() { delete[] data_; }

    void append(const E& value) {
        // value may be an element of this array, which growing frees: take
        // the copy before the storage moves.
        E copy(value);
        if (size_ == capacity_) grow();
        data_[size_] = copy;
        ++size_;
    }
    int32_t size() const { return size_; }
    int32_t capacity() const { return capacity_; }
    E& operator[](int32_t i) { return data_[i]; }
    const E& operator[](int32_t i) const { return data_[i]; }
    // Forget the elements but keep the storage for reuse.
    void clear() {
        for (int32_t i = 0; i < size_; ++i) data_[i] = E();
        size_ = 0;
    }

private:
    void grow() {
        int32_t newCapacity =
            (doubling_ && capacity_ > 0) ? capacity_ * 2 : capacity_ + growthStep_;
        // A step below 1 would leave no slot for the element being appended.
        if (newCapacity <= capacity_) newCapacity = capacity_ + 1;
        E* storage = new E[newCapacity];
        for (int32_t i = 0; i < size_; ++i) storage[i] = data_[i];
        delete[] data_;
        data_ = storage;
        capacity_ = newCapacity;
    }

    E* data_;
    int32_t size_;
    int32_t capacity_;
    int32_t growthStep_;
    bool doubling_;
};
