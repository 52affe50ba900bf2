#include "flat_spreadsheet.h"

#include <pugixml.hpp>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace talvex::testing {
namespace {

// "0.5cm", "0.1965in", "12.8pt", "5mm" in points.
double Points(const std::string& length) {
    char* end = nullptr;
    const double v = std::strtod(length.c_str(), &end);
    const std::string unit = end;
    if (unit == "cm")
        return v * 72 / 2.54;
    if (unit == "mm")
        return v * 72 / 25.4;
    if (unit == "in")
        return v * 72;
    return v;
}

std::string ColumnName(int column) {
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}

std::pair<int, int> Position(const std::string& cell) {
    int column = 0;
    std::size_t i = 0;
    for (; i < cell.size() && cell[i] >= 'A' && cell[i] <= 'Z'; ++i)
        column = column * 26 + (cell[i] - 'A' + 1);
    return {std::atoi(cell.c_str() + i), column};
}

// The text of a paragraph with its runs of blanks ("text:s"), tabs and line breaks spelled out.
void AppendText(const pugi::xml_node& node, std::string& text) {
    for (const pugi::xml_node part : node.children()) {
        const std::string name = part.name();
        if (part.type() == pugi::node_pcdata)
            text += part.value();
        else if (name == "text:s")
            text.append(static_cast<std::size_t>(part.attribute("text:c").as_int(1)), ' ');
        else if (name == "text:tab")
            text += '\t';
        else if (name == "text:line-break")
            text += '\n';
        else
            AppendText(part, text);
    }
}

std::string CellText(const pugi::xml_node& cell) {
    const std::string type = cell.attribute("office:value-type").as_string();
    if (type == "float" || type == "percentage" || type == "currency")
        return cell.attribute("office:value").as_string();
    std::string text;
    for (const pugi::xml_node p : cell.children("text:p")) {
        if (!text.empty())
            text += "\n";
        AppendText(p, text);
    }
    return text;
}

} // namespace

std::string FlatSheet::At(const std::string& cell) const {
    const auto it = cells.find(Position(cell));
    return it == cells.end() ? std::string() : it->second;
}

double FlatSheet::Number(const std::string& cell) const {
    const std::string text = At(cell);
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    return text.empty() || *end ? std::numeric_limits<double>::quiet_NaN() : v;
}

std::vector<FlatSheet> ReadFlatSpreadsheet(const std::filesystem::path& fods) {
    pugi::xml_document doc;
    if (!doc.load_file(fods.c_str()))
        return {};
    std::map<std::string, double> rowStyles;
    for (const pugi::xpath_node style : doc.select_nodes("//style:style[@style:family='table-row']"))
        rowStyles[style.node().attribute("style:name").as_string()] = Points(
            style.node().child("style:table-row-properties").attribute("style:row-height").as_string());

    std::vector<FlatSheet> sheets;
    for (const pugi::xpath_node table : doc.select_nodes("//office:spreadsheet/table:table")) {
        FlatSheet sheet;
        sheet.name = table.node().attribute("table:name").as_string();
        int row = 1;
        for (const pugi::xpath_node rowNode : table.node().select_nodes(".//table:table-row")) {
            const int repeat = std::max(1, rowNode.node().attribute("table:number-rows-repeated").as_int(1));
            const std::string style = rowNode.node().attribute("table:style-name").as_string();
            int column = 1;
            for (const pugi::xml_node cell : rowNode.node().children()) {
                const std::string kind = cell.name();
                if (kind != "table:table-cell" && kind != "table:covered-table-cell")
                    continue;
                const int columns = std::max(1, cell.attribute("table:number-columns-repeated").as_int(1));
                const std::string text = CellText(cell);
                const int spanColumns = cell.attribute("table:number-columns-spanned").as_int(1);
                const int spanRows = cell.attribute("table:number-rows-spanned").as_int(1);
                if (spanColumns > 1 || spanRows > 1)
                    sheet.merges.push_back(ColumnName(column) + std::to_string(row) + ":" +
                                           ColumnName(column + spanColumns - 1) +
                                           std::to_string(row + spanRows - 1));
                for (int r = 0; r < std::min(repeat, 2000) && !text.empty(); ++r)
                    for (int c = 0; c < std::min(columns, 100); ++c)
                        sheet.cells[{row + r, column + c}] = text;
                column += columns;
            }
            if (rowStyles.count(style))
                for (int r = 0; r < std::min(repeat, 2000); ++r)
                    sheet.rowHeights[row + r] = rowStyles[style];
            row += repeat;
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

} // namespace talvex::testing
