#include "core/archive/session_record.h"

#include "core/app/session_replay.h"
#include "core/common/data_file_io.h"
#include "core/common/not_set.h"
#include "core/common/sha256.h"
#include "core/components/component_record.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <pwd.h>
#include <unistd.h>

namespace talvex::archive {
namespace {

using controlchart::ControlKind;
using controlchart::ControlMedium;
using controlchart::ControlObservation;

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

double Value(double v) {
    return IsNotSet(v) || !std::isfinite(v) ? kMissing : v;
}

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string UserName() {
    if (const passwd* pw = getpwuid(getuid()))
        return pw->pw_name;
    return std::to_string(getuid());
}

// The control chromatogram of a kind and medium: the first of the list with that role and medium.
const COpenedChmFile* ControlChromatogram(const ChromatogramList& list, ControlKind kind,
                                          ControlMedium medium) {
    const std::int32_t role =
        kind == ControlKind::Okp ? COpenedChmFile::kControlSample : COpenedChmFile::kControlStandard;
    const std::int32_t m = medium == ControlMedium::Gas ? COpenedChmFile::kGas : COpenedChmFile::kCondensate;
    for (const COpenedChmFile& c : list)
        if (c.role == role && c.medium == m)
            return &c;
    return nullptr;
}

struct ControlAdder {
    const ChromatogramList& list;
    std::vector<ArchiveControlRow>& out;

