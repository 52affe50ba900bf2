#pragma once

#include "core/chromatogram/read_result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

// Why the add operation left a file out of the chromatogram list.
enum class SkipCause {
    Unreadable,    // the file could not be read; `read` says why
    AlreadyListed, // the list already holds this file
    NoDetector,    // the method names no detector the program knows
    NoRole,        // the sample name names no role, and the passport marks no calibration
    NoMedium,      // the method names neither degassing gas nor condensate
    UnusedKind,    // detector, medium and role known, but the calculations use no such run
    KindPresent,   // a control or blank run of this kind is already in the list
};

// A file the add operation did not take, with what its passport said.
struct SkippedFile {
    std::string path;
    SkipCause cause = SkipCause::Unreadable;
    ReadResult read;    // Unreadable: the reader's reason
    std::string method; // the passport's texts, for the causes found from them
    std::string sampleName;
    std::string typeLabel; // UnusedKind, KindPresent: "ДТП-1, Газ, холостая" and the like
};

// The reason in one English line for the command line, without the path.
std::string SkipReason(const SkippedFile& file);
// The reason in the Russian of the desktop program's messages, without the path.
std::string SkipReasonText(const SkippedFile& file);
// The desktop program's message after an add that left files out: each file with its reason.
std::string SkippedFilesMessage(const std::vector<SkippedFile>& files);

} // namespace talvex
