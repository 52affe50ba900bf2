#include "core/chromatogram/chromatogram_path.h"

#include <cctype>

namespace talvex {
namespace {

bool HasExtension(std::string_view path, std::string_view lowerExtension) {
    if (path.size() <= lowerExtension.size())
        return false;
    const std::string_view tail = path.substr(path.size() - lowerExtension.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != lowerExtension[i])
            return false;
    // "x/.cdf" is a hidden file without an extension, as std::filesystem sees it.
    const char before = path[path.size() - lowerExtension.size() - 1];
    return before != '/';
}

} // namespace

bool IsStgPath(std::string_view path) {
    return HasExtension(path, ".stg");
}

bool IsAndiPath(std::string_view path) {
    return HasExtension(path, ".cdf");
}

bool IsChromatogramPath(std::string_view path) {
    return IsStgPath(path) || IsAndiPath(path);
}

} // namespace talvex
