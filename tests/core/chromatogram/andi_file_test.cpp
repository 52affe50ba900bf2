#include "core/chromatogram/andi_file.h"

#include "andi_builder.h"
#include "core/app/chromatogram_folder.h"
#include "core/chromatogram/chromatogram_path.h"
#include "stg_writer.h"
#include "synthetic_run.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <unistd.h>

namespace talvex {
namespace {

using testing::AndiBuilder;

ReadResult Load(const AndiBuilder& b, CChmFile& chm) {
    const std::string bytes = b.Bytes();
    return LoadAndiMemory({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, chm);
}

CChmFile LoadOk(const AndiBuilder& b) {
    CChmFile chm;
    const ReadResult r = Load(b, chm);
    EXPECT_TRUE(r.ok) << r.reason;
    return chm;
}

std::string Refusal(const std::string& bytes) {
    CChmFile chm;
    const ReadResult r =
        LoadAndiMemory({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, chm);
    EXPECT_FALSE(r.ok);
    return r.reason;
}

TEST(AndiReader, ReadsSignalTimeAxisPassportAndRecomputedPeaks) {
    const CChmFile chm = LoadOk(AndiBuilder::Standard());
    EXPECT_EQ(chm.signal.samples, (std::vector<float>{0, 0, 2, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(chm.signal.startTime, 0.0);
    EXPECT_EQ(chm.signal.step, 0.5);
    EXPECT_EQ(chm.passport.sampleName, "Проба 1");
    EXPECT_EQ(chm.passport.method, "ПИД ГД");
    EXPECT_EQ(chm.passport.analysisTime, 1700000000);
    EXPECT_EQ(chm.passport.samplingTime, 1700000000);
    ASSERT_EQ(chm.peaks.size(), 2u);
    EXPECT_EQ(chm.peaks[0].name, "Метан");
    EXPECT_EQ(chm.peaks[0].beginTime, 0.5);
    EXPECT_EQ(chm.peaks[0].endTime, 1.5);
    EXPECT_EQ(chm.peaks[0].storedValue, 60.0);
    EXPECT_EQ(chm.peaks[0].retentionTime, 1.0);
    EXPECT_EQ(chm.peaks[0].area, 1.0);
    EXPECT_EQ(chm.peaks[0].height, 2.0);
    EXPECT_EQ(chm.peaks[1].name, "");
    EXPECT_EQ(chm.peaks[1].index, 1);
    EXPECT_EQ(chm.peaks[1].retentionTime, 3.0);
    EXPECT_EQ(chm.peaks[1].area, 0.5);
    EXPECT_EQ(chm.peaks[1].nextLinked, -1);
    EXPECT_EQ(chm.peaks[1].prevLinked, -1);
}

TEST(AndiReader, MapsEveryPassportField) {
    AndiBuilder b = AndiBuilder::Standard();
    b.Text("operator_name", "Петров")
        .Text("sample_id_comments", "строка 1")
        .Text("sample_type", "Calibration Standard")
        .Scalar("actual_run_time_length", 2400)
        .Text("talvex_sampling_point", "Сепаратор 1")
        .Text("talvex_sampling_site", "УКПГ-2")
        .Text("talvex_eluent", "гелий")
        .Text("talvex_reagent", "нет")
        .Number("talvex_volume", 0.25)
        .Number("talvex_dilution", 2)
        .Number("talvex_norm", 50)
        .Number("talvex_series_no", 7)
        .Text("talvex_sampling_date_time_stamp", "20231114000000+0000");
    const CPassport p = LoadOk(b).passport;
    EXPECT_EQ(p.operatorName, "Петров");
    EXPECT_EQ(p.comment, "строка 1");
    EXPECT_EQ(p.calibrationFlag, 1);
    EXPECT_EQ(p.duration, 40.0);
    EXPECT_EQ(p.samplingPoint, "Сепаратор 1");
    EXPECT_EQ(p.samplingSite, "УКПГ-2");
    EXPECT_EQ(p.eluent, "гелий");
    EXPECT_EQ(p.reagent, "нет");
    EXPECT_EQ(p.volume, 0.25);
    EXPECT_EQ(p.dilution, 2.0);
    EXPECT_EQ(p.norm, 50.0);
    EXPECT_EQ(p.seriesNo, 7);
    EXPECT_EQ(p.samplingTime, 1699920000);
    EXPECT_EQ(p.analysisTime, 1700000000);

    // Without the extra attributes every other field keeps its default.
    const CPassport d = LoadOk(AndiBuilder::Standard().Text("sample_type", "test")).passport;
    EXPECT_EQ(d.calibrationFlag, 0);
    EXPECT_EQ(d.volume, 1.0);
    EXPECT_EQ(d.dilution, 1.0);
    EXPECT_EQ(d.norm, 100.0);
    EXPECT_EQ(d.duration, 0.0);
    EXPECT_EQ(d.seriesNo, 0);
    EXPECT_EQ(d.operatorName, "");
    EXPECT_EQ(d.samplingSite, "");
}

TEST(AndiReader, MethodIsTheFirstNonEmptyOfThreeAttributes) {
    AndiBuilder b = AndiBuilder::Standard();
    b.Text("company_method_name", "  ")
        .Text("detection_method_name", "ДТП-1 ГД")
        .Text("detector_name", "TCD");
    EXPECT_EQ(LoadOk(b).passport.method, "ДТП-1 ГД");
    b.Remove("detection_method_name");
    EXPECT_EQ(LoadOk(b).passport.method, "TCD");
    b.Text("company_method_name", "D:\\Методы\\ПИД ГД.met");
    EXPECT_EQ(LoadOk(b).passport.method, "D:\\Методы\\ПИД ГД.met");
}

TEST(AndiReader, TextsAreUtf8OrWindows1251WithoutTrailingNulsAndBlanks) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"Проба 2", "Проба 2"},
        {"\xcf\xf0\xee\xe1\xe0 3", "Проба 3"}, // Windows-1251
        {std::string("Проба 4  \0\0", 15), "Проба 4"},
        {std::string("\xcf\xd0\xce\xc1\xc0\0", 6), "ПРОБА"},
    };
    for (const auto& c : cases) {
        const CChmFile chm = LoadOk(AndiBuilder::Standard().Text("sample_name", c.bytes));
        EXPECT_EQ(chm.passport.sampleName, c.text);
    }
    const CChmFile names = LoadOk(AndiBuilder::Standard().Names({"\xcc\xe5\xf2\xe0\xed", "Этан  "}));
    EXPECT_EQ(names.peaks[0].name, "Метан");
    EXPECT_EQ(names.peaks[1].name, "Этан");
}

TEST(AndiReader, DateStampWithoutZoneIsLocalTime) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", "Europe/Moscow", 1); // UTC+3 all year since 2014
    ::tzset();
    const CPassport local =
        LoadOk(AndiBuilder::Standard().Text("injection_date_time_stamp", "20231115011320")).passport;
    const CPassport zoned =
        LoadOk(AndiBuilder::Standard().Text("injection_date_time_stamp", "20231114171320-0500")).passport;
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(local.analysisTime, 1700000000);
    EXPECT_EQ(zoned.analysisTime, 1700000000);
}

TEST(AndiReader, TimesAreConvertedByTheRetentionUnit) {
    const struct {
        const char* unit; // nullptr: attribute absent
        double interval;
        double start;
    } cases[] = {
        {"Seconds", 30, 15},    {nullptr, 30, 15},        {" SECONDS ", 30, 15},
        {"Minutes", 0.5, 0.25}, {"minutes  ", 0.5, 0.25},
    };
    for (const auto& c : cases) {
        AndiBuilder b = AndiBuilder::Standard();
        if (c.unit)
            b.Text("retention_unit", c.unit);
        else
            b.Remove("retention_unit");
        const double perUnit = c.interval == 30 ? 60.0 : 1.0;
        b.Scalar("actual_sampling_interval", c.interval)
            .Scalar("actual_delay_time", c.start)
            .Array("peak_start_time", "peak_number", {0.5 * perUnit, 2.5 * perUnit})
            .Array("peak_end_time", "peak_number", {1.5 * perUnit, 3.5 * perUnit});
        const CChmFile chm = LoadOk(b);
        SCOPED_TRACE(c.unit ? c.unit : "(absent)");
        EXPECT_EQ(chm.signal.step, 0.5);
        EXPECT_EQ(chm.signal.startTime, 0.25);
        EXPECT_EQ(chm.peaks[0].beginTime, 0.5);
        EXPECT_EQ(chm.peaks[1].endTime, 3.5);
    }
    CChmFile chm;
    const ReadResult r = Load(AndiBuilder::Standard().Text("retention_unit", "Hours"), chm);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.reason.find("\"Hours\""), std::string::npos) << r.reason;
}

TEST(AndiReader, AnyNumericTypeIsReadAsDouble) {
    for (const nc_type type : {NC_BYTE, NC_SHORT, NC_INT, NC_FLOAT, NC_DOUBLE}) {
        AndiBuilder b = AndiBuilder::Standard();
        b.Array("ordinate_values", "point_number", {0, 0, 2, 0, 0, 0, 1, 0, 0}, type)
            .Scalar("actual_sampling_interval", 30, type)
            .Scalar("actual_delay_time", 0, type)
            .Array("peak_start_time", "peak_number", {30, 150}, type)
            .Array("peak_end_time", "peak_number", {90, 210}, type);
        const CChmFile chm = LoadOk(b);
        SCOPED_TRACE(type);
        EXPECT_EQ(chm.signal.samples, (std::vector<float>{0, 0, 2, 0, 0, 0, 1, 0, 0}));
        EXPECT_EQ(chm.signal.step, 0.5);
        EXPECT_EQ(chm.peaks[0].area, 1.0);
    }
    // A double signal becomes float32 like every signal.
    const CChmFile wide = LoadOk(AndiBuilder::Standard().Array("ordinate_values", "point_number",
                                                               {0.1, 0, 2, 0, 0, 0, 1, 0, 0}, NC_DOUBLE));
    EXPECT_EQ(wide.signal.samples[0], 0.1f);
}

TEST(AndiReader, EvenRetentionTimesStandInForAMissingInterval) {
    AndiBuilder b = AndiBuilder::Standard();
    b.Remove("actual_sampling_interval")
        .Remove("actual_delay_time")
        .Array("raw_data_retention", "point_number", {60, 90, 120, 150, 180, 210, 240, 270, 300});
    const CChmFile chm = LoadOk(b);
    EXPECT_EQ(chm.signal.startTime, 1.0);
    EXPECT_EQ(chm.signal.step, 0.5);

    b.Array("raw_data_retention", "point_number", {60, 90, 120, 150, 185, 210, 240, 270, 300});
    CChmFile uneven;
    const ReadResult r = Load(b, uneven);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.reason.find("not evenly spaced"), std::string::npos) << r.reason;
}

TEST(AndiReader, PeaksWithoutBoundsAreLeftOutAndCounted) {
    CChmFile chm;
    ReadResult r = Load(AndiBuilder::Standard().Array("peak_start_time", "peak_number", {-9999, 150}), chm);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(r.peaksLeftOut, 1);
    ASSERT_EQ(chm.peaks.size(), 1u);
    EXPECT_EQ(chm.peaks[0].name, "");
    EXPECT_EQ(chm.peaks[0].index, 0);
    EXPECT_EQ(chm.peaks[0].area, 0.5);

    CChmFile none;
    r = Load(AndiBuilder::Standard().Remove("peak_end_time"), none);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(r.peaksLeftOut, 2);
    EXPECT_TRUE(none.peaks.empty());

    // Without a peak table there is nothing to leave out.
    AndiBuilder bare = AndiBuilder::Standard();
    bare.Remove("peak_start_time").Remove("peak_end_time").Remove("peak_area").Remove("peak_name");
    r = Load(bare, none);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.peaksLeftOut, 0);
}

