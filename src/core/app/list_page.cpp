#include "core/app/list_page.h"

#include "core/common/format.h"

namespace talvex {

GridModel BuildListGrid(const ChromatogramList& list) {
    GridModel grid;
    grid.columns = {{"№", 35},         {"Файл", 260}, {"Проба", 300}, {"Время анализа", 130},
                    {"Тип хрм.", 130}, {"Анализ", 60}};
    int i = 0;
    for (const COpenedChmFile& entry : list) {
        GridRow row;
        row.tag = entry.fileId;
        row.cells = {StrPrintf("%d", ++i),
                     entry.GetFileName(),
                     entry.passport.sampleName,
                     FormatLocalTime(entry.passport.analysisTime, "%d.%m.%y  %H:%M"),
                     entry.GetTypeLabel(),
                     entry.analysisNo < 0 ? "---" : StrPrintf("Ан - %d", entry.analysisNo + 1)};
        grid.rows.push_back(std::move(row));
    }
    return grid;
}

} // namespace talvex
