#include "core/common/file_digest_cache.h"

#include "core/common/sha256.h"

namespace talvex {

std::optional<std::string> FileDigestCache::Digest(const std::string& path, std::string* error) {
    std::error_code sizeError, timeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    const std::filesystem::file_time_type modified = std::filesystem::last_write_time(path, timeError);
    if (!sizeError && !timeError) {
        const auto it = entries_.find(path);
        if (it != entries_.end() && it->second.size == size && it->second.modified == modified)
            return it->second.digest;
    }
    std::optional<std::string> digest = Sha256OfFile(path, error);
    if (digest && !sizeError && !timeError)
        entries_[path] = {size, modified, *digest};
    else
        entries_.erase(path);
    return digest;
}

} // namespace talvex
