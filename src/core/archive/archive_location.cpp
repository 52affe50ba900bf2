#include "core/archive/archive_location.h"

#include <sys/vfs.h>

namespace talvex::archive {

ArchiveLocation ParseArchiveUrl(std::string_view url) {
    if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
        return {true, std::string(url)};
    if (url == "postgresql:" || url == "postgres:")
        return {true, {}};
    if (url.starts_with("sqlite:"))
        url.remove_prefix(7);
    return {false, std::string(url)};
}

std::filesystem::path TalvexDataFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && *xdgDataHome)
        return std::filesystem::path(xdgDataHome) / "talvex";
    return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "talvex";
}

std::filesystem::path DefaultArchivePath(const char* xdgDataHome, const char* home) {
    return TalvexDataFolder(xdgDataHome, home) / "archive.sqlite";
}

std::filesystem::path DefaultSpoolFolder(const char* xdgDataHome, const char* home) {
    return TalvexDataFolder(xdgDataHome, home) / "archive-spool";
}

std::optional<std::string> NetworkFileSystemName(unsigned long type) {
    // Magic numbers of statfs(2); the file systems whose locking SQLite cannot trust.
    switch (type) {
    case 0x6969:
        return "NFS";
    case 0x517B:
        return "SMB";
    case 0xFF534D42:
        return "CIFS";
    case 0xFE534D42:
        return "SMB2";
    case 0x65735546:
        return "FUSE (sshfs и подобные)";
    case 0x564C:
        return "NCP";
    case 0x5346414F:
        return "AFS";
    case 0x6B414653:
        return "AFS";
    case 0x73757245:
        return "Coda";
    case 0x01021997:
        return "9P";
    case 0x00C36400:
        return "Ceph";
    case 0x47504653:
        return "GPFS";
    case 0x0BD00BD0:
        return "Lustre";
    default:
        return std::nullopt;
    }
}

std::optional<std::string> NetworkFileSystemOf(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path at = std::filesystem::absolute(path, ec);
    if (ec)
        at = path;
    while (!at.empty() && !std::filesystem::exists(at, ec)) {
        if (at == at.parent_path())
            break;
        at = at.parent_path();
    }
    struct statfs fs {};
    if (statfs(at.c_str(), &fs) != 0)
        return std::nullopt;
    return NetworkFileSystemName(static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFUL);
}

std::string NetworkArchiveRefusal(const std::string& fileSystem) {
    return "Архив SQLite нельзя держать на сетевом диске (" + fileSystem +
           "): блокировки файла там ненадёжны, и архив может быть повреждён. Храните архив на локальном "
           "диске или, чтобы им пользовались несколько рабочих мест, укажите архив PostgreSQL "
           "(postgresql://…).";
}

} // namespace talvex::archive
