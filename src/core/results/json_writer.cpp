#include "core/results/json_writer.h"

#include "core/common/not_set.h"

#include <charconv>
#include <cmath>

namespace talvex {

void JsonWriter::Key(std::string_view key) {
    if (!first_.empty()) {
        if (!first_.back())
            out_ += ',';
        first_.back() = false;
    }
    if (!key.empty()) {
        AppendString(key);
        out_ += ':';
    }
}

void JsonWriter::AppendString(std::string_view text) {
    out_ += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out_ += "\\\"";
            break;
        case '\\':
            out_ += "\\\\";
            break;
        case '\n':
            out_ += "\\n";
            break;
        case '\r':
            out_ += "\\r";
            break;
        case '\t':
            out_ += "\\t";
            break;
        default:
            if (u < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out_ += "\\u00";
                out_ += hex[u >> 4];
                out_ += hex[u & 15];
            } else {
                out_ += c;
            }
        }
    }
    out_ += '"';
}

void JsonWriter::BeginObject(std::string_view key) {
    Key(key);
    out_ += '{';
    first_.push_back(true);
}

void JsonWriter::EndObject() {
    first_.pop_back();
    out_ += '}';
}

void JsonWriter::BeginArray(std::string_view key) {
    Key(key);
    out_ += '[';
    first_.push_back(true);
}

void JsonWriter::EndArray() {
    first_.pop_back();
    out_ += ']';
}

void JsonWriter::String(std::string_view key, std::string_view value) {
    Key(key);
    AppendString(value);
}

void JsonWriter::Number(std::string_view key, double value) {
    if (!std::isfinite(value) || IsNotSet(value)) {
        Null(key);
        return;
    }
    Key(key);
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out_.append(buf, result.ptr);
}

void JsonWriter::Integer(std::string_view key, std::int64_t value) {
    Key(key);
    out_ += std::to_string(value);
}

void JsonWriter::Bool(std::string_view key, bool value) {
    Key(key);
    out_ += value ? "true" : "false";
}

void JsonWriter::Null(std::string_view key) {
    Key(key);
    out_ += "null";
}

} // namespace talvex
