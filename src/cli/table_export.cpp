#include "table_export.h"

#include "app/peak_page.h"
#include "grid_tsv.h"

#include <filesystem>
#include <fstream>

namespace talvex::cli {
namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& content, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

} // namespace

bool WriteTables(const Session& session, const std::string& folder, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path dir(folder);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        error = "cannot create the folder " + folder;
        return false;
    }
    if (!WriteFile(dir / "list.tsv", GridToTsv(session.ListGrid()), error))
        return false;
    int n = 0;
    for (const COpenedChmFile& entry : session.Chromatograms())
        if (!WriteFile(dir / ("peaks-" + std::to_string(++n) + ".tsv"), GridToTsv(BuildPeakGrid(entry.peaks)),
                       error))
            return false;
    return WriteFile(dir / "log.txt", session.Log().LogText(), error);
}

} // namespace talvex::cli
