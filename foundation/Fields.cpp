#include "foundation/Fields.h"

GrowableArray<String> splitFields(const String& row, char separator) {
    GrowableArray<String> fields(8, false);
    if (row.isEmpty()) return fields;
    uint32_t start = 0;
    for (;;) {
        uint32_t at = row.findChar(start, separator, true);
        if (at == String::notFound) {
            fields.append(row.mid(start, row.length() - start));
            return fields;
        }
        fields.append(row.mid(start, at - start));
        start = at + 1;
    }
}
