// Writes the seed corpora of the chromatogram targets from talvex-synth's runs: a small run in every
// passport version, table layout and version, string form and date-time form, as whole files and as the
// single streams, plus the damaged files the chromatogram tests refuse. Run by fuzz/make-seeds.sh; the
// output is committed under fuzz/corpus.
#include "stg_writer.h"
#include "synthetic_run.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using talvex::synth::StgContent;

void Put(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> FileBytes(const StgContent& content) {
    const fs::path scratch = fs::temp_directory_path() / "talvex-seed.stg";
    std::string error;
    if (!talvex::synth::WriteStg(scratch.string(), content, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    std::ifstream in(scratch, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(scratch);
    return bytes;
}

// A short run: few samples and peaks keep the seeds small and fast.
talvex::synth::RunOptions Small(int passport, int table, bool legacy, bool wide, bool longDates) {
    talvex::synth::RunOptions o;
    o.samples = 400;
    o.peaks = 4;
    o.step = 0.01;
    o.passportVersion = passport;
    o.tableLayout = legacy ? talvex::synth::TableLayout::Legacy : talvex::synth::TableLayout::Versioned;
    o.tableVersion = table;
    o.strings = wide ? talvex::synth::StringForm::Utf16 : talvex::synth::StringForm::OneByte;
    o.dates = longDates ? talvex::synth::DateTimeForm::Long : talvex::synth::DateTimeForm::Short;
    o.sampleName = "ДК проба 1";
    o.method = "ПИД конденсат";
    o.operatorName = "Оператор";
    o.samplingPoint = "Скв. 12";
    o.samplingSite = "Куст 3";
    o.comment = "seed";
    return o;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    int n = 0;
    for (int passport = 1; passport <= 3; ++passport)
        for (int table = -1; table <= 4; ++table) {
            const bool legacy = table < 0;
            const bool wide = (passport + table) % 2 != 0;
            const bool longDates = passport == 3 && table >= 3;
            StgContent c =
                talvex::synth::BuildRun(Small(passport, legacy ? 4 : table, legacy, wide, longDates));
            const std::string name = "p" + std::to_string(passport) + "-" +
                                     (legacy ? std::string("legacy") : "t" + std::to_string(table)) +
                                     (wide ? "-wide" : "") + (longDates ? "-long" : "");
            Put(corpus / "stg_file" / (name + ".stg"), FileBytes(c));
            Put(corpus / "passport" / (name + ".bin"), talvex::synth::EncodePassport(c));
            Put(corpus / "peak_table" / (name + ".bin"), talvex::synth::EncodeTable(c));
            // the signal target takes a length byte, the "Time" stream, then "Raw_data"
            std::vector<std::uint8_t> signal = talvex::synth::EncodeTime(c);
            signal.insert(signal.begin(), static_cast<std::uint8_t>(signal.size()));
            const std::vector<std::uint8_t> raw = talvex::synth::EncodeRawData(c);
            signal.insert(signal.end(), raw.begin(),
                          raw.begin() + static_cast<std::ptrdiff_t>(raw.size() / 4));
            if (passport == 3)
                Put(corpus / "signal_time" / (name + ".bin"), signal);
            // the archive-values target: a choice byte, then the passport's strings and date-times
            std::vector<std::uint8_t> values = talvex::synth::EncodePassport(c);
            values.insert(values.begin(), static_cast<std::uint8_t>(0x0F << (n % 4)));
            Put(corpus / "archive_values" / (name + ".bin"), values);
            ++n;
        }

    // Damaged files, as the chromatogram tests make them.
    StgContent base = talvex::synth::BuildRun(Small(3, 4, false, false, false));
    auto damaged = [&](const char* name, auto edit) {
        StgContent c = base;
        edit(c);
        Put(corpus / "stg_file" / (std::string("damaged-") + name + ".stg"), FileBytes(c));
    };
    damaged("no-table", [](StgContent& c) { c.streamOverrides["Table"] = std::nullopt; });
    damaged("passport-version-4", [](StgContent& c) { c.passportVersion = 4; });
    damaged("table-version-5", [](StgContent& c) { c.tableVersion = 5; });
    damaged("one-sample", [](StgContent& c) { c.samples.resize(1); });
    damaged("passport-cut", [](StgContent& c) {
        auto p = talvex::synth::EncodePassport(c);
        p.resize(p.size() - 3);
        c.streamOverrides["Passport"] = p;
    });
    damaged("peak-count-beyond", [](StgContent& c) {
        auto t = talvex::synth::EncodeTable(c);
        t[12] = t[13] = t[14] = 0xFF;
        t[15] = 0x7F;
        c.streamOverrides["Table"] = t;
    });
    std::printf("%d runs written to %s\n", n, corpus.c_str());
    return 0;
}
