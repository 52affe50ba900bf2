#include "core/app/session_file.h"

#include "core/common/data_file_io.h"
#include "core/common/utc_time.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace talvex {
namespace {

using nlohmann::json;

constexpr const char* kMethodNames[] = {"A", "A-mod", "B"};

const char* MethodName(std::int32_t method) {
    return method >= 0 && method < 3 ? kMethodNames[method] : "A";
}

// Reading fails with a message naming the member; every getter below throws this on a bad member.
struct SessionFormatError {
    std::string message;
};

const json& Member(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end())
        throw SessionFormatError{std::string("the member \"") + key + "\" is missing"};
    return *it;
}

std::string Text(const json& object, const char* key) {
    const json& value = Member(object, key);
    if (!value.is_string())
        throw SessionFormatError{std::string("the member \"") + key + "\" is not a text"};
    return value.get<std::string>();
}

std::int64_t Integer(const json& object, const char* key, std::int64_t min, std::int64_t max) {
    const json& value = Member(object, key);
    if (!value.is_number_integer())
        throw SessionFormatError{std::string("the member \"") + key + "\" is not a whole number"};
    // JSON readers keep non-negative numbers unsigned: compare those as unsigned, so that no large value
    // wraps into range.
    const bool fits = value.is_number_unsigned()
                          ? max >= 0 && value.get<std::uint64_t>() <= static_cast<std::uint64_t>(max) &&
                                static_cast<std::int64_t>(value.get<std::uint64_t>()) >= min
                          : value.get<std::int64_t>() >= min && value.get<std::int64_t>() <= max;
    if (!fits)
        throw SessionFormatError{std::string("the member \"") + key + "\" is out of range"};
    return value.get<std::int64_t>();
}

const json& Object(const json& object, const char* key) {
    const json& value = Member(object, key);
    if (!value.is_object())
        throw SessionFormatError{std::string("the member \"") + key + "\" is not an object"};
    return value;
}

const json& Array(const json& object, const char* key) {
    const json& value = Member(object, key);
    if (!value.is_array())
        throw SessionFormatError{std::string("the member \"") + key + "\" is not a list"};
    return value;
}

bool IsSha256Hex(const std::string& text) {
    if (text.size() != 64)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

std::string Sha256Member(const json& object, const char* key) {
    std::string text = Text(object, key);
    if (!IsSha256Hex(text))
        throw SessionFormatError{std::string("the member \"") + key + "\" is not a SHA-256 digest"};
    return text;
}

SessionRecord ParseRecord(const json& root) {
    if (!root.is_object() || root.value("format", std::string()) != kSessionFormatName)
        throw SessionFormatError{"it is not a Talvex session file"};
    SessionRecord record;
    record.formatVersion = static_cast<int>(Integer(root, "formatVersion", 1, INT32_MAX));
    if (record.formatVersion > kSessionFormatVersion)
        throw SessionFormatError{"it was written in format version " + std::to_string(record.formatVersion) +
                                 " by a newer program; this one reads up to version " +
                                 std::to_string(kSessionFormatVersion)};
    record.program = Text(root, "program");
    record.programVersion = Text(root, "programVersion");
    const std::optional<std::int64_t> savedAt = ParseUtcTime(Text(root, "savedAt"));
    if (!savedAt)
        throw SessionFormatError{"the member \"savedAt\" is not a UTC time"};
    record.savedAt = *savedAt;

    for (const json& item : Array(root, "chromatograms")) {
        if (!item.is_object())
            throw SessionFormatError{"an entry of \"chromatograms\" is not an object"};
        SessionChromatogram c;
        c.path = Text(item, "path");
        c.relativePath = Text(item, "relativePath");
        c.size = static_cast<std::uintmax_t>(Integer(item, "size", 0, INT64_MAX));
        c.sha256 = Sha256Member(item, "sha256");
        if (item.contains("fileId"))
            c.fileId = static_cast<std::int32_t>(Integer(item, "fileId", -1, INT32_MAX));
        if (c.path.empty() && c.relativePath.empty())
            throw SessionFormatError{"an entry of \"chromatograms\" names no file"};
        record.chromatograms.push_back(std::move(c));
    }

    const json& degassing = Object(root, "degassing");
    const std::string method = Text(degassing, "method");
    record.degassingMethod = -1;
    for (std::int32_t m = 0; m < 3; ++m)
        if (method == kMethodNames[m])
            record.degassingMethod = m;
    if (record.degassingMethod < 0)
        throw SessionFormatError{"the degassing method \"" + method + "\" is none of A, A-mod, B"};
    const json& inputs = Object(degassing, "inputs");
    for (std::size_t i = 0; i < kSessionDegassingInputs.size(); ++i)
        record.degassingTexts[i] = Text(inputs, SessionDegassingKey(kSessionDegassingInputs[i]));

    record.deviceName = Text(root, "instrument");

    const json& settings = Object(root, "settings");
    record.settings.decimals =
        static_cast<std::int32_t>(Integer(settings, "QtyNumAfterDot", INT32_MIN, INT32_MAX));
    record.settings.mode = static_cast<std::int32_t>(Integer(settings, "ModeCalc", INT32_MIN, INT32_MAX));
    record.settings.airCorrection =
        static_cast<std::int32_t>(Integer(settings, "Sect7_CorrectO2", INT32_MIN, INT32_MAX));
    record.settings.airN2 = Text(settings, "Sect7_ConcN2");
    record.settings.airO2 = Text(settings, "Sect7_ConcO2");
    record.settings.airCO2 = Text(settings, "Sect7_ConcCO2");

    const json& switches = Object(root, "reportSwitches");
    for (std::size_t i = 0; i < kReportSwitchCount; ++i) {
        const std::string key(ReportSwitchKey(static_cast<ReportSwitch>(i)));
        record.reportSwitches[i] = static_cast<std::int32_t>(Integer(switches, key.c_str(), 0, 1));
    }

    const json& data = Object(root, "dataFolder");
    record.dataFolder = Text(data, "path");
    if (data.contains("relativePath"))
        record.dataFolderRelative = Text(data, "relativePath");
    const json& files = Object(data, "files");
    for (const auto& [name, digest] : files.items()) {
        if (!digest.is_string() || !IsSha256Hex(digest.get<std::string>()))
            throw SessionFormatError{"the digest of the data file \"" + name + "\" is not a SHA-256 digest"};
        record.dataFiles.push_back({name, digest.get<std::string>()});
    }
    return record;
}

} // namespace

