#include "core/chromatogram/chm_file.h"
#include "core/chromatogram/compound_file.h"

#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <latch>
#include <thread>
#include <vector>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using synth::StgContent;

class ChmFileTest : public ::testing::Test {
protected:
    std::string Write(const StgContent& content, const std::string& name = "run.stg") {
        const std::string path = (dir_ / name).string();
        std::string error;
        EXPECT_TRUE(synth::WriteStg(path, content, &error)) << error;
        return path;
    }

    testing::TempFolder dir_;
};

// A small but complete chromatogram: Cyrillic text, a chain, a rider and parameters.
StgContent SampleContent() {
    StgContent c;
    CPassport& p = c.passport;
    p.sampleName = "Проба 3";
    p.method = "ПИД ГД";
    p.operatorName = "Иванова";
    p.samplingPoint = "Скв. 112";
    p.samplingSite = "УКПГ-2";
    p.eluent = "Гелий";
    p.reagent = "";
    p.comment = "Повторный анализ";
    p.volume = 0.5;
    p.dilution = 2;
    p.norm = 100;
    p.duration = 30;
    p.seriesNo = 4;
    p.calibrationFlag = 1;
    p.samplingTime = 1700000000;
    p.analysisTime = 1700003600;
    c.startTime = 0.0f;
    c.step = 0.5f;
    for (int k = 0; k < 40; ++k)
        c.samples.push_back(static_cast<float>((k == 8 ? 10 : 0) + (k == 20 ? 6 : 0) + (k == 24 ? 4 : 0)));
    auto peak = [](double b, double e, const char* name, int next) {
        cmpeek x;
        x.beginTime = b;
        x.endTime = e;
        x.name = name;
        x.nextLinked = next;
        x.storedValue = 1.25;
        x.flags = 7;
        return x;
    };
    c.peaks = {peak(3, 5, "Метан", -1), peak(9, 11, "Этан", 2), peak(11, 13, "", -1),
               peak(9.5, 10.5, "", -1)};
    c.peaks[0].params = {{}, {}};
    c.peaks[0].params[0].name = "k";
    c.peaks[0].params[0].value = "v";
    c.peaks[0].params[1].name = "Имя";
    c.peaks[0].params[1].value = "Значение";
    c.tableParams = c.peaks[0].params;
    return c;
}