// The header of a valid file with the length of `dim` replaced (classic format, big-endian lengths).
std::string WithDimensionLength(std::string bytes, const std::string& dim, std::uint32_t length) {
    const std::size_t at = bytes.find(dim);
    const std::size_t field = at + (dim.size() + 3) / 4 * 4;
    for (int i = 0; i < 4; ++i)
        bytes[field + i] = static_cast<char>(length >> (24 - 8 * i));
    return bytes;
}

// The same with the length of a name's text replaced.
std::string WithNameLength(std::string bytes, const std::string& name, std::uint32_t length) {
    const std::size_t field = bytes.find(name) - 4;
    for (int i = 0; i < 4; ++i)
        bytes[field + i] = static_cast<char>(length >> (24 - 8 * i));
    return bytes;
}

TEST(AndiReader, RefusesBadFilesWithAReason) {
    const std::string good = AndiBuilder::Standard().Bytes();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"empty", "", "not a netCDF file"},
        {"text", "ПРОБА: Проба 1\r\n", "not a netCDF file"},
        {"bad header", std::string("CDF\x01garbage"), "not a readable netCDF file"},
        {"HDF5", std::string("\x89HDF\r\n\x1a\n\0\0\0\0", 12), "netCDF-4 (HDF5)"},
        {"truncated", good.substr(0, good.size() - 1), "cut off"},
        {"header only", good.substr(0, 200), "not a readable netCDF file"},
        {"huge dimension", WithDimensionLength(good, "point_number", 0x7FFFFFF0u), "cut off"},
        {"huge name", WithNameLength(good, "point_number", 0xD4000000u), "runs past the end"},
        {"no signal", AndiBuilder::Standard().Remove("ordinate_values").Bytes(),
         "ordinate_values is missing"},
        {"no interval", AndiBuilder::Standard().Remove("actual_sampling_interval").Bytes(), "no time axis"},
        {"zero interval", AndiBuilder::Standard().Scalar("actual_sampling_interval", 0).Bytes(),
         "not positive"},
        {"infinite interval",
         AndiBuilder::Standard().Scalar("actual_sampling_interval", inf, NC_DOUBLE).Bytes(), "not a finite"},
        {"NaN peak time",
         AndiBuilder::Standard().Array("peak_end_time", "peak_number", {nan, 210}, NC_DOUBLE).Bytes(),
         "end time of peak 1"},
        {"count mismatch", AndiBuilder::Standard().Array("peak_area", "other", {1, 2, 3}).Bytes(),
         "3 values for 2 peaks"},
        {"text signal", AndiBuilder::Standard().Remove("ordinate_values").Names({"a", "b"}).Bytes(),
         "ordinate_values is missing"},
        {"bad stamp", AndiBuilder::Standard().Text("injection_date_time_stamp", "2023-11-14").Bytes(),
         "not a date-time"},
        {"one point", AndiBuilder::Standard().Array("ordinate_values", "point_number", {1}).Bytes(),
         "fewer than two points"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string reason = Refusal(c.bytes);
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
}

