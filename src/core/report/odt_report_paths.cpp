#include "core/report/odt_report_paths.h"

#include "core/common/format.h"
#include "core/report/shipped_files.h"

#include <unistd.h>

#include <ctime>
#include <system_error>

namespace talvex {

std::filesystem::path OdtTemplatePath(const std::filesystem::path& programFolder) {
    return ShippedFilePath(programFolder, kOdtTemplateFileName);
}

std::string DefaultReportFileName(const std::tm& local) {
    return StrPrintf("ReportTlv_%d%02d%d_%02d%02d%02d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                     local.tm_hour, local.tm_min, local.tm_sec);
}

std::string DefaultReportFileName(std::int64_t now) {
    const auto t = static_cast<std::time_t>(now);
    std::tm local{};
    if (!localtime_r(&t, &local))
        local = std::tm{}; // beyond the C library's calendar: a well-formed name is still better than none
    return DefaultReportFileName(local);
}

std::optional<std::filesystem::path> NewPreviewPath(const std::filesystem::path& tempFolder) {
    std::string pattern = (tempFolder / "vinXXXXXX.tmp").string();
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0)
        return std::nullopt;
    ::close(fd);
    return std::filesystem::path(pattern + ".odt");
}

std::optional<std::filesystem::path> NewPreviewPath() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return std::nullopt;
    return NewPreviewPath(folder);
}

} // namespace talvex
