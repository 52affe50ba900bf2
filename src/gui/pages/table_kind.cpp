#include "pages/table_kind.h"

namespace talvex::gui {

int TableKind(int mode, int resultKind, int composition) {
    if (mode > 3 || resultKind > kResultControlStandard)
        return 0;
    return resultKind * 2 + composition + 1;
}

bool CompositionSelectable(int resultKind) {
    return resultKind != kResultControlStandard;
}

} // namespace talvex::gui