// The same shape of reason as a .stg file's: the kind of problem and, for a damaged file, the field.
TEST(AndiReader, ADamagedFileNamesTheFieldThatIsWrong) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        std::string bytes;
        ReadProblem problem;
        const char* part;
    } cases[] = {
        {"text", "ПРОБА: Проба 1\r\n", ReadProblem::NotChromatogram, ""},
        {"no signal", AndiBuilder::Standard().Remove("ordinate_values").Bytes(), ReadProblem::Damaged,
         "ordinate_values"},
        {"zero interval", AndiBuilder::Standard().Scalar("actual_sampling_interval", 0).Bytes(),
         ReadProblem::Damaged, "actual_sampling_interval"},
        {"NaN peak time",
         AndiBuilder::Standard().Array("peak_end_time", "peak_number", {nan, 210}, NC_DOUBLE).Bytes(),
         ReadProblem::Damaged, "peak_end_time"},
        {"bad stamp", AndiBuilder::Standard().Text("injection_date_time_stamp", "2023-11-14").Bytes(),
         ReadProblem::Damaged, "injection_date_time_stamp"},
        {"hours", AndiBuilder::Standard().Text("retention_unit", "Hours").Bytes(), ReadProblem::Damaged,
         "retention_unit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CChmFile chm;
        const ReadResult r =
            LoadAndiMemory({reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size()}, chm);
        EXPECT_EQ(r.problem, c.problem);
        EXPECT_EQ(r.part, c.part);
        if (c.problem == ReadProblem::Damaged) {
            EXPECT_EQ(r.reason.rfind("damaged: ", 0), 0u) << r.reason;
            EXPECT_EQ(ReadProblemText(r), std::string("файл поврежден, ошибка в «") + c.part + "»");
        }
    }
}

