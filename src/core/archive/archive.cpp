#include "core/archive/archive.h"

#include "core/archive/archive_location.h"
#include "core/archive/schema.h"
#include "core/common/case_fold.h"
#include "core/common/utc_time.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <pwd.h>
#include <set>
#include <unistd.h>

namespace talvex::archive {
namespace {

using controlchart::ControlKind;
using controlchart::ControlMedium;
using controlchart::ControlObservation;

// The advisory lock every record write takes on PostgreSQL: writers of one archive go one at a time, so
// that two workstations amending one sample end with one chain.
constexpr std::int64_t kWriteLock = 0x544C5658'00000002LL;

// How often a write that met a busy database or a lost race is tried again.
constexpr int kAttempts = 5;

const char* kNormTables[] = {"TableSection7.csv", "TableSection8.csv"}; // gas, condensate

std::string NormTableOf(ControlMedium medium) {
    return kNormTables[medium == ControlMedium::Gas ? 0 : 1];
}

SqlValue Int(std::int64_t v) {
    return v;
}

SqlValue Text(const std::string& v) {
    return v;
}

std::optional<ControlKind> KindFrom(const std::string& s) {
    if (s == "okp")
        return ControlKind::Okp;
    if (s == "oke")
        return ControlKind::Oke;
    return std::nullopt;
}

std::optional<ControlMedium> MediumFrom(const std::string& s) {
    if (s == "gas")
        return ControlMedium::Gas;
    if (s == "condensate")
        return ControlMedium::Condensate;
    return std::nullopt;
}

std::string NewerSchemaMessage(int found) {
    return "Архив создан более новой версией программы (схема " + std::to_string(found) +
           ", эта программа знает схему " + std::to_string(kArchiveSchemaVersion) +
           "); он открыт только для чтения.";
}

bool SameReal(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Rows of one table inserted many to a statement: one round trip to the server per batch, not per row.
class RowInserter {
public:
    RowInserter(SqlConnection& db, std::string head, std::size_t columns)
        : db_(db), head_(std::move(head)), columns_(columns) {}
    ~RowInserter() = default;

    void Add(std::vector<SqlValue> row) {
        for (SqlValue& v : row)
            params_.push_back(std::move(v));
        if (++rows_ == kBatch)
            Flush();
    }

    void Flush() {
        if (rows_ == 0)
            return;
        std::string one = "(";
        for (std::size_t c = 0; c < columns_; ++c)
            one += c ? ", ?" : "?";
        one += ')';
        std::string sql = head_ + " VALUES ";
        for (std::size_t r = 0; r < rows_; ++r)
            sql += (r ? ", " : "") + one;
        db_.Query(sql, params_);
        params_.clear();
        rows_ = 0;
    }

private:
    static constexpr std::size_t kBatch = 64;
    SqlConnection& db_;
    std::string head_;
    std::size_t columns_;
    std::vector<SqlValue> params_;
    std::size_t rows_ = 0;
};

constexpr const char* kControlInsert = "INSERT INTO control_rows (record_id, kind, medium, list, component, "
                                       "at_time, sample, measured, reference, "
                                       "difference, limit_value, norm_low, norm_high, imported)";
constexpr std::size_t kControlColumns = 14;

std::vector<SqlValue> ControlValues(const ControlObservation& o, const std::string& recordId, double normLow,
                                    double normHigh) {
    return {TextOrNull(recordId),
            Text(KindName(o.key.kind)),
            Text(MediumName(o.key.medium)),
            Text(o.key.list),
            Text(o.key.component),
            Int(o.time),
            Text(o.sample),
            Real(o.measured),
            Real(o.reference),
            Real(o.difference),
            Real(o.limit),
            Real(normLow),
            Real(normHigh),
            Int(recordId.empty() ? 1 : 0)};
}

} // namespace

const char* KindName(ControlKind kind) {
    return kind == ControlKind::Okp ? "okp" : "oke";
}

const char* MediumName(ControlMedium medium) {
    return medium == ControlMedium::Gas ? "gas" : "condensate";
}

Writer ThisWriter() {
    Writer w;
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) == 0)
        w.host = name;
    if (const passwd* pw = getpwuid(getuid()))
        w.user = pw->pw_name;
    else
        w.user = std::to_string(getuid());
    return w;
}

Archive::Archive(std::unique_ptr<SqlConnection> db, std::string readOnlyReason)
    : db_(std::move(db)), readOnlyReason_(std::move(readOnlyReason)), writer_(ThisWriter()) {}

