#include "cli/chart_command.h"

#include "cli/chart_json.h"
#include "cli/chart_paint_loader.h"
#include "cli/chart_source.h"
#include "core/common/data_file_io.h"
#include "core/common/number_text.h"
#include "core/common/utc_time.h"
#include "core/controlchart/chart_csv.h"
#include "core/controlchart/chart_layout.h"
#include "core/controlchart/chart_svg.h"
#include "core/controlchart/control_chart.h"
#include "core/controlchart/control_date.h"

#include <iostream>
#include <map>

namespace talvex::cli {

using namespace controlchart;

namespace {

constexpr const char* kChartUsage =
    "usage: talvex-cli chart --archive URL --kind okp|oke --medium gas|condensate "
    "[--list component|fractional|A|B] --component NAME [--from DATE] [--to DATE] [--json] [--csv FILE] "
    "[--png FILE] [--pdf FILE] [--svg FILE]";

constexpr std::int64_t kDay = 24 * 60 * 60;

} // namespace

std::optional<ChartOptions> ParseChartOptions(const std::vector<std::string>& args, std::string& error) {
    ChartOptions options;
    std::map<std::string, std::string> values;
    std::optional<std::string> kind, medium, list, component;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--json") {
            options.json = true;
            continue;
        }
        static const char* const kValued[] = {"--archive",   "--kind", "--medium", "--list",
                                              "--component", "--from", "--to",     "--csv",
                                              "--png",       "--pdf",  "--svg"};
        bool known = false;
        for (const char* v : kValued)
            known = known || name == v;
        if (!known) {
            error = "unknown option '" + args[i] + "'\n" + kChartUsage;
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value\n" + kChartUsage;
                return std::nullopt;
            }
            value = args[++i];
        }
        values[name] = *value;
    }
    const auto take = [&](const char* name) -> std::optional<std::string> {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    const auto archive = take("--archive");
    kind = take("--kind");
    medium = take("--medium");
    list = take("--list");
    component = take("--component");
    if (!archive || archive->empty() || !kind || !medium || !component || component->empty()) {
        error = std::string("--archive, --kind, --medium and --component are needed\n") + kChartUsage;
        return std::nullopt;
    }
    options.archive = *archive;
    SeriesKey& key = options.query.key;
    if (*kind == "okp")
        key.kind = ControlKind::Okp;
    else if (*kind == "oke")
        key.kind = ControlKind::Oke;
    else {
        error = "--kind is okp or oke, not '" + *kind + "'";
        return std::nullopt;
    }
    if (*medium == "gas")
        key.medium = ControlMedium::Gas;
    else if (*medium == "condensate")
        key.medium = ControlMedium::Condensate;
    else {
        error = "--medium is gas or condensate, not '" + *medium + "'";
        return std::nullopt;
    }
    if (key.kind == ControlKind::Oke) {
        if (list && !list->empty()) {
            error = "--list applies to okp only";
            return std::nullopt;
        }
    } else {
        const bool gas = key.medium == ControlMedium::Gas;
        key.list = list ? *list : (gas ? "component" : "A");
        const bool valid = gas ? (key.list == "component" || key.list == "fractional")
                               : (key.list == "A" || key.list == "B");
        if (!valid) {
            error = std::string("--list is ") + (gas ? "component or fractional" : "A or B") +
                    " for this medium, not '" + key.list + "'";
            return std::nullopt;
        }
    }
    key.component = *component;
    for (const char* bound : {"--from", "--to"}) {
        const auto text = take(bound);
        if (!text)
            continue;
        const auto date = ParseControlDate(*text);
        if (!date) {
            error = std::string(bound) + " takes a date ДД.ММ.ГГГГ[ ЧЧ:ММ] or ISO 8601, not '" + *text + "'";
            return std::nullopt;
        }
        if (bound[2] == 'f')
            options.query.from = date->seconds;
        else
            options.query.to = date->hasTime ? date->seconds : date->seconds + kDay - 1;
    }
    if (options.query.from && options.query.to && *options.query.from > *options.query.to) {
        error = "--from is after --to";
        return std::nullopt;
    }
    options.csvFile = take("--csv");
    options.pngFile = take("--png");
    options.pdfFile = take("--pdf");
    options.svgFile = take("--svg");
    return options;
}

namespace {

void PrintSummary(const Chart& chart, std::ostream& out) {
    out << "Контрольная карта " << SeriesTitle(chart.key) << "\n";
    out << "Точек: " << chart.points.size() << ", без точки: " << chart.omitted.size()
        << ", сигналов: " << chart.ruleSignals.size() << "\n";
    for (const ChartPhase& phase : chart.phases)
        out << "Этап с " << FormatUtcTime(phase.start.time) << ": " << phase.start.reason << "\n";
    for (const Signal& s : chart.ruleSignals) {
        const ChartPoint& last = chart.points[s.points.back()];
        out << "Сигнал, правило " << s.rule << " (" << RuleText(chart.key.kind, s.rule) << "): точка "
            << s.points.back() + 1 << ", " << FormatUtcTime(last.observation.time) << ", "
            << last.observation.sample << "\n";
    }
    for (const OmittedObservation& o : chart.omitted)
        out << "Без точки: " << FormatUtcTime(o.observation.time) << ", " << o.observation.sample << ": "
            << o.reason << "\n";
}

bool WriteText(const std::string& path, const std::string& text, std::ostream& err) {
    std::string error;
    if (WriteFileAtomically(path, text, &error))
        return true;
    err << "talvex-cli: " << path << ": " << error << "\n";
    return false;
}

} // namespace

int WriteChart(const ChartOptions& options, ControlSource& source, const std::filesystem::path& paintLibrary,
               std::ostream& out, std::ostream& err) {
    const Chart chart = QueryChart(source, options.query);
    bool ok = true;
    if (options.csvFile)
        ok = WriteText(*options.csvFile, ChartCsv(chart), err) && ok;
    if (options.svgFile || options.pngFile || options.pdfFile) {
        const ChartLayout layout = LayOutChart(chart);
        if (options.svgFile)
            ok = WriteText(*options.svgFile, ChartSvg(layout), err) && ok;
        const std::pair<const std::optional<std::string>*, ImageFormat> images[] = {
            {&options.pngFile, ImageFormat::Png}, {&options.pdfFile, ImageFormat::Pdf}};
        for (const auto& [file, format] : images) {
            if (!*file)
                continue;
            std::string error;
            if (!WriteChartImage(paintLibrary, layout, format, **file, error)) {
                err << "talvex-cli: " << **file << ": " << error << "\n";
                ok = false;
            }
        }
    }
    if (options.json)
        out << ChartJson(chart);
    else if (!options.csvFile && !options.svgFile && !options.pngFile && !options.pdfFile)
        PrintSummary(chart, out);
    return ok ? 0 : 1;
}

int RunChart(const std::vector<std::string>& args) {
    std::string error;
    const auto options = ParseChartOptions(args, error);
    if (!options) {
        std::cerr << "talvex-cli chart: " << error << "\n";
        return 2;
    }
    const auto source = OpenControlSource(options->archive, error);
    if (!source) {
        std::cerr << "talvex-cli chart: " << error << "\n";
        return 1;
    }
    return WriteChart(*options, *source, DefaultChartPaintLibrary(), std::cout, std::cerr);
}

} // namespace talvex::cli
