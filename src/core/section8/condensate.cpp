#include "section8/condensate.h"

namespace talvex {

void ResetCondensate(CondensateResult& result) {
    result = CondensateResult{};
}

void CalcCondensate(CondensateResult& result, const CalcInputs&) {
    result.calculated = true;
}

} // namespace talvex