Archive::~Archive() = default;

std::unique_ptr<Archive> Archive::Open(const std::string& url, std::string& error) {
    const ArchiveLocation where = ParseArchiveUrl(url);
    try {
        std::unique_ptr<SqlConnection> db;
        if (where.postgresql) {
            db = OpenPostgresql(where.target);
        } else {
            if (where.target.empty()) {
                error = "Не указан файл архива.";
                return nullptr;
            }
            const std::filesystem::path path(where.target);
            if (const std::optional<std::string> fs = NetworkFileSystemOf(path)) {
                error = NetworkArchiveRefusal(*fs);
                return nullptr;
            }
            std::error_code ec;
            if (path.has_parent_path())
                std::filesystem::create_directories(path.parent_path(), ec);
            db = OpenSqlite(where.target, false);
        }
        const int found = SchemaVersion(*db);
        if (found > kArchiveSchemaVersion)
            return std::unique_ptr<Archive>(new Archive(std::move(db), NewerSchemaMessage(found)));
        if (found < kArchiveSchemaVersion) {
            const int before = Migrate(*db, kArchiveSchemaVersion);
            // Another workstation may have migrated further in the meantime.
            if (before > kArchiveSchemaVersion)
                return std::unique_ptr<Archive>(new Archive(std::move(db), NewerSchemaMessage(before)));
        }
        return std::unique_ptr<Archive>(new Archive(std::move(db), {}));
    } catch (const SqlError& e) {
        error = "Архив " + (where.postgresql ? std::string("PostgreSQL") : where.target) +
                " недоступен: " + e.what();
        return nullptr;
    }
}

void Archive::Begin() {
    if (db_->Dialect() == SqlDialect::Sqlite) {
        db_->Script("BEGIN IMMEDIATE");
    } else {
        db_->Script("BEGIN");
        db_->Query("SELECT pg_advisory_xact_lock(?)", {Int(kWriteLock)});
    }
}

void Archive::Commit() {
    db_->Script("COMMIT");
}

void Archive::Rollback() {
    try {
        db_->Script("ROLLBACK");
    } catch (const SqlError&) {
        // The transaction is gone with the connection; nothing was committed.
    }
}

void Archive::Audit(const std::string& action, const std::string& subject) {
    db_->Query("INSERT INTO audit (action, subject, os_user, host) VALUES (?, ?, ?, ?)",
               {Text(action), Text(subject), Text(writer_.user), Text(writer_.host)});
}

bool Archive::Transaction(const std::function<void()>& body, std::string& error) {
    if (ReadOnly()) {
        error = readOnlyReason_;
        return false;
    }
    for (int attempt = 1;; ++attempt) {
        try {
            Begin();
            body();
            Commit();
            return true;
        } catch (const SqlError& e) {
            Rollback();
            if (e.kind() == SqlError::Kind::Busy && attempt < kAttempts)
                continue;
            error = e.what();
            return false;
        }
    }
}

