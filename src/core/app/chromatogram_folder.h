#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace talvex {

// What the chromatogram browser knows of one chromatogram file (.stg or ANDI .cdf) of a folder, from its
// passport alone.
struct FolderFile {
    std::string title;              // file name without its extension
    std::string extension = ".stg"; // as the file is named, letter case kept
    std::string sampleName;
    std::string method;
    std::string samplingSite;
    std::string samplingPoint;
    std::int64_t time = 0; // the passport's analysis time; the file's last write time when unreadable
};

// Which runs the browser lists ("Тип:").
enum class RunTypeFilter : int { Any = 0, Calibration = 1, Other = 2 };

// The sample name shown for a file whose passport cannot be read.
inline constexpr const char* kUnreadableSample = "????";

// Runs recorded less than this many seconds apart belong together (one analysis on several detectors).
inline constexpr std::int64_t kJointRunSeconds = 5;

// Reads the passport of every regular file named *.stg or *.cdf (any letter case) in `folder` (only the
// passport, so that a large folder is listed quickly), keeps the runs that `filter` admits (an unreadable
// passport counts as no calibration) and returns them newest first; equal times keep the order of their
// names. A folder that cannot be listed gives no files.
std::vector<FolderFile> ScanChromatogramFolder(const std::filesystem::path& folder, RunTypeFilter filter);

// The distinct non-empty values of one passport text over the files, in order of first appearance; a
// value that equals an earlier one regardless of letter case is left out.
std::vector<std::string> DistinctValues(const std::vector<FolderFile>& files, std::string FolderFile::*field);

// The chosen filter values; an empty optional matches anything. Comparison ignores letter case.
struct FolderFilters {
    std::optional<std::string> method;
    std::optional<std::string> samplingSite;
    std::optional<std::string> samplingPoint;
};

// Indices of the files the filters let through, in order.
std::vector<std::size_t> FilterFolderFiles(const std::vector<FolderFile>& files,
                                           const FolderFilters& filters);

// Whether two runs were recorded together: less than kJointRunSeconds apart.
bool AreJointRuns(const FolderFile& a, const FolderFile& b);

// The list's "Дата" of a file: its time as "%d.%m.%y" in local time.
std::string FolderFileDate(const FolderFile& file);

// The full path of a listed file.
std::filesystem::path FolderFilePath(const std::filesystem::path& folder, const FolderFile& file);

} // namespace talvex
