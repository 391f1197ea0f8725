#include "tools/pack/OutputFolder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

namespace {

bool holds(const fs::path& target, const std::vector<unsigned char>& bytes) {
    std::ifstream existing(target, std::ios::binary);
    if (!existing) return false;
    std::vector<unsigned char> old((std::istreambuf_iterator<char>(existing)),
                                   std::istreambuf_iterator<char>());
    return old == bytes;
}

void writeWhole(const fs::path& file, const std::vector<unsigned char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + file.string() + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

void writeOutputFolder(const std::string& folder, const std::vector<OutputFile>& outputs) {
    const fs::path dir = folder;
    std::error_code error;
    bool madeFolder = !fs::exists(dir, error);
    fs::create_directories(dir, error);
    if (error) throw std::runtime_error("cannot create " + folder + ": " + error.message());

    std::vector<std::pair<fs::path, fs::path>> staged;  // temporary, target
    auto discard = [&]() {
        std::error_code ignored;
        for (const auto& file : staged) fs::remove(file.first, ignored);
        if (madeFolder) fs::remove(dir, ignored);  // only when still empty
    };
    try {
        for (const OutputFile& output : outputs) {
            fs::path target = dir / output.name;
            if (fs::exists(target, error) && !fs::is_regular_file(target, error))
                throw std::runtime_error("cannot write " + target.string() + ": not a file");
            if (holds(target, output.bytes)) continue;
            staged.emplace_back(fs::path(target.string() + ".new"), target);
            writeWhole(staged.back().first, output.bytes);
        }
    } catch (...) {
        discard();
        throw;
    }
    for (size_t i = 0; i < staged.size(); ++i) {
        fs::rename(staged[i].first, staged[i].second, error);
        if (error) {
            // Renames within one folder do not fail short of the disk going
            // away; should one, say which files are already new.
            std::string message = "cannot replace " + staged[i].second.string() + ": " +
                                  error.message() + " (" + std::to_string(i) + " of " +
                                  std::to_string(staged.size()) + " outputs already replaced)";
            staged.erase(staged.begin(), staged.begin() + static_cast<std::ptrdiff_t>(i));
            madeFolder = false;
            discard();
            throw std::runtime_error(message);
        }
    }
}