WriteResult Archive::Write(const ArchiveRecord& record) {
    WriteResult result;
    if (ReadOnly()) {
        result.message = readOnlyReason_;
        return result;
    }
    for (int attempt = 1;; ++attempt) {
        try {
            Begin();
            const auto same = db_->Query("SELECT id, created_at FROM records WHERE fingerprint = ?",
                                         {Text(record.fingerprint)});
            if (!same.empty()) {
                Rollback();
                result.status = WriteStatus::AlreadyPresent;
                result.id = AsText(same[0][0]);
                result.message = "Результат уже в архиве: запись " + result.id + " от " +
                                 FormatUtcTime(AsInt(same[0][1])) + ".";
                return result;
            }
            // A current record that shares a chromatogram with this one is amended by it.
            std::string shared;
            std::vector<SqlValue> digests;
            for (const ArchiveChromatogram& c : record.chromatograms)
                if (!c.sha256.empty())
                    digests.push_back(Text(c.sha256));
            if (!digests.empty()) {
                std::string marks;
                for (std::size_t i = 0; i < digests.size(); ++i)
                    marks += i ? ", ?" : "?";
                const auto rows = db_->Query("SELECT r.id FROM records r JOIN record_chromatograms c ON "
                                             "c.record_id = r.id WHERE c.sha256 IN (" +
                                                 marks +
                                                 ") AND NOT EXISTS (SELECT 1 FROM records s WHERE "
                                                 "s.supersedes = r.id) ORDER BY r.seq DESC "
                                                 "LIMIT 1",
                                             digests);
                if (!rows.empty())
                    shared = AsText(rows[0][0]);
            }
            if (!shared.empty() && record.reason.empty()) {
                Rollback();
                result.status = WriteStatus::NeedsReason;
                result.supersedes = shared;
                result.message =
                    "Расчёт исправляет запись архива " + shared +
                    " (общая хроматограмма, другие исходные данные): укажите причину исправления.";
                return result;
            }
            const std::int64_t seq =
                AsInt(db_->Query("SELECT COALESCE(MAX(seq), 0) + 1 FROM records").at(0).at(0));
            db_->Query(
                "INSERT INTO records (id, seq, created_at, host, os_user, program_version, schema_version, "
                "fingerprint, sample, supersedes, reason, settings, degassing, log, results_json, "
                "session_json) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {Text(record.id), Int(seq), Int(record.createdAt), Text(record.host), Text(record.user),
                 Text(record.programVersion), Int(record.schemaVersion), Text(record.fingerprint),
                 Text(record.sample), TextOrNull(shared), TextOrNull(record.reason),
                 Text(record.settingsJson), Text(record.degassingJson), Text(record.log),
                 Text(record.resultsJson), TextOrNull(record.sessionJson)});
            std::int64_t pos = 0;
            RowInserter chromatograms(
                *db_,
                "INSERT INTO record_chromatograms (record_id, pos, path, sha256, sample_name, "
                "method, analysis_time, role, role_code, detector, medium, analysis_no)",
                12);
            for (const ArchiveChromatogram& c : record.chromatograms)
                chromatograms.Add({Text(record.id), Int(pos++), Text(c.path), TextOrNull(c.sha256),
                                   Text(c.sampleName), Text(c.method), Int(c.analysisTime), Text(c.role),
                                   Int(c.roleCode), Int(c.detector), Int(c.medium), Int(c.analysisNo)});
            chromatograms.Flush();
            pos = 0;
            for (const ArchiveDataFile& d : record.dataFiles) {
                // The content goes over the wire only when the archive does not hold it yet.
                if (!d.sha256.empty() &&
                    db_->Query("SELECT 1 FROM data_files WHERE sha256 = ?", {Text(d.sha256)}).empty())
                    db_->Query(
                        "INSERT INTO data_files (sha256, content) VALUES (?, ?) ON CONFLICT DO NOTHING",
                        {Text(d.sha256), Blob{d.content}});
                db_->Query("INSERT INTO record_data_files (record_id, pos, name, sha256) VALUES (?, ?, ?, ?)",
                           {Text(record.id), Int(pos++), Text(d.name), TextOrNull(d.sha256)});
            }
            for (const ArchiveDataFile& f : record.chromatogramFiles)
                if (!f.sha256.empty() &&
                    db_->Query("SELECT 1 FROM chromatogram_files WHERE sha256 = ?", {Text(f.sha256)}).empty())
                    db_->Query("INSERT INTO chromatogram_files (sha256, content) VALUES (?, ?)",
                               {Text(f.sha256), Blob{f.content}});
            pos = 0;
            RowInserter results(
                *db_,
                "INSERT INTO result_rows (record_id, pos, result_table, name, value, discrepancy, "
                "within_limit)",
                7);
            for (const ArchiveResultRow& r : record.results)
                results.Add({Text(record.id), Int(pos++), Text(r.table), Text(r.name), Real(r.value),
                             Real(r.discrepancy),
                             r.withinLimit ? SqlValue(Int(*r.withinLimit ? 1 : 0)) : SqlValue()});
            results.Flush();
            AddAutomaticPhases(record);
            RowInserter controls(*db_, kControlInsert, kControlColumns);
            for (const ArchiveControlRow& c : record.controls)
                controls.Add(ControlValues(c.observation, record.id, c.normLow, c.normHigh));
            controls.Flush();
            Audit(shared.empty() ? "record" : "amendment",
                  shared.empty() ? record.id : record.id + " supersedes " + shared + ": " + record.reason);
            if (beforeCommit_)
                beforeCommit_();
            Commit();
            result.status = WriteStatus::Added;
            result.id = record.id;
            result.supersedes = shared;
            return result;
        } catch (const SqlError& e) {
            Rollback();
            if ((e.kind() == SqlError::Kind::Busy || e.kind() == SqlError::Kind::UniqueViolation) &&
                attempt < kAttempts)
                continue;
            result.status = WriteStatus::Failed;
            result.message = e.what();
            return result;
        }
    }
}

