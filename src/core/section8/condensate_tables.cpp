#include "core/section8/condensate_tables.h"

#include "core/common/format.h"
#include "core/components/component_record.h"
#include "core/section8/condensate.h"
#include "core/section8/condensate_text.h"

#include <string>
#include <utility>

namespace talvex {
namespace {

MarkingMethod MethodOf(TableKind kind) {
    return CompositionOf(kind) == 0 ? MarkingMethod::A : MarkingMethod::B;
}

void AddColumns(GridModel& grid, std::vector<GridColumn> columns) {
    if (grid.columns.size() > 2)
        return;
    for (GridColumn& c : columns)
        grid.columns.push_back(std::move(c));
}

// A row with one cell per column, all empty.
GridRow& AppendRow(GridModel& grid) {
    GridRow& row = grid.rows.emplace_back();
    row.cells.assign(grid.columns.size(), std::string());
    return row;
}

void SetCell(GridRow& row, std::size_t column, std::string text) {
    if (column < row.cells.size())
        row.cells[column] = std::move(text);
}

std::string RowNumber(std::size_t index) {
    return StrPrintf("%zu", index + 1);
}

// Start, end and area of an entry on the marking page: windows only for groups, fractions and sections.
void SetMarkingCells(GridRow& row, std::size_t column, const CondensateEntry* e, int decimals) {
    if (e && e->retentionTime < 0.0) {
        SetCell(row, column, FormatValue(e->windowStart, decimals));
        SetCell(row, column + 1, FormatValue(e->windowEnd, decimals));
        SetCell(row, column + 2, FormatValue(e->area, decimals));
        return;
    }
    SetCell(row, column, "---");
    SetCell(row, column + 1, "---");
    SetCell(row, column + 2, e && e->area > 0.0 ? FormatValue(e->area, decimals) : "---");
}

std::vector<GridColumn> MarkingColumns(const std::string& prefix) {
    return {{prefix + ", начало (мин)", 120}, {prefix + ", конец (мин)", 130}, {prefix + ", площадь", 90}};
}

} // namespace

GridModel CondensateBaseGrid() {
    GridModel grid;
    grid.columns = {{"№", 35}, {"Имя", 200}};
    return grid;
}

void FillCondensateTable(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals) {
    const std::size_t n = result.analyses.size();
    if (!IsAnalysis(kind) || n == 0)
        return;
    const MarkingMethod method = MethodOf(kind);
    const bool many = n > 1;
    std::vector<GridColumn> columns;
    for (std::size_t j = 1; j <= n; ++j)
        columns.push_back({StrPrintf("Ан-%zu. Масс. доля, %%", j), 120});
    if (many) {
        columns.push_back({"Средн. масс. доля, %", 130});
        columns.push_back({"Расхлждение, %", 125});
        columns.push_back({"Предел повт. r, %", 110});
        columns.push_back({"Соот-т", 50});
    }
    AddColumns(grid, std::move(columns));
    const std::size_t averageColumn = 2 + n;

    const std::vector<CondensateRow>& rows = result.Rows(method);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CondensateRow& r = rows[i];
        GridRow& row = AppendRow(grid);
        SetCell(row, 0, RowNumber(i));
        SetCell(row, 1, r.name);
        for (std::size_t j = 0; j < n; ++j)
            SetCell(row, 2 + j, MassFractionText(r.EntryFor(static_cast<std::int32_t>(j)), decimals));
        if (!many)
            continue;
        std::string average = FormatValue(r.average, decimals);
        if (r.accuracy > 0.0)
            average += "   ±" + FormatValue(r.accuracy, decimals);
        SetCell(row, averageColumn, std::move(average));
        SetCell(row, averageColumn + 1, FormatValue(r.discrepancy, decimals));
        SetCell(row, averageColumn + 2, RepeatabilityText(r, decimals));
        SetCell(row, averageColumn + 3, RepeatabilityVerdict(r));
    }

    GridRow& sum = AppendRow(grid);
    SetCell(sum, 1, "Сумма");
    for (std::size_t j = 0; j < n; ++j)
        SetCell(sum, 2 + j,
                FormatValue(AnalysisMassSum(result, static_cast<std::int32_t>(j), method), decimals));
    if (many)
        SetCell(sum, averageColumn, FormatValue(MethodTotal(result, method), decimals));

