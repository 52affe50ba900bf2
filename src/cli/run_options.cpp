#include "cli/run_options.h"

#include "core/common/report_settings.h"
#include "core/common/settings.h"

#include <charconv>

namespace talvex::cli {
namespace {

bool ParseInt(const std::string& text, int& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool IsNumber(const std::string& text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        parts.push_back(text.substr(start, comma - start));
    parts.push_back(text.substr(start));
    return parts;
}

struct DegassingOption {
    const char* name;
    DegassingField field;
};

constexpr DegassingOption kDegassingOptions[] = {
    {"--pressure", DegassingField::AtmPressure},   {"--temperature", DegassingField::GasTemperature},
    {"--sample-mass", DegassingField::SampleMass}, {"--cond-mass1", DegassingField::CondMass1},
    {"--cond-mass2", DegassingField::CondMass2},   {"--gas-volume1", DegassingField::GasVolume1},
    {"--gas-volume2", DegassingField::GasVolume2},
};

const DegassingOption* FindDegassingOption(const std::string& name) {
    for (const DegassingOption& option : kDegassingOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

// The options that take a path or a text as it is.
struct TextOption {
    const char* name;
    std::optional<std::string> RunOptions::*member;
};

constexpr TextOption kTextOptions[] = {
    {"--data-dir", &RunOptions::dataDir},    {"--tables", &RunOptions::tablesDir},
    {"--device", &RunOptions::deviceName},   {"--json", &RunOptions::jsonFile},
    {"--xml", &RunOptions::xmlFile},         {"--odt", &RunOptions::odtFile},
    {"--pdf", &RunOptions::pdfFile},         {"--xls", &RunOptions::xlsFile},
    {"--curve", &RunOptions::curveFile},     {"--template", &RunOptions::templateFile},
    {"--session", &RunOptions::sessionFile}, {"--save-session", &RunOptions::saveSessionFile},
    {"--archive", &RunOptions::archiveUrl},  {"--reason", &RunOptions::archiveReason},
};

const TextOption* FindTextOption(const std::string& name) {
    for (const TextOption& option : kTextOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

} // namespace

std::optional<RunOptions> ParseRunOptions(const std::vector<std::string>& args, std::string& error) {
    RunOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < args.size())
                return args[++i];
            error = "option " + name + " needs a value";
            return std::nullopt;
        };
        auto flag = [&]() {
            if (inlineValue)
                error = "option " + name + " takes no value";
            return !inlineValue;
        };
        if (const TextOption* text = FindTextOption(name)) {
            if (!(options.*(text->member) = value()))
                return std::nullopt;
        } else if (name == "--decimals") {
            // The range the settings dialog allows.
            const auto v = value();
            int n = 0;
            if (!v || !ParseInt(*v, n) || n < kMinDecimals || n > kMaxDecimals) {
                error = error.empty()
                            ? "--decimals takes a whole number from " + std::to_string(kMinDecimals) +
                                  " to " + std::to_string(kMaxDecimals)
                            : error;
                return std::nullopt;
            }
            options.decimals = n;
        } else if (name == "--mode") {
            const auto v = value();
            int n = 0;
            if (!v || !ParseInt(*v, n) || n < 0 || n > 2) {
                error = error.empty() ? "--mode takes 0 (gas), 1 (condensate) or 2 (full)" : error;
                return std::nullopt;
            }
            options.mode = n;
        } else if (name == "--air") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            options.airShares = SplitCommas(*v);
            if (options.airShares.size() != 3 || !IsNumber(options.airShares[0]) ||
                !IsNumber(options.airShares[1]) || !IsNumber(options.airShares[2])) {
                error =
                    "--air takes three numbers: the mass shares of N2, O2 and CO2 in air, %, as N2,O2,CO2";
                return std::nullopt;
            }
            options.airCorrection = true;
        } else if (name == "--no-air") {
            if (!flag())
                return std::nullopt;
            options.airCorrection = false;
            options.airShares.clear();
        } else if (name == "--method") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            if (*v == "A")
                options.degassingMethod = MethodA;
            else if (*v == "A-mod")
                options.degassingMethod = MethodAModified;
            else if (*v == "B")
                options.degassingMethod = MethodB;
            else {
                error = "--method takes A, A-mod or B";
                return std::nullopt;
            }
        } else if (const DegassingOption* degassing = FindDegassingOption(name)) {
            const auto v = value();
            if (!v)
                return std::nullopt;
            options.degassingInputs.emplace_back(degassing->field, *v);
            options.degassingOptionNames.push_back(name);
        } else if (name == "--switch") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            const auto eq = v->find('=');
            ReportSwitch which{};
            const std::string key = v->substr(0, eq);
            const std::string state = eq == std::string::npos ? "" : v->substr(eq + 1);
            if (!FindReportSwitch(key, which) || (state != "0" && state != "1")) {
                error = "--switch takes KEY=0 or KEY=1 with a report switch such as GD_AnComp or RezNLH";
                return std::nullopt;
            }
            options.switches.emplace_back(key, state == "1" ? 1 : 0);
        } else if (name == "--strict") {
            if (!flag())
                return std::nullopt;
            options.strict = true;
        } else if (name == "--log") {
            if (!flag())
                return std::nullopt;
            options.printLog = true;
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    if (options.archiveReason && !options.archiveUrl) {
        error = "--reason goes with --archive";
        return std::nullopt;
    }
    return options;
}

} // namespace talvex::cli
