#include "cli/table_export.h"

#include "cli/grid_tsv.h"

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

// A result page for every table kind it offers, as PREFIX-1.tsv … PREFIX-6.tsv.
template <class PageOf>
bool WriteKindTables(const std::filesystem::path& dir, const std::string& prefix, PageOf pageOf,
                     std::string& error) {
    for (const TableKind kind : kTableKinds)
        if (!WriteFile(dir / (prefix + "-" + std::to_string(TableKindNumber(kind)) + ".tsv"),
                       GridToTsv(pageOf(kind)), error))
            return false;
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
    // The decimals are read once for the whole export.
    const int decimals = session.StoredSettings().QtyNumAfterDot;
    if (!WriteFile(dir / "list.tsv", GridToTsv(session.ListGrid()), error))
        return false;
    int n = 0;
    for (const COpenedChmFile& entry : session.Chromatograms())
        if (!WriteFile(dir / ("peaks-" + std::to_string(++n) + ".tsv"),
                       GridToTsv(session.PeakGrid(entry.fileId)), error))
            return false;
    if (!WriteKindTables(
            dir, "gas", [&](TableKind kind) { return session.GasGrid(kind, decimals); }, error))
        return false;
    if (!WriteKindTables(
            dir, "condensate", [&](TableKind kind) { return session.CondensateGrid(kind, decimals); }, error))
        return false;
    // The marking has no control with a standard: marking-1 … 4.
    for (const TableKind kind : kTableKinds)
        if (!IsStandardControl(kind) &&
            !WriteFile(dir / ("marking-" + std::to_string(TableKindNumber(kind)) + ".tsv"),
                       GridToTsv(session.MarkingGrid(kind, decimals)), error))
            return false;
    if (!WriteFile(dir / "degassing.tsv", GridToTsv(session.DegassingGrid()), error))
        return false;
    if (!WriteFile(dir / "nlh.tsv", GridToTsv(session.NlhGrid(decimals)), error))
        return false;
    return WriteFile(dir / "log.txt", session.Log().LogText(), error);
}

} // namespace talvex::cli
