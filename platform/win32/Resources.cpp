// Resources of the program's own module.
#include <windows.h>

#include "platform/Resources.h"
#include "platform/win32/Failure.h"
#include "platform/win32/Text.h"

namespace platform {

Status loadResource(const char* type, const char* name, const unsigned char** data,
                    uint32_t* size) {
    WideText wideType(type), wideName(name);
    if (wideType.status() != statusOk) return wideType.status();
    if (wideName.status() != statusOk) return wideName.status();
    HRSRC found = FindResourceW(nullptr, wideName.get(), wideType.get());
    if (found == nullptr) return lastFailure();
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return loaded == nullptr ? lastFailure() : failed(ERROR_RESOURCE_DATA_NOT_FOUND);
    *data = static_cast<const unsigned char*>(bytes);
    *size = SizeofResource(nullptr, found);
    return statusOk;
}

}  // namespace platform
