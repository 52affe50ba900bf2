// `talvex-cli chart` against an archive held in memory (the database's test double; the chart, its
// outputs and the command are the real ones).
#include "cli/chart_command.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace talvex::cli {
namespace {

using namespace controlchart;

class MemorySource : public ControlSource {
public:
    std::vector<ControlObservation> observations;
    std::vector<PhaseStart> phases;
    SeriesQuery lastQuery;

    std::vector<ControlObservation> Observations(const SeriesQuery& query) override {
        lastQuery = query;
        std::vector<ControlObservation> out;
        for (const ControlObservation& o : observations) {
            const SeriesKey& k = o.key;
            if (k.kind != query.key.kind || k.medium != query.key.medium || k.list != query.key.list ||
                k.component != query.key.component)
                continue;
            if ((query.from && o.time < *query.from) || (query.to && o.time > *query.to))
                continue;
            out.push_back(o);
        }
        return out;
    }
    std::vector<PhaseStart> Phases(const SeriesKey&) override { return phases; }
};

constexpr std::int64_t kT0 = 1704067200; // 2024-01-01T00:00:00Z
constexpr std::int64_t kDay = 86400;

ControlObservation Oke(std::int64_t day, double measured, double reference, double limit,
                       const char* record) {
    ControlObservation o;
    o.key = {ControlKind::Oke, ControlMedium::Gas, "", "Метан"};
    o.time = kT0 + day * kDay;
    o.sample = "ГСО " + std::to_string(day);
    o.measured = measured;
    o.reference = reference;
    o.difference = std::fabs(measured - reference);
    o.limit = limit;
    o.record = record;
    o.imported = std::string(record).empty();
    return o;
}

ChartOptions Parse(const std::vector<std::string>& args) {
    std::string error;
    auto options = ParseChartOptions(args, error);
    EXPECT_TRUE(options) << error;
    return options.value_or(ChartOptions{});
}

std::vector<std::string> OkeArgs(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--archive", "mem", "--kind",      "oke",
                                     "--medium",  "gas", "--component", "Метан"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(ChartOptions, WrongUsageIsRefusedWithTheReason) {
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{"--kind", "okp", "--medium", "gas", "--component", "Метан"}, "--archive"},
        {{"--archive", "a", "--kind", "okp", "--medium", "gas"}, "--component"},
        {{"--archive", "a", "--kind", "xyz", "--medium", "gas", "--component", "Метан"}, "okp or oke"},
        {{"--archive", "a", "--kind", "okp", "--medium", "water", "--component", "Метан"},
         "gas or condensate"},
        {{"--archive", "a", "--kind", "okp", "--medium", "gas", "--list", "A", "--component", "Метан"},
         "component or fractional"},
        {{"--archive", "a", "--kind", "okp", "--medium", "condensate", "--list", "component", "--component",
          "x"},
         "A or B"},
        {OkeArgs({"--list", "A"}), "okp only"},
        {OkeArgs({"--from", "2024-13-01"}), "--from takes a date"},
        {OkeArgs({"--to", "31.02.2024"}), "--to takes a date"},
        {OkeArgs({"--from", "02.01.2024", "--to", "01.01.2024"}), "after --to"},
        {OkeArgs({"--png"}), "needs a value"},
        {OkeArgs({"--colour", "red"}), "unknown option"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseChartOptions(c.args, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(ChartOptions, DefaultListsAndDateBounds) {
    EXPECT_EQ(
        Parse({"--archive", "a", "--kind", "okp", "--medium", "gas", "--component", "x"}).query.key.list,
        "component");
    EXPECT_EQ(Parse({"--archive", "a", "--kind", "okp", "--medium", "condensate", "--component", "x"})
                  .query.key.list,
              "A");
    EXPECT_EQ(Parse(OkeArgs()).query.key.list, "");
    // The tests run with TZ=UTC; a --to without a time takes its whole day.
    const ChartOptions o = Parse(OkeArgs({"--from=01.01.2024", "--to", "2024-01-02"}));
    EXPECT_EQ(o.query.from, kT0);
    EXPECT_EQ(o.query.to, kT0 + 2 * kDay - 1);
    EXPECT_EQ(Parse(OkeArgs({"--to", "02.01.2024 10:30"})).query.to, kT0 + kDay + 10 * 3600 + 30 * 60);
}

class ChartCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // Two points beyond +1 (rule 4 at the second), an imported one, an excluded one, one without a limit.
        source_.observations = {Oke(0, 5.3, 5.0, 0.2, "r1"), Oke(1, 5.25, 5.0, 0.2, "r2"),
                                Oke(2, 4.95, 5.0, 0.2, ""), Oke(3, 4.0, 5.0, 0.2, "r4"),
                                Oke(4, 5.1, 5.0, std::nan(""), "r5")};
        source_.observations[3].excluded = true;
        source_.observations[3].exclusionReason = "ошибка ввода";
        source_.phases = {{kT0 + 2 * kDay, "Новый этап: замена колонки"}};
    }

    int Run(const std::vector<std::string>& args) {
        out_.str({});
        err_.str({});
        std::string error;
        const auto options = ParseChartOptions(args, error);
        EXPECT_TRUE(options) << error;
        return WriteChart(*options, source_, library_, out_, err_);
    }

    MemorySource source_;
    std::filesystem::path library_ = std::filesystem::path(TALVEX_BIN_DIR) / "libtalvex_chartpaint.so";
    std::ostringstream out_, err_;
    testing::TempFolder dir_;
};

TEST_F(ChartCommand, JsonHasTheAgreedShape) {
    ASSERT_EQ(Run(OkeArgs({"--json"})), 0) << err_.str();
    const std::string text = out_.str();
    EXPECT_EQ(text.substr(0, text.find("\"points\"")),
              "{\"kind\":\"oke\",\"medium\":\"gas\",\"list\":\"\",\"component\":\"Метан\",\"centre\":0,"
              "\"warning\":[-1,1],\"action\":[-1.5,1.5],\"phases\":[{\"from\":\"2024-01-03T00:00:00Z\","
              "\"reason\":\"Новый этап: замена колонки\"}],");
    EXPECT_NE(
        text.find("{\"time\":\"2024-01-01T00:00:00Z\",\"sample\":\"ГСО 0\",\"measured\":5.3,\"reference\":5,"
                  "\"q\":1.4999999999999991,\"record\":\"r1\",\"imported\":false,\"excluded\":false}"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("\"record\":null,\"imported\":true,\"excluded\":false}"), std::string::npos) << text;
    EXPECT_NE(text.find("\"imported\":false,\"excluded\":true}"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.find("\"signals\"")), "\"signals\":[{\"rule\":4,\"points\":[0,1]}]}\n");
    EXPECT_EQ(text.find("2024-01-05"), std::string::npos); // no point without a limit
}

TEST_F(ChartCommand, SummaryNamesSignalsPhasesAndObservationsWithoutPoint) {
    ASSERT_EQ(Run(OkeArgs()), 0);
    const std::string text = out_.str();
    EXPECT_NE(text.find("Точек: 4, без точки: 1, сигналов: 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Сигнал, правило 4"), std::string::npos) << text;
    EXPECT_NE(text.find("Этап с 2024-01-03T00:00:00Z: Новый этап"), std::string::npos) << text;
    EXPECT_NE(text.find("ГСО 4: нет диапазона нормы"), std::string::npos) << text;
}

TEST_F(ChartCommand, DatesBoundTheQuery) {
    ASSERT_EQ(Run(OkeArgs({"--from", "02.01.2024", "--to", "03.01.2024", "--json"})), 0);
    EXPECT_EQ(source_.lastQuery.from, kT0 + kDay);
    EXPECT_EQ(source_.lastQuery.to, kT0 + 3 * kDay - 1);
    const std::string text = out_.str();
    EXPECT_EQ(text.find("ГСО 0"), std::string::npos);
    EXPECT_NE(text.find("ГСО 1"), std::string::npos);
    EXPECT_NE(text.find("ГСО 2"), std::string::npos);
    EXPECT_EQ(text.find("ГСО 3"), std::string::npos);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(ChartCommand, CsvAndSvgFiles) {
    const auto csv = dir_.path() / "chart.csv";
    const auto svg = dir_.path() / "chart.svg";
    ASSERT_EQ(Run(OkeArgs({"--csv", csv.string(), "--svg", svg.string()})), 0) << err_.str();
    EXPECT_TRUE(out_.str().empty());
    const std::string table = ReadAll(csv);
    EXPECT_EQ(table.substr(0, table.find("\r\n")),
              "№;время;проба;измерено;опорное;q;этап;запись;импорт;исключена;причина исключения;сигналы");
    EXPECT_NE(table.find("\r\n2;2024-01-02T00:00:00Z;ГСО 1;5.25;5;1.25;0;r2;нет;нет;;4\r\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("\r\n4;2024-01-04T00:00:00Z;ГСО 3;4;5;-5;1;r4;нет;да;ошибка ввода;\r\n"),
              std::string::npos)
        << table;
    const std::string picture = ReadAll(svg);
    EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
    EXPECT_NE(picture.find("правило 4: 2 из 3 точек подряд за одной предупреждающей границей</title>"),
              std::string::npos);
    EXPECT_NE(picture.find("fill=\"#d50000\""), std::string::npos); // the signal in red
    EXPECT_NE(picture.find("исключена из правил: ошибка ввода"), std::string::npos);
    EXPECT_NE(picture.find("<rect x="), std::string::npos); // the imported point
    EXPECT_NE(picture.find(">Новый этап: замена колонки</text>"), std::string::npos);
    EXPECT_NE(picture.find(">действия +1.5</text>"), std::string::npos);
    EXPECT_NE(picture.find(">предупреждения -1</text>"), std::string::npos);
}

TEST_F(ChartCommand, TextCellsAreQuotedAndEscaped) {
    source_.observations.resize(1);
    source_.observations[0].sample = "ГСО \"2\"; <повтор> & ещё\x01";
    const auto csv = dir_.path() / "chart.csv";
    const auto svg = dir_.path() / "chart.svg";
    ASSERT_EQ(Run(OkeArgs({"--csv", csv.string(), "--svg", svg.string(), "--json"})), 0) << err_.str();
    EXPECT_NE(ReadAll(csv).find(";\"ГСО \"\"2\"\"; <повтор> & ещё\x01\";"), std::string::npos)
        << ReadAll(csv);
    EXPECT_NE(ReadAll(svg).find("ГСО &quot;2&quot;; &lt;повтор&gt; &amp; ещё \nq = "), std::string::npos);
    EXPECT_NE(out_.str().find("\"sample\":\"ГСО \\\"2\\\"; <повтор> & ещё\\u0001\""), std::string::npos)
        << out_.str();
}

TEST_F(ChartCommand, MissingPictureLibraryIsAClearFailure) {
    library_ = dir_.path() / "no-such-library.so";
    const auto png = dir_.path() / "chart.png";
    const auto svg = dir_.path() / "chart.svg";
    EXPECT_EQ(Run(OkeArgs({"--png", png.string(), "--svg", svg.string()})), 1);
    EXPECT_NE(err_.str().find("нет библиотеки рисования карт"), std::string::npos) << err_.str();
    EXPECT_FALSE(std::filesystem::exists(png));
    EXPECT_TRUE(std::filesystem::exists(svg)); // the other outputs are still written
}

TEST_F(ChartCommand, UnwritableFileFails) {
    EXPECT_EQ(Run(OkeArgs({"--csv", (dir_.path() / "missing" / "chart.csv").string()})), 1);
    EXPECT_NE(err_.str().find("chart.csv"), std::string::npos);
}

} // namespace
} // namespace talvex::cli

namespace talvex::cli {
namespace {

// Sixty ОКП results over a year with a trend, an excursion, an exclusion, imports and a new phase.
MemorySource Laboratory() {
    MemorySource source;
    for (int i = 0; i < 60; ++i) {
        ControlObservation o;
        o.key = {ControlKind::Okp, ControlMedium::Gas, "component", "Метан"};
        o.time = kT0 + i * 6 * kDay;
        o.sample = "Проба " + std::to_string(100 + i);
        o.reference = 90.0;
        const double q = i == 20               ? 1.45
                         : (i >= 40 && i < 46) ? 0.2 + 0.15 * (i - 40)
                                               : 0.1 + 0.07 * ((i * 7) % 11);
        o.limit = 1.9;
        o.difference = q * o.limit;
        o.measured = o.reference + o.difference;
        o.imported = i < 12;
        o.record = o.imported ? "" : "rec-" + std::to_string(i);
        o.excluded = i == 33;
        o.exclusionReason = o.excluded ? "сбой дозатора" : "";
        source.observations.push_back(o);
    }
    source.phases = {{kT0 + 30 * 6 * kDay, "Новый этап: после ремонта"}};
    return source;
}

// The same results as the control with a standard: signed values around zero.
MemorySource AsStandard(MemorySource source) {
    for (std::size_t i = 0; i < source.observations.size(); ++i) {
        ControlObservation& o = source.observations[i];
        o.key = {ControlKind::Oke, ControlMedium::Gas, "", "Метан"};
        o.measured = o.reference + (i % 2 ? -1 : 1) * o.difference;
    }
    return source;
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

TEST(ChartPictures, PngAndPdfAreDrawnByTheLibrary) {
    for (const char* kind : {"okp", "oke"}) {
        SCOPED_TRACE(kind);
        MemorySource source = std::string(kind) == "okp" ? Laboratory() : AsStandard(Laboratory());
        testing::TempFolder dir;
        const auto png = dir.path() / "chart.png";
        const auto pdf = dir.path() / "chart.pdf";
        std::string error;
        const auto options =
            ParseChartOptions({"--archive", "mem", "--kind", kind, "--medium", "gas", "--component", "Метан",
                               "--png", png.string(), "--pdf", pdf.string()},
                              error);
        ASSERT_TRUE(options) << error;
        std::ostringstream out, err;
        ASSERT_EQ(WriteChart(*options, source,
                             std::filesystem::path(TALVEX_BIN_DIR) / "libtalvex_chartpaint.so", out, err),
                  0)
            << err.str();
        const std::string image = ReadAll(png);
        ASSERT_GT(image.size(), 1000u);
        EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1a\n");
        EXPECT_EQ(BigEndian(image, 16), 1440u); // IHDR: 240 x 130 mm at about 150 dpi
        EXPECT_EQ(BigEndian(image, 20), 780u);
        EXPECT_EQ(ReadAll(pdf).substr(0, 5), "%PDF-");
    }
}

} // namespace
} // namespace talvex::cli
