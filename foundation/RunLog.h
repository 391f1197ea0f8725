// The record of one run that an administrator asks for with /LOG: a plain
// text file with one timestamped line for each thing the run was told, did
// or showed. There is one per process, every layer notes into it, and
// nothing is written while none is open. It never changes what the run does:
// a line that cannot be written is dropped, and so is every line after it.
#pragma once

#include "foundation/String.h"
#include "platform/Status.h"

namespace runlog {

// Creates the log at path, in place of a file of that name. Whatever lies
// there is removed rather than opened, so a link that someone planted under
// the name is never followed. The seam's status of the failure.
platform::Status open(const char* path);
// Creates a new log in the user's folder for temporary files, named for the
// program and the time, "<baseName> YYYY-MM-DD HH-MM-SS.log" (" (2)" and so on
// before the extension when that name is taken); path is its name.
platform::Status openInTemporaryFolder(const char* baseName, String& path);
bool isOpen();
// One line, the time in front. Line breaks inside the text (a box's text)
// continue it indented, so every line of the log that is not indented is
// one note.
void note(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
void close();

}  // namespace runlog
