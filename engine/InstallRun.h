// The install run: turns a filled install set into an installation,
// recording every file, link and key it creates in the set's install log.
#pragma once

#include "foundation/Locations.h"
#include "engine/UninstallerDeployment.h"
#include "foundation/ErrorReport.h"
#include "foundation/GrowableArray.h"
#include "installlog/InstallLog.h"
#include "installset/InstallSet.h"

typedef GrowableArray<String> GroupList;

// Null or a warning when the installation is complete; otherwise the first
// failure. Nothing is undone here: the caller undoes from the set's log.
// apps gives the product's values for the system's list of programs; its
// displayIcon may begin with a location macro. The run adds the installation
// directory and the size of the files it wrote.
ErrorHandle runInstall(InstallSet& set, const GroupList& groupsToInstall, const String& productName,
                       const AppsEntry& apps = AppsEntry());

ErrorHandle installEntry(FileSetEntry& entry, InstallLog& log, const GroupList& groupsToInstall,
                         const FileLocations& locations);
bool isSelected(const FileDestination& destination, const GroupList& groupsToInstall);
bool hasSelectedDestination(const FileSetEntry& entry, const GroupList& groupsToInstall);
ErrorHandle loadData(FileSetEntry& entry);
void releaseData(FileSetEntry& entry);
ErrorHandle writeDestination(const FileDestination& destination, const unsigned char* data,
                             uint32_t length, const FileLocations& locations);
ErrorHandle createShortcuts(InstallSet& set, const GroupList& groupsToInstall);
ErrorHandle createEntryShortcuts(FileSetEntry& entry, InstallLog& log,
                                 const GroupList& groupsToInstall, const FileLocations& locations);
