#pragma once
// The results archive: one interface over SQLite (one local file) and PostgreSQL (shared by workstations).
// Append-only; an amendment is a new record that supersedes a current one, with a reason.

#include "core/archive/archive_record.h"
#include "core/archive/sql_connection.h"
#include "core/controlchart/control_observation.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace talvex::archive {

enum class WriteStatus {
    Added,          // stored (a new record or an amendment)
    AlreadyPresent, // a record of the same fingerprint exists; nothing added
    NeedsReason,    // an amendment without a reason; nothing added
    Failed          // the archive could not be written; `message` says why
};

struct WriteResult {
    WriteStatus status = WriteStatus::Failed;
    std::string id;         // the stored record's id, or the existing one's
    std::string supersedes; // the record amended; empty when none
    std::string message;    // for the operator
};

struct RecordSummary {
    std::string id;
    std::int64_t createdAt = 0;
    std::string sample;
    bool current = true;
    std::string supersedes;
    std::string reason;
    std::string fingerprint;
};

struct ListQuery {
    std::optional<std::int64_t> from;  // inclusive, seconds UTC
    std::optional<std::int64_t> to;    // inclusive
    std::optional<std::string> sample; // a part of the sample's name, case-insensitive (ASCII and Cyrillic)
    bool all = false;                  // superseded records too
};

struct StoredRecord {
    ArchiveRecord record;
    bool current = true;
    std::string supersedes;
};

// Who writes, from where: the audit rows carry them.
struct Writer {
    std::string user;
    std::string host;
};
Writer ThisWriter();

class Archive final : public controlchart::ControlSource {
public:
    // Opens (creating and migrating when needed) the archive at `url`: a path, `sqlite:PATH` or
    // `postgresql://…` (`postgresql:` alone takes libpq's service and environment settings). Nothing, and
    // `error` says why, when it cannot be opened. An archive of a newer schema opens read-only.
    static std::unique_ptr<Archive> Open(const std::string& url, std::string& error);
    ~Archive() override;

    bool ReadOnly() const { return !readOnlyReason_.empty(); }
    const std::string& ReadOnlyReason() const { return readOnlyReason_; }

    // Stores a record in one transaction (see WriteStatus).
    WriteResult Write(const ArchiveRecord& record);

    std::optional<std::vector<RecordSummary>> List(const ListQuery& query, std::string& error);
    // Nothing with an empty `error` when there is no such record.
    std::optional<StoredRecord> Show(const std::string& id, std::string& error);

    // A stored chromatogram file's bytes by its digest; nothing with an empty `error` when it is not stored.
    std::optional<std::string> ChromatogramFile(const std::string& sha256, std::string& error);

    // Earlier control results, all in one transaction: all stored or none.
    bool ImportControls(const std::vector<controlchart::ControlObservation>& points, std::string& error);
    // A new phase of every series of the kind and medium (or of one component) from `from`.
    bool AddPhase(controlchart::ControlKind kind, controlchart::ControlMedium medium,
                  const std::optional<std::string>& component, std::int64_t from, const std::string& reason,
                  std::string& error);
    // Excludes the point of `order` (ControlObservation::order) from the rules.
    bool ExcludePoint(std::int64_t order, const std::string& reason, std::string& error);

    std::vector<controlchart::ControlObservation>
    Observations(const controlchart::SeriesQuery& query) override;
    std::vector<controlchart::PhaseStart> Phases(const controlchart::SeriesKey& key) override;

    // Why the last Observations or Phases gave nothing (the chart interface has no place for it); empty when
    // they succeeded.
    const std::string& LastError() const { return lastError_; }

    SqlConnection& Connection() { return *db_; }
    // Called inside the record's transaction just before its commit: lets tests stop a process there.
    void SetBeforeCommit(std::function<void()> hook) { beforeCommit_ = std::move(hook); }

private:
    Archive(std::unique_ptr<SqlConnection> db, std::string readOnlyReason);
    void Begin();
    void Commit();
    void Rollback();
    void Audit(const std::string& action, const std::string& subject);
    bool Transaction(const std::function<void()>& body, std::string& error);
    void AddAutomaticPhases(const ArchiveRecord& record);

    std::unique_ptr<SqlConnection> db_;
    std::string readOnlyReason_;
    Writer writer_;
    std::function<void()> beforeCommit_;
    std::string lastError_;
};

// Text of the kinds and media as stored ("okp", "oke", "gas", "condensate").
const char* KindName(controlchart::ControlKind kind);
const char* MediumName(controlchart::ControlMedium medium);

} // namespace talvex::archive
