#pragma once
// Small records built in code: what a calculation hands the archive, without running one.

#include "core/archive/archive_record.h"
#include "core/common/sha256.h"

#include <cmath>
#include <string>

namespace talvex::testing {

struct RecordPlan {
    int n = 0;                         // makes the inputs (and so the fingerprint) distinct
    std::string chromatogram;          // the sample chromatogram's bytes; "run N" when empty
    std::string normTable = "норма 1"; // the gas norm table's content
    double certified = 5.0;            // the ОКЭ reference (certified value) of "Этан"
    std::int64_t controlTime = 0;      // the control chromatograms' time; from n when 0
    std::string reason;
};

inline archive::ArchiveRecord MakeRecord(const RecordPlan& plan) {
    using namespace archive;
    using controlchart::ControlKind;
    using controlchart::ControlMedium;
    ArchiveRecord r;
    r.id = NewRecordId();
    r.createdAt = 1700000000 + plan.n * 3600;
    r.host = "lab-1";
    r.user = "chemist";
    r.programVersion = "0.1.0";
    r.sample = "Проба " + std::to_string(plan.n);
    const std::string chm = plan.chromatogram.empty() ? "run " + std::to_string(plan.n) : plan.chromatogram;
    r.chromatograms.push_back({"/runs/" + std::to_string(plan.n) + ".stg", Sha256Hex(chm), r.sample, "ПИД",
                               r.createdAt - 600, "ПИД, Газ, анализ", 1, 1, 1, 0});
    r.chromatograms.push_back({"/runs/control.stg", Sha256Hex("control " + std::to_string(plan.n)),
                               "ОКП " + r.sample, "ПИД", r.createdAt - 300, "ПИД, Газ, ОКП", 4, 1, 1, -1});
    // Windows-1251 bytes, not UTF-8: stored as they are.
    const std::string comps = "\xcc\xe5\xf2\xe0\xed;16,04\r\n";
    r.dataFiles.push_back({"Comps.csv", Sha256Hex(comps), comps});
    r.dataFiles.push_back({"TableSection7.csv", Sha256Hex(plan.normTable), plan.normTable});
    r.settingsJson = "{\"decimals\":3,\"n\":" + std::to_string(plan.n) + "}";
    r.degassingJson = "{\"method\":0,\"AtmPressure\":\"99,8\"}";
    r.results.push_back({"gas/component", "Метан", 90.5 + plan.n, 0.25, true});
    r.results.push_back({"gas/component", "Гелий", std::nan(""), std::nan(""), std::nullopt});
    const std::int64_t t = plan.controlTime ? plan.controlTime : r.createdAt - 300;
    ArchiveControlRow okp;
    okp.observation.key = {ControlKind::Okp, ControlMedium::Gas, "component", "Метан"};
    okp.observation.time = t;
    okp.observation.sample = "ОКП " + r.sample;
    okp.observation.measured = 90.0 + plan.n * 0.01;
    okp.observation.reference = 90.0;
    okp.observation.difference = plan.n * 0.01;
    okp.observation.limit = 0.5;
    okp.normLow = 50.0;
    okp.normHigh = 100.0;
    r.controls.push_back(okp);
    ArchiveControlRow missing = okp;
    missing.observation.key.component = "Гелий";
    missing.observation.limit = std::nan("");
    missing.normLow = missing.normHigh = std::nan("");
    r.controls.push_back(missing);
    ArchiveControlRow oke;
    oke.observation.key = {ControlKind::Oke, ControlMedium::Gas, "", "Этан"};
    oke.observation.time = t;
    oke.observation.sample = "ОКЭ";
    oke.observation.measured = plan.certified + 0.01;
    oke.observation.reference = plan.certified;
    oke.observation.difference = 0.01;
    oke.observation.limit = 0.1;
    oke.normLow = 1.0;
    oke.normHigh = 10.0;
    r.controls.push_back(oke);
    r.log = "Расчёт выполнен\r\nпроба " + std::to_string(plan.n);
    r.resultsJson = "{\"n\":" + std::to_string(plan.n) + ",\"проба\":\"" + r.sample +
                    "\",\"x\":0.1,\"y\":1e-300,\"z\":null}\n";
    r.reason = plan.reason;
    r.fingerprint = RecordFingerprint(r);
    return r;
}

inline archive::ArchiveRecord MakeRecord(int n) {
    return MakeRecord(RecordPlan{.n = n});
}

} // namespace talvex::testing
