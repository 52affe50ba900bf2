#include "core/archive/spool.h"

#include "core/archive/record_json.h"
#include "core/common/data_file_io.h"

#include <algorithm>

namespace talvex::archive {

std::filesystem::path SpoolFile(const std::filesystem::path& folder, const std::string& id) {
    return folder / (id + ".json");
}

bool SpoolRecord(const std::filesystem::path& folder, const ArchiveRecord& record, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = "папка " + folder.string() + " не создана: " + ec.message();
        return false;
    }
    return WriteFileAtomically(SpoolFile(folder, record.id), RecordToJson(record), &error);
}

void Unspool(const std::filesystem::path& folder, const std::string& id) {
    std::error_code ec;
    std::filesystem::remove(SpoolFile(folder, id), ec);
}

FlushReport FlushSpool(const std::filesystem::path& folder, Archive& archive) {
    FlushReport report;
    std::error_code ec;
    std::vector<std::filesystem::directory_entry> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".json")
            files.push_back(entry);
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        std::error_code e1, e2;
        const auto ta = a.last_write_time(e1), tb = b.last_write_time(e2);
        return ta != tb ? ta < tb : a.path() < b.path();
    });
    for (const auto& entry : files) {
        const std::string name = entry.path().filename().string();
        std::string text, error;
        if (!ReadFileFrom(entry.path(), 0, text, &error)) {
            report.kept.push_back(name + ": " + error);
            continue;
        }
        const std::optional<ArchiveRecord> record = RecordFromJson(text, error);
        if (!record) {
            // Left where it is for a person to look at; never deleted unseen.
            report.kept.push_back(name + ": " + error);
            continue;
        }
        const WriteResult result = archive.Write(*record);
        switch (result.status) {
        case WriteStatus::Added:
            ++report.sent;
            Unspool(folder, record->id);
            break;
        case WriteStatus::AlreadyPresent:
            ++report.alreadyPresent;
            Unspool(folder, record->id);
            break;
        case WriteStatus::NeedsReason:
        case WriteStatus::Failed:
            report.kept.push_back(name + ": " + result.message);
            break;
        }
    }
    return report;
}

std::string NotArchivedMessage(const std::string& reason) {
    return "Результат не записан в архив: " + reason +
           ". Запись сохранена и будет отправлена при следующем подключении.";
}

StoreOutcome StoreRecord(const std::string& url, const std::filesystem::path& spool,
                         const ArchiveRecord& record, const std::function<void(Archive&)>& prepare) {
    StoreOutcome outcome;
    std::string error;
    std::string spoolError;
    const bool spooled = SpoolRecord(spool, record, spoolError);
    std::unique_ptr<Archive> archive = Archive::Open(url, error);
    if (!archive) {
        outcome.message =
            spooled ? NotArchivedMessage(error)
                    : "Результат не записан в архив: " + error +
                          ". Запись не удалось сохранить для повторной отправки: " + spoolError + ".";
        return outcome;
    }
    if (prepare)
        prepare(*archive);
    const WriteResult result = archive->Write(record);
    outcome.status = result.status;
    outcome.id = result.id;
    outcome.supersedes = result.supersedes;
    switch (result.status) {
    case WriteStatus::Added:
    case WriteStatus::AlreadyPresent:
        Unspool(spool, record.id);
        outcome.message = result.message;
        outcome.flushed = FlushSpool(spool, *archive);
        break;
    case WriteStatus::NeedsReason:
        // Refused, not failed: nothing waits in the spool for it.
        Unspool(spool, record.id);
        outcome.message = result.message;
        break;
    case WriteStatus::Failed:
        outcome.message =
            spooled ? NotArchivedMessage(result.message)
                    : "Результат не записан в архив: " + result.message +
                          ". Запись не удалось сохранить для повторной отправки: " + spoolError + ".";
        break;
    }
    return outcome;
}

} // namespace talvex::archive
