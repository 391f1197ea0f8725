#include <cstring>

#include "installlog/InstallLog.h"
#include "foundation/Fields.h"
#include "installlog/LogDigest.h"

namespace {
const uint32_t longestLine = 2047;
}  // namespace

// Reads lines the way the text stream of the original reader does: at most
// 2047 characters, the line feed consumed and not stored, and a line that
// meets the end of the file before its line feed reported as unfinished.
class LineReader {
public:
    // Bytes already in memory, read as the text stream would read the file.
    LineReader(const char* data, size_t size) : data_(data), size_(size), pending_(-2) {}

    // False when the line met the end of the file; such a line is not used.
    bool next(String& line) {
        char buffer[longestLine + 1];
        uint32_t n = 0;
        for (;;) {
            int c = get();
            if (c < 0) {
                buffer[n] = '\0';
                line = buffer;
                return false;
            }
            if (c == '\n') break;
            buffer[n++] = static_cast<char>(c);
            if (n == longestLine) {
                // The rest of a long line is read as a line of its own; a line
                // feed right after the 2047th character still ends this one.
                int after = get();
                if (after < 0) {
                    buffer[n] = '\0';
                    line = buffer;
                    return false;
                }
                if (after != '\n') pending_ = after;
                break;
            }
        }
        buffer[n] = '\0';
        line = buffer;
        return true;
    }

private:
    int get() {
        if (pending_ != -2) {
            int c = pending_;
            pending_ = -2;
            return c;
        }
        // Text mode: CR LF is one line feed and Ctrl-Z ends the text.
        if (at_ >= size_ || data_[at_] == 0x1A) return -1;
        char c = data_[at_++];
        if (c == '\r' && at_ < size_ && data_[at_] == '\n') c = data_[at_++];
        return static_cast<unsigned char>(c);
    }
    const char* data_ = nullptr;
    size_t size_ = 0;
    size_t at_ = 0;
    int pending_;
};

namespace {

ErrorHandle lineError(const char* pattern, const String& line) {
    String message;
    message.format(pattern, line.text());
    return makeError(message);
}

// Line types and the version compare exactly, case included.
bool is(const String& text, const char* word) { return std::strcmp(text.text(), word) == 0; }

}  // namespace

ErrorHandle InstallLog::readLines(LineReader& reader) {
    bool headerSeen = false;
    String line;
    ErrorHandle result;
    while (reader.next(line)) {
        GrowableArray<String> fields = splitFields(line, '|');
        int32_t n = fields.size();
        if (n == 0) continue;
        const String& type = fields[0];
        if (!headerSeen) {
            if (!is(type, "GUS")) {
                result = lineError("No version header line before line \"%s\"", line);
            } else if (n != 2) {
                result = lineError("Incorrect number of values in version header line \"%s\"", line);
            } else if (!is(fields[1], "1")) {
                result = lineError("Incorrect version number in version header line \"%s\"", line);
            } else {
                headerSeen = true;
                continue;
            }
            break;
        }
        int32_t wanted = 0;
        if (is(type, "GUS")) {
            result = lineError("Multiple version header line \"%s\"", line);
            break;
        } else if (is(type, "APPLICATION_NAME")) {
            wanted = 2;
        } else if (is(type, "FILE_LOCATIONS") || is(type, "REG_KEY")) {
            wanted = 3;
        } else if (is(type, "INSTALLED_FILE")) {
            wanted = 4;
        } else {
            result = lineError("Unknown type in line \"%s\"", line);
            break;
        }
        if (n != wanted) {
            result = lineError("Incorrect number of values in line \"%s\"", line);
            break;
        }
        if (is(type, "APPLICATION_NAME"))
            applicationName = fields[1];
        else if (is(type, "FILE_LOCATIONS"))
            locations.setLocationValue(fields[1].text(), fields[2]);
        else if (is(type, "INSTALLED_FILE"))
            addInstalledFile(fields[1], fields[2], fields[3]);
        else
            addRegistryKey(fields[1], fields[2]);
    }
    return result;
}

ErrorHandle InstallLog::readLogFile(const String& path) {
    reset();
    // A missing log is reported rather than created empty: a log that is not
    // there cannot be completed, and the run must not count as recorded. The
    // bytes are read whole and then read as the text stream reads them.
    FileBytes bytes;
    ErrorHandle result = bytes.read(path);
    if (isFailure(result)) return result;
    return readLogText(bytes.data(), bytes.size());
}

ErrorHandle InstallLog::readLogText(const char* data, size_t size) {
    reset();
    LineReader reader(data, size);
    return readLines(reader);
}

String logApplicationName(const char* data, size_t size) {
    static const char header[] = "GUS|1\r\nAPPLICATION_NAME|";
    const size_t headerSize = sizeof header - 1;
    if (size < headerSize || std::memcmp(data, header, headerSize) != 0) return String();
    // A name is a key's name: never longer than the registry takes.
    const size_t longestName = 1024;
    size_t end = headerSize;
    while (end < size && end - headerSize < longestName && data[end] != '\r' && data[end] != '\n' &&
           data[end] != '\0')
        ++end;
    if (end == size || data[end] != '\r') return String();
    String name(static_cast<uint32_t>(end - headerSize + 1), 0);
    char* text = name.writableText();
    std::memcpy(text, data + headerSize, end - headerSize);
    text[end - headerSize] = '\0';
    return name;
}
