#include "core/app/peak_page.h"

#include "core/common/format.h"
#include "core/common/number_text.h"

namespace talvex {

GridModel BuildPeakGrid(const CPeeksTable& peaks) {
    GridModel grid;
    grid.columns = {{"№", 45}, {"Компонент", 260}, {"Площадь пика", 130}, {"Время выхода, мин", 135}};
    grid.rows.reserve(peaks.size());
    int k = 0;
    for (const cmpeek& p : peaks) {
        GridRow row;
        row.cells = {StrPrintf("%d", ++k), p.name, FormatFixed(p.area, 3), FormatFixed(p.retentionTime, 3)};
        grid.rows.push_back(std::move(row));
    }
    return grid;
}

} // namespace talvex