TEST(AndiFile, FileLevelFailuresNameTheirReason) {
    testing::TempFolder dir;
    CChmFile chm;
    EXPECT_EQ(LoadAndiFile((dir / "missing.cdf").string(), chm).reason, "no such file");
    EXPECT_NE(LoadAndiFile(dir.path().string(), chm).reason.find("not a regular file"), std::string::npos);

    const std::string path = AndiBuilder::Standard().WriteTo(dir / "run.cdf").string();
    const int writer = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    EXPECT_EQ(LoadAndiFile(path, chm).reason, "held by another program");
    EXPECT_EQ(LoadAndiFile(path, chm).problem, ReadProblem::Held);
    CPassport passport;
    EXPECT_FALSE(passport.ReadPassportFile(path));
    ::flock(writer, LOCK_UN);
    // Another reader does not stand in the way.
    ASSERT_EQ(::flock(writer, LOCK_SH), 0);
    const ReadResult shared = LoadAndiFile(path, chm);
    EXPECT_TRUE(shared.ok) << shared.reason;
    EXPECT_EQ(chm.passport.path, path);
    ::close(writer);
}

TEST(AndiFile, ExtensionDecidesTheFormatInAnyCase) {
    const struct {
        const char* path;
        bool andi, chromatogram;
    } cases[] = {
        {"a.cdf", true, true},       {"dir/B.CDF", true, true}, {"c.Cdf", true, true},
        {"d.stg", false, true},      {"e.STG", false, true},    {"dir/.cdf", false, false},
        {"f.cdf.bak", false, false}, {"cdf", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAndiPath(c.path), c.andi) << c.path;
        EXPECT_EQ(IsChromatogramPath(c.path), c.chromatogram) << c.path;
    }

    testing::TempFolder dir;
    const std::string path = AndiBuilder::Standard().WriteTo(dir / "Run.CDF").string();
    CChmFile chm;
    ASSERT_TRUE(chm.Load(path));
    EXPECT_EQ(chm.peaks.size(), 2u);
    CPassport passport;
    ASSERT_TRUE(passport.ReadPassportFile(path));
    EXPECT_EQ(passport.sampleName, "Проба 1");
    EXPECT_EQ(passport.path, path);

    // The browser lists it beside .stg files and gives back its own path.
    const auto files = ScanChromatogramFolder(dir.path(), RunTypeFilter::Any);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].title, "Run");
    EXPECT_EQ(files[0].sampleName, "Проба 1");
    EXPECT_EQ(files[0].time, 1700000000);
    EXPECT_EQ(FolderFilePath(dir.path(), files[0]).string(), path);
}

