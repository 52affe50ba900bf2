// Writing the ODT report of the bundled example session with the shipped template (target: under 100 ms),
// and building the report document it is filled from.
#include "app/session.h"
#include "report/odt_report.h"
#include "report/report_document.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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
    DegassingPage& page = e.session->Degassing();
    page.SetMethod(MethodA, 3);
    page.TypeValue(DegassingField::AtmPressure, "99,8", 3);
    page.TypeValue(DegassingField::GasTemperature, "293,6", 3);
    page.TypeValue(DegassingField::GasVolume1, "0.0118", 3);
    page.TypeValue(DegassingField::GasVolume2, "0.0004", 3);
    page.TypeValue(DegassingField::CondMass1, "84.6", 3);
    page.TypeValue(DegassingField::CondMass2, "1.7", 3);
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(fs::path(TALVEX_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".stg")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
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
        if (WriteOdtReport(doc, templatePath, output, false) != 0)
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
