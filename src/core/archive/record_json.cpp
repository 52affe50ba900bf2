#include "core/archive/record_json.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace talvex::archive {
namespace {

using nlohmann::ordered_json;
constexpr const char* kFormat = "talvex-archive-record";
constexpr int kFormatVersion = 1;

ordered_json Number(double v) {
    return std::isfinite(v) ? ordered_json(v) : ordered_json(nullptr);
}

double NumberFrom(const ordered_json& j) {
    return j.is_number() ? j.get<double>() : std::numeric_limits<double>::quiet_NaN();
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        out += digits[u >> 4];
        out += digits[u & 15];
    }
    return out;
}

std::string FromHex(const std::string& hex) {
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        throw std::invalid_argument("not a hexadecimal digit");
    };
    if (hex.size() % 2 != 0)
        throw std::invalid_argument("odd number of hexadecimal digits");
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        out += static_cast<char>(value(hex[i]) * 16 + value(hex[i + 1]));
    return out;
}

} // namespace

std::string RecordToJson(const ArchiveRecord& r) {
    ordered_json j;
    j["format"] = kFormat;
    j["version"] = kFormatVersion;
    j["id"] = r.id;
    j["createdAt"] = r.createdAt;
    j["host"] = r.host;
    j["user"] = r.user;
    j["programVersion"] = r.programVersion;
    j["schemaVersion"] = r.schemaVersion;
    j["fingerprint"] = r.fingerprint;
    j["sample"] = r.sample;
    j["chromatograms"] = ordered_json::array();
    for (const ArchiveChromatogram& c : r.chromatograms)
        j["chromatograms"].push_back({{"path", c.path},
                                      {"sha256", c.sha256},
                                      {"sampleName", c.sampleName},
                                      {"method", c.method},
                                      {"analysisTime", c.analysisTime},
                                      {"role", c.role},
                                      {"roleCode", c.roleCode},
                                      {"detector", c.detector},
                                      {"medium", c.medium},
                                      {"analysisNo", c.analysisNo}});
    j["dataFiles"] = ordered_json::array();
    for (const ArchiveDataFile& d : r.dataFiles)
        j["dataFiles"].push_back({{"name", d.name}, {"sha256", d.sha256}, {"content", Hex(d.content)}});
    j["settings"] = r.settingsJson;
    j["degassing"] = r.degassingJson;
    j["results"] = ordered_json::array();
    for (const ArchiveResultRow& x : r.results)
        j["results"].push_back(
            {{"table", x.table},
             {"name", x.name},
             {"value", Number(x.value)},
             {"discrepancy", Number(x.discrepancy)},
             {"withinLimit", x.withinLimit ? ordered_json(*x.withinLimit) : ordered_json()}});
    j["controls"] = ordered_json::array();
    for (const ArchiveControlRow& c : r.controls) {
        const controlchart::ControlObservation& o = c.observation;
        j["controls"].push_back(
            {{"kind", o.key.kind == controlchart::ControlKind::Okp ? "okp" : "oke"},
             {"medium", o.key.medium == controlchart::ControlMedium::Gas ? "gas" : "condensate"},
             {"list", o.key.list},
             {"component", o.key.component},
             {"time", o.time},
             {"sample", o.sample},
             {"measured", Number(o.measured)},
             {"reference", Number(o.reference)},
             {"difference", Number(o.difference)},
             {"limit", Number(o.limit)},
             {"normLow", Number(c.normLow)},
             {"normHigh", Number(c.normHigh)}});
    }
    j["log"] = r.log;
    j["resultsJson"] = r.resultsJson;
    j["sessionJson"] = r.sessionJson;
    j["reason"] = r.reason;
    j["chromatogramFiles"] = ordered_json::array();
    for (const ArchiveDataFile& f : r.chromatogramFiles)
        j["chromatogramFiles"].push_back(
            {{"path", f.name}, {"sha256", f.sha256}, {"content", Hex(f.content)}});
    // Text that is not UTF-8 (a log line from a Windows-1251 file) is kept byte for byte as far as it can be.
    return j.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

std::optional<ArchiveRecord> RecordFromJson(const std::string& text, std::string& error) {
    try {
        const ordered_json j = ordered_json::parse(text);
        if (j.value("format", "") != kFormat || j.value("version", 0) != kFormatVersion) {
            error = "не запись архива Talvex";
            return std::nullopt;
        }
        ArchiveRecord r;
        r.id = j.at("id").get<std::string>();
        r.createdAt = j.at("createdAt").get<std::int64_t>();
        r.host = j.at("host").get<std::string>();
        r.user = j.at("user").get<std::string>();
        r.programVersion = j.at("programVersion").get<std::string>();
        r.schemaVersion = j.at("schemaVersion").get<int>();
        r.fingerprint = j.at("fingerprint").get<std::string>();
        r.sample = j.at("sample").get<std::string>();
        for (const ordered_json& c : j.at("chromatograms"))
            r.chromatograms.push_back(
                {c.at("path").get<std::string>(), c.at("sha256").get<std::string>(),
                 c.at("sampleName").get<std::string>(), c.at("method").get<std::string>(),
                 c.at("analysisTime").get<std::int64_t>(), c.at("role").get<std::string>(),
                 c.at("roleCode").get<std::int32_t>(), c.at("detector").get<std::int32_t>(),
                 c.at("medium").get<std::int32_t>(), c.at("analysisNo").get<std::int32_t>()});
        for (const ordered_json& d : j.at("dataFiles"))
            r.dataFiles.push_back({d.at("name").get<std::string>(), d.at("sha256").get<std::string>(),
                                   FromHex(d.at("content").get<std::string>())});
        r.settingsJson = j.at("settings").get<std::string>();
        r.degassingJson = j.at("degassing").get<std::string>();
        for (const ordered_json& x : j.at("results")) {
            const ordered_json& w = x.at("withinLimit");
            r.results.push_back({x.at("table").get<std::string>(), x.at("name").get<std::string>(),
                                 NumberFrom(x.at("value")), NumberFrom(x.at("discrepancy")),
                                 w.is_boolean() ? std::optional<bool>(w.get<bool>()) : std::nullopt});
        }
        for (const ordered_json& c : j.at("controls")) {
            ArchiveControlRow row;
            controlchart::ControlObservation& o = row.observation;
            o.key.kind =
                c.at("kind") == "okp" ? controlchart::ControlKind::Okp : controlchart::ControlKind::Oke;
            o.key.medium = c.at("medium") == "gas" ? controlchart::ControlMedium::Gas
                                                   : controlchart::ControlMedium::Condensate;
            o.key.list = c.at("list").get<std::string>();
            o.key.component = c.at("component").get<std::string>();
            o.time = c.at("time").get<std::int64_t>();
            o.sample = c.at("sample").get<std::string>();
            o.measured = NumberFrom(c.at("measured"));
            o.reference = NumberFrom(c.at("reference"));
            o.difference = NumberFrom(c.at("difference"));
            o.limit = NumberFrom(c.at("limit"));
            row.normLow = NumberFrom(c.at("normLow"));
            row.normHigh = NumberFrom(c.at("normHigh"));
            r.controls.push_back(std::move(row));
        }
        r.log = j.at("log").get<std::string>();
        r.resultsJson = j.at("resultsJson").get<std::string>();
        r.sessionJson = j.at("sessionJson").get<std::string>();
        r.reason = j.at("reason").get<std::string>();
        for (const ordered_json& f : j.value("chromatogramFiles", ordered_json::array()))
            r.chromatogramFiles.push_back({f.at("path").get<std::string>(), f.at("sha256").get<std::string>(),
                                           FromHex(f.at("content").get<std::string>())});
        if (RecordFingerprint(r) != r.fingerprint) {
            error = "отпечаток записи не совпадает с её содержимым";
            return std::nullopt;
        }
        return r;
    } catch (const std::exception& e) {
        error = std::string("запись повреждена: ") + e.what();
        return std::nullopt;
    }
}

} // namespace talvex::archive
