#include "andi_output.h"

#include "core/chromatogram/andi_file.h"
#include "core/chromatogram/chm_file.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace talvex::synth {

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "talvex-synth-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

bool StgToAndi(const std::filesystem::path& stg, const std::filesystem::path& andi, std::string* error) {
    CChmFile chm;
    if (!chm.Load(stg.string())) {
        if (error)
            *error = stg.string() + ": cannot read the file just written";
        return false;
    }
    return WriteAndiFile(andi.string(), chm, error);
}

bool StgFolderToAndi(const std::filesystem::path& from, const std::filesystem::path& to, std::string* error) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(from, ec))
        if (entry.path().extension() == ".stg")
            files.push_back(entry.path());
    if (ec) {
        if (error)
            *error = from.string() + ": " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const auto& stg : files) {
        std::filesystem::path name = stg.filename();
        name.replace_extension(".cdf");
        if (!StgToAndi(stg, to / name, error))
            return false;
    }
    return true;
}

} // namespace talvex::synth
