#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace talvex::archive {

// Where an archive is: an SQLite file, or a PostgreSQL connection (a `postgresql://` or `postgres://` URL,
// or empty for libpq's own service and environment settings).
struct ArchiveLocation {
    bool postgresql = false;
    std::string target; // the file's path, or what libpq is given
};

// A path, `sqlite:PATH`, `postgresql://…`, `postgres://…` or `postgresql:` alone.
ArchiveLocation ParseArchiveUrl(std::string_view url);

// `$XDG_DATA_HOME/talvex/` (`~/.local/share/talvex/` when XDG_DATA_HOME is unset or empty).
std::filesystem::path TalvexDataFolder(const char* xdgDataHome, const char* home);
std::filesystem::path DefaultArchivePath(const char* xdgDataHome, const char* home);
std::filesystem::path DefaultSpoolFolder(const char* xdgDataHome, const char* home);

// The name of a network file system type (statfs's f_type), or nothing for a local one.
std::optional<std::string> NetworkFileSystemName(unsigned long type);
// The network file system that holds `path` (or its nearest existing folder), or nothing.
std::optional<std::string> NetworkFileSystemOf(const std::filesystem::path& path);
// Why an SQLite archive cannot live there.
std::string NetworkArchiveRefusal(const std::string& fileSystem);

} // namespace talvex::archive
