#include "section7/section7.h"

namespace talvex {

void ResetSection7(Section7Result& result) {
    result = Section7Result{};
}

void CalcSection7(Section7Result& result, const CalcInputs&) {
    result.calculated = true;
}

} // namespace talvex
