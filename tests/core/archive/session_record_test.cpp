// The record of a real calculation: the example session.
#include "core/app/example_session.h"
#include "core/app/provenance.h"
#include "core/app/session.h"
#include "core/archive/session_record.h"
#include "core/chromatogram/opened_chm_file.h"
#include "core/common/settings_store.h"
#include "core/common/sha256.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using namespace archive;

class SessionRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session_.LoadComponents().empty());
        ASSERT_TRUE(TypeExampleDegassing(session_.Degassing(), 3));
        ASSERT_TRUE(session_.AddFiles(ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples")));
    }

    ArchiveRecord Build() {
        const Provenance provenance = TakeProvenance(session_, 1709626029);
        return BuildArchiveRecord(session_, provenance, {"{\"results\":1}\n", "", "", "ГХ-2"}, 1709626029);
    }

    MemorySettingsStore profile_;
    Session session_{profile_, fs::path(TALVEX_SOURCE_DIR) / "data"};
};

// A value the program marks as missing must reach the archive as missing, never as the marker number.
bool MissingOrReal(double v) {
    return std::isnan(v) || (std::isfinite(v) && std::fabs(v) < 1e300);
}

TEST_F(SessionRecordTest, ControlRowsCarryTheirControlRunAndNoMarkerNumbers) {
    const ArchiveRecord r = Build();
    ASSERT_FALSE(r.controls.empty());
    std::set<std::pair<int, int>> kinds;
    for (const ArchiveControlRow& row : r.controls) {
        const controlchart::ControlObservation& o = row.observation;
        SCOPED_TRACE(o.key.component);
        kinds.insert({static_cast<int>(o.key.kind), static_cast<int>(o.key.medium)});
        EXPECT_TRUE(MissingOrReal(o.measured) && MissingOrReal(o.reference) && MissingOrReal(o.difference) &&
                    MissingOrReal(o.limit) && MissingOrReal(row.normLow) && MissingOrReal(row.normHigh));
        // The point's time is the control chromatogram's analysis time.
        const int role = o.key.kind == controlchart::ControlKind::Okp ? COpenedChmFile::kControlSample
                                                                      : COpenedChmFile::kControlStandard;
        const int medium = o.key.medium == controlchart::ControlMedium::Gas ? COpenedChmFile::kGas
                                                                            : COpenedChmFile::kCondensate;
        bool found = false;
        for (const ArchiveChromatogram& c : r.chromatograms)
            found = found || (c.roleCode == role && c.medium == medium && c.analysisTime == o.time &&
                              c.sampleName == o.sample);
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(kinds.size(), 4u); // ОКП and ОКЭ of the gas and of the condensate
    for (const ArchiveResultRow& row : r.results)
        EXPECT_TRUE(MissingOrReal(row.value) && MissingOrReal(row.discrepancy))
            << row.table << " " << row.name;
}

TEST_F(SessionRecordTest, DataFilesAreStoredWithTheDigestOfTheirBytes) {
    const ArchiveRecord r = Build();
    ASSERT_EQ(r.dataFiles.size(), 4u);
    for (const ArchiveDataFile& d : r.dataFiles) {
        SCOPED_TRACE(d.name);
        EXPECT_FALSE(d.content.empty());
        EXPECT_EQ(d.sha256, Sha256Hex(d.content));
    }
    for (const ArchiveChromatogram& c : r.chromatograms)
        EXPECT_EQ(c.sha256.size(), 64u) << c.path;
    EXPECT_EQ(r.sample, "Проба 1");
}

TEST_F(SessionRecordTest, TheFingerprintFollowsTheInputsOnly) {
    const ArchiveRecord first = Build();
    const ArchiveRecord second = Build();
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(first.fingerprint, second.fingerprint);
    EXPECT_EQ(first.fingerprint, RecordFingerprint(first));
    // The results JSON, log and reason are not inputs.
    ArchiveRecord other = first;
    other.resultsJson = "{}";
    other.reason = "r";
    EXPECT_EQ(RecordFingerprint(other), first.fingerprint);
    // A degassing input is.
    ASSERT_TRUE(session_.Degassing().TypeValue(DegassingField::AtmPressure, "101.3", 3));
    EXPECT_NE(Build().fingerprint, first.fingerprint);
}

} // namespace
} // namespace talvex
