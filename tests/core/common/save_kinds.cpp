#include "save_kinds.h"

#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/data_file_io.h"
#include "core/common/settings_store.h"
#include "core/components/component_table.h"
#include "core/components/retention_time_table.h"
#include "core/messages/message_log.h"
#include "core/report/odt_report.h"
#include "core/report/report_document.h"
#include "test_files.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace talvex::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TALVEX_SOURCE_DIR;

void CopyData(const fs::path& folder) {
    for (const char* name : {"Comps.csv", "TableSection7.csv", "TableSection8.csv", "CompsTime.csv"})
        fs::copy_file(kSource / "data" / name, folder / name, fs::copy_options::overwrite_existing);
}

// The example session's report document with a line telling the versions apart.
pugi::xml_document& Report(int version) {
    static std::unique_ptr<pugi::xml_document> reports[2];
    if (!reports[0]) {
        MemorySettingsStore settings;
        Session session(settings, kSource / "data");
        if (!session.LoadComponents().empty() || !TypeExampleDegassing(session.Degassing(), 3) ||
            !session.AddFiles(ChromatogramFilesIn(kSource / "examples")))
            throw std::runtime_error("the example session does not load");
        for (int v = 0; v < 2; ++v) {
            reports[v] = std::make_unique<pugi::xml_document>();
            BuildReportDocument(*reports[v], {session.Chromatograms(), session.Section7(),
                                              session.Condensate(), session.Nlh(), settings,
                                              v ? "ГХ-2 (второй)" : "ГХ-2", 1700000000 + v * 86400});
        }
    }
    return *reports[version];
}

std::string ZipContent(const fs::path& file) {
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive)
        return {};
    std::string bytes;
    zip_stat_t st;
    zip_file_t* entry = nullptr;
    if (zip_stat(archive, "content.xml", 0, &st) == 0 && (entry = zip_fopen(archive, "content.xml", 0))) {
        std::string data(st.size, '\0');
        if (zip_fread(entry, data.data(), data.size()) == static_cast<zip_int64_t>(data.size()))
            bytes = std::move(data);
        zip_fclose(entry);
    }
    zip_discard(archive);
    return bytes;
}

std::string WholeBytes(const fs::path& file) {
    return ReadBytes(file);
}

std::string JsonText(int version) {
    // Results of a size like the example session's: a few hundred kilobytes.
    std::string text = "{\"version\": " + std::to_string(version) + ", \"values\": [";
    for (int i = 0; i < 20000; ++i)
        text += (i ? ", " : "") + std::to_string(i * (version + 1));
    return text + "]}\n";
}

} // namespace

std::vector<SaveKind> SaveKinds() {
    std::vector<SaveKind> kinds;
    kinds.push_back({"Comps.csv", "Comps.csv", CopyData,
                     [](const fs::path& folder) -> Saver {
                         auto table = std::make_shared<ComponentTable>();
                         if (!table->LoadComponents(folder).empty())
                             throw std::runtime_error("the data folder does not load");
                         return [table, folder](int version, std::string& error) {
                             table->records[0].displayName = version ? "Метан (второй)" : "Метан";
                             return table->SaveComponents(folder, &error);
                         };
                     },
                     WholeBytes});
    kinds.push_back({"CompsTime.csv", "CompsTime.csv", CopyData,
                     [](const fs::path& folder) -> Saver {
                         auto components = std::make_shared<ComponentTable>();
                         auto table = std::make_shared<RetentionTimeTable>();
                         MessageLog log;
                         std::string error;
                         components->LoadComponents(folder);
                         if (!table->LoadTable(folder, *components, log, &error) || table->Records().empty())
                             throw std::runtime_error("CompsTime.csv does not load: " + error);
                         // Sorted as the save sorts, so that the edited row stays the first one.
                         table->SortByGasTime();
                         return [components, table, folder](int version, std::string& error) {
                             table->SetCell(0, RetentionTimeTable::kNameColumn,
                                            version ? "Метка 2" : "Метка 1");
                             return table->SaveIfModified(folder, &error);
                         };
                     },
                     WholeBytes});
    kinds.push_back({"report.xml", "report.xml", [](const fs::path&) {},
                     [](const fs::path& folder) -> Saver {
                         Report(0);
                         return [folder](int version, std::string& error) {
                             return SaveReportXml(Report(version), folder / "report.xml", error);
                         };
                     },
                     WholeBytes});
    kinds.push_back({"report.odt", "report.odt", [](const fs::path&) {},
                     [](const fs::path& folder) -> Saver {
                         Report(0);
                         return [folder](int version, std::string& error) {
                             const std::int32_t result =
                                 WriteOdtReport(Report(version), kSource / "templates" / "Template_tlvx.odt",
                                                folder / "report.odt");
                             error = OdtReportResultText(result);
                             return result == 0;
                         };
                     },
                     ZipContent});
    kinds.push_back({"results.json", "results.json", [](const fs::path&) {},
                     [](const fs::path& folder) -> Saver {
                         return [folder](int version, std::string& error) {
                             return WriteFileAtomically(folder / "results.json", JsonText(version), &error);
                         };
                     },
                     WholeBytes});
    return kinds;
}

} // namespace talvex::testing
