// vantorel-pack: builds the install set that the setup carries, and checks
// packed resources with the very code the setup unpacks them with.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/ErrorReport.h"
#include "installset/InstallSet.h"
#include "installset/PackedResource.h"
#include "installset/TableResource.h"
#include "platform/host/HostControl.h"
#include "tools/pack/InstallSetOutput.h"
#include "tools/pack/Manifest.h"
#include "tools/pack/OutputFolder.h"
#include "tools/pack/PackedFile.h"

namespace fs = std::filesystem;

namespace {

const char* const usage =
    "usage: vantorel-pack pack MANIFEST OUTDIR [--bin DIR] [--width N]\n"
    "       vantorel-pack unpack RESOURCE-FILE OUT|-\n"
    "       vantorel-pack verify OUTDIR\n"
    "\n"
    "pack    reads MANIFEST (rows FILEGROUP|group, FILESET|resource|group|destination\n"
    "        [|title[|desktop flag]], FILE|resource|source path[|stored]; '#' starts a\n"
    "        comment line) and writes into OUTDIR one <resource>.lzf per FILE row, the\n"
    "        tables FILEGROUP.bin, FILESET.bin and FILESIZE.bin, installset.rc for windres\n"
    "        and installset_host.cpp for the host build. Source paths are relative to the\n"
    "        manifest's folder; a leading @BIN@/ stands for the --bin DIR. Each file is\n"
    "        compressed with the maximum code width (9 to 16) that packs it smallest,\n"
    "        or with N for --width N, and stored when that is not smaller.\n"
    "unpack  checks one packed resource file as the setup does and writes its bytes to OUT,\n"
    "        or to standard output for -.\n"
    "verify  checks the tables and every packed resource in OUTDIR as the setup does.\n";

int fail(const std::string& message) {
    std::cerr << "vantorel-pack: " << message << "\n";
    return 1;
}

// The setup's own report text, so the tool and the setup say the same thing.
int failReport(const std::string& what, const ErrorHandle& report) {
    return fail(what + ": " + reportText(report).text());
}

int pack(const std::vector<std::string>& args) {
    std::string binDir;
    uint32_t width = smallestWidth;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--bin") {
            if (i + 1 >= args.size()) return fail("--bin needs a folder\n" + std::string(usage));
            binDir = args[++i];
        } else if (args[i] == "--width") {
            const std::string value = i + 1 < args.size() ? args[++i] : "";
            bool digits = !value.empty() && value.size() <= 2 && value.find_first_not_of("0123456789") == std::string::npos;
            width = digits ? static_cast<uint32_t>(std::stoul(value)) : 0;
            if (width < 9 || width > 16) return fail("--width needs a number from 9 to 16\n" + std::string(usage));
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return fail(std::string("pack needs MANIFEST and OUTDIR\n") + usage);
    Manifest manifest = readManifest(positional[0], binDir);
    for (const std::string& warning : manifest.warnings) std::cerr << "vantorel-pack: " << warning << "\n";
    writeOutputFolder(positional[1], buildInstallSet(manifest, width));
    return 0;
}

// The whole resource mapped from the page cache, pages filled in one go: no
// copy, no zeroed pages, and the decoder is the only pass over it.
class MappedFile {
public:
    ~MappedFile() {
        if (bytes_ != nullptr) ::munmap(bytes_, size_);
    }
    bool open(const std::string& path) {
        int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) return false;
        struct stat info;
        bool good = ::fstat(fd, &info) == 0;
        if (good && !S_ISREG(info.st_mode)) {
            good = false;
            errno = EINVAL;  // a resource is a file, not a pipe or a device
        }
        if (good && info.st_size > 0) {
            size_ = static_cast<size_t>(info.st_size);
            void* at = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            good = at != MAP_FAILED;
            bytes_ = good ? static_cast<unsigned char*>(at) : nullptr;
        }
        int saved = errno;
        ::close(fd);
        errno = saved;
        return good;
    }
    // An empty file has no mapping; a zero-length view of anything will do.
    const unsigned char* bytes() const { return bytes_ != nullptr ? bytes_ : &empty_; }
    size_t size() const { return bytes_ != nullptr ? size_ : 0; }

private:
    unsigned char* bytes_ = nullptr;
    size_t size_ = 0;
    unsigned char empty_ = 0;
};

