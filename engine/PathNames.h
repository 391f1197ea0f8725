// The path rules of Windows paths written with backslashes: the parent of a
// path, a path split into parent and name, and a walk one directory at a time.
#pragma once

#include <cstddef>

#include "foundation/ErrorReport.h"
#include "foundation/String.h"

// The text before the last backslash, or the whole path when it has none.
String directoryOf(const String& path);

// Trailing backslashes are dropped first; parent keeps its backslash
// ('C:\a\b\' gives 'C:\a\' and 'b'; 'C:\' gives 'C:' and an empty name).
// Never fails.
ErrorHandle splitPath(const String& path, String& parent, String& name);

// The next directory of path after base, which must be the exact start of
// path: its name with the backslash that ends it ('dir1\'), or the path's
// last name without one, or empty text at the end.
ErrorHandle nextPathComponent(const String& path, const String& base, String& component);

// What keeps one file or folder name from being plain: empty, "." or "..",
// a character no Windows name may hold (control characters and
// \ / : * ? " < > |), or a last character that is a dot or a blank, which
// Windows drops, so that the name would be another's, or a device's name
// (CON, PRN, AUX, NUL, COM and LPT with a digit or a superscript one to
// three, CONIN$, CONOUT$, in any case, alone or before an extension), which
// opens the device instead of a file in the folder. The builder refuses such destinations with this rule and the
// uninstaller refuses such paths.
enum class NameFault { none, empty, dotOrDotDot, refusedCharacter, endsInDotOrBlank, deviceName };
NameFault nameFault(const char* name, size_t length);

// A full path of the plainest form, "X:\name\name": backslashes only and
// every name plain (nameFault). Device (\\.\, \\?\) and network
// (\\server) paths are not plain.
bool isPlainPath(const String& path);

// Whether path lies strictly below folder (names compared without regard to
// case, the next character a backslash, something after it). Never for an
// empty folder.
bool isBelow(const String& path, const String& folder);
