#pragma once

#include "core/common/table_kind.h"

#include <optional>

namespace talvex::gui {

// What a composition page shows.
enum class OutTableMode { Gas = 1, Condensate = 2, Marking = 3 };

// The radio group "Результат".
inline constexpr int kResultAnalysis = 0;
inline constexpr int kResultControlSample = 1; // "Контроль с применением ОК (проба)"
inline constexpr int kResultControlStandard = 2; // "Контроль с применением ОК (ГСО)"

// The one conversion from the radio buttons to the table kind the session builds: the result kind and the
// composition (0 or 1) as the radios give them; none when the mode or the result kind is out of range.
std::optional<TableKind> TableKindOf(int mode, int resultKind, int composition);

// Whether the composition radios can be chosen for a result kind: not for the control with a standard,
// whose table is the same for both compositions.
bool CompositionSelectable(int resultKind);

} // namespace talvex::gui
