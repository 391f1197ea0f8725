#include "installset/TableResource.h"

#include "platform/Resources.h"

ErrorHandle readTableResource(const String& name, const String& type, GrowableArray<String>& rows) {
    const unsigned char* bytes = nullptr;
    uint32_t size = 0;
    platform::Status status = platform::loadResource(type.text(), name.text(), &bytes, &size);
    if (platform::isResourceMissing(status)) return makeError("Could not find resource");
    if (status != platform::statusOk) return makeError("Could not load resource");
    // The empty row ends the table; the resource's end bounds it as well, so
    // a table that lost its terminator is not read past its last byte.
    uint32_t at = 0;
    while (at < size && bytes[at] != '\0') {
        uint32_t end = at;
        while (end < size && bytes[end] != '\0') ++end;
        String row(end - at + 1, 0);
        char* text = row.writableText();
        for (uint32_t i = at; i < end; ++i) text[i - at] = static_cast<char>(bytes[i]);
        text[end - at] = '\0';
        rows.append(row);
        at = end + 1;
    }
    return noError();
}
