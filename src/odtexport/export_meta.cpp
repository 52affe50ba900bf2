#include "brisquel.h"

#include <cstddef>

static_assert(sizeof(ExportMeta) == 452, "ExportMeta is a fixed 452-byte record");
static_assert(offsetof(ExportMeta, Kind) == 0 && offsetof(ExportMeta, Name) == 96 &&
              offsetof(ExportMeta, Format) == 192 && offsetof(ExportMeta, Value) == 448);

namespace {

// Copies at most N - 1 units and always terminates; the rest of the field is zero.
template <std::size_t N> void CopyBounded(char16_t (&field)[N], const char16_t* text) {
    std::size_t i = 0;
    for (; i + 1 < N && text[i]; ++i)
        field[i] = text[i];
    for (; i < N; ++i)
        field[i] = 0;
}

} // namespace

extern "C" BRISQUEL_API bool GetMeta(ExportMeta* meta) {
    if (!meta)
        return false;
    CopyBounded(meta->Kind, u"export");
    CopyBounded(meta->Name, u"export2odt");
    CopyBounded(meta->Format, u"Odt");
    meta->Value = 1;
    return true;
}
