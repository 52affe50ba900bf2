#pragma once

#include <zip.h>

#include <cstddef>
#include <memory>
#include <string>

namespace brisquel {

// content.xml larger than this is refused: a real report template is well below a megabyte, and a
// crafted entry could otherwise make the library allocate gigabytes.
inline constexpr std::size_t kMaxContentBytes = 64u << 20;

// An archive that is discarded (left unwritten) unless it is closed explicitly.
struct ArchiveDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveDiscard>;

// Opens an existing file as a ZIP archive for changing it in place; null when it is no ZIP archive.
ArchiveHandle OpenArchive(const std::string& path);

// Reads a whole entry of at most `limit` bytes (uncompressed) into `bytes`. False when the entry is
// missing, larger than the limit, or cannot be read to its end with a matching checksum.
bool ReadEntry(zip_t* archive, const char* name, std::size_t limit, std::string& bytes);

// Replaces an existing entry by bytes the caller keeps alive until the archive is closed.
bool ReplaceEntry(zip_t* archive, const char* name, const std::string& bytes);

// Writes the archive; on success the handle is released, on failure it still owns the archive.
bool CloseArchive(ArchiveHandle& archive);

} // namespace brisquel
