#include "core/components/retention_time_table.h"

#include "core/common/text_codec.h"
#include "core/components/component_table.h"
#include "core/messages/message_log.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <initializer_list>

namespace talvex {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

using testing::DataFileBytes;

constexpr std::string_view kHeader = "Компонент;Время выхода (газ), мин;Время выхода (ДК), мин";
const std::int32_t kHeaderLength = static_cast<std::int32_t>(Utf8ToCp1251(kHeader).size() + 2);

std::string NotFoundText(const std::string& name) {
    return "Компонент \"" + name + "\" таблицы времен выходов н-Парафинов не найден в базовой таблице.";
}

ino_t Inode(const std::filesystem::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0);
    return st.st_ino;
}

// A data folder with a small component database of four n-paraffins.
class RetentionTimes : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("Comps.csv", DataFileBytes({";Компонент;Имя", ";н-Декан;н-Декан", ";н-Ундекан;н-Ундекан",
                                              ";н-Додекан;н-Додекан", ";н-Тридекан;н-Тридекан"}));
        dir.Write("TableSection7.csv", DataFileBytes({"Компонент;Диапазон"}));
        dir.Write("TableSection8.csv", DataFileBytes({"Компонент;Диапазон"}));
        ASSERT_TRUE(components.LoadComponents(dir.path()).empty());
    }

    std::filesystem::path WriteTimes(std::string bytes) { return dir.Write("CompsTime.csv", bytes); }

    bool Load() {
        error.clear();
        return table.LoadTable(dir.path(), components, log, &error);
    }

    // Three known records: rowIds 0, 1, 2 in file order.
    void LoadThree() {
        WriteTimes(
            DataFileBytes({kHeader, "н-Ундекан;30.579;21.885", "н-Декан;;9.25", "н-Додекан;33.842;24.23"}));
        ASSERT_TRUE(Load()) << error;
        ASSERT_EQ(table.Records().size(), 3u);
    }

    std::vector<std::int32_t> RowIds() const {
        std::vector<std::int32_t> ids;
        for (const CompTime& r : table.Records())
            ids.push_back(r.rowId);
        return ids;
    }

    TempFolder dir;
    ComponentTable components;
    MessageLog log;
    RetentionTimeTable table;
    std::string error;
};

TEST_F(RetentionTimes, LoadsRowsInFileOrderWithTheirComponents) {
    WriteTimes(DataFileBytes({kHeader,
                              "н-Декан;;9.25",              // no gas time
                              "Н-ДОДЕКАН;12,5;abc;ignored", // other letter case; comma ends the number
                              "н-Ундекан; 7.5;",            // empty condensate cell
                              "Неизвестный;1;2",            // not in the database
                              "",                           // a blank line is no record
                              "н-Тридекан",                 // cells missing at the end
                              "н-Декан;1.25;2.5",           // the same name twice
                              "Неизвестный;nan;-inf"}) +    // both read as missing
               Utf8ToCp1251("н-Додекан;1;2"));              // no CR LF: not loaded
    ASSERT_TRUE(Load()) << error;
    EXPECT_EQ(table.HeaderLength(), kHeaderLength);
    EXPECT_FALSE(table.Modified());

    struct Expected {
        const char* name;
        double gas;
        double liquid;
        const char* key; // of the component found, nullptr for none
    };
    const Expected expected[] = {
        {"н-Декан", NotSet, 9.25, "н-Декан"},         {"Н-ДОДЕКАН", 12, 0, "н-Додекан"},
        {"н-Ундекан", 7.5, NotSet, "н-Ундекан"},      {"Неизвестный", 1, 2, nullptr},
        {"н-Тридекан", NotSet, NotSet, "н-Тридекан"}, {"н-Декан", 1.25, 2.5, "н-Декан"},
        {"Неизвестный", NotSet, NotSet, nullptr},
    };
    const auto& records = table.Records();
    ASSERT_EQ(records.size(), std::size(expected));
    EXPECT_EQ(table.RecordCount(), 7);
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const CompTime& r = records[i];
        EXPECT_EQ(r.rowId, static_cast<std::int32_t>(i));
        EXPECT_EQ(r.componentName, expected[i].name);
        EXPECT_EQ(r.gasTime, expected[i].gas); // exact: NotSet is a value, not a range
        EXPECT_EQ(r.liquidTime, expected[i].liquid);
        if (expected[i].key) {
            ASSERT_NE(r.component, nullptr);
            EXPECT_EQ(r.component->key, expected[i].key);
            EXPECT_EQ(r.component, components.FindComponent(expected[i].key)); // into the table itself
        } else {
            EXPECT_EQ(r.component, nullptr);
        }
    }

    // Once per unknown record and per load.
    const std::vector<std::string> once{NotFoundText("Неизвестный"), NotFoundText("Неизвестный")};
    EXPECT_EQ(log.Texts(kMsgError), once);
    EXPECT_TRUE(log.Texts(kMsgWarning).empty());
    ASSERT_TRUE(Load());
    EXPECT_EQ(log.Texts(kMsgError).size(), 4u);
}

