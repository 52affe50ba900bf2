#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talvex {

// A small streaming JSON writer: UTF-8 text, numbers in their shortest round-trip form, and NaN or
// infinities as null (JSON has no such numbers; a missing number reads as null too).
class JsonWriter {
public:
    void BeginObject(std::string_view key = {});
    void EndObject();
    void BeginArray(std::string_view key = {});
    void EndArray();
    void String(std::string_view key, std::string_view value);
    void Number(std::string_view key, double value);
    void Integer(std::string_view key, std::int64_t value);
    void Bool(std::string_view key, bool value);
    void Null(std::string_view key);

    const std::string& Text() const { return out_; }

private:
    void Key(std::string_view key);
    void AppendString(std::string_view text);

    std::string out_;
    std::vector<bool> first_; // per open container: no member written yet
};

} // namespace talvex
