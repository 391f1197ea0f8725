// One packed file of the install set and the places it is written to.
#pragma once

#include <cstdint>

#include "foundation/GrowableArray.h"
#include "foundation/String.h"

struct FileDestination {
    String group;
    String path;   // begins with a location macro
    String title;  // shortcut title; empty for no shortcut
    uint8_t desktop;
};

class FileSetEntry {
public:
    explicit FileSetEntry(const String& resourceName);
    ~FileSetEntry();
    FileSetEntry(const FileSetEntry&) = delete;
    FileSetEntry& operator=(const FileSetEntry&) = delete;

    void addDestination(const String& group, const String& path, const String& title, bool desktop);

    String name;
    GrowableArray<FileDestination*> destinations;  // owned, in table order
    const unsigned char* data;  // the unpacked bytes while the entry is being installed
    unsigned char* ownedBuffer;  // freed with the entry when set
    int32_t length;
};
