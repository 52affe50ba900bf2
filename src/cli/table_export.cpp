#include "table_export.h"

#include "app/peak_page.h"
#include "common/settings.h"
#include "grid_tsv.h"
#include "section7/gas_tables.h"
#include "section8/condensate_tables.h"

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

// Both condensate pages for every table kind they offer: condensate-1 … 6 and marking-1 … 4.
bool WriteCondensateTables(const Session& session, const std::filesystem::path& dir, std::string& error) {
    CSettings stored;
    stored.Load(session.Settings());
    const int decimals = stored.QtyNumAfterDot;
    for (const TableKind kind : kTableKinds)
        if (!WriteFile(dir / ("condensate-" + std::to_string(TableKindNumber(kind)) + ".tsv"),
                       GridToTsv(CondensatePageGrid(session.Condensate(), kind, decimals)), error))
            return false;
    for (const TableKind kind : kTableKinds) // the marking has no control with a standard
        if (!IsStandardControl(kind) &&
            !WriteFile(dir / ("marking-" + std::to_string(TableKindNumber(kind)) + ".tsv"),
                       GridToTsv(MarkingPageGrid(session.Condensate(), kind, decimals)), error))
            return false;
    return true;
}

// The degassing page, one field a line: its caption and the text it shows, the method first.
std::string DegassingPageText(const DegassingPage& page) {
    std::string text = "Метод дегазации\t" + DegassingPage::MethodCaption(page.Parameters().Method) + "\n";
    for (const DegassingFieldView& field : page.Fields())
        text += field.caption + "\t" + field.text + "\n";
    return text;
}

// The degassing-gas page for every table kind: gas-1 … gas-6.
bool WriteGasTables(const Session& session, const std::filesystem::path& dir, std::string& error) {
    CSettings stored;
    stored.Load(session.Settings());
    for (const TableKind kind : kTableKinds)
        if (!WriteFile(dir / ("gas-" + std::to_string(TableKindNumber(kind)) + ".tsv"),
                       GridToTsv(BuildGasPage(session.Section7(), kind, stored.QtyNumAfterDot)), error))
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
    if (!WriteFile(dir / "list.tsv", GridToTsv(session.ListGrid()), error))
        return false;
    int n = 0;
    for (const COpenedChmFile& entry : session.Chromatograms())
        if (!WriteFile(dir / ("peaks-" + std::to_string(++n) + ".tsv"), GridToTsv(BuildPeakGrid(entry.peaks)),
                       error))
            return false;
    if (!WriteGasTables(session, dir, error))
        return false;
    if (!WriteCondensateTables(session, dir, error))
        return false;
    if (!WriteFile(dir / "degassing.tsv", DegassingPageText(session.Degassing()), error))
        return false;
    CSettings stored;
    stored.Load(session.Settings());
    if (!WriteFile(dir / "nlh.tsv", GridToTsv(FillNlhPage(session.Nlh(), stored.QtyNumAfterDot)), error))
        return false;
    return WriteFile(dir / "log.txt", session.Log().LogText(), error);
}

} // namespace talvex::cli
