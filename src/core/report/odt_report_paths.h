#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace talvex {

// Where the ODT report comes from and goes to, for "Просмотр" (preview) and "Сохранить" (save).

// The template ships with the program (beside it, or under ../share/talvex/), not in the data folder.
inline constexpr const char* kOdtTemplateFileName = "Template_tlvx.odt";
std::filesystem::path OdtTemplatePath(const std::filesystem::path& programFolder);

// The name the save dialog proposes (extension "odt" added by the dialog): "ReportTlv_" + day, two-digit
// month and year run together + "_" + hhmmss, e.g. ReportTlv_9122023_143005 for 9 December 2023,
// 14:30:05. `now` is seconds since the epoch, shown in local time.
std::string DefaultReportFileName(std::int64_t now);
std::string DefaultReportFileName(const std::tm& local);

// A fresh preview path: a new empty file "vinXXXXXX.tmp" is created in the folder to claim the name, and
// the preview is written beside it as "vinXXXXXX.tmp.odt". Both are left there after the preview (the
// viewer may still be reading). nullopt when the folder takes no new file.
std::optional<std::filesystem::path> NewPreviewPath(const std::filesystem::path& tempFolder);
// The same in the user's temporary folder ($TMPDIR, else /tmp); nullopt when there is none.
std::optional<std::filesystem::path> NewPreviewPath();

} // namespace talvex
