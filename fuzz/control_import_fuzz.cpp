// Fuzz target of the import of earlier control results: any bytes give either an error naming a line or
// results that each make a sound chart point (a finite positive limit, values within 0...100 %).
#include "core/controlchart/control_chart.h"
#include "core/controlchart/control_import.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvex::controlchart;
    const auto parsed = ParseControlImport(std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        if (error->rfind("строка ", 0) != 0 && error->rfind("файл: ", 0) != 0)
            __builtin_trap();
        return 0;
    }
    const auto& rows = std::get<std::vector<ControlObservation>>(parsed);
    if (rows.empty())
        __builtin_trap();
    for (const ControlObservation& o : rows) {
        if (!o.imported || !o.record.empty() || o.key.component.empty())
            __builtin_trap();
        if (!(o.measured >= 0 && o.measured <= 100 && o.reference >= 0 && o.reference <= 100))
            __builtin_trap();
        if (!std::isfinite(o.limit) || !(o.limit > 0) || !std::isfinite(o.difference) || o.difference < 0)
            __builtin_trap();
        if ((o.key.kind == ControlKind::Oke) != o.key.list.empty())
            __builtin_trap();
        // A point, or (for a limit too small to divide by) the reason why not; never a number that is not
        // one.
        const auto reduced = ReduceObservation(o);
        if (const double* q = std::get_if<double>(&reduced); q && !std::isfinite(*q))
            __builtin_trap();
    }
    return 0;
}