TEST_F(RetentionTimes, LoadsTheShippedFileWithoutComplaint) {
    TempFolder data;
    for (const char* name : {"Comps.csv", "TableSection7.csv", "TableSection8.csv", "CompsTime.csv"})
        std::filesystem::copy_file(std::filesystem::path(TALVEX_SOURCE_DIR) / "data" / name, data / name);
    ComponentTable shipped;
    ASSERT_TRUE(shipped.LoadComponents(data.path()).empty());
    const std::filesystem::path file = data / "CompsTime.csv";
    const std::string before = ReadBytes(file);

    ASSERT_TRUE(table.LoadTable(data.path(), shipped, log, &error)) << error;
    EXPECT_TRUE(log.IsEmpty()) << log.Compose();
    ASSERT_EQ(table.Records().size(), 36u); // n-C5 … n-C40
    EXPECT_EQ(table.HeaderLength(), static_cast<std::int32_t>(before.find("\r\n") + 2));
    double previousLiquid = 0;
    for (const CompTime& r : table.Records()) {
        ASSERT_NE(r.component, nullptr) << r.componentName;
        EXPECT_GT(r.liquidTime, previousLiquid) << r.componentName;
        previousLiquid = r.liquidTime;
    }
    const CompTime& pentane = table.Records().front();
    EXPECT_EQ(pentane.componentName, "н-Пентан");
    EXPECT_EQ(pentane.gasTime, 5.0);
    EXPECT_EQ(pentane.liquidTime, 3.5);
    EXPECT_EQ(table.Records()[16].componentName, "н-Генэйкозан");
    EXPECT_EQ(table.Records()[16].gasTime, NotSet);
    EXPECT_EQ(table.Records()[16].liquidTime, 40.351);

    // Nothing edited: the file is not even rewritten.
    const ino_t inode = Inode(file);
    ASSERT_TRUE(table.SaveIfModified(data.path(), &error)) << error;
    EXPECT_EQ(Inode(file), inode);

    // An edit that changes nothing in the end: the save moves the n-paraffins measured only on the
    // condensate column to the front, each line otherwise as shipped and in its order.
    table.DeleteRecord(table.AddRecord());
    ASSERT_TRUE(table.Modified());
    ASSERT_TRUE(table.SaveIfModified(data.path(), &error)) << error;
    EXPECT_NE(Inode(file), inode);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = before.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(before.substr(at, end + 2 - at));
    ASSERT_EQ(lines.size(), 37u);
    std::string expected = lines[0];
    for (std::size_t i = 17; i < lines.size(); ++i)
        expected += lines[i];
    for (std::size_t i = 1; i < 17; ++i)
        expected += lines[i];
    EXPECT_EQ(ReadBytes(file), expected);
}