// A record whose norm table differs from the one the previous record of the same control kind and medium
// used starts a phase of every series of that kind and medium; a certified value (the ОКЭ reference) that
// differs from the series' previous one starts a phase of that series.
void Archive::AddAutomaticPhases(const ArchiveRecord& record) {
    std::set<std::pair<ControlKind, ControlMedium>> seen;
    std::set<std::string> seriesSeen;
    for (const ArchiveControlRow& row : record.controls) {
        const ControlObservation& o = row.observation;
        const std::string kind = KindName(o.key.kind), medium = MediumName(o.key.medium);
        if (seen.insert({o.key.kind, o.key.medium}).second) {
            std::string digest;
            for (const ArchiveDataFile& d : record.dataFiles)
                if (d.name == NormTableOf(o.key.medium))
                    digest = d.sha256;
            const auto previous = db_->Query(
                "SELECT d.sha256 FROM records r JOIN record_data_files d ON d.record_id = r.id AND d.name = "
                "? "
                "WHERE EXISTS (SELECT 1 FROM control_rows c WHERE c.record_id = r.id AND c.kind = ? AND "
                "c.medium = ?) ORDER BY r.seq DESC LIMIT 1",
                {Text(NormTableOf(o.key.medium)), Text(kind), Text(medium)});
            if (!previous.empty() && AsText(previous[0][0]) != digest)
                db_->Query("INSERT INTO phases (kind, medium, component, from_time, reason, automatic) "
                           "VALUES (?, ?, NULL, ?, ?, 1)",
                           {Text(kind), Text(medium), Int(o.time),
                            Text("Изменилась таблица нормативов " + NormTableOf(o.key.medium))});
        }
        if (o.key.kind != ControlKind::Oke || std::isnan(o.reference) ||
            !seriesSeen.insert(medium + '\n' + o.key.list + '\n' + o.key.component).second)
            continue;
        const auto previous = db_->Query(
            "SELECT reference FROM control_rows WHERE kind = ? AND medium = ? AND list = ? AND component = ? "
            "AND imported = 0 AND reference IS NOT NULL ORDER BY seq DESC LIMIT 1",
            {Text(kind), Text(medium), Text(o.key.list), Text(o.key.component)});
        if (!previous.empty() && !SameReal(AsReal(previous[0][0]), o.reference))
            db_->Query("INSERT INTO phases (kind, medium, component, from_time, reason, automatic) "
                       "VALUES (?, ?, ?, ?, ?, 1)",
                       {Text(kind), Text(medium), Text(o.key.component), Int(o.time),
                        Text("Изменилось аттестованное значение: " + AsText(previous[0][0]) + " → " +
                             AsText(SqlValue(o.reference)))});
    }
}

std::optional<std::vector<RecordSummary>> Archive::List(const ListQuery& query, std::string& error) {
    try {
        std::string sql =
            "SELECT r.id, r.created_at, r.sample, r.supersedes, r.reason, r.fingerprint, "
            "NOT EXISTS (SELECT 1 FROM records s WHERE s.supersedes = r.id) FROM records r WHERE 1 = 1";
        std::vector<SqlValue> params;
        if (query.from) {
            sql += " AND r.created_at >= ?";
            params.push_back(Int(*query.from));
        }
        if (query.to) {
            sql += " AND r.created_at <= ?";
            params.push_back(Int(*query.to));
        }
        if (!query.all)
            sql += " AND NOT EXISTS (SELECT 1 FROM records s WHERE s.supersedes = r.id)";
        sql += " ORDER BY r.seq";
        const std::u16string needle = query.sample ? FoldCaseUtf16(*query.sample) : std::u16string();
        std::vector<RecordSummary> out;
        for (const SqlRow& row : db_->Query(sql, params)) {
            RecordSummary s{AsText(row[0]), AsInt(row[1]),  AsText(row[2]), AsInt(row[6]) != 0,
                            AsText(row[3]), AsText(row[4]), AsText(row[5])};
            if (query.sample && FoldCaseUtf16(s.sample).find(needle) == std::u16string::npos)
                continue;
            out.push_back(std::move(s));
        }
        return out;
    } catch (const SqlError& e) {
        error = e.what();
        return std::nullopt;
    }
}

