#include "foundation/RunLog.h"

#include <cstdarg>

#include "platform/Files.h"
#include "platform/System.h"

namespace runlog {
namespace {

platform::Stream* stream = nullptr;

// "YYYY-MM-DD HH:MM:SS.mmm" with separator between the fields of the time of
// day; empty text when the clock cannot be read.
String timeText(char separator) {
    platform::LocalTime now;
    String text;
    if (platform::localTime(&now) == platform::statusOk)
        text.format("%04u-%02u-%02u %02u%c%02u%c%02u.%03u", now.year, now.month, now.day, now.hour,
                    separator, now.minute, separator, now.second, now.milliseconds);
    return text;
}

}  // namespace

platform::Status open(const char* path) {
    close();
    platform::unlinkFile(path);
    return platform::createNewStream(path, "w", &stream);
}

platform::Status openInTemporaryFolder(const char* baseName, String& path) {
    close();
    char folder[520];
    platform::Status status = platform::temporaryDirectory(folder, sizeof folder);
    if (status != platform::statusOk) return status;
    String stamp = timeText('-').left(19);  // to the second
    char number[] = " (1)";
    // Two runs in one second, or a name someone took before us: the next one.
    for (char attempt = '1'; attempt <= '9'; ++attempt) {
        number[2] = attempt;
        path.format("%s%s %s%s.log", folder, baseName, stamp.text(), attempt > '1' ? number : "");
        status = platform::createNewStream(path.text(), "w", &stream);
        if (!platform::isAlreadyThere(status)) break;
    }
    return status;
}

bool isOpen() { return stream != nullptr; }

void note(const char* format, ...) {
    if (stream == nullptr) return;
    // A caller may note between a failing call and reading its code.
    uint32_t lastError = platform::lastErrorCode();
    String text;
    va_list args;
    va_start(args, format);
    text.formatV(format, args);
    va_end(args);
    text.trimRight();  // system texts end with a line break of their own
    // Every line of a text is one of the log's, those after the first
    // indented past "YYYY-MM-DD HH:MM:SS.mmm  "; empty ones go.
    String line = timeText(':');
    line.append(line.isEmpty() ? "(no time)                " : "  ");
    bool broken = false;
    for (const char* piece = text.text();; ++piece) {
        uint32_t length = 0;
        while (piece[length] != '\0' && piece[length] != '\r' && piece[length] != '\n') ++length;
        if (length > 0) {
            if (broken) line.append("\n                         ");
            line.append(String(piece).left(length).text());
            broken = false;
        }
        piece += length;
        if (*piece == '\0') break;
        // A CR goes: the stream's text mode writes each line end as CR LF.
        if (*piece == '\n') broken = true;
    }
    line.append("\n");
    if (platform::writeStream(stream, line.text(), line.length()) != platform::statusOk ||
        platform::flushStream(stream) != platform::statusOk) {
        platform::closeStream(stream);
        stream = nullptr;
    }
    platform::setLastErrorCode(lastError);
}

void close() {
    if (stream != nullptr) platform::closeStream(stream);
    stream = nullptr;
}

}  // namespace runlog