TEST_F(RetentionTimes, AFileWithoutDataLines) {
    WriteTimes(DataFileBytes({kHeader}));
    ASSERT_TRUE(Load()) << error;
    EXPECT_TRUE(table.Records().empty());
    EXPECT_EQ(table.HeaderLength(), kHeaderLength);

    const auto file = WriteTimes("");
    ASSERT_TRUE(Load()) << error;
    EXPECT_TRUE(table.Records().empty());
    EXPECT_EQ(table.HeaderLength(), -1);
    table.AddRecord();
    EXPECT_FALSE(table.SaveIfModified(dir.path(), &error));
    EXPECT_NE(error.find("нет строки заголовка"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(file), "");
}

TEST_F(RetentionTimes, AMissingFileFailsTheLoadWithItsPathAndLeavesNoRecords) {
    LoadThree();
    table.AddRecord();
    std::filesystem::remove(dir / "CompsTime.csv");

    EXPECT_FALSE(Load());
    EXPECT_EQ(error, "Файл " + (dir / "CompsTime.csv").string() + " не найден.");
    EXPECT_TRUE(table.Records().empty());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.HeaderLength(), -1);
    EXPECT_FALSE(table.Modified());
    EXPECT_TRUE(log.IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(dir / "CompsTime.csv"));
}

TEST_F(RetentionTimes, SortsByGasTimeWithMissingTimesFirstInTheirOrder) {
    WriteTimes(DataFileBytes({kHeader, "н-Декан;27.094;1", "н-Декан;;2", "н-Декан;5;3", "н-Декан;nan;4",
                              "н-Декан;-12;5", "н-Декан;5;6", "н-Декан;;7", "н-Декан;0;8"}));
    ASSERT_TRUE(Load()) << error;
    table.SortByGasTime();
    EXPECT_EQ(RowIds(), (std::vector<std::int32_t>{1, 3, 6, 4, 7, 2, 5, 0}));
    std::vector<double> liquid;
    for (const CompTime& r : table.Records())
        liquid.push_back(r.liquidTime);
    EXPECT_EQ(liquid, (std::vector<double>{2, 4, 7, 5, 8, 3, 6, 1})); // whole records move
    EXPECT_FALSE(table.Modified());                                   // sorting alone is no edit
}

TEST_F(RetentionTimes, NormalisesTypedTimes) {
    struct Case {
        const char* typed;
        double stored;
        const char* shown;
    };
    const Case cases[] = {
        {"12,5", 12.5, "12.5"},
        {"12.50", 12.5, "12.50"},
        {"7", 7, "7"},
        {"---", NotSet, "---"},
        {"", NotSet, ""},
        {"5 abc", 5, "5"},
        {"1,2,3", 1.2, "1.200"},       // decimals counted after the first point
        {" 3,25мин", 3.25, "3.25000"}, // characters, not bytes
        {"0,1234567", 0.1234567, "0.1234567"},
        {"nan", NotSet, "---"},
        {"-inf", NotSet, "---"},
    };
    LoadThree();
    for (const int column : {RetentionTimeTable::kGasTimeColumn, RetentionTimeTable::kLiquidTimeColumn}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.typed) + " in column " + std::to_string(column));
            ASSERT_TRUE(Load());
            const std::optional<std::string> shown = table.SetCell(1, column, c.typed);
            ASSERT_TRUE(shown);
            EXPECT_EQ(*shown, c.shown);
            const CompTime& r = table.Records()[1];
            const double stored = column == RetentionTimeTable::kGasTimeColumn ? r.gasTime : r.liquidTime;
            const double other = column == RetentionTimeTable::kGasTimeColumn ? r.liquidTime : r.gasTime;
            EXPECT_EQ(stored, c.stored);
            EXPECT_EQ(other, column == RetentionTimeTable::kGasTimeColumn ? 9.25 : NotSet);
            EXPECT_TRUE(table.Modified());
        }
    }
}

