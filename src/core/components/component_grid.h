#pragma once

#include "core/common/grid_model.h"
#include "core/components/component_table.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace talvex {

// The component editor's grid: one row per record of the component database in table order, showing
// one property block at a time.
enum class ComponentBlock : int { Gas = 0, Liquid = 1 };

// "№", "Компонент", "Имя компонента", "Группа", "ЧАУ", "Т кип, °С", "ММ, г/моль" come first in both blocks.
inline constexpr int kComponentFixedColumns = 7;

// Columns of the block with their widths, then a row per record with the record's id as its tag. Numbers
// are shown with their column's decimals (carbon number 2, the others 3, the certified value
// `certifiedDecimals`), a missing one as "---".
GridModel BuildComponentGrid(const ComponentTable& table, ComponentBlock block, int certifiedDecimals);

// Whether the operator may edit the cells of this column: not the row number nor the key.
bool IsComponentColumnEditable(int column);

// The operator typed `text` into the cell (`index` in table order, `column` of the grid of `block`): the
// display name and the group are taken as typed, a number as NormaliseTypedCell reads it, into the field
// of the shown block that the column shows. A number that NormaliseTypedCell refuses changes nothing and
// puts the operator's message into `refusal`, when given. Returns the text the cell shows, or nothing when
// the row or the column cannot be edited or the text was refused.
std::optional<std::string> SetComponentCell(ComponentTable& table, std::size_t index, ComponentBlock block,
                                            int column, std::string_view text,
                                            std::string* refusal = nullptr);

} // namespace talvex