const char* SessionDegassingKey(DegassingField field) {
    switch (field) {
    case DegassingField::AtmPressure:
        return "AtmPressure";
    case DegassingField::GasTemperature:
        return "GasTemperature";
    case DegassingField::SampleMass:
        return "SampleMass";
    case DegassingField::CondMass1:
        return "CondMass1";
    case DegassingField::CondMass2:
        return "CondMass2";
    case DegassingField::GasVolume1:
        return "GasVolume1";
    case DegassingField::GasVolume2:
        return "GasVolume2";
    default:
        return "";
    }
}

std::string SessionToJson(const SessionRecord& record) {
    // ordered_json keeps the members in the order written, so the file reads top to bottom as the
    // operator would tell the calculation.
    nlohmann::ordered_json root;
    root["format"] = kSessionFormatName;
    root["formatVersion"] = record.formatVersion;
    root["program"] = record.program;
    root["programVersion"] = record.programVersion;
    root["savedAt"] = FormatUtcTime(record.savedAt);
    root["chromatograms"] = nlohmann::ordered_json::array();
    for (const SessionChromatogram& c : record.chromatograms)
        root["chromatograms"].push_back({{"path", c.path},
                                         {"relativePath", c.relativePath},
                                         {"size", c.size},
                                         {"sha256", c.sha256},
                                         {"fileId", c.fileId}});
    nlohmann::ordered_json inputs = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < kSessionDegassingInputs.size(); ++i)
        inputs[SessionDegassingKey(kSessionDegassingInputs[i])] = record.degassingTexts[i];
    root["degassing"] = {{"method", MethodName(record.degassingMethod)}, {"inputs", inputs}};
    root["instrument"] = record.deviceName;
    root["settings"] = {{"QtyNumAfterDot", record.settings.decimals},
                        {"ModeCalc", record.settings.mode},
                        {"Sect7_CorrectO2", record.settings.airCorrection},
                        {"Sect7_ConcN2", record.settings.airN2},
                        {"Sect7_ConcO2", record.settings.airO2},
                        {"Sect7_ConcCO2", record.settings.airCO2}};
    nlohmann::ordered_json switches = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < kReportSwitchCount; ++i)
        switches[std::string(ReportSwitchKey(static_cast<ReportSwitch>(i)))] = record.reportSwitches[i];
    root["reportSwitches"] = switches;
    nlohmann::ordered_json files = nlohmann::ordered_json::object();
    for (const SessionDataFile& f : record.dataFiles)
        files[f.name] = f.sha256;
    root["dataFolder"] = {
        {"path", record.dataFolder}, {"relativePath", record.dataFolderRelative}, {"files", files}};
    // Invalid UTF-8 in a path is replaced rather than making the save fail.
    return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::optional<SessionRecord> SessionFromJson(const std::string& text, std::string& error) {
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        error = "it is not a JSON text";
        return std::nullopt;
    }
    try {
        return ParseRecord(root);
    } catch (const SessionFormatError& e) {
        error = e.message;
    } catch (const json::exception& e) {
        error = e.what();
    }
    return std::nullopt;
}

std::optional<SessionRecord> ReadSessionFile(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = path.string() + ": " + ec.message();
        return std::nullopt;
    }
    if (size > kMaxSessionFileSize) {
        error = path.string() + ": the file is too large for a session file";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in && !in.eof()) {
        error = path.string() + ": the file cannot be read";
        return std::nullopt;
    }
    std::string reason;
    std::optional<SessionRecord> record = SessionFromJson(content.str(), reason);
    if (!record)
        error = path.string() + ": not a readable session file: " + reason;
    return record;
}

bool WriteSessionFile(const std::filesystem::path& path, const SessionRecord& record, std::string& error) {
    return WriteFileAtomically(path, SessionToJson(record), &error);
}

} // namespace talvex
