#include "core/components/component_grid.h"

#include "core/common/format.h"
#include "core/components/typed_cell.h"

#include <array>

namespace talvex {
namespace {

// What a column of a block shows: a text field, a number with fixed decimals, or the certified value,
// whose decimals follow the settings.
struct ColumnDef {
    const char* caption;
    int width;
    double PhaseProperties::*number;
    int decimals; // kCertified: the certified value's decimals
};

constexpr int kCertified = -1;

const std::array<ColumnDef, 3> kFixedNumbers{{
    {"ЧАУ", 50, &PhaseProperties::carbonNumber, 2},
    {"Т кип, °С", 70, &PhaseProperties::boilingPoint, 3},
    {"ММ, г/моль", 80, &PhaseProperties::molarMass, 3},
}};

const std::array<ColumnDef, 4> kGasColumns{{
    {"Плотность, г/см³", 90, &PhaseProperties::density, 3},
    {"К-ПИД", 55, &PhaseProperties::fidFactor, 3},
    {"К-ДТП", 55, &PhaseProperties::tcdFactor, 3},
    {"Атест. знач, газ, масс%", 145, &PhaseProperties::certifiedValue, kCertified},
}};

const std::array<ColumnDef, 2> kLiquidColumns{{
    {"К-ПИД", 55, &PhaseProperties::fidFactor, 3},
    {"Атест. знач, ж, масс%", 135, &PhaseProperties::certifiedValue, kCertified},
}};

enum FixedColumn : int { kNumber = 0, kKey = 1, kDisplayName = 2, kGroup = 3, kFirstNumber = 4 };

// The number column of a block at a grid column, or null for the text columns and columns beyond.
const ColumnDef* NumberColumn(ComponentBlock block, int column) {
    if (column >= kFirstNumber && column < kComponentFixedColumns)
        return &kFixedNumbers[static_cast<std::size_t>(column - kFirstNumber)];
    if (column < kComponentFixedColumns)
        return nullptr;
    const std::size_t k = static_cast<std::size_t>(column - kComponentFixedColumns);
    if (block == ComponentBlock::Gas)
        return k < kGasColumns.size() ? &kGasColumns[k] : nullptr;
    return k < kLiquidColumns.size() ? &kLiquidColumns[k] : nullptr;
}

int BlockColumnCount(ComponentBlock block) {
    return kComponentFixedColumns +
           static_cast<int>(block == ComponentBlock::Gas ? kGasColumns.size() : kLiquidColumns.size());
}

PhaseProperties& Block(ComponentRecord& r, ComponentBlock block) {
    return block == ComponentBlock::Gas ? r.gas : r.liquid;
}

} // namespace

GridModel BuildComponentGrid(const ComponentTable& table, ComponentBlock block, int certifiedDecimals) {
    GridModel grid;
    grid.columns = {{"№", 40}, {"Компонент", 150}, {"Имя компонента", 150}, {"Группа", 100}};
    const int count = BlockColumnCount(block);
    for (int c = kFirstNumber; c < count; ++c) {
        const ColumnDef* def = NumberColumn(block, c);
        grid.columns.push_back({def->caption, def->width});
    }
    grid.rows.reserve(table.records.size());
    int k = 0;
    for (const ComponentRecord& r : table.records) {
        const PhaseProperties& p = block == ComponentBlock::Gas ? r.gas : r.liquid;
        GridRow row;
        row.tag = r.id;
        row.cells = {StrPrintf("%d", ++k), r.key, r.displayName, p.group};
        for (int c = kFirstNumber; c < count; ++c) {
            const ColumnDef* def = NumberColumn(block, c);
            row.cells.push_back(FormatValue(p.*(def->number),
                                            def->decimals == kCertified ? certifiedDecimals : def->decimals));
        }
        grid.rows.push_back(std::move(row));
    }
    return grid;
}

bool IsComponentColumnEditable(int column) {
    return column != kNumber && column != kKey;
}

std::optional<std::string> SetComponentCell(ComponentTable& table, std::size_t index, ComponentBlock block,
                                            int column, std::string_view text, std::string* refusal) {
    if (index >= table.records.size() || !IsComponentColumnEditable(column) || column < 0 ||
        column >= BlockColumnCount(block))
        return std::nullopt;
    ComponentRecord& r = table.records[index];
    if (column == kDisplayName) {
        r.displayName = std::string(text);
        return r.displayName;
    }
    if (column == kGroup) {
        Block(r, block).group = std::string(text);
        return Block(r, block).group;
    }
    auto typed = NormaliseTypedCell(text);
    if (!typed) {
        if (refusal)
            *refusal = NotANumberMessage(text);
        return std::nullopt;
    }
    Block(r, block).*(NumberColumn(block, column)->number) = typed->first;
    return std::move(typed->second);
}

} // namespace talvex
