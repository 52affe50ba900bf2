#include "nlh/nlh.h"

namespace talvex {

void ResetNlh(NlhResult& result) {
    result = NlhResult{};
}

void CalcNLH(NlhResult& result, const Section7Result&, const CondensateResult&, const CalcInputs&) {
    result.calculated = true;
}

} // namespace talvex