TEST_F(RetentionTimes, RefusesTimesWithoutANumberAtTheirStart) {
    LoadThree();
    for (const int column : {RetentionTimeTable::kGasTimeColumn, RetentionTimeTable::kLiquidTimeColumn}) {
        for (const char* typed : {"abc", "мин 5", "-", "."}) {
            SCOPED_TRACE(std::string(typed) + " in column " + std::to_string(column));
            ASSERT_TRUE(Load());
            const CompTime before = table.Records()[1];
            std::string refusal;
            EXPECT_FALSE(table.SetCell(1, column, typed, &refusal));
            EXPECT_NE(refusal.find(std::string("\"") + typed + "\" не число"), std::string::npos) << refusal;
            EXPECT_EQ(table.Records()[1].gasTime, before.gasTime);
            EXPECT_EQ(table.Records()[1].liquidTime, before.liquidTime);
            EXPECT_FALSE(table.Modified());
        }
    }
}

TEST_F(RetentionTimes, TakesNamesAsTypedAndRefusesCellsThatCannotBeEdited) {
    LoadThree();
    const ComponentRecord* undecane = table.Records()[0].component;
    EXPECT_EQ(table.SetCell(0, RetentionTimeTable::kNameColumn, " н-Тридекан "), " н-Тридекан ");
    EXPECT_EQ(table.Records()[0].componentName, " н-Тридекан ");
    EXPECT_EQ(table.Records()[0].component, undecane); // looked up again only by the next load

    ASSERT_TRUE(Load());
    const std::initializer_list<std::pair<std::size_t, int>> refused = {
        {0, 0}, {0, 4}, {0, -1}, {3, RetentionTimeTable::kGasTimeColumn}};
    for (const auto& [index, column] : refused)
        EXPECT_FALSE(table.SetCell(index, column, "1")) << index << ", " << column;
    EXPECT_FALSE(table.Modified());
    EXPECT_EQ(table.Records()[0].gasTime, 30.579);
}

TEST_F(RetentionTimes, DeletesByRowIdAfterRowsHaveMoved) {
    LoadThree();
    EXPECT_TRUE(table.DeleteRecord(1));
    EXPECT_EQ(table.AddRecord(), 3); // the record count, not the number of rows left
    EXPECT_EQ(table.AddRecord(), 4);
    EXPECT_EQ(table.RecordCount(), 5);
    const CompTime& added = table.Records().back();
    EXPECT_EQ(added.componentName, kNewCompTimeName);
    EXPECT_EQ(added.gasTime, NotSet);
    EXPECT_EQ(added.liquidTime, NotSet);
    EXPECT_EQ(added.component, nullptr);

    table.SortByGasTime(); // the new records move to the front
    EXPECT_EQ(RowIds(), (std::vector<std::int32_t>{3, 4, 0, 2}));
    EXPECT_TRUE(table.DeleteRecord(3));
    EXPECT_EQ(RowIds(), (std::vector<std::int32_t>{4, 0, 2}));
    EXPECT_FALSE(table.DeleteRecord(3));
    EXPECT_FALSE(table.DeleteRecord(1));
    EXPECT_EQ(table.Records().size(), 3u);
}

