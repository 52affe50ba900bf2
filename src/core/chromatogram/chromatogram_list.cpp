#include "chromatogram/chromatogram_list.h"

#include "common/case_fold.h"

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

} // namespace

AcceptResult AcceptChromatogram(ChromatogramList& list, COpenedChmFile record, std::int32_t& nextFileId) {
    const std::u16string key = PathKey(record.passport.path);
    if (std::any_of(list.begin(), list.end(),
                    [&](const COpenedChmFile& e) { return PathKey(e.passport.path) == key; }))
        return AcceptResult::DuplicatePath;

    record.DetectType();
    const int kind = record.GetKind();
    if (kind < 0 || record.typeCode <= 0)
        return AcceptResult::Unsupported;
    if (KindTakenOnce(kind) &&
        std::any_of(list.begin(), list.end(), [&](const COpenedChmFile& e) { return e.GetKind() == kind; }))
        return AcceptResult::KindPresent;

    record.fileId = nextFileId++;
    list.push_back(std::move(record));
    return AcceptResult::Accepted;
}

AcceptResult AddChromatogramFile(ChromatogramList& list, const std::string& path, std::int32_t& nextFileId) {
    COpenedChmFile record;
    if (!record.Load(path))
        return AcceptResult::LoadFailed;
    return AcceptChromatogram(list, std::move(record), nextFileId);
}

} // namespace talvex
