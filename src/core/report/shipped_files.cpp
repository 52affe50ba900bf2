#include "core/report/shipped_files.h"

#include <system_error>

namespace talvex {

std::filesystem::path ShippedFilePath(const std::filesystem::path& programFolder, std::string_view name) {
    const std::filesystem::path beside = programFolder / name;
    std::error_code failure;
    if (std::filesystem::is_regular_file(beside, failure))
        return beside;
    const std::filesystem::path installed =
        (programFolder / ".." / kShippedFilesFolder / name).lexically_normal();
    if (std::filesystem::is_regular_file(installed, failure))
        return installed;
    return beside;
}

} // namespace talvex