std::optional<StoredRecord> Archive::Show(const std::string& id, std::string& error) {
    error.clear();
    try {
        const auto rows = db_->Query(
            "SELECT id, created_at, host, os_user, program_version, schema_version, fingerprint, sample, "
            "supersedes, reason, settings, degassing, log, results_json, session_json, "
            "NOT EXISTS (SELECT 1 FROM records s WHERE s.supersedes = r.id) FROM records r WHERE id = ?",
            {Text(id)});
        if (rows.empty())
            return std::nullopt;
        const SqlRow& row = rows[0];
        StoredRecord out;
        ArchiveRecord& r = out.record;
        r.id = AsText(row[0]);
        r.createdAt = AsInt(row[1]);
        r.host = AsText(row[2]);
        r.user = AsText(row[3]);
        r.programVersion = AsText(row[4]);
        r.schemaVersion = static_cast<int>(AsInt(row[5]));
        r.fingerprint = AsText(row[6]);
        r.sample = AsText(row[7]);
        out.supersedes = AsText(row[8]);
        r.reason = AsText(row[9]);
        r.settingsJson = AsText(row[10]);
        r.degassingJson = AsText(row[11]);
        r.log = AsText(row[12]);
        r.resultsJson = AsText(row[13]);
        r.sessionJson = AsText(row[14]);
        out.current = AsInt(row[15]) != 0;
        for (const SqlRow& c :
             db_->Query("SELECT path, sha256, sample_name, method, analysis_time, role, "
                        "role_code, detector, medium, analysis_no FROM record_chromatograms "
                        "WHERE record_id = ? ORDER BY pos",
                        {Text(id)}))
            r.chromatograms.push_back(
                {AsText(c[0]), AsText(c[1]), AsText(c[2]), AsText(c[3]), AsInt(c[4]), AsText(c[5]),
                 static_cast<std::int32_t>(AsInt(c[6])), static_cast<std::int32_t>(AsInt(c[7])),
                 static_cast<std::int32_t>(AsInt(c[8])), static_cast<std::int32_t>(AsInt(c[9]))});
        for (const SqlRow& d :
             db_->Query("SELECT f.name, f.sha256, c.content FROM record_data_files f LEFT JOIN "
                        "data_files c ON c.sha256 = f.sha256 WHERE f.record_id = ? ORDER BY f.pos",
                        {Text(id)}))
            r.dataFiles.push_back({AsText(d[0]), AsText(d[1]), AsText(d[2])});
        for (const SqlRow& x : db_->Query("SELECT result_table, name, value, discrepancy, within_limit FROM "
                                          "result_rows WHERE record_id = ? ORDER BY pos",
                                          {Text(id)}))
            r.results.push_back(
                {AsText(x[0]), AsText(x[1]), AsReal(x[2]), AsReal(x[3]),
                 IsNull(x[4]) ? std::optional<bool>() : std::optional<bool>(AsInt(x[4]) != 0)});
        for (const SqlRow& c :
             db_->Query("SELECT kind, medium, list, component, at_time, seq, sample, measured, "
                        "reference, difference, limit_value, norm_low, norm_high FROM "
                        "control_rows WHERE record_id = ? ORDER BY seq",
                        {Text(id)})) {
            ArchiveControlRow row;
            ControlObservation& o = row.observation;
            o.key = {KindFrom(AsText(c[0])).value_or(ControlKind::Okp),
                     MediumFrom(AsText(c[1])).value_or(ControlMedium::Gas), AsText(c[2]), AsText(c[3])};
            o.time = AsInt(c[4]);
            o.order = AsInt(c[5]);
            o.sample = AsText(c[6]);
            o.measured = AsReal(c[7]);
            o.reference = AsReal(c[8]);
            o.difference = AsReal(c[9]);
            o.limit = AsReal(c[10]);
            o.record = id;
            row.normLow = AsReal(c[11]);
            row.normHigh = AsReal(c[12]);
            r.controls.push_back(std::move(row));
        }
        return out;
    } catch (const SqlError& e) {
        error = e.what();
        return std::nullopt;
    }
}

std::optional<std::string> Archive::ChromatogramFile(const std::string& sha256, std::string& error) {
    error.clear();
    try {
        const auto rows =
            db_->Query("SELECT content FROM chromatogram_files WHERE sha256 = ?", {Text(sha256)});
        if (rows.empty())
            return std::nullopt;
        return AsText(rows[0][0]);
    } catch (const SqlError& e) {
        error = e.what();
        return std::nullopt;
    }
}

