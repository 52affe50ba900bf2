#include "core/components/component_table.h"

#include "core/common/text_codec.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace talvex {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

using testing::DataFileBytes;

constexpr std::string_view kCompsHeader = ";Компонент;Имя;Группа;ЧАУ;Ткип;ММ;Плотн;К-ПИД;К-ДТП;Атест;"
                                          "Группа ж;ЧАУ ж;Ткип ж;ММ ж;К-ПИД ж;Атест ж";
constexpr std::string_view kNormsHeader = "Компонент;Диапазон;c2;c3;c4;d;r;R";
// 17 cells; the FID factor cells are empty.
constexpr std::string_view kMethaneRow = ";Метан;Метан;;1;-161.5;16.043;;;0.45;;;1;-161.5;16.043;;";

void WriteDatabase(const TempFolder& dir, std::string comps,
                   std::string gasNorms = DataFileBytes({kNormsHeader}),
                   std::string liquidNorms = DataFileBytes({kNormsHeader})) {
    dir.Write("Comps.csv", comps);
    dir.Write("TableSection7.csv", gasNorms);
    dir.Write("TableSection8.csv", liquidNorms);
}

TEST(LoadComponents, ReadsEveryCellOfAComponentRow) {
    TempFolder dir;
    WriteDatabase(dir, DataFileBytes({kCompsHeader, ";Этан;C2H6;Этан, F45-60;2;-88.6;30.07;0.34;15.1;0.59;12;"
                                                    "F60-70;2.5;-88;30.1;15.2;7.5"}));
    ComponentTable table;
    EXPECT_TRUE(table.LoadComponents(dir.path()).empty());
    ASSERT_EQ(table.records.size(), 1u);
    const ComponentRecord& r = table.records[0];
    EXPECT_EQ(r.id, 0);
    EXPECT_EQ(r.key, "Этан");
    EXPECT_EQ(r.displayName, "C2H6");
    EXPECT_EQ(r.gas.group, "Этан, F45-60");
    const double gas[] = {r.gas.carbonNumber, r.gas.boilingPoint, r.gas.molarMass,     r.gas.density,
                          r.gas.fidFactor,    r.gas.tcdFactor,    r.gas.certifiedValue};
    const double gasExpected[] = {2, -88.6, 30.07, 0.34, 15.1, 0.59, 12};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(gas[i], gasExpected[i]) << "gas cell " << i + 4;
    EXPECT_EQ(r.liquid.group, "F60-70");
    const double liquid[] = {r.liquid.carbonNumber, r.liquid.boilingPoint, r.liquid.molarMass,
                             r.liquid.fidFactor, r.liquid.certifiedValue};
    const double liquidExpected[] = {2.5, -88, 30.1, 15.2, 7.5};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(liquid[i], liquidExpected[i]) << "liquid cell " << i + 12;
    EXPECT_EQ(r.liquid.density, NotSet); // never in the file
    EXPECT_EQ(r.liquid.tcdFactor, NotSet);
    EXPECT_EQ(table.componentsHeaderLength, static_cast<std::int32_t>(Utf8ToCp1251(kCompsHeader).size() + 2));
}

TEST(LoadComponents, HandlesShortBlankAndUnfinishedRowsAndOddNumbers) {
    TempFolder dir;
    WriteDatabase(dir, DataFileBytes({kCompsHeader, kMethaneRow,
                                      ";Азот;Азот;;0;-195.8;28.014;;;0.667;;;0;;28.014;;", // carbon number 0
                                      "",                                                  // a blank line
                                      ";Пропан;Пропан;н-Бутан, F60-70;3",                  // a short row
                                      ";Бутан;Бутан;;12,5;abc; 7;;;;;;;;;;"}) +
                           Utf8ToCp1251(";Пентан;Пентан;;5")); // no CR LF: not loaded
    ComponentTable table;
    EXPECT_TRUE(table.LoadComponents(dir.path()).empty());
    ASSERT_EQ(table.records.size(), 4u);
    for (std::size_t i = 0; i < table.records.size(); ++i)
        EXPECT_EQ(table.records[i].id, static_cast<std::int32_t>(i));

    const ComponentRecord& methane = table.records[0];
    EXPECT_DOUBLE_EQ(methane.gas.fidFactor, 16.043); // molar mass / carbon number
    EXPECT_DOUBLE_EQ(methane.liquid.fidFactor, 16.043);
    EXPECT_EQ(methane.gas.density, NotSet);

    const ComponentRecord& nitrogen = table.records[1];
    EXPECT_EQ(nitrogen.gas.carbonNumber, 0.0); // read as 0, which is a set value
    EXPECT_EQ(nitrogen.gas.fidFactor, NotSet); // no division by a carbon number of 0
    EXPECT_EQ(nitrogen.liquid.boilingPoint, NotSet);

    const ComponentRecord& propane = table.records[2];
    EXPECT_EQ(propane.key, "Пропан");
    EXPECT_EQ(propane.gas.group, "н-Бутан, F60-70");
    EXPECT_EQ(propane.gas.carbonNumber, 3.0);
    EXPECT_EQ(propane.gas.boilingPoint, NotSet);
    EXPECT_EQ(propane.liquid.group, "");
    EXPECT_EQ(propane.liquid.certifiedValue, NotSet);

    const ComponentRecord& butane = table.records[3];
    EXPECT_EQ(butane.gas.carbonNumber, 12.0); // "12,5": the comma ends the number
    EXPECT_EQ(butane.gas.boilingPoint, 0.0);  // text reads as 0
    EXPECT_EQ(butane.gas.molarMass, 7.0);
    EXPECT_EQ(table.FindComponent("Пентан"), nullptr);
}

