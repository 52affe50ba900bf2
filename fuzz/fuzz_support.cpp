#include "fuzz_support.h"

#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/settings_store.h"
#include "core/report/report_document.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace talvex::fuzz {
namespace {

namespace fs = std::filesystem;

void Die(const std::string& what) {
    std::fprintf(stderr, "fuzz set-up failed: %s\n", what.c_str());
    std::abort();
}

struct Scratch {
    fs::path folder;
    Scratch() {
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "talvex-fuzz-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!::mkdtemp(name.data()))
            Die("cannot make a scratch folder in " + base.string());
        folder = name.data();
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

} // namespace

const fs::path& ScratchFolder() {
    static const Scratch scratch;
    return scratch.folder;
}

void WriteWholeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        Die("cannot write " + path.string());
}

void CopyShippedData(const fs::path& folder) {
    fs::create_directories(folder);
    // The first lines of each file: enough components and norms for every path, few enough that an input
    // costs milliseconds rather than the whole database's load.
    for (const char* name : {"Comps.csv", "TableSection7.csv", "TableSection8.csv", "CompsTime.csv"}) {
        std::ifstream in(SourceDir() / "data" / name, std::ios::binary);
        std::string head, line;
        for (int i = 0; i < 40 && std::getline(in, line); ++i)
            head += line + "\n";
        WriteWholeFile(folder / name, head);
    }
}

fs::path SourceDir() {
    return TALVEX_SOURCE_DIR;
}

const pugi::xml_document& ExampleReport() {
    static const pugi::xml_document* report = [] {
        auto* doc = new pugi::xml_document;
        MemorySettingsStore settings;
        Session session(settings, SourceDir() / "data");
        if (!session.LoadComponents().empty() || !TypeExampleDegassing(session.Degassing(), 3) ||
            !session.AddFiles(ChromatogramFilesIn(SourceDir() / "examples")))
            Die("the example session does not load");
        BuildReportDocument(*doc, {session.Chromatograms(), session.Section7(), session.Condensate(),
                                   session.Nlh(), settings, "ГХ-2", 1700000000});
        return doc;
    }();
    return *report;
}

} // namespace talvex::fuzz
