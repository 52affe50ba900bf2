#include "cli/archive_command.h"

#include "core/archive/archive.h"
#include "core/archive/archive_location.h"
#include "core/archive/spool.h"
#include "core/common/data_file_io.h"
#include "core/common/utc_time.h"
#include "core/controlchart/control_import.h"
#include "core/results/json_writer.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <map>
#include <optional>

namespace talvex::cli {
namespace {

using namespace talvex::archive;
using controlchart::ControlKind;
using controlchart::ControlMedium;

constexpr const char* kArchiveUsage =
    "usage: talvex-cli archive list [--archive URL] [--from DATE] [--to DATE] [--sample TEXT] [--all] "
    "[--json]\n"
    "       talvex-cli archive show [--archive URL] ID [--json]\n"
    "       talvex-cli archive flush [--archive URL]\n"
    "       talvex-cli archive import-controls [--archive URL] FILE.csv\n"
    "       talvex-cli archive phase [--archive URL] --kind okp|oke --medium gas|condensate [--component "
    "NAME]\n"
    "                                --from DATE --reason TEXT\n"
    "URL: a path, sqlite:PATH or postgresql://...; without --archive the default archive file.\n"
    "DATE: YYYY-MM-DD, YYYY-MM-DDTHH:MM:SSZ or DD.MM.YYYY (UTC).\n";

// Options with a value (as the next argument or after "="), flags, and the arguments left.
struct Parsed {
    std::map<std::string, std::string> values;
    std::map<std::string, bool> flags;
    std::vector<std::string> rest;
};

std::optional<Parsed> ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                                const std::vector<std::string>& flags, std::string& error) {
    Parsed p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            p.rest.push_back(arg);
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (std::find(flags.begin(), flags.end(), name) != flags.end() && eq == std::string::npos) {
            p.flags[name] = true;
        } else if (std::find(valued.begin(), valued.end(), name) != valued.end()) {
            if (eq != std::string::npos) {
                p.values[name] = arg.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                p.values[name] = args[++i];
            } else {
                error = name + " needs a value";
                return std::nullopt;
            }
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    return p;
}

// A date (start of the day) or a time, UTC. `endOfDay` makes a bare date mean its last second.
std::optional<std::int64_t> ParseDate(const std::string& text, bool endOfDay) {
    if (const auto t = ParseUtcTime(text))
        return t;
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (!(std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) == 3 ||
          std::sscanf(text.c_str(), "%2d.%2d.%4d%c", &d, &m, &y, &tail) == 3))
        return std::nullopt;
    char iso[32];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT00:00:00Z", y, m, d);
    const auto t = ParseUtcTime(iso);
    if (!t)
        return std::nullopt;
    return endOfDay ? *t + 86399 : *t;
}

std::string ArchiveUrl(const Parsed& p) {
    if (auto it = p.values.find("--archive"); it != p.values.end())
        return it->second;
    return DefaultArchivePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")).string();
}

int Usage(const std::string& error) {
    std::cerr << "talvex-cli: " << error << '\n' << kArchiveUsage;
    return 2;
}

std::unique_ptr<Archive> OpenOrSay(const Parsed& p) {
    std::string error;
    std::unique_ptr<Archive> archive = Archive::Open(ArchiveUrl(p), error);
    if (!archive)
        std::cerr << "talvex-cli: " << error << '\n';
    return archive;
}

int List(const std::vector<std::string>& args) {
    std::string error;
    const auto p = ParseArgs(args, {"--archive", "--from", "--to", "--sample"}, {"--all", "--json"}, error);
    if (!p)
        return Usage(error);
    if (!p->rest.empty())
        return Usage("unexpected argument " + p->rest.front());
    ListQuery query;
    query.all = p->flags.contains("--all");
    for (const auto& [name, end] : {std::pair{"--from", false}, std::pair{"--to", true}}) {
        if (auto it = p->values.find(name); it != p->values.end()) {
            const auto t = ParseDate(it->second, end);
            if (!t)
                return Usage(std::string(name) + " takes a date, not \"" + it->second + "\"");
            (end ? query.to : query.from) = *t;
        }
    }
    if (auto it = p->values.find("--sample"); it != p->values.end())
        query.sample = it->second;
    const auto archive = OpenOrSay(*p);
    if (!archive)
        return 1;
    const auto records = archive->List(query, error);
    if (!records) {
        std::cerr << "talvex-cli: " << error << '\n';
        return 1;
    }
    if (p->flags.contains("--json")) {
        JsonWriter json;
        json.BeginArray();
        for (const RecordSummary& r : *records) {
            json.BeginObject();
            json.String("id", r.id);
            json.String("time", FormatUtcTime(r.createdAt));
            json.String("sample", r.sample);
            json.Bool("current", r.current);
            if (r.supersedes.empty())
                json.Null("supersedes");
            else
                json.String("supersedes", r.supersedes);
            if (r.reason.empty())
                json.Null("reason");
            else
                json.String("reason", r.reason);
            json.String("fingerprint", r.fingerprint);
            json.EndObject();
        }
        json.EndArray();
        std::cout << json.Text() << '\n';
    } else {
        for (const RecordSummary& r : *records)
            std::cout << r.id << '\t' << FormatUtcTime(r.createdAt) << '\t' << r.sample << '\t'
                      << (r.current ? "current" : "superseded") << '\t' << r.reason << '\n';
    }
    return std::cout.flush() ? 0 : 1;
}

nlohmann::ordered_json Number(double v) {
    return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json TextOrNullJson(const std::string& s) {
    return s.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(s);
}

// The record as JSON; its results JSON is placed as it was written, byte for byte.
std::string ShowJson(const StoredRecord& stored) {
    using nlohmann::ordered_json;
    const ArchiveRecord& r = stored.record;
    ordered_json j;
    j["id"] = r.id;
    j["time"] = FormatUtcTime(r.createdAt);
    j["host"] = r.host;
    j["user"] = r.user;
    j["programVersion"] = r.programVersion;
    j["schemaVersion"] = r.schemaVersion;
    j["fingerprint"] = r.fingerprint;
    j["sample"] = r.sample;
    j["current"] = stored.current;
    j["supersedes"] = TextOrNullJson(stored.supersedes);
    j["reason"] = TextOrNullJson(r.reason);
    j["chromatograms"] = ordered_json::array();
    for (const ArchiveChromatogram& c : r.chromatograms)
        j["chromatograms"].push_back({{"path", c.path},
                                      {"sha256", TextOrNullJson(c.sha256)},
                                      {"sampleName", c.sampleName},
                                      {"method", c.method},
                                      {"analysisTime", FormatUtcTime(c.analysisTime)},
                                      {"role", c.role},
                                      {"analysisNo", c.analysisNo}});
    j["dataFiles"] = ordered_json::array();
    for (const ArchiveDataFile& d : r.dataFiles)
        j["dataFiles"].push_back({{"name", d.name}, {"sha256", TextOrNullJson(d.sha256)}});
    j["settings"] = ordered_json::parse(r.settingsJson, nullptr, false);
    j["degassing"] = ordered_json::parse(r.degassingJson, nullptr, false);
    j["controls"] = ordered_json::array();
    for (const ArchiveControlRow& c : r.controls) {
        const controlchart::ControlObservation& o = c.observation;
        j["controls"].push_back({{"kind", KindName(o.key.kind)},
                                 {"medium", MediumName(o.key.medium)},
                                 {"list", o.key.list},
                                 {"component", o.key.component},
                                 {"time", FormatUtcTime(o.time)},
                                 {"measured", Number(o.measured)},
                                 {"reference", Number(o.reference)},
                                 {"difference", Number(o.difference)},
                                 {"limit", Number(o.limit)},
                                 {"normLow", Number(c.normLow)},
                                 {"normHigh", Number(c.normHigh)}});
    }
    j["log"] = r.log;
    j["session"] =
        r.sessionJson.empty() ? ordered_json(nullptr) : ordered_json::parse(r.sessionJson, nullptr, false);
    std::string text = j.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    std::string results = r.resultsJson;
    while (!results.empty() && results.back() == '\n')
        results.pop_back();
    text.pop_back(); // the closing brace
    text += ",\"results\":" + (results.empty() ? std::string("null") : results) + "}";
    return text;
}

int Show(const std::vector<std::string>& args) {
    std::string error;
    const auto p = ParseArgs(args, {"--archive"}, {"--json"}, error);
    if (!p)
        return Usage(error);
    if (p->rest.size() != 1)
        return Usage("archive show takes one record id");
    const auto archive = OpenOrSay(*p);
    if (!archive)
        return 1;
    const auto stored = archive->Show(p->rest[0], error);
    if (!stored) {
        std::cerr << "talvex-cli: " << (error.empty() ? "no record " + p->rest[0] + " in the archive" : error)
                  << '\n';
        return 1;
    }
    if (p->flags.contains("--json")) {
        std::cout << ShowJson(*stored) << '\n';
    } else {
        const ArchiveRecord& r = stored->record;
        std::cout << "Запись " << r.id << " от " << FormatUtcTime(r.createdAt) << " (" << r.user << '@'
                  << r.host << ")\nПроба: " << r.sample
                  << "\nСостояние: " << (stored->current ? "текущая" : "заменена") << '\n';
        if (!stored->supersedes.empty())
            std::cout << "Заменяет: " << stored->supersedes << "\nПричина: " << r.reason << '\n';
        for (const ArchiveChromatogram& c : r.chromatograms)
            std::cout << "Хроматограмма: " << c.path << ' ' << c.sha256 << '\n';
        std::cout << "Журнал сообщений:\n" << r.log << '\n';
    }
    return std::cout.flush() ? 0 : 1;
}

int Flush(const std::vector<std::string>& args) {
    std::string error;
    const auto p = ParseArgs(args, {"--archive"}, {}, error);
    if (!p)
        return Usage(error);
    if (!p->rest.empty())
        return Usage("unexpected argument " + p->rest.front());
    const auto archive = OpenOrSay(*p);
    if (!archive)
        return 1;
    const FlushReport report =
        FlushSpool(DefaultSpoolFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")), *archive);
    std::cout << "sent: " << report.sent << ", already in the archive: " << report.alreadyPresent
              << ", left in the spool: " << report.kept.size() << '\n';
    for (const std::string& line : report.kept)
        std::cerr << "talvex-cli: " << line << '\n';
    return report.kept.empty() ? 0 : 1;
}

int ImportControls(const std::vector<std::string>& args) {
    std::string error;
    const auto p = ParseArgs(args, {"--archive"}, {}, error);
    if (!p)
        return Usage(error);
    if (p->rest.size() != 1)
        return Usage("archive import-controls takes one CSV file");
    std::string text;
    if (!ReadFileFrom(p->rest[0], 0, text, &error)) {
        std::cerr << "talvex-cli: " << error << '\n';
        return 1;
    }
    auto parsed = controlchart::ParseControlImport(text);
    if (const auto* bad = std::get_if<std::string>(&parsed)) {
        std::cerr << "talvex-cli: " << p->rest[0] << ": " << *bad << '\n';
        return 2;
    }
    auto& points = std::get<std::vector<controlchart::ControlObservation>>(parsed);
    for (auto& o : points)
        o.imported = true;
    const auto archive = OpenOrSay(*p);
    if (!archive)
        return 1;
    if (!archive->ImportControls(points, error)) {
        std::cerr << "talvex-cli: nothing imported: " << error << '\n';
        return 1;
    }
    std::cout << "imported: " << points.size() << '\n';
    return 0;
}

int Phase(const std::vector<std::string>& args) {
    std::string error;
    const auto p =
        ParseArgs(args, {"--archive", "--kind", "--medium", "--component", "--from", "--reason"}, {}, error);
    if (!p)
        return Usage(error);
    if (!p->rest.empty())
        return Usage("unexpected argument " + p->rest.front());
    auto value = [&](const char* name) -> std::string {
        auto it = p->values.find(name);
        return it == p->values.end() ? std::string() : it->second;
    };
    const std::string kind = value("--kind"), medium = value("--medium"), reason = value("--reason");
    if (kind != "okp" && kind != "oke")
        return Usage("--kind takes okp or oke");
    if (medium != "gas" && medium != "condensate")
        return Usage("--medium takes gas or condensate");
    if (reason.empty())
        return Usage("a new phase needs --reason TEXT");
    const auto from = ParseDate(value("--from"), false);
    if (!from)
        return Usage("--from takes a date");
    std::optional<std::string> component;
    if (p->values.contains("--component"))
        component = value("--component");
    const auto archive = OpenOrSay(*p);
    if (!archive)
        return 1;
    if (!archive->AddPhase(kind == "okp" ? ControlKind::Okp : ControlKind::Oke,
                           medium == "gas" ? ControlMedium::Gas : ControlMedium::Condensate, component, *from,
                           reason, error)) {
        std::cerr << "talvex-cli: the phase is not recorded: " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int RunArchive(const std::vector<std::string>& args) {
    if (args.empty())
        return Usage("archive needs a command");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "list")
        return List(rest);
    if (args[0] == "show")
        return Show(rest);
    if (args[0] == "flush")
        return Flush(rest);
    if (args[0] == "import-controls")
        return ImportControls(rest);
    if (args[0] == "phase")
        return Phase(rest);
    return Usage("unknown archive command '" + args[0] + "'");
}

} // namespace talvex::cli
