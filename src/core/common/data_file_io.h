#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace talvex {

// Byte-level access to the data files. Failures return false with a text for the operator in `error`
// (when given); nothing throws.

// Reads the file from byte `offset` to its end into `bytes`. An offset at or past the end gives no bytes.
bool ReadFileFrom(const std::filesystem::path& path, std::uint64_t offset, std::string& bytes,
                  std::string* error);

// Keeps the first `keep` bytes of an existing file and replaces everything after them by `tail`.
//
// The new content goes to a temporary file in the same folder, is flushed to the disk and then renamed
// over the old file, so a crash or a full disk leaves either the old or the new file, never a mix. The
// file must exist (it is never created), be writable and hold at least `keep` bytes. On failure the old file
// is untouched and the temporary file removed. The new file takes the old one's permissions.
bool RewriteFileAfter(const std::filesystem::path& path, std::uint64_t keep, std::string_view tail,
                      std::string* error);

// Creates the file or replaces it whole with `content`, through a temporary file in the same folder that is
// synced and renamed into place, so that a failure never leaves a half-written file. A replaced file keeps
// its permissions; a new one is readable by all.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content, std::string* error);

} // namespace talvex