TEST(LoadComponents, AttachesNormRowsToTheirComponents) {
    TempFolder dir;
    WriteDatabase(dir, DataFileBytes({kCompsHeader, kMethaneRow}),
                  DataFileBytes({kNormsHeader,
                                 ";от 9 до 10;1;1;1;1;1;1", // before any named row: dropped
                                 "Метан;от 0.1 до 1;0.5;0.6;0.7;4;1.5;2.5",
                                 ";от 1 до 5;;;;2;1;", // continues Метан; empty cells read as 0
                                 "МЕТАН;от 5 до 50;1;1;1;1;1;1",            // the key in other letter case
                                 "Гелий;от 0.001 до 0.01;1;2;3;30;20;30"}), // not in Comps.csv
                  DataFileBytes({kNormsHeader, "гелий;от 0.5 до 7;1;2;3;4;5;6", "Метан;от 3;1;1;1;1;1;1"}));
    ComponentTable table;
    EXPECT_TRUE(table.LoadComponents(dir.path()).empty());
    ASSERT_EQ(table.records.size(), 2u);

    const ComponentRecord& methane = table.records[0];
    ASSERT_EQ(methane.gasNorms.size(), 3u);
    const NormRange& first = methane.gasNorms[0];
    EXPECT_EQ(first.low, 0.1);
    EXPECT_EQ(first.high, 1.0);
    EXPECT_EQ(first.column2, 0.5);
    EXPECT_EQ(first.column3, 0.6);
    EXPECT_EQ(first.column4, 0.7);
    EXPECT_EQ(first.delta, 4.0);
    EXPECT_EQ(first.repeatability, 1.5);
    EXPECT_EQ(first.reproducibility, 2.5);
    EXPECT_EQ(methane.gasNorms[1].low, 1.0);
    EXPECT_EQ(methane.gasNorms[1].high, 5.0);
    EXPECT_EQ(methane.gasNorms[1].column2, 0.0);
    EXPECT_EQ(methane.gasNorms[1].reproducibility, 0.0);
    EXPECT_EQ(methane.gasNorms[2].low, 5.0);

    // Bounds are strict: 1 lies in neither (0.1, 1) nor (1, 5).
    EXPECT_EQ(FirstApplicableNorm(methane.gasNorms, 0.5), &methane.gasNorms[0]);
    EXPECT_EQ(FirstApplicableNorm(methane.gasNorms, 1.0), nullptr);
    EXPECT_EQ(FirstApplicableNorm(methane.gasNorms, 1.5), &methane.gasNorms[1]);

    // A range without "до" has no upper bound to read and so never applies.
    ASSERT_EQ(methane.liquidNorms.size(), 1u);
    EXPECT_EQ(methane.liquidNorms[0].low, 3.0);
    EXPECT_EQ(FirstApplicableNorm(methane.liquidNorms, 4.0), nullptr);

    // A component named only by a norm file becomes a record with just its name.
    const ComponentRecord* helium = table.FindComponent("ГЕЛИЙ");
    ASSERT_NE(helium, nullptr);
    EXPECT_EQ(helium->id, 1);
    EXPECT_EQ(helium->key, "Гелий");
    EXPECT_EQ(helium->displayName, "Гелий");
    EXPECT_EQ(helium->gas.molarMass, NotSet);
    EXPECT_EQ(helium->gas.group, "");
    ASSERT_EQ(helium->gasNorms.size(), 1u);
    ASSERT_EQ(helium->liquidNorms.size(), 1u); // matched by key in other letter case
    EXPECT_EQ(helium->liquidNorms[0].high, 7.0);
}