    AppendRow(grid);
    GridRow& caption = AppendRow(grid);
    SetCell(caption, 1, "=== Физ-хим показатели ===");
    for (std::size_t j = 0; j < n; ++j)
        SetCell(caption, 2 + j, StrPrintf("Aнализ - %zu", j + 1)); // a Latin A, as the page always showed it
    if (many)
        SetCell(caption, averageColumn, "Среднее знач.");
    GridRow& molar = AppendRow(grid);
    SetCell(molar, 1, "Молярная масса, (г/моль)");
    for (std::size_t j = 0; j < n; ++j)
        SetCell(molar, 2 + j,
                FormatValue(AnalysisMolarMass(result, static_cast<std::int32_t>(j), method), decimals));
    if (many)
        SetCell(molar, averageColumn, FormatValue(MethodAverageMolarMass(result, method), decimals));
    AppendRow(grid);
    AppendRow(grid);
}

void FillCondensateControlTable(GridModel& grid, const CondensateResult& result, TableKind kind,
                                int decimals) {
    const bool withSample = IsSampleControl(kind);
    const bool withStandard = IsStandardControl(kind);
    if (!withStandard && !(withSample && !result.analyses.empty()))
        return;
    AddColumns(grid, {{withSample ? "Ан-1, масс%" : "ОКЭ, масс%", 130},
                      {withSample ? "ОКП, масс%" : "Паспорт, масс%", 130},
                      {"Контрольное знач (Кк), %", 160},
                      {"Норматив (К), %", 110},
                      {"Соот-т", 50}});
    const std::vector<ControlItem>& items = withSample ? result.OkpItems(MethodOf(kind)) : result.okeItems;
    int counter = 0;
    for (const ControlItem& item : items) {
        GridRow& row = AppendRow(grid);
        if (withStandard && IsOkeMemberLine(item)) {
            SetCell(row, 1, std::string(15, ' ') + item.name);
            SetCell(row, 2, FormatValue(item.firstValue, decimals));
            SetCell(row, 3, FormatValue(item.secondValue, decimals));
            continue;
        }
        SetCell(row, 0, StrPrintf("%d", ++counter));
        SetCell(row, 1, item.name);
        SetCell(row, 2, FormatValue(item.firstValue, decimals));
        SetCell(row, 3, FormatValue(item.secondValue, decimals));
        SetCell(row, 4, FormatValue(item.discrepancy, decimals));
        SetCell(row, 5, FormatValue(item.limit, decimals));
        SetCell(row, 6, ControlVerdict(item));
    }
}

void FillMarkingTable(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals) {
    const std::size_t n = result.analyses.size();
    if (!IsAnalysis(kind) || n == 0)
        return;
    std::vector<GridColumn> columns;
    for (std::size_t j = 1; j <= n; ++j)
        for (GridColumn& c : MarkingColumns(StrPrintf("Ан-%zu", j)))
            columns.push_back(std::move(c));
    AddColumns(grid, std::move(columns));
    const std::vector<CondensateRow>& rows = result.Rows(MethodOf(kind));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        GridRow& row = AppendRow(grid);
        SetCell(row, 0, RowNumber(i));
        SetCell(row, 1, rows[i].name);
        for (std::size_t j = 0; j < n; ++j)
            SetMarkingCells(row, 2 + 3 * j, rows[i].EntryFor(static_cast<std::int32_t>(j)), decimals);
    }
}

void FillMarkingControlTable(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals) {
    if (!IsSampleControl(kind) || result.analyses.empty())
        return;
    std::vector<GridColumn> columns =
        MarkingColumns(StrPrintf("Ан-%d", result.analyses.front().analysisNo + 1));
    for (GridColumn& c : MarkingColumns("ОКП"))
        columns.push_back(std::move(c));
    AddColumns(grid, std::move(columns));
    const std::vector<ControlItem>& items = result.OkpItems(MethodOf(kind));
    for (std::size_t i = 0; i < items.size(); ++i) {
        GridRow& row = AppendRow(grid);
        SetCell(row, 0, RowNumber(i));
        SetCell(row, 1, items[i].name);
        SetMarkingCells(row, 2, items[i].firstEntry, decimals);
        SetMarkingCells(row, 5, items[i].secondEntry, decimals);
    }
}

void RefreshMarkingPage(GridModel& grid, const CondensateResult& result, TableKind kind, int decimals) {
    if (result.analyses.empty())
        return;
    FillMarkingTable(grid, result, kind, decimals);
    FillMarkingControlTable(grid, result, kind, decimals);
}

GridModel CondensatePageGrid(const CondensateResult& result, TableKind kind, int decimals) {
    GridModel grid = CondensateBaseGrid();
    FillCondensateTable(grid, result, kind, decimals);
    FillCondensateControlTable(grid, result, kind, decimals);
    return grid;
}

GridModel MarkingPageGrid(const CondensateResult& result, TableKind kind, int decimals) {
    GridModel grid = CondensateBaseGrid();
    RefreshMarkingPage(grid, result, kind, decimals);
    return grid;
}

} // namespace talvex
