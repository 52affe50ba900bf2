#include "core/app/chromatogram_folder.h"

#include "core/chromatogram/chromatogram_path.h"
#include "core/chromatogram/passport.h"
#include "core/common/case_fold.h"

#include <algorithm>
#include <chrono>

namespace talvex {
namespace {

std::int64_t LastWriteSeconds(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    const auto written = entry.last_write_time(ec);
    if (ec)
        return 0;
    const auto system = std::chrono::file_clock::to_sys(written);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

bool Matches(const std::optional<std::string>& wanted, const std::string& value) {
    return !wanted || EqualsIgnoringCase(*wanted, value);
}

} // namespace

std::vector<FolderFile> ScanChromatogramFolder(const std::filesystem::path& folder, RunTypeFilter filter) {
    std::vector<FolderFile> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::directory_entry& entry = *it;
        std::error_code typeError;
        if (!IsChromatogramPath(entry.path().string()) || entry.is_directory(typeError))
            continue;
        FolderFile file;
        file.title = entry.path().stem().string();
        file.extension = entry.path().extension().string();
        CPassport passport;
        bool calibration = false;
        if (passport.ReadPassportFile(entry.path().string())) {
            file.sampleName = passport.sampleName;
            file.method = passport.method;
            file.samplingSite = passport.samplingSite;
            file.samplingPoint = passport.samplingPoint;
            file.time = passport.analysisTime;
            calibration = passport.calibrationFlag != 0;
        } else {
            file.sampleName = kUnreadableSample;
            file.time = LastWriteSeconds(entry);
        }
        if (filter == RunTypeFilter::Any || (filter == RunTypeFilter::Calibration) == calibration)
            files.push_back(std::move(file));
    }
    // The directory's own order is arbitrary; names first make the listing the same on every scan.
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.title < b.title; });
    std::stable_sort(files.begin(), files.end(),
                     [](const FolderFile& a, const FolderFile& b) { return a.time > b.time; });
    return files;
}

std::vector<std::string> DistinctValues(const std::vector<FolderFile>& files,
                                        std::string FolderFile::*field) {
    std::vector<std::string> values;
    for (const FolderFile& f : files) {
        const std::string& value = f.*field;
        if (value.empty())
            continue;
        if (std::none_of(values.begin(), values.end(),
                         [&value](const std::string& v) { return EqualsIgnoringCase(v, value); }))
            values.push_back(value);
    }
    return values;
}

std::vector<std::size_t> FilterFolderFiles(const std::vector<FolderFile>& files,
                                           const FolderFilters& filters) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FolderFile& f = files[i];
        if (Matches(filters.method, f.method) && Matches(filters.samplingPoint, f.samplingPoint) &&
            Matches(filters.samplingSite, f.samplingSite))
            shown.push_back(i);
    }
    return shown;
}

bool AreJointRuns(const FolderFile& a, const FolderFile& b) {
    const std::int64_t d = a.time - b.time;
    return d > -kJointRunSeconds && d < kJointRunSeconds;
}

std::string FolderFileDate(const FolderFile& file) {
    return FormatLocalTime(file.time, "%d.%m.%y");
}

std::filesystem::path FolderFilePath(const std::filesystem::path& folder, const FolderFile& file) {
    return folder / (file.title + file.extension);
}

} // namespace talvex
