#include "core/components/typed_cell.h"

#include "core/common/case_fold.h"
#include "core/common/not_set.h"
#include "core/common/number_text.h"

namespace talvex {
namespace {

constexpr std::string_view kMissingText = "---";

} // namespace

std::optional<std::pair<double, std::string>> NormaliseTypedCell(std::string_view typed) {
    if (typed.empty() || EqualsIgnoringCase(typed, kMissingText))
        return std::pair{NotSet, std::string(typed)};
    if (!StartsWithNumber(typed))
        return std::nullopt;
    const TypedNumber number = ReadTypedNumber(typed);
    if (IsNotSet(number.value))
        return std::pair{NotSet, std::string(kMissingText)};
    return std::pair{number.value, number.shown};
}

std::string NotANumberMessage(std::string_view typed) {
    return "\"" + std::string(typed) +
           "\" не число. В числовую ячейку вводится число (например, 12.5 или 12,5), а чтобы стереть "
           "значение — \"---\" или пустая строка. Прежнее значение ячейки оставлено.";
}

} // namespace talvex