TEST(LoadComponents, ReportsEachMissingFileAndLoadsTheOthers) {
    TempFolder dir;
    dir.Write("TableSection8.csv", DataFileBytes({kNormsHeader, "Метан;от 1 до 2;0;0;0;0;0;0"}));
    ComponentTable table;
    table.records.resize(3); // replaced by the load
    const auto errors = table.LoadComponents(dir.path());
    const std::string prefix = "Файл базы данных не найден.\r\nФайл базы данных:\r\n";
    EXPECT_EQ(errors, (std::vector<std::string>{prefix + (dir / "Comps.csv").string(),
                                                prefix + (dir / "TableSection7.csv").string()}));
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.records[0].key, "Метан");
    EXPECT_EQ(table.componentsHeaderLength, -1);
    EXPECT_EQ(table.gasNormsHeaderLength, -1);
    EXPECT_EQ(table.liquidNormsHeaderLength,
              static_cast<std::int32_t>(Utf8ToCp1251(kNormsHeader).size() + 2));

    std::string error;
    EXPECT_FALSE(table.SaveComponents(dir.path(), &error));
    EXPECT_EQ(error, prefix + (dir / "Comps.csv").string());
    EXPECT_FALSE(std::filesystem::exists(dir / "Comps.csv"));
}

TEST(LoadComponents, AZeroByteFileGivesNoRecordsAndIsNeverWrittenWithoutAHeader) {
    TempFolder dir;
    WriteDatabase(dir, "");
    ComponentTable table;
    EXPECT_TRUE(table.LoadComponents(dir.path()).empty());
    EXPECT_TRUE(table.records.empty());
    EXPECT_EQ(table.componentsHeaderLength, -1);

    table.records.emplace_back().key = "Метан";
    std::string error;
    EXPECT_FALSE(table.SaveComponents(dir.path(), &error));
    EXPECT_NE(error.find("нет строки заголовка"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(dir / "Comps.csv"), "");
}

TEST(SaveComponents, KeepsTheHeaderAndWritesEveryRecordInTheProgramsNumberFormat) {
    TempFolder dir;
    // A header the program never reads: it must survive byte for byte, odd spacing included.
    const std::string header = DataFileBytes({";  Компонент ;Имя; °С ;x"});
    WriteDatabase(dir, header + DataFileBytes({kMethaneRow, ";Этан;Этан;Этан, F45-60;2", ";Пропан;Пропан"}),
                  DataFileBytes({kNormsHeader, "Гелий;от 1 до 2;0;0;0;0;0;0"}));
    ComponentTable table;
    ASSERT_TRUE(table.LoadComponents(dir.path()).empty());
    ASSERT_EQ(table.records.size(), 4u);
    table.records.erase(table.records.begin() + 2); // delete Пропан
    table.records[1].gas.boilingPoint = -88.6;

    std::string error;
    ASSERT_TRUE(table.SaveComponents(dir.path(), &error)) << error;
    EXPECT_EQ(
        ReadBytes(dir / "Comps.csv"),
        header + DataFileBytes({";Метан;Метан;;1.000000;-161.500000;16.043000;;16.043000;0.450000;;;1.000000;"
                                "-161.500000;16.043000;16.043000;",
                                ";Этан;Этан;Этан, F45-60;2.000000;-88.600000;;;;;;;;;;;",
                                ";Гелий;Гелий;;;;;;;;;;;;;;"}));

    ComponentTable again;
    ASSERT_TRUE(again.LoadComponents(dir.path()).empty());
    ASSERT_EQ(again.records.size(), 3u); // Гелий now has a row and takes its norms there
    EXPECT_EQ(again.records[2].key, "Гелий");
    EXPECT_EQ(again.records[2].gasNorms.size(), 1u);
}

TEST(FindComponent, MatchesDisplayNameOrKeyInAnyLetterCaseInTableOrder) {
    ComponentTable table;
    auto add = [&](std::string key, std::string display) {
        ComponentRecord& r = table.records.emplace_back();
        r.id = static_cast<std::int32_t>(table.records.size() - 1);
        r.key = std::move(key);
        r.displayName = std::move(display);
    };
    add("Метан", "Метан");
    add("Этан", "");
    add("Пропан", "C3"); // record 2: display name "C3"
    add("F60-70", "F60-70");
    add("изо-Бутан", "i-C4");
    add("C3", "Пропан-2"); // record 5: key "C3"

    const struct {
        const char* name;
        int expectedId; // -1: none
    } cases[] = {
        {"МЕТАН", 0},  {"метан", 0}, {"этан", 1},      {"Пропан", 2},   {"c3", 2}, // record 2 before record 5
        {"f60-70", 3}, {"I-C4", 4},  {"ИЗО-БУТАН", 4}, {"Пропан-2", 5}, {"Бутан", -1},
        {"", -1}, // an empty name names nothing, even though record 1 has an empty display name
    };
    for (const auto& c : cases) {
        const ComponentRecord* r = table.FindComponent(c.name);
        if (c.expectedId < 0)
            EXPECT_EQ(r, nullptr) << c.name;
        else
            EXPECT_TRUE(r && r->id == c.expectedId) << c.name;
    }
    table.FindComponent("этан")->gas.group = "changed";
    EXPECT_EQ(table.records[1].gas.group, "changed");
}

} // namespace
} // namespace talvex
