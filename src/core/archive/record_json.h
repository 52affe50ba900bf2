#pragma once
// A record as one JSON text: what the spool keeps until the archive has it. Bytes of the data files are
// written in hexadecimal (they need not be UTF-8); a missing number is null.

#include "core/archive/archive_record.h"

#include <optional>
#include <string>

namespace talvex::archive {

std::string RecordToJson(const ArchiveRecord& record);
// Nothing, and `error` says why, for text that is not such a record.
std::optional<ArchiveRecord> RecordFromJson(const std::string& text, std::string& error);

} // namespace talvex::archive
