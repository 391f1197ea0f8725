// How the model compares names: the way Windows compares file, key, value and
// resource names, without regard to case.
#pragma once

#include <cstddef>

namespace platform {
namespace host {

// Below, equal or above zero as a sorts before, with or after b.
int compareNames(const char* a, const char* b);
// The same over at most n bytes.
int compareNames(const char* a, const char* b, size_t n);

}  // namespace host
}  // namespace platform
