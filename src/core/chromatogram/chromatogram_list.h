#pragma once

#include "core/chromatogram/opened_chm_file.h"
#include "core/chromatogram/skipped_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

// The chromatogram list: the chromatograms of the session, as values. The session owns it; the add and
// delete operations change it and GroupAnalyses orders it; the calculations only read it. Any change may
// move the records, so nothing keeps a pointer into it across a change.
using ChromatogramList = std::vector<COpenedChmFile>;

enum class AcceptResult {
    Accepted,
    LoadFailed,    // the file could not be read
    DuplicatePath, // the list already holds this file
    Unsupported,   // a kind the calculations cannot use
    KindPresent,   // a control or blank run of this kind is already in the list
};

// The acceptance rule of the add operation. Classifies the record (DetectType) and appends a copy to the
// list when its kind is supported and, for control and blank kinds (1-10), not yet present; calibration
// and sample runs are taken any number of times. A record whose passport.path names a file already in the
// list is refused; paths are compared with letter case ignored and "." and ".." resolved. An accepted record
// gets fileId = nextFileId, which is then incremented; a refused one changes nothing in the list and, when
// `skipped` is given, is described there (the cause and the passport's texts).
AcceptResult AcceptChromatogram(ChromatogramList& list, COpenedChmFile record, std::int32_t& nextFileId,
                                SkippedFile* skipped = nullptr);

// Loads the file and applies AcceptChromatogram to it; a file that cannot be read is described in `skipped`
// with the reader's reason.
AcceptResult AddChromatogramFile(ChromatogramList& list, const std::string& path, std::int32_t& nextFileId,
                                 SkippedFile* skipped = nullptr);

} // namespace talvex
