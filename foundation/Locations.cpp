#include "foundation/Locations.h"

#include <cstring>

#include "platform/System.h"

namespace {

const char* const macroTexts[locationMacroCount] = {
    "%APP%", "%SHORTCUT%", "%DESKTOP%", "%WIN%", "%WINSYS%", "%WINSYS32%",
};

bool macroOf(const char* text, LocationMacro* macro) {
    if (text == nullptr) return false;
    for (int i = 0; i < locationMacroCount; ++i) {
        if (std::strcmp(text, macroTexts[i]) == 0) {
            *macro = static_cast<LocationMacro>(i);
            return true;
        }
    }
    return false;
}

}  // namespace

const char* macroText(LocationMacro macro) { return macroTexts[static_cast<int>(macro)]; }

FileLocations::FileLocations() {
    char directory[3 * 260 + 1];  // MAX_PATH UTF-16 units as UTF-8
    if (platform::windowsDirectory(directory, sizeof directory) == platform::statusOk) {
        directory[sizeof directory - 1] = '\0';
        WIN = directory;
    }
}

String& FileLocations::field(LocationMacro macro) {
    switch (macro) {
        case LocationMacro::APP: return APP;
        case LocationMacro::SHORTCUT: return SHORTCUT;
        case LocationMacro::DESKTOP: return DESKTOP;
        case LocationMacro::WIN: return WIN;
        case LocationMacro::WINSYS: return WINSYS;
        case LocationMacro::WINSYS32: break;
    }
    return WINSYS32;
}

const String& FileLocations::field(LocationMacro macro) const {
    return const_cast<FileLocations*>(this)->field(macro);
}

String FileLocations::locationValue(const char* macro) const {
    LocationMacro which;
    return macroOf(macro, &which) ? field(which) : String();
}

void FileLocations::setLocationValue(const char* macro, const String& directory) {
    LocationMacro which;
    if (macroOf(macro, &which)) field(which) = directory;
}

String expandLocation(const String& path, const FileLocations& locations, String* outMacro) {
    String result(path);
    String matched;
    for (int i = 0; i < locationMacroCount; ++i) {
        const char* text = macroTexts[i];
        size_t length = std::strlen(text);
        if (std::strncmp(result.text(), text, length) != 0) continue;
        matched = text;
        result.replace(0, static_cast<uint32_t>(length),
                       locations.field(static_cast<LocationMacro>(i)).text());
        break;
    }
    if (outMacro != nullptr) *outMacro = matched;
    return result;
}
