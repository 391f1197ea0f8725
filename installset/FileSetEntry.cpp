#include "installset/FileSetEntry.h"

#include <cstdlib>

FileSetEntry::FileSetEntry(const String& resourceName)
    : name(resourceName), destinations(8, false), data(nullptr), ownedBuffer(nullptr), length(0) {}

FileSetEntry::~FileSetEntry() {
    for (int32_t i = 0; i < destinations.size(); ++i) delete destinations[i];
    std::free(ownedBuffer);
}

void FileSetEntry::addDestination(const String& group, const String& path, const String& title,
                                  bool desktop) {
    destinations.append(new FileDestination{group, path, title, static_cast<uint8_t>(desktop ? 1 : 0)});
}
