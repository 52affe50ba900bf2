#pragma once

#include <filesystem>
#include <string>

namespace talvex::synth {

// A folder of its own below the system's temporary folder, removed with its files when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes the chromatogram of a .stg file as an ANDI/AIA chromatography file: read as the program reads
// it, so both files give the same chromatogram. False with a reason in *error.
bool StgToAndi(const std::filesystem::path& stg, const std::filesystem::path& andi, std::string* error);

// Every .stg file of `from` as `to`/NAME.cdf, in order of their names.
bool StgFolderToAndi(const std::filesystem::path& from, const std::filesystem::path& to, std::string* error);

} // namespace talvex::synth
