#pragma once

#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace dyno::testing {

// A fresh folder per test, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("dyno-files-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

using Member = std::pair<std::string, std::vector<std::uint8_t>>;

// Writes a zip archive the way another tool would, member by member.
inline void writeZip(const std::filesystem::path& file, const std::vector<Member>& members) {
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (zip == nullptr) throw std::runtime_error("cannot create test archive");
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (source == nullptr || zip_file_add(zip, name.c_str(), source, 0) < 0) {
            throw std::runtime_error("cannot add test member");
        }
    }
    if (zip_close(zip) != 0) throw std::runtime_error("cannot write test archive");
}

// The names of an archive's members, as another zip tool would list them.
inline std::vector<std::string> memberNames(const std::filesystem::path& file) {
    std::vector<std::string> names;
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_RDONLY, &error);
    if (zip == nullptr) return names;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        names.emplace_back(zip_get_name(zip, static_cast<zip_uint64_t>(i), 0));
    zip_discard(zip);
    return names;
}

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    writeFile(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace dyno::testing
