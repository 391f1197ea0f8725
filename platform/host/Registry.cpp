// The registry of the sandboxed machine: one REGEDIT4 text file per root.
// Every operation reads the file afresh; every change writes a temporary file
// and renames it into place, so concurrent runs never see a torn hive, and
// holds the hive's lock from reading to renaming, so none loses another's
// change.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/host/HostControl.h"
#include "platform/Text.h"
#include "platform/host/WindowsPaths.h"

namespace platform {
namespace {

const long errNotFound = errFileNotFound;
const long errMoreData = 234;
const long errBadDb = 1009;
const long errKeyDeleted = 1018;

struct Value {
    std::string name;
    uint32_t type;
    std::vector<unsigned char> bytes;
};
struct Key {
    std::string path;  // as first written, below the root
    std::vector<Value> values;
};
struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return compareNames(a.c_str(), b.c_str()) < 0;
    }
};
typedef std::map<std::string, Key, NoCase> Hive;

struct HostKey {
    int root;
    std::string path;
};

const char* rootName(int root) {
    return root == rootLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// Serialises one read-modify-write of a hive between the processes that share
// the sandbox. Without it a slower writer renames a hive read before a faster
// one's change over that change. Where the lock file cannot be made the hive
// is still never torn, only last-writer-wins.
class HiveLock {
public:
    explicit HiveLock(int root)
        : fd_(::open((host::registryFile(root) + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC,
                     0644)) {
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~HiveLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

private:
    int fd_;
};

// A line break cannot be written inside a quoted REGEDIT4 name or key path;
// accepting one would leave a hive that no later run can parse.
bool breaksLine(const char* s) { return std::strpbrk(s, "\r\n") != nullptr; }

bool readOnly(const std::string& file) {
    struct stat st;
    return ::stat(file.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

void complain(const std::string& file, int line, const char* what) {
    if (line == 0)
        std::fprintf(stderr, "vantorel: registry file %s: %s\n", file.c_str(), what);
    else
        std::fprintf(stderr, "vantorel: registry file %s, line %d: %s\n", file.c_str(), line, what);
}

// The next line of text at pos, without its line ending. Byte values that
// regedit exports wrap onto further lines, each but the last ending in a
// backslash; they are joined here so a hive pasted from an export reads.
std::string nextLine(const std::string& text, size_t& pos, int& lineNo) {
    std::string line;
    for (;;) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!part.empty() && part.back() == '\r') part.pop_back();
        if (!line.empty()) part.erase(0, part.find_first_not_of(" \t"));
        line += part;
        bool continued = !line.empty() && line.back() == '\\' &&
                         line.find("=hex") != std::string::npos && pos < text.size();
        if (!continued) return line;
        line.pop_back();
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted string at s[i] (the opening quote); i ends past the closing quote.
bool parseQuoted(const std::string& s, size_t& i, std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    for (++i; i < s.size(); ++i) {
        if (s[i] == '"') {
            ++i;
            return true;
        }
        if (s[i] == '\\') {
            if (++i >= s.size()) return false;
        }
        out += s[i];
    }
    return false;
}

bool parseData(const std::string& s, Value& v) {
    if (!s.empty() && s[0] == '"') {
        size_t i = 0;
        std::string text;
        if (!parseQuoted(s, i, text) || i != s.size()) return false;
        v.type = regSz;
        v.bytes.assign(text.begin(), text.end());
        v.bytes.push_back(0);
        return true;
    }
    if (s.compare(0, 6, "dword:") == 0) {
        if (s.size() != 14) return false;
        uint32_t n = 0;
        for (size_t i = 6; i < 14; ++i) {
            int d = hexDigit(s[i]);
            if (d < 0) return false;
            n = n * 16 + static_cast<uint32_t>(d);
        }
        v.type = regDword;
        v.bytes = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                   static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
        return true;
    }
    size_t i = 0;
    if (s.compare(0, 4, "hex:") == 0) {
        v.type = 3;
        i = 4;
    } else if (s.compare(0, 4, "hex(") == 0) {
        size_t close = s.find("):", 4);
        if (close == std::string::npos || close == 4) return false;
        uint32_t t = 0;
        for (size_t k = 4; k < close; ++k) {
            int d = hexDigit(s[k]);
            if (d < 0) return false;
            t = t * 16 + static_cast<uint32_t>(d);
        }
        v.type = t;
        i = close + 2;
    } else {
        return false;
    }
    v.bytes.clear();
    while (i < s.size()) {
        if (i + 2 > s.size()) return false;
        int hi = hexDigit(s[i]), lo = hexDigit(s[i + 1]);
        if (hi < 0 || lo < 0) return false;
        v.bytes.push_back(static_cast<unsigned char>(hi * 16 + lo));
        i += 2;
        if (i < s.size() && s[i++] != ',') return false;
    }
    return true;
}

// Loads the hive of a root; false (after saying where) when it cannot be parsed.
bool load(int root, Hive& hive) {
    std::string file = host::registryFile(root);
    FILE* f = std::fopen(file.c_str(), "rb");
    if (f == nullptr) {
        if (errno == ENOENT) return true;  // no file yet: an empty hive
        complain(file, 0, std::strerror(errno));
        return false;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);

    std::string prefix = std::string(rootName(root));
    Key* current = nullptr;
    int lineNo = 0;
    size_t pos = 0;
    bool header = false;
    while (pos < text.size()) {
        std::string line = nextLine(text, pos, lineNo);
        if (!header) {
            if (line != "REGEDIT4") {
                complain(file, lineNo, "expected the REGEDIT4 header");
                return false;
            }
            header = true;
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') {
                complain(file, lineNo, "a key line must end with ]");
                return false;
            }
            std::string full = line.substr(1, line.size() - 2);
            if (compareNames(full.c_str(), prefix.c_str(), static_cast<uint32_t>(prefix.size())) != 0 ||
                (full.size() > prefix.size() && full[prefix.size()] != '\\')) {
                complain(file, lineNo, "the key lies under another root");
                return false;
            }
            std::string path = full.size() > prefix.size() ? full.substr(prefix.size() + 1) : "";
            Key& k = hive[path];
            if (k.path.empty()) k.path = path;
            current = &k;
            continue;
        }
        if (current == nullptr) {
            complain(file, lineNo, "a value before any key");
            return false;
        }
        Value v;
        size_t i = 0;
        if (line[0] == '@') {
            i = 1;
        } else if (!parseQuoted(line, i, v.name)) {
            complain(file, lineNo, "cannot read the value name");
            return false;
        }
        if (i >= line.size() || line[i] != '=' || !parseData(line.substr(i + 1), v)) {
            complain(file, lineNo, "cannot read the value data");
            return false;
        }
        bool replaced = false;
        for (Value& old : current->values)
            if (compareNames(old.name.c_str(), v.name.c_str()) == 0) {
                old = v;
                replaced = true;
            }
        if (!replaced) current->values.push_back(v);
    }
    if (!header && !text.empty()) {
        complain(file, 1, "expected the REGEDIT4 header");
        return false;
    }
    return true;
}

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool save(int root, const Hive& hive) {
    std::string file = host::registryFile(root);
    std::string text = "REGEDIT4\n\n";
    char hex[16];
    for (const auto& entry : hive) {
        const Key& k = entry.second;
        text += "[" + std::string(rootName(root)) + (k.path.empty() ? "" : "\\" + k.path) + "]\n";
        for (const Value& v : k.values) {
            text += v.name.empty() ? "@" : quote(v.name);
            text += "=";
            // Text with a line break, an inner zero or no terminator only
            // survives the round trip as bytes.
            bool plainText = v.type == regSz && !v.bytes.empty() && v.bytes.back() == 0 &&
                             std::memchr(v.bytes.data(), 0, v.bytes.size() - 1) == nullptr &&
                             std::memchr(v.bytes.data(), '\n', v.bytes.size()) == nullptr &&
                             std::memchr(v.bytes.data(), '\r', v.bytes.size()) == nullptr;
            if (plainText) {
                text += quote(std::string(v.bytes.begin(), v.bytes.end() - 1));
            } else if (v.type == regDword && v.bytes.size() == 4) {
                uint32_t n = v.bytes[0] | v.bytes[1] << 8 | v.bytes[2] << 16 |
                             static_cast<uint32_t>(v.bytes[3]) << 24;
                std::snprintf(hex, sizeof hex, "%08x", n);
                text += std::string("dword:") + hex;
            } else {
                std::snprintf(hex, sizeof hex, "%x", v.type);
                text += std::string("hex(") + hex + "):";
                for (size_t i = 0; i < v.bytes.size(); ++i) {
                    std::snprintf(hex, sizeof hex, "%02x", v.bytes[i]);
                    text += (i ? "," : "") + std::string(hex);
                }
            }
            text += "\n";
        }
        text += "\n";
    }
    std::string temp = file + "." + std::to_string(::getpid()) + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = std::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok;
}

std::string childPath(const std::string& parent, const char* sub) {
    if (parent.empty()) return sub;
    if (sub[0] == '\0') return parent;
    return parent + "\\" + sub;
}

long createKeyNow(int root, const char* path, RegHandle* key) {
    *key = nullptr;
    std::string file = host::registryFile(root);
    if (readOnly(file)) return errAccessDenied;
    if (breaksLine(path)) return errInvalidParameter;
    HiveLock lock(root);
    Hive hive;
    if (!load(root, hive)) return errBadDb;
    std::string clean = path;
    while (!clean.empty() && clean.back() == '\\') clean.pop_back();
    bool created = false;
    for (size_t i = 0; i <= clean.size(); ++i) {
        if (i != clean.size() && clean[i] != '\\') continue;
        std::string part = clean.substr(0, i);
        if (part.empty()) continue;
        if (hive.find(part) == hive.end()) {
            hive[part].path = part;
            created = true;
        }
    }
    if (created && !save(root, hive)) return errAccessDenied;
    *key = new HostKey{root, clean};
    return 0;
}

long openKeyNow(int root, const char* path, RegHandle* key) {
    *key = nullptr;
    if (breaksLine(path)) return errInvalidParameter;
    Hive hive;
    if (!load(root, hive)) return errBadDb;
    std::string clean = path;
    while (!clean.empty() && clean.back() == '\\') clean.pop_back();
    // The root itself always exists.
    if (!clean.empty() && hive.find(clean) == hive.end()) return errNotFound;
    *key = new HostKey{root, clean};
    return 0;
}

long queryValueNow(RegHandle handle, const char* name, uint32_t* type, unsigned char* data,
                   uint32_t* size) {
    HostKey* key = static_cast<HostKey*>(handle);
    if (key == nullptr) return 6;
    Hive hive;
    if (!load(key->root, hive)) return errBadDb;
    auto k = hive.find(key->path);
    if (k == hive.end()) return errKeyDeleted;
    for (const Value& v : k->second.values) {
        if (compareNames(v.name.c_str(), name) != 0) continue;
        uint32_t need = static_cast<uint32_t>(v.bytes.size());
        if (type != nullptr) *type = v.type;
        if (data == nullptr) {
            if (size != nullptr) *size = need;
            return 0;
        }
        if (size == nullptr || *size < need) {
            if (size != nullptr) *size = need;
            return errMoreData;
        }
        if (need > 0) std::memcpy(data, v.bytes.data(), need);
        *size = need;
        return 0;
    }
    return errNotFound;
}

long setValueNow(RegHandle handle, const char* name, uint32_t type, const unsigned char* data,
                 uint32_t size) {
    HostKey* key = static_cast<HostKey*>(handle);
    if (key == nullptr) return 6;
    if (readOnly(host::registryFile(key->root))) return errAccessDenied;
    if (breaksLine(name)) return errInvalidParameter;
    HiveLock lock(key->root);
    Hive hive;
    if (!load(key->root, hive)) return errBadDb;
    auto k = hive.find(key->path);
    if (k == hive.end()) return errKeyDeleted;
    Value v{name, type, std::vector<unsigned char>(data, data + size)};
    bool replaced = false;
    for (Value& old : k->second.values)
        if (compareNames(old.name.c_str(), name) == 0) {
            v.name = old.name;
            old = v;
            replaced = true;
        }
    if (!replaced) k->second.values.push_back(v);
    return save(key->root, hive) ? 0L : static_cast<long>(errAccessDenied);
}

long deleteKeyNow(RegHandle handle, const char* subKey) {
    HostKey* key = static_cast<HostKey*>(handle);
    if (key == nullptr) return 6;
    if (readOnly(host::registryFile(key->root))) return errAccessDenied;
    HiveLock lock(key->root);
    Hive hive;
    if (!load(key->root, hive)) return errBadDb;
    std::string path = childPath(key->path, subKey);
    auto k = hive.find(path);
    if (k == hive.end()) return errNotFound;
    // As on Windows, a key that still has sub-keys is not deleted.
    std::string below = path + "\\";
    for (const auto& entry : hive)
        if (compareNames(entry.first.c_str(), below.c_str(), static_cast<uint32_t>(below.size())) == 0)
            return errAccessDenied;
    hive.erase(k);
    return save(key->root, hive) ? 0L : static_cast<long>(errAccessDenied);
}

long deleteValueNow(RegHandle handle, const char* name) {
    HostKey* key = static_cast<HostKey*>(handle);
    if (key == nullptr) return 6;
    if (readOnly(host::registryFile(key->root))) return errAccessDenied;
    HiveLock lock(key->root);
    Hive hive;
    if (!load(key->root, hive)) return errBadDb;
    auto k = hive.find(key->path);
    if (k == hive.end()) return errKeyDeleted;
    std::vector<Value>& values = k->second.values;
    for (auto v = values.begin(); v != values.end(); ++v) {
        if (compareNames(v->name.c_str(), name) != 0) continue;
        values.erase(v);
        return save(key->root, hive) ? 0L : static_cast<long>(errAccessDenied);
    }
    return errNotFound;
}

// The registry's calls return their code; as Windows does for every failing
// call the seam makes, the code is left as the last error too.
template <class Act>
Status call(host::Call kind, Act act) {
    uint32_t injected = 0;
    if (host::injectFault(kind, &injected)) return host::failWith(injected);
    long code = act();
    return code == 0 ? statusOk : host::failWith(static_cast<uint32_t>(code));
}

}  // namespace

Status regCreateKey(int root, const char* path, RegHandle* key) {
    *key = nullptr;
    return call(host::Call::regCreateKey, [&] { return createKeyNow(root, path, key); });
}

Status regOpenKey(int root, const char* path, RegHandle* key) {
    *key = nullptr;
    return call(host::Call::regOpenKey, [&] { return openKeyNow(root, path, key); });
}

Status regQueryValue(RegHandle key, const char* name, uint32_t* type, unsigned char* data,
                     uint32_t* size) {
    return call(host::Call::regQueryValue, [&] { return queryValueNow(key, name, type, data, size); });
}

Status regSetValue(RegHandle key, const char* name, uint32_t type, const unsigned char* data,
                   uint32_t size) {
    return call(host::Call::regSetValue, [&] { return setValueNow(key, name, type, data, size); });
}

Status regDeleteKey(RegHandle key, const char* subKey) {
    return call(host::Call::regDeleteKey, [&] { return deleteKeyNow(key, subKey); });
}

Status regDeleteValue(RegHandle key, const char* name) {
    return call(host::Call::regDeleteValue, [&] { return deleteValueNow(key, name); });
}

void regCloseKey(RegHandle handle) { delete static_cast<HostKey*>(handle); }

}  // namespace platform
