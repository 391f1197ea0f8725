#include "tools/pack/InstallSetOutput.h"

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

std::string hostSource(const std::vector<Resource>& resources,
                       const std::vector<std::vector<unsigned char>*>& contents) {
    std::ostringstream cpp;
    cpp << "// Install set resources for the host build, written by vantorel-pack.\n"
           "#include <cstdint>\n\n#include \"platform/host/HostControl.h\"\n\nnamespace {\n";
    for (size_t i = 0; i < resources.size(); ++i) {
        const std::vector<unsigned char>& bytes = *contents[i];
        cpp << "\nconst unsigned char resource" << i << "[] = {";
        for (size_t k = 0; k < bytes.size(); ++k) {
            cpp << (k % 16 == 0 ? "\n   " : "") << " " << static_cast<unsigned>(bytes[k]) << ",";
        }
        if (bytes.empty()) cpp << "0";  // an array cannot be empty; the size says 0
        cpp << "\n};\n";
    }
    cpp << "\n}  // namespace\n\nextern const platform::host::EmbeddedResource vantorelInstallSet[];\n"
           "const platform::host::EmbeddedResource vantorelInstallSet[] = {\n";
    for (size_t i = 0; i < resources.size(); ++i)
        cpp << "    {\"" << resources[i].type << "\", \"" << resources[i].name << "\", resource" << i
            << ", " << contents[i]->size() << "u},\n";
    cpp << "};\nextern const uint32_t vantorelInstallSetCount;\n"
           "const uint32_t vantorelInstallSetCount = "
        << resources.size() << "u;\n";
    return cpp.str();
}

}  // namespace

std::vector<unsigned char> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("cannot read " + path);
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

std::vector<OutputFile> buildInstallSet(const Manifest& manifest) {
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
        packed.push_back(OutputFile{file.resource + ".lzf", packFile(bytes, file.stored)});
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
    {
        std::ifstream existing(path, std::ios::binary);
        if (existing) {
            std::vector<unsigned char> old((std::istreambuf_iterator<char>(existing)),
                                           std::istreambuf_iterator<char>());
            if (old == bytes) return;
        }
    }
    // Written beside the target and renamed over it, so a failed write never
    // leaves half a file behind for the next build to trust.
    std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
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
