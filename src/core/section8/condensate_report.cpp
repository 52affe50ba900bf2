#include "core/section8/condensate_report.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/format.h"
#include "core/section8/condensate.h"
#include "core/section8/condensate_text.h"

#include <string>

namespace talvex {
namespace {

pugi::xml_node Cell(pugi::xml_node parent, const char* name, const std::string& text) {
    pugi::xml_node cell = parent.append_child(name);
    cell.text().set(text.c_str());
    return cell;
}

void ChromatogramRow(pugi::xml_node table, const COpenedChmFile& c, const std::string& analysisText) {
    pugi::xml_node row = table.append_child("row");
    Cell(row, "NameChrm", c.passport.sampleName);
    Cell(row, "DateAn", FormatLocalTime(c.passport.analysisTime, "%d.%m.%y  %H:%M"));
    Cell(row, "TypeChrm", c.GetTypeLabel());
    Cell(row, "NumAn", analysisText);
}

void WriteChromatogramList(pugi::xml_node root, const CondensateResult& result) {
    pugi::xml_node table = root.append_child("Table10");
    if (result.blankRun.chromatogram)
        ChromatogramRow(table, *result.blankRun.chromatogram, "---");
    if (result.calibrationRun.chromatogram)
        ChromatogramRow(table, *result.calibrationRun.chromatogram, "---");
    for (const CondensateAnalysis& a : result.analyses)
        if (a.chromatogram)
            ChromatogramRow(table, *a.chromatogram, StrPrintf("Ан - %d", a.analysisNo + 1));
    if (result.okpAnalysis.chromatogram)
        ChromatogramRow(table, *result.okpAnalysis.chromatogram, "---");
    if (result.okeRun)
        ChromatogramRow(table, *result.okeRun, "---");
}

// Per-analysis values as a chain: each further "MassP" is a child of the one before.
template <typename TextOf> void MassPChain(pugi::xml_node row, std::size_t count, TextOf textOf) {
    pugi::xml_node parent = row;
    for (std::size_t j = 0; j < count; ++j)
        parent = Cell(parent, "MassP", textOf(static_cast<std::int32_t>(j)));
}

void WriteComposition(pugi::xml_node root, const CondensateResult& result, MarkingMethod method,
                      const char* firstName, const char* secondName, int decimals) {
    pugi::xml_node first = root.append_child(firstName);
    pugi::xml_node second = root.append_child(secondName);
    const std::size_t n = result.analyses.size();
    for (const CondensateRow& r : result.Rows(method)) {
        pugi::xml_node row = first.append_child("row");
        Cell(row, "NameComp", r.name);
        MassPChain(row, n, [&](std::int32_t j) {
            return MassFractionText(r.EntryFor(j), decimals, FormatReportValue);
        });
        Cell(row, "AvMassP", FormatReportValue(r.average, decimals));
        Cell(row, "d", FormatReportValue(r.accuracy, decimals));
        Cell(row, "diff", FormatReportValue(r.discrepancy, decimals));
        Cell(row, "r", RepeatabilityText(r, decimals, FormatReportValue));
        Cell(row, "r_OK", RepeatabilityVerdict(r));
    }
    pugi::xml_node sum = first.append_child("row");
    Cell(sum, "NameComp", "Сумма");
    Cell(sum, "AvMassP", FormatReportValue(MethodTotal(result, method), decimals));
    MassPChain(sum, n, [&](std::int32_t j) {
        return FormatReportValue(AnalysisMassSum(result, j, method), decimals);
    });
    Cell(second.append_child("row"), "MM",
         FormatReportValue(MethodAverageMolarMass(result, method), decimals));
}

void WriteControl(pugi::xml_node root, const std::vector<ControlItem>& items, const char* tableName,
                  bool withStandard, int decimals) {
    pugi::xml_node table = root.append_child(tableName);
    for (const ControlItem& item : items) {
        pugi::xml_node row = table.append_child("row");
        Cell(row, "NameComp", item.name);
        Cell(row, "MassP", FormatReportValue(item.firstValue, decimals));
        Cell(row, "CS_MassP", FormatReportValue(item.secondValue, decimals));
        if (withStandard && IsOkeMemberLine(item))
            continue;
        Cell(row, "Kk", FormatReportValue(item.discrepancy, decimals));
        Cell(row, "K", FormatReportValue(item.limit, decimals));
        Cell(row, "r_OK", ControlVerdict(item));
    }
}

} // namespace

int WriteCondensateReport(pugi::xml_node root, const CondensateResult& result, int decimals,
                          const ReportSettings& switches) {
    if (!root || root.type() != pugi::node_element)
        return -1;
    if (switches.AnyCondensate())
        Cell(root, "Header_S8", "Дегазированный конденсат");
    if (switches.On(ReportSwitch::CD_ChrmList))
        WriteChromatogramList(root, result);
    if (switches.On(ReportSwitch::CD_AnComp))
        WriteComposition(root, result, MarkingMethod::A, "Table11", "Table12", decimals);
    if (switches.On(ReportSwitch::CD_AnFract))
        WriteComposition(root, result, MarkingMethod::B, "Table13", "Table14", decimals);
    if (switches.On(ReportSwitch::CD_CSS_Comp))
        WriteControl(root, result.okpItemsA, "Table15", false, decimals);
    if (switches.On(ReportSwitch::CD_CSS_Fract))
        WriteControl(root, result.okpItemsB, "Table16", false, decimals);
    if (switches.On(ReportSwitch::CD_CSR))
        WriteControl(root, result.okeItems, "Table17", true, decimals);
    return 0;
}

} // namespace talvex