TEST_F(RetentionTimes, SavesEditsSortedBehindTheUnchangedHeader) {
    // A header the program never reads, with odd spacing and cells, kept byte for byte.
    const std::string header = Utf8ToCp1251(" Компонент ;;газ; ДК \r\n");
    const auto file = WriteTimes(header + DataFileBytes({"н-Ундекан;30.579;21.885", "н-Декан;;9.25",
                                                         "н-Додекан;33.842;24.23", "Неизвестный;1;2"}));
    ASSERT_TRUE(Load()) << error;
    ASSERT_EQ(table.HeaderLength(), static_cast<std::int32_t>(header.size()));

    EXPECT_EQ(table.SetCell(0, RetentionTimeTable::kGasTimeColumn, "12,5"), "12.5");
    EXPECT_EQ(table.SetCell(2, RetentionTimeTable::kLiquidTimeColumn, "---"), "---");
    EXPECT_TRUE(table.DeleteRecord(3));
    table.SetCell(table.Records().size() - 1, RetentionTimeTable::kNameColumn, "Н-ТРИДЕКАН");
    const std::int32_t added = table.AddRecord();
    table.SetCell(3, RetentionTimeTable::kNameColumn, "н-Тридекан");
    table.SetCell(3, RetentionTimeTable::kGasTimeColumn, "20");

    ASSERT_TRUE(table.SaveIfModified(dir.path(), &error)) << error;
    EXPECT_FALSE(table.Modified());
    EXPECT_EQ(ReadBytes(file), header + DataFileBytes({"н-Декан;;9.2500", "н-Ундекан;12.5000;21.8850",
                                                       "н-Тридекан;20.0000;", "Н-ТРИДЕКАН;33.8420;"}));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"Comps.csv", "CompsTime.csv", "TableSection7.csv",
                                                       "TableSection8.csv"}));

    // What the editor shows after OK: the file loaded again, names looked up afresh.
    log.Clear();
    ASSERT_TRUE(Load()) << error;
    EXPECT_TRUE(log.IsEmpty());
    ASSERT_EQ(table.Records().size(), 4u);
    EXPECT_EQ(table.Records()[1].gasTime, 12.5);
    EXPECT_EQ(RetentionTimeTable::TimeText(table.Records()[1].gasTime), "12.5000");
    EXPECT_EQ(RetentionTimeTable::TimeText(table.Records()[3].liquidTime), "---");
    EXPECT_EQ(table.Records()[3].component, components.FindComponent("н-Тридекан"));
    EXPECT_EQ(added, 4);
}

// Every way a save can fail keeps the file as it was and the edits in memory.
TEST_F(RetentionTimes, AFailedSaveLosesNothing) {
    struct Case {
        const char* what;
        std::function<void()> prepare; // after the load and an edit
        const char* reason;            // part of the error text
    };
    const Case cases[] = {
        {"read-only file", [this] { ASSERT_EQ(::chmod((dir / "CompsTime.csv").c_str(), 0444), 0); },
         "Не удалось записать файл"},
        {"missing file", [this] { std::filesystem::remove(dir / "CompsTime.csv"); }, "не найден"},
        {"header changed since the load",
         [this] {
             WriteTimes(DataFileBytes({"Компонент;Газ", "н-Декан;1;2"}));
         },
         "изменился после загрузки"},
        {"name with a separator", [this] { table.SetCell(0, RetentionTimeTable::kNameColumn, "н-Декан;1"); },
         "разделитель"},
        {"name outside the code page",
         [this] { table.SetCell(0, RetentionTimeTable::kNameColumn, "н-Декан ≈"); }, "Windows-1251"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadThree();
        ASSERT_TRUE(table.SetCell(0, RetentionTimeTable::kGasTimeColumn, "1"));
        c.prepare();
        const std::filesystem::path file = dir / "CompsTime.csv";
        const bool existed = std::filesystem::exists(file);
        const std::string before = existed ? ReadBytes(file) : std::string();

        error.clear();
        EXPECT_FALSE(table.SaveIfModified(dir.path(), &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_NE(error.find(file.string()), std::string::npos) << error;
        if (existed) {
            EXPECT_EQ(ReadBytes(file), before);
        } else {
            EXPECT_FALSE(std::filesystem::exists(file));
        }
        EXPECT_EQ(dir.Entries().size(), existed ? 4u : 3u); // no temporary file left
        EXPECT_TRUE(table.Modified());
        ASSERT_EQ(table.Records().size(), 3u);
        EXPECT_EQ(table.Records()[0].gasTime, NotSet); // sorted before the write was tried
        EXPECT_EQ(table.Records()[1].gasTime, 1.0);

        std::filesystem::remove(file);
    }
}

} // namespace
} // namespace talvex
