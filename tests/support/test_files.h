#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/text_codec.h"

namespace talvex::testing {

// A fresh folder for one test, removed with everything in it afterwards.
class TempFolder {
public:
    // In `base` when given (a file system the test needs, such as a tmpfs), else in the temporary folder.
    explicit TempFolder(const std::filesystem::path& base = {}) {
        std::string pattern =
            ((base.empty() ? std::filesystem::temp_directory_path() : base) / "talvex-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

    std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
        const auto file = *this / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    // Names of everything in the folder, to see that no temporary file is left behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines of a data file: UTF-8 in the test, Windows-1251 with CR LF on the disk.
inline std::string DataFileBytes(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return Utf8ToCp1251(text);
}

// A copy of the repository's default data folder at `destination`, for tests that need real data.
inline void CopyShippedDataFolder(const std::filesystem::path& destination) {
    std::filesystem::copy(std::filesystem::path(TALVEX_SOURCE_DIR) / "data", destination,
                          std::filesystem::copy_options::recursive);
}

} // namespace talvex::testing
