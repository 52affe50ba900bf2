#include "gui/pages/table_kind.h"

namespace talvex::gui {

std::optional<TableKind> TableKindOf(int mode, int resultKind, int composition) {
    if (mode > 3 || resultKind > kResultControlStandard)
        return std::nullopt;
    return static_cast<TableKind>(resultKind * 2 + composition + 1);
}

bool CompositionSelectable(int resultKind) {
    return resultKind != kResultControlStandard;
}

} // namespace talvex::gui
