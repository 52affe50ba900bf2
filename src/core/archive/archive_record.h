#pragma once
// One archived calculation as the archive stores it and the spool keeps it until it is stored.

#include "core/controlchart/control_observation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvex::archive {

// The version of the archive's schema this program writes (the last numbered migration).
inline constexpr int kArchiveSchemaVersion = 2;

struct ArchiveChromatogram {
    std::string path;
    std::string sha256;
    std::string sampleName;
    std::string method;
    std::int64_t analysisTime = 0;
    std::string role; // the list's type label ("ПИД, Газ, анализ")
    std::int32_t roleCode = 0;
    std::int32_t detector = 0;
    std::int32_t medium = 0;
    std::int32_t analysisNo = -1;
};

// One of the four data files as it was; its content is stored once per distinct digest.
struct ArchiveDataFile {
    std::string name;
    std::string sha256; // empty when the file could not be read
    std::string content;
};

// One result row of a table: the averaged value, its discrepancy and whether it kept within the limit.
// A missing number is NaN (SQL NULL in the archive).
struct ArchiveResultRow {
    std::string table; // "gas/component", "gas/fractional", "condensate/A", "condensate/B", "nlh"
    std::string name;
    double value = 0.0;
    double discrepancy = 0.0;
    std::optional<bool> withinLimit;
};

// A control row with the norm row applied to it (NaN bounds where none applied).
struct ArchiveControlRow {
    controlchart::ControlObservation observation;
    double normLow = 0.0;
    double normHigh = 0.0;
};

struct ArchiveRecord {
    std::string id;             // UUID
    std::int64_t createdAt = 0; // seconds UTC
    std::string host;
    std::string user;
    std::string programVersion;
    int schemaVersion = kArchiveSchemaVersion;
    std::string fingerprint; // SHA-256 over the inputs
    std::string sample;      // the first sample chromatogram's name (the first one's when none)
    std::vector<ArchiveChromatogram> chromatograms;
    std::vector<ArchiveDataFile> dataFiles;
    std::string settingsJson;
    std::string degassingJson;
    std::vector<ArchiveResultRow> results;
    std::vector<ArchiveControlRow> controls;
    std::string log;
    std::string resultsJson; // exactly what `talvex-cli run --json` writes
    std::string sessionJson; // the session file's text; empty when there is none
    std::string reason;      // the amendment's reason as given; empty when none
    // The chromatogram files themselves (path, digest, bytes) when the setting asks for them; each distinct
    // file is stored once. Not an input of the fingerprint beyond the digests above.
    std::vector<ArchiveDataFile> chromatogramFiles;
};

// The fingerprint of a record's inputs: the chromatograms' and data files' digests, the settings and the
// degassing inputs. Two calculations of the same inputs have the same fingerprint.
std::string RecordFingerprint(const ArchiveRecord& record);

// A new random record id (UUID version 4, lower-case).
std::string NewRecordId();

} // namespace talvex::archive
