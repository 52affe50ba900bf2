#include "components/typed_cell.h"

#include "common/case_fold.h"
#include "common/not_set.h"
#include "common/number_text.h"

namespace talvex {
namespace {

constexpr std::string_view kMissingText = "---";

} // namespace

std::pair<double, std::string> NormaliseTypedCell(std::string_view typed) {
    if (typed.empty() || EqualsIgnoringCase(typed, kMissingText))
        return {NotSet, std::string(typed)};
    const TypedNumber number = ReadTypedNumber(typed);
    if (IsNotSet(number.value))
        return {NotSet, std::string(kMissingText)};
    return {number.value, number.shown};
}

} // namespace talvex
