#include "core/section7/gas_report.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/format.h"

#include <array>

namespace talvex {
namespace {

struct Writer {
    const Section7Result& result;
    int decimals;

    static pugi::xml_node Cell(pugi::xml_node parent, const char* name, const std::string& text) {
        pugi::xml_node cell = parent.append_child(name);
        cell.text().set(text.c_str());
        return cell;
    }

    std::string Number(double value) const { return FormatReportValue(value, decimals); }

    void ChromatogramRows(pugi::xml_node table, const GasAnalysis& a) const {
        for (const DetectorSlot* slot : {&a.fid, &a.tcd1, &a.tcd2}) {
            if (!slot->chromatogram)
                continue;
            const COpenedChmFile& c = *slot->chromatogram;
            pugi::xml_node row = table.append_child("row");
            Cell(row, "NameChrm", c.passport.sampleName);
            Cell(row, "DateAn", FormatLocalTime(c.passport.analysisTime, "%d.%m.%y  %H:%M"));
            Cell(row, "TypeChrm", c.GetTypeLabel());
            Cell(row, "NumAn", c.analysisNo < 0 ? "---" : StrPrintf("Ан - %d", c.analysisNo + 1));
        }
    }

    void ChromatogramList(pugi::xml_node root) const {
        if (result.analyses.empty() && result.controlStandard.componentLines.empty())
            return;
        pugi::xml_node table = root.append_child("Table2");
        for (const GasAnalysis& a : result.analyses)
            ChromatogramRows(table, a);
        ChromatogramRows(table, result.controlSample);
        ChromatogramRows(table, result.controlStandard);
    }

    // One value per analysis, each nested in the one before.
    template <class ValueOf> void MassChain(pugi::xml_node row, ValueOf valueOf) const {
        pugi::xml_node parent = row;
        for (std::size_t j = 0; j < result.analyses.size(); ++j)
            parent = Cell(parent, "MassP", valueOf(j));
    }

    void Analyses(pugi::xml_node root, std::size_t c, const char* rowsName,
                  const char* propertiesName) const {
        pugi::xml_node table = root.append_child(rowsName);
        for (const GasRow& r : result.rows[c]) {
            pugi::xml_node row = table.append_child("row");
            Cell(row, "NameComp", r.name);
            MassChain(row, [&](std::size_t j) {
                const auto it = r.lines.find(static_cast<std::int32_t>(j));
                return it == r.lines.end() ? std::string("---") : Number(it->second->massFraction);
            });
            Cell(row, "AvMassP", Number(r.average));
            Cell(row, "d", Number(r.deltaAbs));
            Cell(row, "diff", Number(r.discrepancy));
            const bool real = IsRealNorm(r.norm);
            Cell(row, "r", real ? Number(r.norm->repeatability) : "---");
            Cell(row, "r_OK", real ? (r.withinLimit ? "Да" : "Нет") : "---");
        }
        pugi::xml_node sum = table.append_child("row");
        Cell(sum, "NameComp", "Сумма");
        Cell(sum, "AvMassP", Number(result.totals[c]));
        MassChain(sum, [&](std::size_t j) { return Number(result.analyses[j].positiveSum[c]); });

        pugi::xml_node properties = root.append_child(propertiesName);
        const GasProperties& p = result.averagedProperties[c];
        const std::array<std::pair<const char*, double>, 3> values{{{"Молярная масса, (г/моль)", p.molarMass},
                                                                    {"Сжимаемость", p.compressibility},
                                                                    {"Плотность, (кг/м³)", p.density}}};
        for (const auto& [title, value] : values) {
            pugi::xml_node row = properties.append_child("row");
            Cell(row, "title", title);
            Cell(row, "val", Number(value));
        }
    }

    void Controls(pugi::xml_node root, const char* name, const std::vector<GasControlRow>& rows,
                  bool withSample) const {
        pugi::xml_node table = root.append_child(name);
        for (const GasControlRow& r : rows) {
            pugi::xml_node row = table.append_child("row");
            Cell(row, "NameComp", r.name);
            Cell(row, "MassP", Number(withSample ? r.reference : r.measured));
            Cell(row, "CS_MassP", Number(withSample ? r.measured : r.reference));
            Cell(row, "Kk", Number(r.Kk));
            Cell(row, "K", Number(r.K));
            Cell(row, "r_OK", r.Kk >= 0 && r.K >= 0 ? (r.withinLimit ? "Да" : "Нет") : "---");
        }
    }
};

} // namespace

int WriteGasReport(pugi::xml_node root, const Section7Result& result, int decimals,
                   const ReportSettings& switches) {
    if (!root)
        return -1;
    if (switches.AnyGas())
        root.append_child("Header_S7").text().set("Газ дегазации");

    const Writer w{result, decimals};
    if (switches.On(ReportSwitch::GD_ChrmList))
        w.ChromatogramList(root);
    if (switches.On(ReportSwitch::GD_AnComp))
        w.Analyses(root, kComponentComposition, "Table3", "Table4");
    if (switches.On(ReportSwitch::GD_AnFract))
        w.Analyses(root, kFractionComposition, "Table5", "Table6");
    if (switches.On(ReportSwitch::GD_CSS_Comp))
        w.Controls(root, "Table7", result.controlSampleRows[kComponentComposition], true);
    if (switches.On(ReportSwitch::GD_CSS_Fract))
        w.Controls(root, "Table8", result.controlSampleRows[kFractionComposition], true);
    if (switches.On(ReportSwitch::GD_CSR))
        w.Controls(root, "Table9", result.controlStandardRows, false);
    return 0;
}

} // namespace talvex