bool writeAll(int fd, const unsigned char* bytes, size_t size) {
    while (size > 0) {
        ssize_t put = ::write(fd, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

// The decoded bytes go into a fresh anonymous mapping backed by huge pages
// where the kernel has them, and filled in before decoding: a 25 MB file
// then costs a dozen page faults instead of six thousand, and the decoder
// never stops for one.
unsigned char* obtainMapped(uint32_t size) {
    void* at = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    ::madvise(at, size, MADV_HUGEPAGE);  // only advice: without it the pages are small
#endif
#ifdef MADV_POPULATE_WRITE
    ::madvise(at, size, MADV_POPULATE_WRITE);  // an older kernel refuses; the faults come later
#endif
    return static_cast<unsigned char*>(at);
}

void releaseMapped(unsigned char* block, uint32_t size) { ::munmap(block, size); }

// Bytes for standard output go out as the decoder finishes them, from a
// window that stays in the cache, rather than from a fresh block of the
// whole length; a write that fails ends the unpack, and says why.
struct StandardOutput {
    int error = 0;
    static bool deliver(void* context, const unsigned char* bytes, uint32_t length) {
        StandardOutput* self = static_cast<StandardOutput*>(context);
        if (writeAll(STDOUT_FILENO, bytes, length)) return true;
        self->error = errno;
        return false;
    }
};

// Large enough that a table's strings seldom outgrow it (they then are
// rebuilt link by link), small enough to stay in the cache.
const uint32_t unpackWindow = 4u << 20;

int unpack(const std::vector<std::string>& args) {
    if (args.size() != 2) return fail(std::string("unpack needs RESOURCE-FILE and OUT (- for standard output)\n") + usage);
    MappedFile resource;
    if (!resource.open(args[0])) return fail("cannot read " + args[0] + ": " + std::strerror(errno));
    if (resource.size() > 0xFFFFFFFFu) return fail(args[0] + " is larger than any resource can be");
    std::string name = fs::path(args[0]).stem().string();
    const unsigned char* data = nullptr;
    uint32_t length = 0;
    if (args[1] == "-") {
        StandardOutput standardOutput;
        unsigned char* window = obtainMapped(unpackWindow);
        if (window == nullptr) return fail(std::string("cannot unpack: ") + std::strerror(errno));
        LzwOutput output = {window, unpackWindow, StandardOutput::deliver, &standardOutput};
        ErrorHandle result = unpackPackedBytesTo(name.c_str(), resource.bytes(),
                                                 static_cast<uint32_t>(resource.size()), output, &length);
        releaseMapped(window, unpackWindow);
        if (standardOutput.error != 0)
            return fail(std::string("cannot write to standard output: ") + std::strerror(standardOutput.error));
        if (isFailure(result)) return failReport(args[0], result);
        return 0;
    }
    bool mustFree = false;
    const UnpackBuffers mapped = {obtainMapped, releaseMapped};
    ErrorHandle result = unpackPackedBytes(name.c_str(), resource.bytes(),
                                           static_cast<uint32_t>(resource.size()), &data, &length,
                                           &mustFree, &mapped);
    if (isFailure(result)) return failReport(args[0], result);
    struct Unmap {
        uint32_t size;
        void operator()(const unsigned char* block) const { releaseMapped(const_cast<unsigned char*>(block), size); }
    };
    std::unique_ptr<const unsigned char, Unmap> owned(mustFree ? data : nullptr, Unmap{length});
    writeIfChanged(args[1], data, length);
    return 0;
}

// Puts the folder's tables and packed files in as the program's resources and
// runs the setup's own reading of them.
int verify(const std::vector<std::string>& args) {
    if (args.size() != 1) return fail(std::string("verify needs OUTDIR\n") + usage);
    const fs::path dir = args[0];
    if (!fs::is_directory(dir)) return fail("no folder " + args[0]);
    for (const char* table : {"FILEGROUP", "FILESET", "FILESIZE"})
        platform::host::putResource(table, "VANTOREL",
                                    readWholeFile((dir / (std::string(table) + ".bin")).string()));
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".lzf") continue;
        names.push_back(entry.path().stem().string());
        platform::host::putResource("LZF", names.back(), readWholeFile(entry.path().string()));
    }
    std::sort(names.begin(), names.end());

    int bad = 0;
    GrowableArray<String> groups(8, false);
    ErrorHandle result = readTableResource("VANTOREL", "FILEGROUP", groups);
    if (isFailure(result)) bad = failReport("FILEGROUP", result);
    InstallSet set;
    result = set.parseInstallSet("VANTOREL");
    if (!isFailure(result)) result = set.checkPackedResources();
    if (isFailure(result)) bad = failReport("tables", result);
    for (const std::string& name : names) {
        const unsigned char* data = nullptr;
        uint32_t length = 0;
        bool mustFree = false;
        result = unpackResource(name.c_str(), &data, &length, &mustFree);
        if (mustFree) std::free(const_cast<unsigned char*>(data));
        if (isFailure(result)) {
            bad = failReport(name + ".lzf", result);
            continue;
        }
        FileSetEntry* entry = set.findEntry(name.c_str());
        if (entry != nullptr && static_cast<uint32_t>(entry->length) != length)
            bad = fail(name + ": FILESIZE says " + std::to_string(entry->length) +
                       " bytes, the resource unpacks to " + std::to_string(length));
    }
    if (bad == 0)
        std::cout << "vantorel-pack: " << names.size() << " packed resources and "
                  << set.entries.size() << " install set entries verified\n";
    return bad;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return fail(std::string("no command\n") + usage);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << usage;
        return 0;
    }
    std::string command = args[0];
    args.erase(args.begin());
    try {
        if (command == "pack") return pack(args);
        if (command == "unpack") return unpack(args);
        if (command == "verify") return verify(args);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return fail("unknown command '" + command + "'\n" + usage);
}
