#include "core/app/session_replay.h"

#include "core/app/data_folder.h"
#include "core/common/settings.h"
#include "core/common/sha256.h"
#include "core/components/database_path.h"
#include "core/components/retention_time_table.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace talvex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDataFileNames[] = {kComponentsFileName, kCompsTimeFileName, kGasNormsFileName,
                                               kLiquidNormsFileName};

// The path of `target` from `folder`, "/" separated; empty when there is none (another drive, say).
std::string RelativePath(const fs::path& target, const fs::path& folder) {
    std::error_code ec;
    const fs::path relative = fs::relative(fs::absolute(target, ec), fs::absolute(folder, ec), ec);
    return ec ? std::string() : relative.generic_string();
}

fs::path FolderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

} // namespace

std::vector<SessionDataFile> DigestDataFiles(const fs::path& dataFolder) {
    std::vector<SessionDataFile> files;
    for (const std::string_view name : kDataFileNames) {
        const std::optional<std::string> digest = Sha256OfFile((dataFolder / name).string());
        files.push_back({std::string(name), digest.value_or(std::string())});
    }
    return files;
}

SessionRecord CaptureState(const Session& session, const std::string& deviceName) {
    SessionRecord record;
    record.programVersion = ProgramVersion();
    for (const COpenedChmFile& entry : session.Chromatograms()) {
        SessionChromatogram c;
        c.path = entry.passport.path;
        c.fileId = entry.fileId;
        record.chromatograms.push_back(std::move(c));
    }

    const DegassingPage& page = session.Degassing();
    record.degassingMethod = page.Parameters().Method;
    const std::vector<DegassingFieldView> fields = page.Fields();
    for (std::size_t i = 0; i < kSessionDegassingInputs.size(); ++i)
        record.degassingTexts[i] = fields[static_cast<std::size_t>(kSessionDegassingInputs[i])].text;
    record.deviceName = deviceName;

    const SettingsStore& store = session.Settings();
    CSettings settings;
    settings.Load(store);
    record.settings.decimals = settings.QtyNumAfterDot;
    record.settings.mode = settings.ModeCalc;
    record.settings.airCorrection = settings.Sect7_CorrectO2;
    // The shares as the profile holds them, so that reading them back gives the very same values.
    record.settings.airN2 = store.ReadString(kSettingsSection, kKeyConcN2, "0.0");
    record.settings.airO2 = store.ReadString(kSettingsSection, kKeyConcO2, "0.0");
    record.settings.airCO2 = store.ReadString(kSettingsSection, kKeyConcCO2, "0.0");
    record.reportSwitches = LoadReportSettings(store).switches;

    record.dataFolder = session.DataFolder().string();
    return record;
}

std::optional<SessionRecord> CaptureSession(const Session& session, const std::string& deviceName,
                                            const fs::path& sessionFile, std::int64_t now, std::string& error,
                                            FileDigestCache* cache) {
    SessionRecord record = CaptureState(session, deviceName);
    record.savedAt = now;
    const fs::path sessionFolder = FolderOf(sessionFile);
    std::error_code absoluteError;
    const fs::path dataFolder = fs::absolute(session.DataFolder(), absoluteError);
    record.dataFolder = (absoluteError ? session.DataFolder() : dataFolder).lexically_normal().string();
    record.dataFolderRelative = RelativePath(session.DataFolder(), sessionFolder);
    for (SessionChromatogram& c : record.chromatograms) {
        c.relativePath = RelativePath(c.path, sessionFolder);
        std::string reason;
        const std::optional<std::string> digest =
            cache ? cache->Digest(c.path, &reason) : Sha256OfFile(c.path, &reason);
        std::error_code ec;
        c.size = fs::file_size(c.path, ec);
        if (!digest || ec) {
            error = c.path + ": " + (reason.empty() ? ec.message() : reason);
            return std::nullopt;
        }
        c.sha256 = *digest;
    }
    record.dataFiles = DigestDataFiles(session.DataFolder());
    return record;
}

