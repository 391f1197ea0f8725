// The destination roots that install-set paths, shortcut paths and log paths
// start with ("%APP%\doc\Vantorel.html"), and the directories they stand for
// on this machine.
#pragma once

#include "foundation/String.h"

// In their fixed order: the order of the record's fields and of every search.
enum class LocationMacro { APP, SHORTCUT, DESKTOP, WIN, WINSYS, WINSYS32 };
const int locationMacroCount = 6;

// "%APP%", "%SHORTCUT%", ... with the percent signs.
const char* macroText(LocationMacro macro);

struct FileLocations {
    String APP;       // the product's installation directory
    String SHORTCUT;  // the shortcut group
    String DESKTOP;   // the user's desktop
    String WIN;       // the Windows directory
    String WINSYS;    // filled only from an install log
    String WINSYS32;  // filled only from an install log

    // WIN comes from the system; it stays empty if the system cannot say.
    FileLocations();

    String& field(LocationMacro macro);
    const String& field(LocationMacro macro) const;
    // Macro texts match byte for byte, case and percent signs included; any
    // other text gives empty text, and setting it changes nothing.
    String locationValue(const char* macro) const;
    void setLocationValue(const char* macro, const String& directory);
};

// The path with the macro at its very start replaced by that macro's
// directory, inserted as it is; a macro anywhere else stays literal text, and
// only one is expanded. outMacro (when given) receives the macro text used,
// or empty text.
String expandLocation(const String& path, const FileLocations& locations, String* outMacro = nullptr);
