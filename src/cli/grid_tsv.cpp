#include "cli/grid_tsv.h"

namespace talvex::cli {
namespace {

void AppendLine(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i)
            out += '\t';
        out += cells[i];
    }
    out += '\n';
}

} // namespace

std::string GridToTsv(const GridModel& grid) {
    std::string out;
    std::vector<std::string> captions;
    for (const auto& column : grid.columns)
        captions.push_back(column.caption);
    AppendLine(out, captions);
    for (const auto& row : grid.rows) {
        std::vector<std::string> cells = row.cells;
        cells.resize(grid.columns.size()); // exactly one cell per column
        AppendLine(out, cells);
    }
    return out;
}

std::string ToLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace talvex::cli
