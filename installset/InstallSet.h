// The install set the program carries: its entries, read from the FILESET
// and FILESIZE tables.
#pragma once

#include "foundation/ErrorReport.h"
#include "foundation/GrowableArray.h"
#include "foundation/String.h"
#include "foundation/Locations.h"
#include "installlog/InstallLog.h"
#include "installset/FileSetEntry.h"

class InstallSet {
public:
    InstallSet();
    ~InstallSet();
    InstallSet(const InstallSet&) = delete;
    InstallSet& operator=(const InstallSet&) = delete;

    // Reads the FILESET and FILESIZE tables named prefix into entries. The
    // first fault ends it; entries made before it stay.
    ErrorHandle parseInstallSet(const String& prefix);
    // Every entry's "LZF" resource is present (contents are checked on unpacking).
    ErrorHandle checkPackedResources() const;
    FileSetEntry* findEntry(const String& name) const;
    FileSetEntry* addEntry(const String& name);

    // Keeps one copy of the locations and puts another into the log, which
    // records them beside what the run installs.
    void setLocations(const FileLocations& chosen) {
        locations = chosen;
        log.locations = chosen;
    }

    GrowableArray<FileSetEntry*> entries;  // owned, in order of first appearance
    InstallLog log;
    FileLocations locations;
};
