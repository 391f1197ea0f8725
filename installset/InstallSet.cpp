#include "installset/InstallSet.h"

#include <cctype>
#include <cstring>

#include "foundation/Fields.h"
#include "installset/TableResource.h"
#include "platform/Resources.h"

namespace {

ErrorHandle readFileSetRows(InstallSet& set, const GrowableArray<String>& rows) {
    for (int32_t r = 0; r < rows.size(); ++r) {
        GrowableArray<String> fields = splitFields(rows[r], '|');
        if (fields.size() < 3)
            return makeError("Invalid FILESET resource, incorrect number of values in row");
        if (fields[0].isEmpty() || fields[1].isEmpty() || fields[2].isEmpty())
            return makeError("Invalid FILESET resource, empty values");
        String title = fields.size() > 3 ? fields[3] : String();
        bool desktop = fields.size() > 4 && compareNoCase(fields[4].text(), "y") == 0;
        FileSetEntry* entry = set.findEntry(fields[0]);
        if (entry == nullptr) entry = set.addEntry(fields[0]);
        entry->addDestination(fields[1], fields[2], title, desktop);
    }
    return noError();
}

// Decimal in the manner of atol (blanks, one sign, digits up to the first
// non-digit, none at all is 0), but a value beyond 32 bits is refused
// rather than left to wrap.
bool parseSize(const char* text, int32_t& value) {
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > 0x7FFFFFFFll) return false;
    }
    if (negative && magnitude != 0) return false;
    value = static_cast<int32_t>(magnitude);
    return true;
}

ErrorHandle readFileSizeRows(InstallSet& set, const GrowableArray<String>& rows) {
    for (int32_t r = 0; r < rows.size(); ++r) {
        GrowableArray<String> fields = splitFields(rows[r], '|');
        if (fields.size() < 2)
            return makeError("Invalid FILESIZE resource, incorrect number of values in row");
        if (fields[0].isEmpty() || fields[1].isEmpty())
            return makeError("Invalid FILESIZE resource, empty values");
        FileSetEntry* entry = set.findEntry(fields[0]);
        if (entry == nullptr) return makeError("Resource name in FILESIZE not found in FILESET");
        int32_t size = 0;
        if (!parseSize(fields[1].text(), size))
            return makeError("Invalid installed file size in FILESIZE resource");
        entry->length = size;
    }
    return noError();
}

}  // namespace

InstallSet::InstallSet() : entries(8, false) {}

InstallSet::~InstallSet() {
    for (int32_t i = 0; i < entries.size(); ++i) delete entries[i];
}

ErrorHandle InstallSet::parseInstallSet(const String& prefix) {
    GrowableArray<String> fileSet(8, false);
    ErrorHandle result = readTableResource(prefix, "FILESET", fileSet);
    if (isFailure(result)) return result;
    GrowableArray<String> fileSize(8, false);
    result = readTableResource(prefix, "FILESIZE", fileSize);
    if (isFailure(result)) return result;
    result = readFileSetRows(*this, fileSet);
    if (isFailure(result)) return result;
    return readFileSizeRows(*this, fileSize);
}

ErrorHandle InstallSet::checkPackedResources() const {
    for (int32_t i = 0; i < entries.size(); ++i) {
        const unsigned char* bytes = nullptr;
        uint32_t size = 0;
        if (platform::isResourceMissing(
                platform::loadResource("LZF", entries[i]->name.text(), &bytes, &size))) {
            String message;
            message.format("Install set is corrupt.\nResource %s not found.", entries[i]->name.text());
            return makeError(message);
        }
    }
    return noError();
}

FileSetEntry* InstallSet::findEntry(const String& name) const {
    for (int32_t i = 0; i < entries.size(); ++i)
        if (std::strcmp(entries[i]->name.text(), name.text()) == 0) return entries[i];
    return nullptr;
}

FileSetEntry* InstallSet::addEntry(const String& name) {
    FileSetEntry* entry = new FileSetEntry(name);
    entries.append(entry);
    return entry;
}
