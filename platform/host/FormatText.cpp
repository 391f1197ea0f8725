#include <cstdio>

#include "platform/platform.h"

namespace platform {

int formatText(char* buf, size_t size, const char* format, va_list args) {
    return std::vsnprintf(buf, size, format, args);
}

}  // namespace platform
