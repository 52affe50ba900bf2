#include "core/common/case_fold.h"
#include "core/components/database_path.h"
#include "core/components/group_text.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

TEST(PickGroupPart, ReturnsTheFirstQualifyingPartOfEachKind) {
    const struct {
        const char* text;
        const char* fraction;
        const char* component;
    } cases[] = {
        {"н-Бутан, F60-70", "F60-70", "н-Бутан"},
        {"F60-70", "F60-70", ""},
        {"н-Бутан", "", "н-Бутан"},
        {"", "", ""},
        {"F1, Ab", "", ""}, // parts of two characters never count
        {"F1, Аб, Абв", "", "Абв"},
        {"F45-60, F60-70, Пропан, Этан", "F45-60", "Пропан"},
        {"f60-70", "", "f60-70"},                 // only the Latin capital F marks a fraction
        {"Ф60-70", "", "Ф60-70"},                 // nor does the Cyrillic one
        {"н-Бутан,F60-70", "", "н-Бутан,F60-70"}, // the separator is comma and blank
        {", , F60-70", "F60-70", ""},
        {"Этан, ", "", "Этан"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PickGroupPart(c.text, true), c.fraction) << c.text;
        EXPECT_EQ(PickGroupPart(c.text, false), c.component) << c.text;
    }
}

TEST(EqualsIgnoringCase, FoldsCyrillicAndLatinAlike) {
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"Метан", "МЕТАН", true},
        {"метан", "Метан", true},
        {"ЁЛКА", "ёлка", true},
        {"F60-70", "f60-70", true},
        {"н-Бутан", "Н-БУТАН", true},
        {"Метан", "Метан ", false},
        {"Метан", "Мета", false},
        {"ё", "е", false},
        {"", "", true},
        {"Methane", "METHANE", true},
        {"C", "С", false}, // Latin C is not Cyrillic С
    };
    for (const auto& c : cases)
        EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(DatabaseFilePath, ReturnsTheFileInTheDataFolderOrAnErrorForTheOperator) {
    testing::TempFolder dir;
    dir.Write("Comps.csv", "");
    std::string error = "unchanged";
    EXPECT_EQ(DatabaseFilePath(dir.path(), "Comps.csv", &error), dir / "Comps.csv");
    EXPECT_EQ(error, "unchanged");

    EXPECT_TRUE(DatabaseFilePath(dir.path(), "TableSection7.csv", &error).empty());
    EXPECT_EQ(error,
              "Файл базы данных не найден.\r\nФайл базы данных:\r\n" + (dir / "TableSection7.csv").string());
}

} // namespace
} // namespace talvex