bool Archive::ImportControls(const std::vector<ControlObservation>& points, std::string& error) {
    return Transaction(
        [&] {
            RowInserter rows(*db_, kControlInsert, kControlColumns);
            for (const ControlObservation& o : points)
                rows.Add(ControlValues(o, {}, std::nan(""), std::nan("")));
            rows.Flush();
            Audit("import", std::to_string(points.size()) + " control results");
        },
        error);
}

bool Archive::AddPhase(ControlKind kind, ControlMedium medium, const std::optional<std::string>& component,
                       std::int64_t from, const std::string& reason, std::string& error) {
    return Transaction(
        [&] {
            db_->Query("INSERT INTO phases (kind, medium, component, from_time, reason, automatic) "
                       "VALUES (?, ?, ?, ?, ?, 0)",
                       {Text(KindName(kind)), Text(MediumName(medium)),
                        component ? SqlValue(Text(*component)) : SqlValue(), Int(from), Text(reason)});
            Audit("phase", std::string(KindName(kind)) + " " + MediumName(medium) + " " +
                               component.value_or("*") + " from " + FormatUtcTime(from) + ": " + reason);
        },
        error);
}

bool Archive::ExcludePoint(std::int64_t order, const std::string& reason, std::string& error) {
    return Transaction(
        [&] {
            db_->Query("INSERT INTO exclusions (control_seq, reason) VALUES (?, ?)",
                       {Int(order), Text(reason)});
            Audit("exclusion", std::to_string(order) + ": " + reason);
        },
        error);
}

std::vector<ControlObservation> Archive::Observations(const controlchart::SeriesQuery& query) {
    std::string sql = "SELECT c.seq, c.at_time, c.sample, c.measured, c.reference, c.difference, "
                      "c.limit_value, c.record_id, "
                      "c.imported, (SELECT MIN(e.reason) FROM exclusions e WHERE e.control_seq = c.seq) FROM "
                      "control_rows c "
                      "WHERE c.kind = ? AND c.medium = ? AND c.list = ? AND c.component = ?";
    std::vector<SqlValue> params{Text(KindName(query.key.kind)), Text(MediumName(query.key.medium)),
                                 Text(query.key.list), Text(query.key.component)};
    if (query.from) {
        sql += " AND c.at_time >= ?";
        params.push_back(Int(*query.from));
    }
    if (query.to) {
        sql += " AND c.at_time <= ?";
        params.push_back(Int(*query.to));
    }
    if (!query.includeSuperseded)
        sql += " AND (c.record_id IS NULL OR NOT EXISTS (SELECT 1 FROM records s WHERE s.supersedes = "
               "c.record_id))";
    sql += " ORDER BY c.at_time, c.seq";
    std::vector<ControlObservation> out;
    lastError_.clear();
    try {
        for (const SqlRow& row : db_->Query(sql, params)) {
            ControlObservation o;
            o.key = query.key;
            o.order = AsInt(row[0]);
            o.time = AsInt(row[1]);
            o.sample = AsText(row[2]);
            o.measured = AsReal(row[3]);
            o.reference = AsReal(row[4]);
            o.difference = AsReal(row[5]);
            o.limit = AsReal(row[6]);
            o.record = AsText(row[7]);
            o.imported = AsInt(row[8]) != 0;
            o.excluded = !IsNull(row[9]);
            o.exclusionReason = AsText(row[9]);
            out.push_back(std::move(o));
        }
    } catch (const SqlError& e) {
        lastError_ = e.what();
        out.clear();
    }
    return out;
}

std::vector<controlchart::PhaseStart> Archive::Phases(const controlchart::SeriesKey& key) {
    std::vector<controlchart::PhaseStart> out;
    lastError_.clear();
    try {
        for (const SqlRow& row :
             db_->Query("SELECT from_time, reason FROM phases WHERE kind = ? AND medium = ? AND "
                        "(component IS NULL OR component = ?) ORDER BY from_time, seq",
                        {Text(KindName(key.kind)), Text(MediumName(key.medium)), Text(key.component)}))
            out.push_back({AsInt(row[0]), AsText(row[1])});
    } catch (const SqlError& e) {
        lastError_ = e.what();
        out.clear();
    }
    return out;
}

} // namespace talvex::archive
