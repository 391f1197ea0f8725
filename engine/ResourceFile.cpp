#include "engine/ResourceFile.h"

#include <cstdlib>

#include "engine/FileWriting.h"
#include "installset/PackedResource.h"

ErrorHandle installResourceFile(const String& name, const String& path) {
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    bool mustFree = false;
    ErrorHandle result = unpackResource(name, &data, &length, &mustFree);
    if (isFailure(result)) return result;
    result = writeFile(path, data, length);
    if (mustFree) std::free(const_cast<unsigned char*>(data));
    return result;
}
