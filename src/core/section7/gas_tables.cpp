#include "core/section7/gas_tables.h"

#include "core/common/format.h"
#include "core/common/number_text.h"

namespace talvex {
namespace {

const char* YesNo(bool yes) {
    return yes ? "Да" : "Нет";
}

GridRow& AddRow(GridModel& grid) {
    GridRow& row = grid.rows.emplace_back();
    row.cells.resize(grid.columns.size());
    return row;
}

std::string MassFractionOf(const GasRow& row, std::int32_t number, int decimals) {
    const auto it = row.lines.find(number);
    return it == row.lines.end() ? "---" : FormatValue(it->second->massFraction, decimals);
}

void AddPropertyRows(GridModel& grid, const Section7Result& result, std::size_t c, int decimals) {
    const std::size_t n = result.analyses.size();
    static constexpr const char* kTitles[] = {"=== Физ-хим показатели ===", "Молярная масса, (г/моль)",
                                              "Сжимаемость", "Плотность, (кг/м³)"};
    const std::size_t first = grid.rows.size();
    for (const char* title : kTitles)
        AddRow(grid).cells[1] = title;
    const auto fill = [&](std::size_t column, const std::string& caption, const GasProperties& p) {
        grid.rows[first].cells[column] = caption;
        grid.rows[first + 1].cells[column] = FormatValue(p.molarMass, decimals);
        grid.rows[first + 2].cells[column] = FormatValue(p.compressibility, decimals);
        grid.rows[first + 3].cells[column] = FormatValue(p.density, decimals);
    };
    // The first letter of "Aнализ" is the Latin capital A, as the page has always shown it.
    for (std::size_t j = 1; j <= n; ++j)
        fill(1 + j, StrPrintf("Aнализ - %zu", j), result.analyses[j - 1].properties[c]);
    if (n > 1)
        fill(n + 2, "Среднее знач.", result.averagedProperties[c]);
}

} // namespace

void FillGasTable(GridModel& grid, const Section7Result& result, TableKind kind, int decimals) {
    if (!IsAnalysis(kind))
        return;
    const std::size_t c = CompositionOf(kind);
    const std::size_t n = result.analyses.size();
    for (std::size_t j = 1; j <= n; ++j)
        grid.columns.push_back({StrPrintf("Ан-%zu. Масс. доля, %%", j), 120});
    if (n > 1) {
        grid.columns.push_back({"Средн. масс. доля, %", 130});
        grid.columns.push_back({"Расхождение, %", 125});
        grid.columns.push_back({"Предел повт. r, %", 110});
        grid.columns.push_back({"Соот-т", 50});
    }
    for (const GasRow& r : result.rows[c]) {
        GridRow& row = AddRow(grid);
        row.cells[0] = StrPrintf("%zu", grid.rows.size());
        row.cells[1] = r.name;
        for (std::size_t j = 1; j <= n; ++j)
            row.cells[1 + j] = MassFractionOf(r, static_cast<std::int32_t>(j - 1), decimals);
        if (n <= 1)
            continue;
        row.cells[n + 2] = FormatValue(r.average, decimals);
        if (r.deltaAbs >= 0)
            row.cells[n + 2] += "   ±" + FormatFixed(r.deltaAbs, decimals);
        row.cells[n + 3] = FormatValue(r.discrepancy, decimals);
        const bool real = IsRealNorm(r.norm);
        row.cells[n + 4] = real ? FormatValue(r.norm->repeatability, decimals) : "---";
        row.cells[n + 5] = real ? YesNo(r.withinLimit) : "---";
    }
    GridRow& sum = AddRow(grid);
    sum.cells[1] = "Сумма";
    for (std::size_t j = 1; j <= n; ++j)
        sum.cells[1 + j] = FormatValue(result.analyses[j - 1].positiveSum[c], decimals);
    if (n > 1)
        sum.cells[n + 2] = FormatValue(result.totals[c], decimals);
    AddRow(grid);
    AddPropertyRows(grid, result, c, decimals);
}

void FillGasControlTable(GridModel& grid, const Section7Result& result, TableKind kind, int decimals) {
    const std::vector<GasControlRow>* rows = nullptr;
    const bool withSample = IsSampleControl(kind);
    if (withSample) {
        rows = &result.controlSampleRows[CompositionOf(kind)];
        grid.columns.push_back({"Ан-1, масс%", 130});
        grid.columns.push_back({"ОКП, масс%", 130});
    } else if (IsStandardControl(kind)) {
        rows = &result.controlStandardRows;
        grid.columns.push_back({"ОКЭ, масс%", 130});
        grid.columns.push_back({"Паспорт, масс%", 130});
    } else {
        return;
    }
    grid.columns.push_back({"Контрольное знач (Кк), %", 160});
    grid.columns.push_back({"Норматив (К), %", 110});
    grid.columns.push_back({"Соот-т", 50});
    for (const GasControlRow& r : *rows) {
        GridRow& row = AddRow(grid);
        row.cells[0] = StrPrintf("%zu", grid.rows.size());
        row.cells[1] = r.name;
        row.cells[2] = FormatValue(withSample ? r.reference : r.measured, decimals);
        row.cells[3] = FormatValue(withSample ? r.measured : r.reference, decimals);
        row.cells[4] = FormatValue(r.Kk, decimals);
        row.cells[5] = FormatValue(r.K, decimals);
        row.cells[6] = r.Kk >= 0 && r.K >= 0 ? YesNo(r.withinLimit) : "---";
    }
}

GridModel GasPageGrid(const Section7Result& result, TableKind kind, int decimals) {
    GridModel grid;
    grid.columns = {{"№", 35}, {"Имя", 200}};
    if (result.analyses.empty())
        return grid;
    FillGasTable(grid, result, kind, decimals);
    FillGasControlTable(grid, result, kind, decimals);
    return grid;
}

} // namespace talvex