TEST_F(ChmFileTest, RoundTripsEveryPassportAndTableLayout) {
    struct Layout {
        int passportVersion;
        synth::TableLayout table;
        int tableVersion;
        synth::StringForm strings;
        synth::DateTimeForm dates;
    };
    const Layout layouts[] = {
        {1, synth::TableLayout::Legacy, 0, synth::StringForm::OneByte, synth::DateTimeForm::Short},
        {2, synth::TableLayout::Versioned, 0, synth::StringForm::Utf16, synth::DateTimeForm::Long},
        {3, synth::TableLayout::Versioned, 1, synth::StringForm::OneByte, synth::DateTimeForm::Long},
        {3, synth::TableLayout::Versioned, 2, synth::StringForm::Utf16, synth::DateTimeForm::Short},
        {3, synth::TableLayout::Versioned, 3, synth::StringForm::Utf16, synth::DateTimeForm::Short},
        {2, synth::TableLayout::Versioned, 4, synth::StringForm::OneByte, synth::DateTimeForm::Long},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(::testing::Message()
                     << "passport " << layout.passportVersion << " table " << layout.tableVersion
                     << " legacy " << (layout.table == synth::TableLayout::Legacy));
        StgContent c = SampleContent();
        c.passportVersion = layout.passportVersion;
        c.tableLayout = layout.table;
        c.tableVersion = layout.tableVersion;
        c.stringForm = layout.strings;
        c.dateTimeForm = layout.dates;
        const std::string path = Write(c);

        CChmFile chm;
        ASSERT_TRUE(chm.Load(path));
        const CPassport& p = chm.passport;
        EXPECT_EQ(p.path, path);
        EXPECT_EQ(p.sampleName, "Проба 3");
        EXPECT_EQ(p.method, "ПИД ГД");
        EXPECT_EQ(p.operatorName, "Иванова");
        EXPECT_EQ(p.samplingPoint, "Скв. 112");
        EXPECT_EQ(p.samplingSite, layout.passportVersion >= 2 ? "УКПГ-2" : "");
        EXPECT_EQ(p.eluent, "Гелий");
        EXPECT_EQ(p.comment, "Повторный анализ");
        EXPECT_EQ(p.volume, 0.5);
        EXPECT_EQ(p.dilution, 2.0);
        EXPECT_EQ(p.duration, 30.0);
        EXPECT_EQ(p.seriesNo, 4);
        EXPECT_EQ(p.calibrationFlag, 1);
        EXPECT_EQ(p.samplingTime, 1700000000);
        EXPECT_EQ(p.analysisTime, 1700003600);

        EXPECT_EQ(chm.signal.samples, c.samples);
        EXPECT_EQ(chm.signal.startTime, 0.0);
        EXPECT_EQ(chm.signal.step, 0.5);

        ASSERT_EQ(chm.peaks.size(), 4u);
        const bool versioned = layout.table == synth::TableLayout::Versioned && layout.tableVersion >= 1;
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(chm.peaks[i].index, static_cast<int>(i));
            EXPECT_EQ(chm.peaks[i].name, c.peaks[i].name);
            EXPECT_EQ(chm.peaks[i].beginTime, c.peaks[i].beginTime);
            EXPECT_EQ(chm.peaks[i].endTime, c.peaks[i].endTime);
            EXPECT_EQ(chm.peaks[i].storedValue, 1.25);
            EXPECT_EQ(chm.peaks[i].flags, versioned && layout.tableVersion >= 2 ? 7 : 0);
        }
        EXPECT_EQ(chm.peaks[1].nextLinked, 2);
        EXPECT_EQ(chm.peaks[2].prevLinked, 1);
        const std::size_t params = versioned && layout.tableVersion >= 3 ? 2 : 0;
        EXPECT_EQ(chm.peaks[0].params.size(), params);
        EXPECT_EQ(chm.peaks.params.size(), params);
        if (params) {
            EXPECT_EQ(chm.peaks[0].params[1].name, "Имя");
            EXPECT_EQ(chm.peaks.params[1].value, "Значение");
        }
        // Areas come from the signal, not from the file: the methane peak is one triangle of height 10.
        EXPECT_DOUBLE_EQ(chm.peaks[0].area, 10 * 0.5);
        EXPECT_DOUBLE_EQ(chm.peaks[0].retentionTime, 4.0);
        // Ethane carries its rider's area no more.
        EXPECT_DOUBLE_EQ(chm.peaks[1].area, 6 * 0.5 - chm.peaks[3].area);
    }
}

