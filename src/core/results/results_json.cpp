#include "core/results/results_json.h"

#include "core/common/settings.h"
#include "core/common/utc_time.h"
#include "core/results/curve_json.h"
#include "core/results/json_writer.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"

namespace talvex {
namespace {

void WriteSettings(JsonWriter& json, const SettingsStore& store) {
    CSettings s;
    s.Load(store);
    json.BeginObject("settings");
    json.Integer("QtyNumAfterDot", s.QtyNumAfterDot);
    json.Integer("ModeCalc", s.ModeCalc);
    json.Integer("Sect7_CorrectO2", s.Sect7_CorrectO2);
    json.Number("Sect7_ConcN2", s.Sect7_ConcN2);
    json.Number("Sect7_ConcO2", s.Sect7_ConcO2);
    json.Number("Sect7_ConcCO2", s.Sect7_ConcCO2);
    json.EndObject();
}

void WriteChromatograms(JsonWriter& json, const ChromatogramList& list) {
    json.BeginArray("chromatograms");
    for (const COpenedChmFile& c : list) {
        json.BeginObject();
        json.Integer("fileId", c.fileId);
        json.String("path", c.passport.path);
        json.String("sampleName", c.passport.sampleName);
        json.String("method", c.passport.method);
        json.Integer("analysisTime", c.passport.analysisTime);
        json.String("typeLabel", c.GetTypeLabel());
        json.Integer("typeCode", c.typeCode);
        json.Integer("analysisNo", c.analysisNo);
        json.EndObject();
    }
    json.EndArray();
}

void WriteDegassing(JsonWriter& json, const DegassingParameters& p) {
    json.BeginObject("degassing");
    json.Integer("Method", p.Method);
    const std::pair<const char*, double> values[] = {
        {"AtmPressure", p.AtmPressure}, {"GasTemperature", p.GasTemperature},
        {"SampleMass", p.SampleMass},   {"CondMass1", p.CondMass1},
        {"CondMass2", p.CondMass2},     {"CondMass", p.CondMass},
        {"GasVolume1", p.GasVolume1},   {"GasVolume2", p.GasVolume2},
        {"GasVolume", p.GasVolume},     {"GasVolumeNC", p.GasVolumeNC},
        {"GasMass", p.GasMass},         {"CondFraction", p.CondFraction},
        {"GasFraction", p.GasFraction}, {"GasFactor", p.GasFactor}};
    for (const auto& [name, value] : values)
        json.Number(name, value);
    json.EndObject();
}

// Per-analysis values of a row: [{"analysis": number from 1, "massFraction": value}].
template <typename Map> void WritePerAnalysis(JsonWriter& json, const Map& perAnalysis) {
    json.BeginArray("massFractions");
    for (const auto& [no, item] : perAnalysis) {
        json.BeginObject();
        json.Integer("analysis", no + 1);
        json.Number("massFraction", item ? item->massFraction : NotSet);
        json.EndObject();
    }
    json.EndArray();
}

void WriteGasControlRows(JsonWriter& json, const char* key, const std::vector<GasControlRow>& rows) {
    json.BeginArray(key);
    for (const GasControlRow& r : rows) {
        json.BeginObject();
        json.String("name", r.name);
        json.Number("measured", r.measured);
        json.Number("reference", r.reference);
        json.Number("Kk", r.Kk);
        json.Number("K", r.K);
        json.Bool("withinLimit", r.withinLimit);
        json.EndObject();
    }
    json.EndArray();
}

void WriteGas(JsonWriter& json, const Section7Result& gas) {
    json.BeginObject("gas");
    json.Integer("analyses", static_cast<std::int64_t>(gas.analyses.size()));
    const char* names[kCompositions] = {"component", "componentFractional"};
    for (int c = 0; c < kCompositions; ++c) {
        json.BeginObject(names[c]);
        json.BeginArray("rows");
        for (const GasRow& r : gas.rows[c]) {
            json.BeginObject();
            json.String("name", r.name);
            WritePerAnalysis(json, r.lines);
            json.Number("average", r.average);
            json.Number("discrepancy", r.discrepancy);
            json.Bool("withinLimit", r.withinLimit);
            json.Number("deltaAbs", r.deltaAbs);
            json.EndObject();
        }
        json.EndArray();
        json.Number("total", gas.totals[c]);
        const GasProperties& p = gas.averagedProperties[c];
        json.BeginObject("properties");
        json.Number("molarMass", p.molarMass);
        json.Number("compressibility", p.compressibility);
        json.Number("density", p.density);
        json.EndObject();
        WriteGasControlRows(json, "controlSample", gas.controlSampleRows[c]);
        json.EndObject();
    }
    WriteGasControlRows(json, "controlStandard", gas.controlStandardRows);
    json.EndObject();
}

void WriteControlItems(JsonWriter& json, const char* key, const std::vector<ControlItem>& items) {
    json.BeginArray(key);
    for (const ControlItem& item : items) {
        json.BeginObject();
        json.String("name", item.name);
        json.Number("firstValue", item.firstValue);
        json.Number("secondValue", item.secondValue);
        json.Number("discrepancy", item.discrepancy);
        json.Number("limit", item.limit);
        json.Bool("passed", item.passed);
        json.EndObject();
    }
    json.EndArray();
}

void WriteCondensate(JsonWriter& json, const CondensateResult& result) {
    json.BeginObject("condensate");
    json.Integer("analyses", static_cast<std::int64_t>(result.analyses.size()));
    for (const MarkingMethod m : {MarkingMethod::A, MarkingMethod::B}) {
        const bool a = m == MarkingMethod::A;
        json.BeginObject(a ? "methodA" : "methodB");
        json.BeginArray("rows");
        for (const CondensateRow& r : a ? result.rowsA : result.rowsB) {
            json.BeginObject();
            json.String("name", r.name);
            WritePerAnalysis(json, r.perAnalysis);
            json.Number("average", r.average);
            json.Number("discrepancy", r.discrepancy);
            json.Bool("withinLimit", r.repeatabilityOk);
            json.Number("accuracy", r.accuracy);
            json.EndObject();
        }
        json.EndArray();
        json.Number("total", a ? result.totalA : result.totalB);
        json.Number("molarMass", a ? result.averageMolarMassA : result.averageMolarMassB);
        WriteControlItems(json, "controlSample", a ? result.okpItemsA : result.okpItemsB);
        if (a)
            WriteBoilingCurves(json, CondensateCurves(result), true);
        json.EndObject();
    }
    WriteControlItems(json, "controlStandard", result.okeItems);
    json.EndObject();
}

void WriteNlh(JsonWriter& json, const NlhResult& nlh) {
    json.BeginObject("nlh");
    json.Number("GasFactorKg", nlh.GasFactorKg);
    json.Number("GasMassFraction", nlh.GasMassFraction);
    json.Number("LiquidMassFraction", nlh.LiquidMassFraction);
    json.Number("SumGD_MassP", nlh.SumGD_MassP);
    json.Number("SumDC_MassP", nlh.SumDC_MassP);
    json.Number("SumNLH_MassP", nlh.SumNLH_MassP);
    json.BeginArray("rows");
    for (const NlhRow& r : nlh.rows) {
        json.BeginObject();
        json.String("NameComp", r.NameComp);
        json.Number("GD_MassP", r.GD_MassP);
        json.Number("DC_MassP", r.DC_MassP);
        json.Number("NLH_MassP", r.NLH_MassP);
        json.Number("NLH_MM", r.NLH_MM);
        json.EndObject();
    }
    json.EndArray();
    WriteBoilingCurves(json, NlhCurves(nlh), false);
    json.EndObject();
}

// [{nameKey: path, "sha256": digest or null}] of a list of files.
void WriteDigests(JsonWriter& json, const char* key, const char* nameKey,
                  const std::vector<Provenance::File>& files) {
    json.BeginArray(key);
    for (const Provenance::File& file : files) {
        json.BeginObject();
        json.String(nameKey, file.path);
        if (file.sha256.empty())
            json.Null("sha256");
        else
            json.String("sha256", file.sha256);
        json.EndObject();
    }
    json.EndArray();
}

void WriteProvenance(JsonWriter& json, const Provenance& p, const SettingsStore& settings) {
    json.BeginObject("provenance");
    json.String("programVersion", p.programVersion);
    json.String("calculatedAt", FormatUtcTime(p.calculatedAt));
    WriteDigests(json, "chromatograms", "path", p.chromatograms);
    WriteDigests(json, "dataFiles", "name", p.dataFiles);
    WriteSettings(json, settings);
    json.EndObject();
}

} // namespace

std::string ResultsJson(const Session& session, const Provenance& provenance) {
    JsonWriter json;
    json.BeginObject();
    WriteSettings(json, session.Settings());
    WriteChromatograms(json, session.Chromatograms());
    WriteDegassing(json, session.Degassing().Parameters());
    WriteGas(json, session.Section7());
    WriteCondensate(json, session.Condensate());
    WriteNlh(json, session.Nlh());
    json.String("log", session.Log().LogText());
    WriteProvenance(json, provenance, session.Settings());
    json.EndObject();
    return json.Text() + "\n";
}

} // namespace talvex