TEST(AndiWriter, WrittenFileReadsBackAsTheSameChromatogram) {
    testing::TempFolder dir;
    synth::RunOptions run;
    run.samples = 3000;
    run.peaks = 10;
    run.startTime = 0.125;
    run.sampleName = "Проба 5";
    run.method = "ДТП-2 ГД";
    run.operatorName = "Иванова";
    run.samplingPoint = "Скв. 12";
    run.samplingSite = "УКПГ-1";
    run.comment = "повтор";
    run.seriesNo = 3;
    run.calibration = true;
    run.samplingTime = 1705276800;
    synth::StgContent content = synth::BuildRun(run);
    content.passport.eluent = "азот";
    content.passport.reagent = "—";
    content.passport.volume = 0.5;
    content.passport.dilution = 4;
    content.passport.norm = 99.5;
    content.passport.duration = 37.5;
    content.peaks[2].nextLinked = 3; // a common baseline, kept by the file
    const std::string stg = (dir / "run.stg").string();
    std::string error;
    ASSERT_TRUE(synth::WriteStg(stg, content, &error)) << error;
    CChmFile original;
    ASSERT_TRUE(original.Load(stg));

    const std::string cdf = (dir / "run.cdf").string();
    ASSERT_TRUE(WriteAndiFile(cdf, original, &error)) << error;
    ASSERT_TRUE(WriteAndiFile(cdf, original, &error)) << error; // replaces, leaves nothing behind
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"run.cdf", "run.stg"}));
    CChmFile copy;
    const ReadResult r = LoadAndiFile(cdf, copy);
    ASSERT_TRUE(r.ok) << r.reason;

    const CPassport& a = original.passport;
    const CPassport& b = copy.passport;
    EXPECT_EQ(b.sampleName, a.sampleName);
    EXPECT_EQ(b.method, a.method);
    EXPECT_EQ(b.operatorName, a.operatorName);
    EXPECT_EQ(b.samplingPoint, a.samplingPoint);
    EXPECT_EQ(b.samplingSite, a.samplingSite);
    EXPECT_EQ(b.eluent, a.eluent);
    EXPECT_EQ(b.reagent, a.reagent);
    EXPECT_EQ(b.comment, a.comment);
    EXPECT_EQ(b.volume, a.volume);
    EXPECT_EQ(b.dilution, a.dilution);
    EXPECT_EQ(b.norm, a.norm);
    EXPECT_EQ(b.duration, a.duration);
    EXPECT_EQ(b.seriesNo, a.seriesNo);
    EXPECT_EQ(b.calibrationFlag, 1);
    EXPECT_EQ(b.samplingTime, a.samplingTime);
    EXPECT_EQ(b.analysisTime, a.analysisTime);
    EXPECT_EQ(copy.signal.samples, original.signal.samples);
    EXPECT_EQ(copy.signal.startTime, original.signal.startTime);
    EXPECT_EQ(copy.signal.step, original.signal.step);
    ASSERT_EQ(copy.peaks.size(), original.peaks.size());
    for (std::size_t i = 0; i < copy.peaks.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(copy.peaks[i].name, original.peaks[i].name);
        EXPECT_DOUBLE_EQ(copy.peaks[i].beginTime, original.peaks[i].beginTime);
        EXPECT_DOUBLE_EQ(copy.peaks[i].endTime, original.peaks[i].endTime);
        EXPECT_EQ(copy.peaks[i].storedValue, original.peaks[i].area);
        EXPECT_EQ(copy.peaks[i].nextLinked, original.peaks[i].nextLinked);
        EXPECT_EQ(copy.peaks[i].prevLinked, original.peaks[i].prevLinked);
        EXPECT_DOUBLE_EQ(copy.peaks[i].baselineStart, original.peaks[i].baselineStart);
        EXPECT_DOUBLE_EQ(copy.peaks[i].area, original.peaks[i].area);
        EXPECT_DOUBLE_EQ(copy.peaks[i].retentionTime, original.peaks[i].retentionTime);
        EXPECT_DOUBLE_EQ(copy.peaks[i].height, original.peaks[i].height);
    }

    EXPECT_FALSE(WriteAndiFile((dir / "no-such-folder" / "x.cdf").string(), original, &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace talvex