// The bytes of a file in memory load into the same record as the file itself, without a path.
TEST_F(ChmFileTest, LoadMemoryReadsWhatLoadReads) {
    StgContent c = SampleContent();
    c.startTime = 1.5f;
    const std::string path = Write(c);
    CChmFile fromFile;
    ASSERT_TRUE(fromFile.Load(path));
    const std::string bytes = testing::ReadBytes(path);
    CChmFile fromMemory;
    ASSERT_TRUE(fromMemory.LoadMemory({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
    EXPECT_EQ(fromMemory.passport.path, "");
    EXPECT_EQ(fromMemory.passport.Describe(), fromFile.passport.Describe());
    EXPECT_EQ(fromMemory.signal.samples, fromFile.signal.samples);
    EXPECT_EQ(fromMemory.signal.startTime, fromFile.signal.startTime);
    EXPECT_EQ(fromMemory.signal.step, fromFile.signal.step);
    ASSERT_EQ(fromMemory.peaks.size(), fromFile.peaks.size());
    for (std::size_t i = 0; i < fromFile.peaks.size(); ++i) {
        EXPECT_EQ(fromMemory.peaks[i].name, fromFile.peaks[i].name);
        EXPECT_EQ(fromMemory.peaks[i].area, fromFile.peaks[i].area);
        EXPECT_EQ(fromMemory.peaks[i].height, fromFile.peaks[i].height);
    }
}

// A file of exactly the largest size loads (trailing bytes after the compound file are ignored); one
// byte more is refused before anything is read. The padding is sparse, so the test writes no gigabyte.
TEST_F(ChmFileTest, LargestFileLoadsOneByteMoreIsRefused) {
    const std::string path = Write(SampleContent());
    for (const std::uint64_t size : {kMaxChromatogramFileBytes, kMaxChromatogramFileBytes + 1}) {
        fs::resize_file(path, size);
        CChmFile chm;
        EXPECT_EQ(chm.Load(path).ok, size == kMaxChromatogramFileBytes) << size;
        CPassport passport;
        EXPECT_EQ(passport.ReadPassportFile(path).ok, size == kMaxChromatogramFileBytes) << size;
    }
}

TEST_F(ChmFileTest, ParameterListsOfVersion3DropEmptyAndRepeatedNamesVersion4KeepsAll) {
    for (const int version : {3, 4}) {
        StgContent c = SampleContent();
        c.tableVersion = version;
        c.tableParams.clear();
        for (const char* name : {"a", "", "a", "b"}) {
            cmpeek::TwinsDopParam p;
            p.name = name;
            p.value = std::string("v") + name;
            c.tableParams.push_back(p);
        }
        CChmFile chm;
        ASSERT_TRUE(chm.Load(Write(c)));
        std::vector<std::string> names;
        for (const auto& p : chm.peaks.params)
            names.push_back(p.name);
        if (version == 3)
            EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
        else
            EXPECT_EQ(names, (std::vector<std::string>{"a", "", "a", "b"}));
    }
}

TEST_F(ChmFileTest, StreamSizeRules) {
    StgContent c = SampleContent();
    // Time: fewer than 12 bytes gives start 0 and step 1; exactly 12 bytes is read.
    c.streamOverrides["Time"] = std::vector<std::uint8_t>{0, 0, 0x80, 0x3F, 0, 0, 0, 0x40, 0, 0, 0};
    CChmFile shortTime;
    ASSERT_TRUE(shortTime.Load(Write(c, "a.stg")));
    EXPECT_EQ(shortTime.signal.startTime, 0.0);
    EXPECT_EQ(shortTime.signal.step, 1.0);
    c.streamOverrides["Time"]->push_back(0);
    CChmFile fullTime;
    ASSERT_TRUE(fullTime.Load(Write(c, "b.stg")));
    EXPECT_EQ(fullTime.signal.startTime, 1.0);
    EXPECT_EQ(fullTime.signal.step, 1.0);

    // Raw_data of 10 bytes holds two samples; the trailing two bytes are ignored.
    StgContent raw = SampleContent();
    raw.peaks.clear();
    raw.streamOverrides["Raw_data"] = std::vector<std::uint8_t>{0, 0, 0x80, 0x3F, 0, 0, 0, 0x40, 0xAA, 0xBB};
    CChmFile tenBytes;
    ASSERT_TRUE(tenBytes.Load(Write(raw, "c.stg")));
    EXPECT_EQ(tenBytes.signal.samples, (std::vector<float>{1.0f, 2.0f}));

    // Table: 7 bytes is an empty table; a legacy table of 224 bytes plus trailing bytes holds two peaks.
    StgContent table = SampleContent();
    table.streamOverrides["Table"] = std::vector<std::uint8_t>(7, 0x11);
    CChmFile tiny;
    ASSERT_TRUE(tiny.Load(Write(table, "d.stg")));
    EXPECT_TRUE(tiny.peaks.empty());
    table.streamOverrides.clear();
    table.tableLayout = synth::TableLayout::Legacy;
    table.peaks.resize(2);
    std::vector<std::uint8_t> legacy = synth::EncodeTable(table);
    ASSERT_EQ(legacy.size(), 224u);
    legacy.insert(legacy.end(), 50, 0);
    table.streamOverrides["Table"] = legacy;
    CChmFile two;
    ASSERT_TRUE(two.Load(Write(table, "e.stg")));
    EXPECT_EQ(two.peaks.size(), 2u);
}

// Damaged and unsupported files: every one fails to load, none crashes or allocates beyond its size.
TEST_F(ChmFileTest, DamagedFilesFailToLoad) {
    auto with = [](auto edit) {
        StgContent c = SampleContent();
        edit(c);
        return c;
    };
    auto patched = [](StgContent c, const char* stream, std::size_t offset, std::vector<std::uint8_t> bytes) {
        std::vector<std::uint8_t> data =
            std::string(stream) == "Table" ? synth::EncodeTable(c) : synth::EncodePassport(c);
        std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
        c.streamOverrides[stream] = data;
        return c;
    };
    const struct {
        const char* what;
        const char* stream; // the stream the failure names
        StgContent content;
    } cases[] = {
        {"no Raw_data", "Raw_data",
         with([](StgContent& c) { c.streamOverrides["Raw_data"] = std::nullopt; })},
        {"no Time", "Time", with([](StgContent& c) { c.streamOverrides["Time"] = std::nullopt; })},
        {"no Table", "Table", with([](StgContent& c) { c.streamOverrides["Table"] = std::nullopt; })},
        {"no Passport", "Passport",
         with([](StgContent& c) { c.streamOverrides["Passport"] = std::nullopt; })},
        {"passport version 4", "Passport", with([](StgContent& c) { c.passportVersion = 4; })},
        {"table version 5", "Table", with([](StgContent& c) { c.tableVersion = 5; })},
        {"wrong signature", "Passport", patched(SampleContent(), "Passport", 0, {0xCD})},
        {"passport cut short", "Passport", with([](StgContent& c) {
             auto p = synth::EncodePassport(c);
             p.resize(p.size() - 3);
             c.streamOverrides["Passport"] = p;
         })},
        {"peak count far beyond the stream", "Table",
         patched(SampleContent(), "Table", 12, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"negative peak count", "Table", patched(SampleContent(), "Table", 12, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"string length beyond the stream", "Passport",
         patched(SampleContent(), "Passport", 8, {0xFF, 0xFF, 0xFF})},
        {"table cut inside a record", "Table", with([](StgContent& c) {
             auto t = synth::EncodeTable(c);
             t.resize(t.size() - 20);
             c.streamOverrides["Table"] = t;
         })},
        {"one sample under a peak table", "Table", with([](StgContent& c) { c.samples.resize(1); })},
        {"no samples under a peak table", "Table", with([](StgContent& c) { c.samples.clear(); })},
    };
    for (const auto& c : cases) {
        CChmFile chm;
        const ReadResult load = chm.Load(Write(c.content, "bad.stg"));
        EXPECT_FALSE(load) << c.what;
        // The reason names the stream that is wrong, for the command line and for the operator.
        EXPECT_EQ(load.problem, ReadProblem::Damaged) << c.what;
        EXPECT_EQ(load.part, c.stream) << c.what;
        EXPECT_EQ(load.reason.rfind(std::string("damaged: stream ") + c.stream + ": ", 0), 0u) << load.reason;
        EXPECT_EQ(ReadProblemText(load), std::string("файл поврежден, ошибка в «") + c.stream + "»")
            << c.what;
        const std::string bytes = testing::ReadBytes(dir_ / "bad.stg");
        CChmFile inMemory;
        const ReadResult fromMemory =
            inMemory.LoadMemory({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        EXPECT_FALSE(fromMemory) << c.what;
        EXPECT_EQ(fromMemory.part, c.stream) << c.what;
        CPassport passport;
        const bool passportDamaged = std::string(c.stream) == "Passport";
        const ReadResult read = passport.ReadPassportFile((dir_ / "bad.stg").string());
        EXPECT_EQ(read.ok, !passportDamaged) << c.what;
        if (passportDamaged) {
            EXPECT_EQ(read.part, "Passport") << c.what;
        }
    }
}

TEST_F(ChmFileTest, ParameterCountFarBeyondTheStreamFails) {
    StgContent c = SampleContent();
    c.peaks.resize(1);
    c.peaks[0].params.clear();
    c.tableParams.clear();
    std::vector<std::uint8_t> t = synth::EncodeTable(c);
    // The last four bytes are the table's (empty) parameter count.
    t[t.size() - 4] = t[t.size() - 3] = t[t.size() - 2] = t[t.size() - 1] = 0xFF;
    c.streamOverrides["Table"] = t;
    CChmFile chm;
    EXPECT_FALSE(chm.Load(Write(c)));
}

TEST_F(ChmFileTest, FilesThatAreNotChromatogramsFailToOpen) {
    CChmFile missing;
    EXPECT_FALSE(missing.Load((dir_ / "missing.stg").string()));
    const fs::path text = dir_ / "text.stg";
    std::ofstream(text) << "not a compound file at all";
    CChmFile notCompound;
    EXPECT_FALSE(notCompound.Load(text.string()));
    CChmFile folder;
    EXPECT_FALSE(folder.Load(dir_.path().string()));
    CPassport passport;
    EXPECT_FALSE(passport.ReadPassportFile(text.string()));

    // Each says why.
    const struct {
        std::string path;
        ReadProblem problem;
        const char* reason;
        const char* text;
    } cases[] = {
        {(dir_ / "missing.stg").string(), ReadProblem::Missing, "no such file", "файл не найден"},
        {(dir_ / "no folder" / "run.stg").string(), ReadProblem::Missing, "no such file", "файл не найден"},
        {text.string(), ReadProblem::NotChromatogram, "not a chromatogram file: not a compound file",
         "это не файл хроматограммы"},
        {dir_.path().string(), ReadProblem::NotChromatogram, "not a chromatogram file: not a regular file",
         "это не файл хроматограммы"},
    };
    for (const auto& c : cases) {
        CChmFile chm;
        const ReadResult load = chm.Load(c.path);
        EXPECT_EQ(load.problem, c.problem) << c.path;
        EXPECT_EQ(load.reason, c.reason) << c.path;
        EXPECT_EQ(ReadProblemText(load), c.text) << c.path;
        CPassport p;
        EXPECT_EQ(p.ReadPassportFile(c.path).reason, c.reason) << c.path;
    }
}

TEST_F(ChmFileTest, FileLockedByAWriterFailsToOpenAsHeldByAnotherProgram) {
    const std::string path = Write(SampleContent());
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    CChmFile locked;
    const ReadResult load = locked.Load(path);
    EXPECT_FALSE(load);
    EXPECT_EQ(load.problem, ReadProblem::Held);
    EXPECT_EQ(load.reason, "held by another program");
    EXPECT_EQ(ReadProblemText(load), "файл занят другой программой");
    CPassport passport;
    EXPECT_EQ(passport.ReadPassportFile(path).reason, "held by another program");
    ::close(fd);
    CChmFile unlocked;
    EXPECT_TRUE(unlocked.Load(path));
}

// Readers share the file: another reader's lock does not stand in the way, and a reader leaves the file
// open to the next writer once it is done.
TEST_F(ChmFileTest, AnotherReaderDoesNotStopARead) {
    const std::string path = Write(SampleContent());
    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(::flock(reader, LOCK_SH | LOCK_NB), 0);
    CChmFile chm;
    const ReadResult load = chm.Load(path);
    EXPECT_TRUE(load) << load.reason;
    CPassport passport;
    const ReadResult read = passport.ReadPassportFile(path);
    EXPECT_TRUE(read) << read.reason;
    ::close(reader);
    const int writer = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0); // no reader keeps its lock after the read
    ::close(writer);
}

// Many threads load the same file at the same moment, each through its own open: every load succeeds
// and reads the same chromatogram.
TEST_F(ChmFileTest, ManyConcurrentReadersAllSucceed) {
    const std::string path = Write(SampleContent());
    constexpr int kReaders = 8;
    constexpr int kRounds = 100;
    std::latch start(kReaders);
    std::atomic<int> failures{0};
    std::atomic<int> wrongPeaks{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < kReaders; ++i)
        readers.emplace_back([&, i] {
            start.arrive_and_wait();
            for (int round = 0; round < kRounds; ++round) {
                if (i % 2 == 0) {
                    CChmFile chm;
                    if (!chm.Load(path))
                        ++failures;
                    else if (chm.peaks.size() != 4u)
                        ++wrongPeaks;
                } else {
                    CPassport passport;
                    if (!passport.ReadPassportFile(path))
                        ++failures;
                }
            }
        });
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(wrongPeaks.load(), 0);
}

TEST_F(ChmFileTest, CopiesAreDeepAndRecomputeFromTheirOwnSignal) {
    CChmFile original;
    ASSERT_TRUE(original.Load(Write(SampleContent())));
    CChmFile copy(original);
    CChmFile assigned;
    assigned = original;
    CChmFile moved(std::move(assigned));
    CChmFile moveAssigned;
    moveAssigned = std::move(moved);
    EXPECT_EQ(moveAssigned.peaks.size(), 4u);
    EXPECT_EQ(moveAssigned.signal.samples, original.signal.samples);
    original.signal.samples.assign(original.signal.samples.size(), 0.0f);
    for (CChmFile* c : {&copy, &moveAssigned}) {
        c->peaks.RecomputePeaks(c->signal);
        EXPECT_DOUBLE_EQ(c->peaks[0].area, 5.0);
        EXPECT_EQ(c->peaks[0].params.size(), 2u);
    }
    original.peaks.RecomputePeaks(original.signal);
    EXPECT_DOUBLE_EQ(original.peaks[0].area, 0.0);
}

TEST_F(ChmFileTest, DescribeFormatsThePassport) {
    // Tests run with TZ=UTC.
    CPassport p = SampleContent().passport;
    p.comment = std::string(300, 'x');
    const std::string expected = "ПРОБА: \tПроба 3\r\n"
                                 "Объём: 0.5        Разведение: 2        Норма: 100\r\n"
                                 "Дата / Время: 14.11.23   22:13         Точка отбора:  Скв. 112\r\n"
                                 "\r\nАНАЛИЗ\r\n"
                                 "Оператор: Иванова        Метод: ПИД ГД\r\n"
                                 "Продолжительность: 30 мин        Номер в серии: 4\r\n"
                                 "Дата / Время анализа: 14.11.23   23:13:20\r\n"
                                 "Элюент: Гелий        Реагент: \r\n"
                                 "\r\nКОММЕНТАРИЙ: " +
                                 std::string(255, 'x');
    EXPECT_EQ(p.Describe(), expected);
    p.comment = std::string(254, 'x') + "Ёж";
    EXPECT_EQ(p.Describe().substr(p.Describe().rfind(": ") + 2), std::string(254, 'x') + "Ё");
}

TEST_F(ChmFileTest, PassportOnlyReadIgnoresTheOtherStreams) {
    StgContent c = SampleContent();
    c.streamOverrides["Table"] = std::nullopt;
    c.streamOverrides["Raw_data"] = std::nullopt;
    CPassport p;
    const std::string path = Write(c);
    ASSERT_TRUE(p.ReadPassportFile(path));
    EXPECT_EQ(p.sampleName, "Проба 3");
    EXPECT_EQ(p.path, path);
}

} // namespace
} // namespace talvex
