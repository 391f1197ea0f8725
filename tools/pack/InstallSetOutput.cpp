#include "tools/pack/InstallSetOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tools/pack/PackedFile.h"

namespace {

const char* const prefix = "VANTOREL";

struct Resource {
    std::string type, name, file;
};

std::vector<unsigned char> bytesOf(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

std::string resourceScript(const std::vector<Resource>& resources) {
    std::ostringstream rc;
    rc << "// Install set resources, written by vantorel-pack.\n";
    for (const Resource& r : resources) rc << r.name << " " << r.type << " \"" << r.file << "\"\n";
    return rc.str();
}

// The host programs carry the packed files as they are: the assembler pulls
// them in with .incbin (its include path names the packed folder), so even a
// payload of hundreds of megabytes builds in the time it takes to copy it,
// where a generated C++ array took minutes and gigabytes to compile.
std::string hostSource(const std::vector<Resource>& resources,
                       const std::vector<std::vector<unsigned char>*>& contents) {
    std::ostringstream cpp;
    cpp << "// Install set resources for the host build, written by vantorel-pack: the\n"
           "// packed files beside this one, included by the assembler.\n"
           "#include <cstdint>\n\n#include \"platform/host/HostControl.h\"\n\n"
           "asm(\".pushsection .rodata\\n\"\n";
    for (size_t i = 0; i < resources.size(); ++i)
        cpp << "    \".balign 16\\nvantorelPacked" << i << ":\\n.incbin \\\"" << resources[i].file
            << "\\\"\\n\"\n";
    cpp << "    \".popsection\");\n\nextern \"C\" {\n";
    for (size_t i = 0; i < resources.size(); ++i)
        cpp << "extern const unsigned char vantorelPacked" << i << "[];\n";
    cpp << "}\n\nextern const platform::host::EmbeddedResource vantorelInstallSet[];\n"
           "const platform::host::EmbeddedResource vantorelInstallSet[] = {\n";
    for (size_t i = 0; i < resources.size(); ++i)
        cpp << "    {\"" << resources[i].type << "\", \"" << resources[i].name << "\", vantorelPacked" << i
            << ", " << contents[i]->size() << "u},\n";
    cpp << "};\nextern const uint32_t vantorelInstallSetCount;\n"
           "const uint32_t vantorelInstallSetCount = "
        << resources.size() << "u;\n";
    return cpp.str();
}

}  // namespace

std::vector<unsigned char> readWholeFile(const std::string& path) {
    // Sized once and read in one go: no growth by doubling, so reading a
    // large file never holds twice its size.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    std::error_code sized;
    uintmax_t size = std::filesystem::file_size(path, sized);
    std::vector<unsigned char> bytes(sized ? 0 : static_cast<size_t>(size));
    size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    // A file that grew meanwhile, or that has no size (a pipe), is read on to its end.
    unsigned char chunk[1 << 16];
    bool whole = got == bytes.size();
    for (size_t more; whole && (more = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + more);
    bool bad = !whole || std::ferror(in);
    std::fclose(in);
    if (bad) throw std::runtime_error("cannot read " + path);
    return bytes;
}

std::vector<unsigned char> tableBytes(const std::vector<std::string>& rows) {
    std::vector<unsigned char> table;
    for (const std::string& row : rows) {
        table.insert(table.end(), row.begin(), row.end());
        table.push_back(0);
    }
    // The empty row that ends the table, and one more NUL as the shipped tables have.
    table.push_back(0);
    table.push_back(0);
    return table;
}

std::vector<OutputFile> buildInstallSet(const Manifest& manifest, uint32_t width) {
    std::vector<OutputFile> outputs;
    std::vector<std::string> fileSetRows, fileSizeRows;
    std::set<std::string> sized;
    std::vector<std::pair<std::string, size_t>> sizes;
    std::vector<OutputFile> packed;
    for (const FileRow& file : manifest.files) {
        std::vector<unsigned char> bytes;
        try {
            bytes = readWholeFile(file.source);
        } catch (const std::runtime_error& e) {
            throw ManifestError(manifest.path + ":" + std::to_string(file.line) + ": " + e.what());
        }
        sizes.emplace_back(file.resource, bytes.size());
        packed.push_back(OutputFile{file.resource + ".lzf", packFile(bytes, file.stored, width)});
    }
    for (const FileSetRow& row : manifest.fileSet) {
        fileSetRows.push_back(row.tableRow);
        if (!sized.insert(row.resource).second) continue;
        for (const auto& size : sizes)
            if (size.first == row.resource)
                fileSizeRows.push_back(row.resource + "|" + std::to_string(size.second));
    }
    outputs.push_back(OutputFile{"FILEGROUP.bin", tableBytes(manifest.groups)});
    outputs.push_back(OutputFile{"FILESET.bin", tableBytes(fileSetRows)});
    outputs.push_back(OutputFile{"FILESIZE.bin", tableBytes(fileSizeRows)});

    std::vector<Resource> resources{{"FILEGROUP", prefix, "FILEGROUP.bin"},
                                    {"FILESET", prefix, "FILESET.bin"},
                                    {"FILESIZE", prefix, "FILESIZE.bin"}};
    for (size_t i = 0; i < packed.size(); ++i)
        resources.push_back(Resource{"LZF", manifest.files[i].resource, packed[i].name});
    outputs.insert(outputs.end(), packed.begin(), packed.end());

    std::vector<std::vector<unsigned char>*> contents;
    for (OutputFile& o : outputs) contents.push_back(&o.bytes);
    std::vector<unsigned char> rc = bytesOf(resourceScript(resources));
    std::vector<unsigned char> cpp = bytesOf(hostSource(resources, contents));
    outputs.push_back(OutputFile{"installset.rc", rc});
    outputs.push_back(OutputFile{"installset_host.cpp", cpp});
    return outputs;
}

void writeIfChanged(const std::string& path, const std::vector<unsigned char>& bytes) {
    writeIfChanged(path, bytes.data(), bytes.size());
}

void writeIfChanged(const std::string& path, const unsigned char* bytes, size_t size) {
    std::error_code missing;
    if (std::filesystem::file_size(path, missing) == size && !missing) {
        std::vector<unsigned char> old;
        try {
            old = readWholeFile(path);
        } catch (const std::runtime_error&) {
            old.clear();  // unreadable: written anew below
        }
        if (old.size() == size && std::equal(old.begin(), old.end(), bytes)) return;
    }
    // A device or a pipe (/dev/stdout, /dev/null) is written into as it is:
    // renaming a file over it would replace the device itself.
    std::error_code status;
    std::filesystem::file_status target = std::filesystem::status(path, status);
    if (!status && std::filesystem::exists(target) && !std::filesystem::is_regular_file(target)) {
        std::ofstream device(path, std::ios::binary);
        device.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        device.close();
        if (!device) throw std::runtime_error("cannot write " + path);
        return;
    }
    // Written beside the target and renamed over it, so a failed write never
    // leaves half a file behind for the next build to trust.
    std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    out.close();
    std::error_code ignored;
    if (!out) {
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("cannot write " + path);
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, path, renamed);
    if (renamed) {
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("cannot write " + path + ": " + renamed.message());
    }
}
