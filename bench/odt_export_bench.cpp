// Writing the ODT report of the bundled example session with the shipped template (target: under 100 ms),
// and building the report document it is filled from.
#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/report/odt_report.h"
#include "core/report/report_document.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace talvex;

struct Example {
    MemorySettingsStore profile;
    std::unique_ptr<Session> session;
    fs::path dir;
};

// The example session with the degassing inputs of the README's demo.
Example& ExampleSession() {
    static Example e;
    if (e.session)
        return e;
    e.session = std::make_unique<Session>(e.profile, fs::path(TALVEX_SOURCE_DIR) / "data");
    e.session->LoadComponents();
    TypeExampleDegassing(e.session->Degassing(), 3);
    const std::vector<std::string> files = ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples");
    std::string pattern = (fs::temp_directory_path() / "talvex-bench-XXXXXX").string();
    if (!e.session->AddFiles(files) || !::mkdtemp(pattern.data())) {
        std::cerr << "the example session did not load\n";
        std::exit(1);
    }
    e.dir = pattern;
    return e;
}

ReportInputs Inputs(Example& e) {
    return {e.session->Chromatograms(),
            e.session->Section7(),
            e.session->Condensate(),
            e.session->Nlh(),
            e.profile,
            "ГХ-2",
            1700000000};
}

void BM_BuildReportDocument(benchmark::State& state) {
    Example& e = ExampleSession();
    pugi::xml_document doc;
    for (auto _ : state)
        BuildReportDocument(doc, Inputs(e));
}
BENCHMARK(BM_BuildReportDocument)->Unit(benchmark::kMillisecond);

void BM_ExportOdtReport(benchmark::State& state) {
    Example& e = ExampleSession();
    pugi::xml_document doc;
    BuildReportDocument(doc, Inputs(e));
    const fs::path templatePath = fs::path(TALVEX_SOURCE_DIR) / "templates" / "Template_tlvx.odt";
    const fs::path output = e.dir / "report.odt";
    for (auto _ : state)
        if (WriteOdtReport(doc, templatePath, output) != 0)
            state.SkipWithError("the export failed");
}
BENCHMARK(BM_ExportOdtReport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    if (!ExampleSession().dir.empty())
        fs::remove_all(ExampleSession().dir, ignored);
    std::cout << "target: the ODT export under 100 ms\n";
    return 0;
}
