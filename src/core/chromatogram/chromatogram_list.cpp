#include "core/chromatogram/chromatogram_list.h"

#include "core/common/case_fold.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace talvex {
namespace {

// "x.stg" and "./x.stg" name the same file; so do paths differing only in letter case, which the data
// system's file system does not tell apart.
std::u16string PathKey(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return FoldCaseUtf16(path);
    return FoldCaseUtf16(absolute.lexically_normal().string());
}

bool KindTakenOnce(int kind) {
    return kind < 11;
}

// What a refused record's passport said, and why the list did not take it.
SkippedFile Describe(const COpenedChmFile& record, SkipCause cause) {
    SkippedFile file;
    file.path = record.passport.path;
    file.cause = cause;
    file.method = record.passport.method;
    file.sampleName = record.passport.sampleName;
    file.typeLabel = record.GetTypeLabel();
    return file;
}

SkipCause UnsupportedCause(const COpenedChmFile& record) {
    if (record.detector == COpenedChmFile::kDetectorUnknown)
        return SkipCause::NoDetector;
    if (record.detector == COpenedChmFile::kDetectorNoRole)
        return SkipCause::NoRole;
    if (record.medium == COpenedChmFile::kMediumUnknown)
        return SkipCause::NoMedium;
    return SkipCause::UnusedKind;
}

} // namespace

AcceptResult AcceptChromatogram(ChromatogramList& list, COpenedChmFile record, std::int32_t& nextFileId,
                                SkippedFile* skipped) {
    const auto refuse = [&](AcceptResult result, SkipCause cause) {
        if (skipped)
            *skipped = Describe(record, cause);
        return result;
    };
    const std::u16string key = PathKey(record.passport.path);
    if (std::any_of(list.begin(), list.end(), [&](const COpenedChmFile& e) {
            return (e.pathKey.empty() ? PathKey(e.passport.path) : e.pathKey) == key;
        }))
        return refuse(AcceptResult::DuplicatePath, SkipCause::AlreadyListed);

    record.DetectType();
    const int kind = record.GetKind();
    if (kind < 0 || record.typeCode <= 0)
        return refuse(AcceptResult::Unsupported, UnsupportedCause(record));
    if (KindTakenOnce(kind) &&
        std::any_of(list.begin(), list.end(), [&](const COpenedChmFile& e) { return e.GetKind() == kind; }))
        return refuse(AcceptResult::KindPresent, SkipCause::KindPresent);

    record.fileId = nextFileId++;
    record.pathKey = key;
    list.push_back(std::move(record));
    return AcceptResult::Accepted;
}

AcceptResult AddChromatogramFile(ChromatogramList& list, const std::string& path, std::int32_t& nextFileId,
                                 SkippedFile* skipped) {
    COpenedChmFile record;
    if (ReadResult read = record.Load(path); !read) {
        if (skipped) {
            skipped->path = path;
            skipped->cause = SkipCause::Unreadable;
            skipped->read = std::move(read);
        }
        return AcceptResult::LoadFailed;
    }
    const AcceptResult result = AcceptChromatogram(list, std::move(record), nextFileId, skipped);
    // The operator knows the file by the path it was chosen under.
    if (skipped && result != AcceptResult::Accepted)
        skipped->path = path;
    return result;
}

} // namespace talvex