    void Add(ControlKind kind, ControlMedium medium, const std::string& listName, const std::string& name,
             double measured, double reference, double difference, double limit, const NormRange* norm) {
        ArchiveControlRow row;
        ControlObservation& o = row.observation;
        o.key = {kind, medium, listName, name};
        if (const COpenedChmFile* c = ControlChromatogram(list, kind, medium)) {
            o.time = c->passport.analysisTime;
            o.sample = c->passport.sampleName;
        }
        o.measured = Value(measured);
        o.reference = Value(reference);
        o.difference = Value(difference);
        o.limit = Value(limit);
        row.normLow = norm ? Value(norm->low) : kMissing;
        row.normHigh = norm ? Value(norm->high) : kMissing;
        out.push_back(std::move(row));
    }
};

void AddControls(const Session& session, std::vector<ArchiveControlRow>& out) {
    ControlAdder add{session.Chromatograms(), out};
    const Section7Result& gas = session.Section7();
    const char* gasLists[kCompositions] = {"component", "fractional"};
    for (int c = 0; c < kCompositions; ++c)
        for (const GasControlRow& r : gas.controlSampleRows[c])
            add.Add(ControlKind::Okp, ControlMedium::Gas, gasLists[c], r.name, r.measured, r.reference, r.Kk,
                    r.K, r.norm);
    for (const GasControlRow& r : gas.controlStandardRows)
        add.Add(ControlKind::Oke, ControlMedium::Gas, "", r.name, r.measured, r.reference, r.Kk, r.K, r.norm);
    const CondensateResult& cond = session.Condensate();
    for (const auto& [listName, items] : {std::pair{"A", &cond.okpItemsA}, std::pair{"B", &cond.okpItemsB}})
        for (const ControlItem& i : *items)
            add.Add(ControlKind::Okp, ControlMedium::Condensate, listName, i.name, i.firstValue,
                    i.secondValue, i.discrepancy, i.limit, i.normRange);
    for (const ControlItem& i : cond.okeItems)
        add.Add(ControlKind::Oke, ControlMedium::Condensate, "", i.name, i.firstValue, i.secondValue,
                i.discrepancy, i.limit, i.normRange);
}

void AddResults(const Session& session, std::vector<ArchiveResultRow>& out) {
    const Section7Result& gas = session.Section7();
    const char* gasTables[kCompositions] = {"gas/component", "gas/fractional"};
    for (int c = 0; c < kCompositions; ++c)
        for (const GasRow& r : gas.rows[c])
            out.push_back({gasTables[c], r.name, Value(r.average), Value(r.discrepancy), r.withinLimit});
    const CondensateResult& cond = session.Condensate();
    for (const auto& [table, rows] :
         {std::pair{"condensate/A", &cond.rowsA}, std::pair{"condensate/B", &cond.rowsB}})
        for (const CondensateRow& r : *rows)
            out.push_back({table, r.name, Value(r.ResultValue()), Value(r.discrepancy), r.repeatabilityOk});
    for (const NlhRow& r : session.Nlh().rows)
        out.push_back({"nlh", r.NameComp, Value(r.NLH_MassP), kMissing, std::nullopt});
}

std::string SettingsJson(const SessionRecord& state) {
    nlohmann::ordered_json j;
    j["decimals"] = state.settings.decimals;
    j["mode"] = state.settings.mode;
    j["airCorrection"] = state.settings.airCorrection;
    j["airN2"] = state.settings.airN2;
    j["airO2"] = state.settings.airO2;
    j["airCO2"] = state.settings.airCO2;
    j["reportSwitches"] = state.reportSwitches;
    return j.dump();
}

std::string DegassingJson(const SessionRecord& state) {
    nlohmann::ordered_json j;
    j["method"] = state.degassingMethod;
    for (std::size_t i = 0; i < kSessionDegassingInputs.size(); ++i)
        j[SessionDegassingKey(kSessionDegassingInputs[i])] = state.degassingTexts[i];
    return j.dump();
}

} // namespace

ArchiveRecord BuildArchiveRecord(const Session& session, const Provenance& provenance,
                                 const RecordExtras& extras, std::int64_t now) {
    ArchiveRecord r;
    r.id = NewRecordId();
    r.createdAt = now;
    r.host = HostName();
    r.user = UserName();
    r.programVersion = provenance.programVersion;
    const ChromatogramList& list = session.Chromatograms();
    std::size_t i = 0;
    for (const COpenedChmFile& c : list) {
        ArchiveChromatogram a;
        a.path = c.passport.path;
        a.sha256 = i < provenance.chromatograms.size() ? provenance.chromatograms[i].sha256 : std::string();
        a.sampleName = c.passport.sampleName;
        a.method = c.passport.method;
        a.analysisTime = c.passport.analysisTime;
        a.role = c.GetTypeLabel();
        a.roleCode = c.role;
        a.detector = c.detector;
        a.medium = c.medium;
        a.analysisNo = c.analysisNo;
        if (extras.storeChromatograms) {
            ArchiveDataFile file{a.path, {}, {}};
            if (ReadFileFrom(a.path, 0, file.content, nullptr)) {
                file.sha256 = Sha256Hex(file.content);
                r.chromatogramFiles.push_back(std::move(file));
            }
        }
        if (r.sample.empty() && c.role == COpenedChmFile::kSample)
            r.sample = a.sampleName;
        r.chromatograms.push_back(std::move(a));
        ++i;
    }
    if (r.sample.empty() && !r.chromatograms.empty())
        r.sample = r.chromatograms.front().sampleName;
    for (const Provenance::File& f : provenance.dataFiles) {
        // The digest is taken of the bytes stored, so the two always agree.
        ArchiveDataFile d{f.path, {}, {}};
        if (ReadFileFrom(session.DataFolder() / f.path, 0, d.content, nullptr))
            d.sha256 = Sha256Hex(d.content);
        r.dataFiles.push_back(std::move(d));
    }
    const SessionRecord state = CaptureState(session, extras.deviceName);
    r.settingsJson = SettingsJson(state);
    r.degassingJson = DegassingJson(state);
    AddResults(session, r.results);
    AddControls(session, r.controls);
    r.log = session.Log().LogText();
    r.resultsJson = extras.resultsJson;
    r.sessionJson = extras.sessionJson;
    r.reason = extras.reason;
    r.fingerprint = RecordFingerprint(r);
    return r;
}

} // namespace talvex::archive
