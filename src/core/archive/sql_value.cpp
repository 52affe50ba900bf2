#include "core/archive/sql_connection.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace talvex::archive {

std::string AsText(const SqlValue& v) {
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    if (const auto* b = std::get_if<Blob>(&v))
        return b->bytes;
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v)) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, *d);
        return std::string(buf, r.ptr);
    }
    return {};
}

std::int64_t AsInt(const SqlValue& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return static_cast<std::int64_t>(*d);
    if (const auto* s = std::get_if<std::string>(&v)) {
        std::int64_t out = 0;
        std::from_chars(s->data(), s->data() + s->size(), out);
        return out;
    }
    return 0;
}

double AsReal(const SqlValue& v) {
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return static_cast<double>(*i);
    if (const auto* s = std::get_if<std::string>(&v)) {
        double out = std::numeric_limits<double>::quiet_NaN();
        std::from_chars(s->data(), s->data() + s->size(), out);
        return out;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

bool IsNull(const SqlValue& v) {
    return std::holds_alternative<std::monostate>(v);
}

SqlValue Real(double v) {
    if (!std::isfinite(v))
        return std::monostate{};
    return v;
}

SqlValue TextOrNull(const std::string& v) {
    if (v.empty())
        return std::monostate{};
    return v;
}

} // namespace talvex::archive
