#include "cli/chart_source.h"

#include "core/archive/archive.h"
#include "core/archive/archive_location.h"

#include <filesystem>
#include <system_error>

namespace talvex::cli {

std::unique_ptr<controlchart::ControlSource> OpenControlSource(const std::string& url, std::string& error) {
    // A chart only reads: an SQLite archive that is not there is a mistyped path, not a new archive.
    const archive::ArchiveLocation location = archive::ParseArchiveUrl(url);
    std::error_code ec;
    if (!location.postgresql && !std::filesystem::exists(location.target, ec)) {
        error = "архив недоступен: файл " + location.target + " не найден";
        return nullptr;
    }
    std::string reason;
    std::unique_ptr<archive::Archive> opened = archive::Archive::Open(url, reason);
    if (!opened) {
        error = "архив недоступен: " + reason;
        return nullptr;
    }
    return opened;
}

} // namespace talvex::cli
