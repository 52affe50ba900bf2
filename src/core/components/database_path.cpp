#include "core/components/database_path.h"

namespace talvex {

std::filesystem::path DatabaseFilePath(const std::filesystem::path& dataFolder, std::string_view fileName,
                                       std::string* error) {
    std::filesystem::path path = dataFolder / std::filesystem::path(std::string(fileName));
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        return path;
    if (error)
        *error = "Файл базы данных не найден.\r\nФайл базы данных:\r\n" + path.string();
    return {};
}

} // namespace talvex