ResolvedFiles ResolveSessionFiles(const SessionRecord& record, const fs::path& sessionFile) {
    // The files are added again in the order they were first added, so that the list sorts and groups
    // exactly as it did; a record without that order keeps its list order.
    std::vector<std::size_t> order(record.chromatograms.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto addedAt = [&](std::size_t i) {
        const std::int32_t id = record.chromatograms[i].fileId;
        return id < 0 ? INT32_MAX : id;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return addedAt(a) < addedAt(b); });

    const fs::path sessionFolder = FolderOf(sessionFile);
    ResolvedFiles resolved;
    for (const std::size_t i : order) {
        const SessionChromatogram& c = record.chromatograms[i];
        fs::path found;
        if (!c.relativePath.empty() && IsRegularFile(sessionFolder / c.relativePath))
            found = sessionFolder / c.relativePath;
        else if (IsRegularFile(c.path))
            found = c.path;
        const std::string name = c.path.empty() ? c.relativePath : c.path;
        if (found.empty()) {
            resolved.problems.push_back(
                {SessionProblem::Kind::MissingFile, name, "Файл хроматограммы не найден: " + name});
            continue;
        }
        const std::optional<std::string> digest = Sha256OfFile(found.string());
        if (!digest || *digest != c.sha256) {
            resolved.problems.push_back(
                {SessionProblem::Kind::ChangedFile, name,
                 "Файл хроматограммы изменен после сохранения сеанса и не добавлен: " + found.string()});
            continue;
        }
        resolved.paths.push_back(found == fs::path(c.path) ? c.path : found.lexically_normal().string());
    }
    return resolved;
}

std::vector<SessionProblem> CheckDataFiles(const SessionRecord& record, const fs::path& dataFolder) {
    std::vector<SessionProblem> problems;
    const std::vector<SessionDataFile> now = DigestDataFiles(dataFolder);
    for (const SessionDataFile& saved : record.dataFiles) {
        const auto it = std::find_if(now.begin(), now.end(),
                                     [&](const SessionDataFile& f) { return f.name == saved.name; });
        if (it == now.end())
            continue; // a file this program version does not read
        if (it->sha256.empty())
            problems.push_back({SessionProblem::Kind::MissingDataFile, saved.name,
                                "Файл данных не найден: " + (dataFolder / saved.name).string()});
        else if (it->sha256 != saved.sha256)
            problems.push_back({SessionProblem::Kind::ChangedDataFile, saved.name,
                                "Файл данных изменен после сохранения сеанса (нормы могли измениться): " +
                                    (dataFolder / saved.name).string()});
    }
    return problems;
}

fs::path SessionDataFolder(const SessionRecord& record, const fs::path& sessionFile,
                           const fs::path& fallback) {
    if (!record.dataFolderRelative.empty()) {
        const fs::path relative = (FolderOf(sessionFile) / record.dataFolderRelative).lexically_normal();
        if (IsRegularFile(relative / kComponentsFileName))
            return relative;
    }
    const fs::path stored(record.dataFolder);
    return IsRegularFile(stored / kComponentsFileName) ? stored : fallback;
}

std::vector<SettingWrite> SessionSettingWrites(const SessionRecord& record) {
    const SessionSettings& s = record.settings;
    std::vector<SettingWrite> writes = {
        {kSettingsSection, kKeyDecimals, s.decimals},
        {kSettingsSection, kKeyModeCalc, s.mode},
        {kSettingsSection, kKeyCorrectO2, s.airCorrection},
        {kSettingsSection, kKeyConcN2, s.airN2},
        {kSettingsSection, kKeyConcO2, s.airO2},
        {kSettingsSection, kKeyConcCO2, s.airCO2},
        {kSettingsSection, kKeyNameDevice, record.deviceName},
    };
    for (std::size_t i = 0; i < kReportSwitchCount; ++i)
        writes.push_back({kReportSettingsSection, std::string(ReportSwitchKey(static_cast<ReportSwitch>(i))),
                          record.reportSwitches[i]});
    return writes;
}

void WriteSessionSettings(const SessionRecord& record, SettingsStore& store) {
    for (const SettingWrite& w : SessionSettingWrites(record)) {
        if (const auto* number = std::get_if<std::int32_t>(&w.value))
            store.WriteInt(w.section, w.key, *number);
        else
            store.WriteString(w.section, w.key, std::get<std::string>(w.value));
    }
}

fs::path SessionRecoveryPath(const char* xdgDataHome, const char* home) {
    // The XDG rule: a relative XDG_DATA_HOME is invalid and ignored.
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / "talvex" / "recovery.tlvx";
    if (home && *home)
        return fs::path(home) / ".local" / "share" / "talvex" / "recovery.tlvx";
    return {};
}

void RestoreDegassing(const SessionRecord& record, DegassingPage& page, int decimals) {
    std::vector<std::pair<DegassingField, std::string>> inputs;
    for (std::size_t i = 0; i < kSessionDegassingInputs.size(); ++i)
        inputs.emplace_back(kSessionDegassingInputs[i], record.degassingTexts[i]);
    page.Restore(record.degassingMethod, inputs, decimals);
}

} // namespace talvex
