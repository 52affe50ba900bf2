#include "cli/info_command.h"

#include "cli/grid_tsv.h"
#include "core/app/peak_page.h"
#include "core/chromatogram/chm_file.h"
#include "core/results/json_writer.h"

#include <iostream>

namespace talvex::cli {
namespace {

void WriteParams(JsonWriter& json, const std::vector<cmpeek::TwinsDopParam>& params) {
    json.BeginArray("params");
    for (const auto& p : params) {
        json.BeginObject();
        json.String("name", p.name);
        json.String("value", p.value);
        json.EndObject();
    }
    json.EndArray();
}

std::string ToJson(const CChmFile& chm, int peaksLeftOut) {
    const CPassport& pp = chm.passport;
    JsonWriter json;
    json.BeginObject();
    json.BeginObject("passport");
    json.String("path", pp.path);
    json.String("sampleName", pp.sampleName);
    json.String("method", pp.method);
    json.String("operatorName", pp.operatorName);
    json.String("samplingPoint", pp.samplingPoint);
    json.String("samplingSite", pp.samplingSite);
    json.String("eluent", pp.eluent);
    json.String("reagent", pp.reagent);
    json.String("comment", pp.comment);
    json.Number("volume", pp.volume);
    json.Number("dilution", pp.dilution);
    json.Number("norm", pp.norm);
    json.Number("duration", pp.duration);
    json.Integer("seriesNo", pp.seriesNo);
    json.Integer("calibrationFlag", pp.calibrationFlag);
    json.Integer("samplingTime", pp.samplingTime);
    json.Integer("analysisTime", pp.analysisTime);
    json.EndObject();
    json.BeginObject("signal");
    json.Number("startTime", chm.signal.startTime);
    json.Number("step", chm.signal.step);
    json.Integer("sampleCount", static_cast<std::int64_t>(chm.signal.samples.size()));
    json.EndObject();
    json.BeginArray("peaks");
    for (const cmpeek& p : chm.peaks) {
        json.BeginObject();
        json.Integer("index", p.index);
        json.String("name", p.name);
        json.Number("retentionTime", p.retentionTime);
        json.Number("area", p.area);
        json.Number("height", p.height);
        json.Number("storedValue", p.storedValue);
        json.Integer("flags", p.flags);
        json.Integer("prevLinked", p.prevLinked);
        json.Integer("nextLinked", p.nextLinked);
        json.Number("baselineStart", p.baselineStart);
        json.Number("baselineEnd", p.baselineEnd);
        json.Number("beginTime", p.beginTime);
        json.Number("endTime", p.endTime);
        WriteParams(json, p.params);
        json.EndObject();
    }
    json.EndArray();
    WriteParams(json, chm.peaks.params);
    if (peaksLeftOut > 0)
        json.Integer("peaksLeftOut", peaksLeftOut);
    json.EndObject();
    return json.Text();
}

} // namespace

int RunInfo(const std::vector<std::string>& args) {
    bool asJson = false;
    std::string path;
    for (const auto& arg : args) {
        if (arg == "--json") {
            asJson = true;
        } else if (path.empty() && (arg.empty() || arg[0] != '-' || arg == "-")) {
            path = arg;
        } else {
            std::cerr << "talvex-cli: usage: talvex-cli info [--json] FILE.stg\n";
            return 2;
        }
    }
    if (path.empty()) {
        std::cerr << "talvex-cli: usage: talvex-cli info [--json] FILE.stg\n";
        return 2;
    }
    CChmFile chm;
    const ReadResult read = chm.Load(path);
    if (!read) {
        std::cerr << "talvex-cli: " << path << ": " << read.reason << '\n';
        return 1;
    }
    if (read.peaksLeftOut > 0)
        std::cerr << "talvex-cli: " << path << ": " << read.peaksLeftOut
                  << " peak(s) without a start or end time left out\n";
    if (asJson) {
        std::cout << ToJson(chm, read.peaksLeftOut) << '\n';
    } else {
        std::cout << ToLf(chm.passport.Describe()) << "\n\n" << GridToTsv(BuildPeakGrid(chm.peaks));
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace talvex::cli
