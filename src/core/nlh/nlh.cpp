#include "core/nlh/nlh.h"

#include "core/common/case_fold.h"
#include "core/common/format.h"
#include "core/common/settings.h"
#include "core/components/component_table.h"
#include "core/messages/message_log.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"

namespace talvex {
namespace {

constexpr const char* kImpossible = "\tРасчет компонентно-фракционного состава НЖУ невозможен.\r\n";

NlhRow* FindRow(std::vector<NlhRow>& rows, const std::string& name) {
    for (NlhRow& row : rows)
        if (EqualsIgnoringCase(row.NameComp, name))
            return &row;
    return nullptr;
}

// With one analysis its own value, even when an average exists; with more, the average.
double GasValue(const GasRow& row, std::size_t analyses) {
    if (analyses >= 2)
        return row.average;
    return row.lines.empty() ? NotSet : row.lines.begin()->second->massFraction;
}

void BuildRows(NlhResult& result, const Section7Result& gas, const CondensateResult& condensate,
               const ComponentTable& components) {
    for (const GasRow& gasRow : gas.rows[kFractionComposition]) {
        if (FindRow(result.rows, gasRow.name))
            continue;
        NlhRow row;
        row.NameComp = gasRow.name;
        row.Component = components.FindComponent(gasRow.name);
        row.GD_MassP = GasValue(gasRow, gas.analyses.size());
        result.rows.push_back(std::move(row));
    }
    for (const CondensateRow& liquidRow : condensate.rowsA) {
        const bool single = liquidRow.analysisCount < 2;
        const double value = liquidRow.ResultValue();
        if (NlhRow* existing = FindRow(result.rows, liquidRow.name)) {
            if (!single || !liquidRow.perAnalysis.empty())
                existing->DC_MassP = value;
            continue;
        }
        NlhRow row;
        row.NameComp = liquidRow.name;
        row.Component = components.FindComponent(liquidRow.name);
        row.DC_MassP = value;
        result.rows.push_back(std::move(row));
    }
}

void ComputeRows(NlhResult& result) {
    result.SumGD_MassP = result.SumDC_MassP = result.SumNLH_MassP = 0;
    for (NlhRow& row : result.rows) {
        if (!row.Component)
            continue;
        double gasPart = 0;
        if (row.GD_MassP > 0) {
            gasPart = row.GD_MassP * result.GasMassFraction / 100;
            result.SumGD_MassP += row.GD_MassP;
        }
        double liquidPart = 0;
        if (row.DC_MassP > 0) {
            liquidPart = row.DC_MassP * result.LiquidMassFraction / 100;
            result.SumDC_MassP += row.DC_MassP;
        }
        if (gasPart + liquidPart > 0) {
            row.NLH_MassP = (gasPart + liquidPart) * 100;
            result.SumNLH_MassP += row.NLH_MassP;
        }
        if (row.GD_MassP > 0 || row.DC_MassP > 0)
            row.NLH_MM = row.Component->gas.molarMass; // one molar mass for both phases
    }
}

std::string MolarMassText(const NlhRow& row, int decimals) {
    return row.Component ? FormatValue(row.Component->gas.molarMass, decimals) : "---";
}

} // namespace

void ResetNlh(NlhResult& result) {
    result = NlhResult{};
}

void CalcNLH(NlhResult& result, const Section7Result& gas, const CondensateResult& condensate,
             const DegassingParameters& degassing, const CalcInputs& inputs) {
    result.calculated = true;
    if (gas.rows[kFractionComposition].empty() && condensate.rowsA.empty())
        return;
    const double gasFactor = degassing.GasFactor;
    if (!(gasFactor > 0)) {
        inputs.log.PostText(kMsgError, std::string("Неизвестен газовый фактор.\r\n") + kImpossible);
        return;
    }
    const double density = gas.averagedProperties[kFractionComposition].density;
    if (!(density > 0)) {
        inputs.log.PostText(kMsgError, std::string("Неизвестна плотность газа дегазации.\r\n") + kImpossible);
        return;
    }
    // Both A methods give the gas factor in m³/t, method B already in kg/t.
    result.GasFactorKg = degassing.Method == MethodB ? gasFactor : gasFactor * density;
    result.GasMassFraction = result.GasFactorKg / (result.GasFactorKg + 1000);
    result.LiquidMassFraction = 1 - result.GasMassFraction;
    BuildRows(result, gas, condensate, inputs.components);
    if (!result.rows.empty())
        ComputeRows(result);
}

GridModel NlhPageGrid(const NlhResult& result, int decimals) {
    GridModel grid;
    grid.columns = {
        {"№", 45},           {"Компонент", 260},       {"Газ, масс%", 100}, {"Газ, MM, г/моль", 100},
        {"СЖУ, масс%", 100}, {"СЖУ, MM, г/моль", 100}, {"НЖУ, масс%", 100}, {"НЖУ, MM, г/моль", 100}};
    if (result.rows.empty())
        return grid;
    auto add = [&grid](std::vector<std::string> cells) {
        cells.resize(grid.columns.size());
        GridRow row;
        row.cells = std::move(cells);
        grid.rows.push_back(std::move(row));
    };
    for (const NlhRow& row : result.rows) {
        add({std::to_string(grid.rows.size() + 1), row.NameComp, FormatValue(row.GD_MassP, decimals),
             MolarMassText(row, decimals), FormatValue(row.DC_MassP, decimals), MolarMassText(row, decimals),
             FormatValue(row.NLH_MassP, decimals),
             row.Component ? FormatValue(row.NLH_MM, decimals) : "---"});
    }
    add({"", "Сумма масс %:", FormatValue(result.SumGD_MassP, decimals), "",
         FormatValue(result.SumDC_MassP, decimals), "", FormatValue(result.SumNLH_MassP, decimals), ""});
    add({});
    add({"", "=== Характеристики НЖУ ==="});
    add({"", "Массовая доля ГД", FormatValue(result.GasMassFraction, decimals)});
    add({"", "Массовая доля СЖУ", FormatValue(result.LiquidMassFraction, decimals)});
    add({"", "Газовый фактор, (кг/т)", FormatValue(result.GasFactorKg, decimals)});
    return grid;
}

int WriteNlhReport(pugi::xml_node root, const NlhResult& result, int decimals,
                   const ReportSettings& switches) {
    if (!root)
        return -1;
    if (!switches.On(ReportSwitch::RezNLH))
        return 0;
    auto cell = [](pugi::xml_node row, const char* name, const std::string& text) {
        row.append_child(name).text().set(text.c_str());
    };
    auto molarMass = [decimals](const NlhRow& row) {
        return row.Component ? FormatReportValue(row.Component->gas.molarMass, decimals) : "---";
    };
    pugi::xml_node table = root.append_child("Table18");
    root.append_child("Header_S9").text().set("Результаты расчета НЖУ");
    for (const NlhRow& row : result.rows) {
        pugi::xml_node r = table.append_child("row");
        cell(r, "NameComp", row.NameComp);
        cell(r, "GD_MassP", FormatReportValue(row.GD_MassP, decimals));
        cell(r, "GD_MM", molarMass(row));
        cell(r, "DC_MassP", FormatReportValue(row.DC_MassP, decimals));
        cell(r, "DC_MM", molarMass(row));
        cell(r, "NLH_MassP", FormatReportValue(row.NLH_MassP, decimals));
        cell(r, "NLH_MM", row.Component ? FormatReportValue(row.NLH_MM, decimals) : "---");
    }
    table.append_child("row");
    pugi::xml_node sums = table.append_child("row");
    cell(sums, "NameComp", "Сумма масс %:");
    cell(sums, "GD_MassP", FormatReportValue(result.SumGD_MassP, decimals));
    cell(sums, "DC_MassP", FormatReportValue(result.SumDC_MassP, decimals));
    cell(sums, "NLH_MassP", FormatReportValue(result.SumNLH_MassP, decimals));
    pugi::xml_node characteristics = root.append_child("Table19");
    const std::pair<const char*, double> values[] = {{"Массовая доля ГД", result.GasMassFraction},
                                                     {"Массовая доля СЖУ", result.LiquidMassFraction},
                                                     {"Газовый фактор, (кг/т)", result.GasFactorKg}};
    for (const auto& [title, value] : values) {
        pugi::xml_node r = characteristics.append_child("row");
        cell(r, "title", title);
        cell(r, "val", FormatReportValue(value, decimals));
    }
    return 0;
}

} // namespace talvex
