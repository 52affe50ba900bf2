// Reading the laboratory's earlier control results: good files in both encodings and both decimal
// marks, and every kind of bad line named by its number.
#include "core/controlchart/control_import.h"

#include "core/common/text_codec.h"
#include "core/components/csv_table.h"
#include "core/section7/controls.h"
#include "core/section8/condensate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace talvex::controlchart {
namespace {

constexpr const char* kHeader = "дата;вид;среда;состав;компонент;результат;опорное;норматив\n";

std::vector<ControlObservation> Good(std::string_view text) {
    auto parsed = ParseControlImport(text);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<std::vector<ControlObservation>>(parsed);
}

std::string Bad(std::string_view text) {
    auto parsed = ParseControlImport(text);
    if (std::holds_alternative<std::string>(parsed))
        return std::get<std::string>(parsed);
    ADD_FAILURE() << "accepted";
    return {};
}

TEST(ControlImport, EveryKindOfResultWithTheProgramsLimits) {
    const auto rows =
        Good(std::string(kHeader) + "05.03.2024 08:07;ОКП;газ;компонентный;Метан;90,2;90,0;2,5\n"
                                    "2024-03-06;окп;Газ;компонентно-фракционный;F45-60;1.5;1.4;10\n"
                                    "07.03.2024;ОКП;конденсат;A;н-Гептан;5,3;5,0;6\n"
                                    "08.03.2024;ОКП;конденсат;В;н-Гептан;5,3;5,0;6\n" // Cyrillic В
                                    "2024-03-09T10:00:00Z;ОКЭ;газ;;Этан;5,3;5;4\n"
                                    "10.03.2024;ОКЭ;конденсат;;н-Гептан;4.1;4.0;5\n");
    ASSERT_EQ(rows.size(), 6u);
    for (const ControlObservation& o : rows) {
        EXPECT_TRUE(o.imported);
        EXPECT_TRUE(o.record.empty());
        EXPECT_FALSE(o.excluded);
    }
    // The tests run with TZ=UTC.
    EXPECT_EQ(rows[0].time, 1709626020);
    EXPECT_EQ(rows[0].order, 2);
    EXPECT_EQ(rows[0].key.kind, ControlKind::Okp);
    EXPECT_EQ(rows[0].key.list, "component");
    EXPECT_EQ(rows[0].key.component, "Метан");
    EXPECT_EQ(rows[0].measured, 90.2);
    EXPECT_EQ(rows[0].reference, 90.0);
    EXPECT_NEAR(rows[0].difference, 0.2, 1e-12);
    EXPECT_NEAR(rows[0].limit, 1.89210, 1e-12);
    EXPECT_EQ(rows[0].limit, ControlSampleLimit(2.5, 90.2, 90.0));
    EXPECT_EQ(rows[1].key.list, "fractional");
    EXPECT_EQ(rows[2].key.medium, ControlMedium::Condensate);
    EXPECT_EQ(rows[2].key.list, "A");
    EXPECT_NEAR(rows[2].limit, 0.25956, 1e-12);
    EXPECT_EQ(rows[2].limit, CondensateOkpLimit(6, 5.0, 5.3));
    EXPECT_EQ(rows[3].key.list, "B");
    EXPECT_EQ(rows[4].key.kind, ControlKind::Oke);
    EXPECT_EQ(rows[4].key.list, "");
    EXPECT_EQ(rows[4].time, 1709978400);
    EXPECT_NEAR(rows[4].limit, 0.2, 1e-12);
    EXPECT_EQ(rows[4].limit, ControlStandardLimit(4, 5.0));
    EXPECT_NEAR(rows[5].limit, 0.2, 1e-12);
    EXPECT_EQ(rows[5].limit, CondensateOkeLimit(5, 4.0));
}

TEST(ControlImport, EncodingsLineEndsAndBlankLines) {
    const std::string utf8 = std::string(kHeader) + "05.03.2024;ОКЭ;газ;;Этан;5,3;5;4\n";
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"utf8", utf8},
        {"utf8_bom_crlf",
         "\xEF\xBB\xBF" + std::string("дата;вид;среда;состав;компонент;результат;опорное;норматив\r\n"
                                      "05.03.2024;ОКЭ;газ;;Этан;5,3;5;4\r\n")},
        {"windows1251", Utf8ToCp1251(utf8)},
        {"blank_lines_and_trailing_separators",
         "\n" + std::string("дата;вид;среда;состав;компонент;результат;опорное;норматив;;\n") + ";;;\n" +
             " 05.03.2024 ; ОКЭ ; газ ;; Этан ; 5,3 ; 5 ; 4 ;\n\n"},
        {"no_final_line_end", std::string(kHeader) + "05.03.2024;ОКЭ;газ;;Этан;5,3;5;4"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const auto rows = Good(f.bytes);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].key.component, "Этан");
        EXPECT_EQ(rows[0].measured, 5.3);
        EXPECT_EQ(rows[0].limit, ControlStandardLimit(4, 5.0));
    }
}

TEST(ControlImport, BadLinesAreNamedWithTheirNumber) {
    const std::string ok = "05.03.2024;ОКП;газ;компонентный;Метан;90,2;90,0;2,5\n";
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "строка 1: нужен заголовок"},
        {"date;kind;medium;list;component;result;reference;norm\n" + ok, "строка 1: нужен заголовок"},
        {kHeader, "строка 2: в файле нет ни одного результата"},
        {kHeader + ok + "31.02.2024;ОКП;газ;компонентный;Метан;1;1;1\n",
         "строка 3: неверная дата «31.02.2024»"},
        {kHeader + std::string("2024-03-05 25:00;ОКЭ;газ;;Этан;1;1;1\n"), "строка 2: неверная дата"},
        {kHeader + std::string("05.03.2024;ОКС;газ;;Этан;1;1;1\n"), "строка 2: вид «ОКС»: нужно ОКП или ОКЭ"},
        {kHeader + std::string("05.03.2024;ОКЭ;вода;;Этан;1;1;1\n"), "строка 2: среда «вода»"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;A;Этан;1;1;1\n"), "строка 2: состав «A»: для ОКЭ"},
        {kHeader + std::string("05.03.2024;ОКП;газ;A;Этан;1;1;1\n"), "строка 2: состав «A»: для ОКП газа"},
        {kHeader + std::string("05.03.2024;ОКП;конденсат;компонентный;Этан;1;1;1\n"),
         "строка 2: состав «компонентный»: для ОКП конденсата"},
        {kHeader + std::string("05.03.2024;ОКП;газ;;Этан;1;1;1\n"), "строка 2: состав «»"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;;1;1;1\n"), "строка 2: нет компонента"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1 %;1;1\n"), "строка 2: результат «1 %» не число"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1;;1\n"), "строка 2: опорное «» не число"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1;1;1e999\n"),
         "строка 2: норматив «1e999» не число"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1;1;nan\n"), "строка 2: норматив «nan» не число"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1,2,3;1;1\n"),
         "строка 2: результат «1,2,3» не число"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;-1;1;1\n"), "строка 2: результат вне 0…100"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1;101;1\n"), "строка 2: опорное вне 0…100"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1;1;0\n"),
         "строка 2: норматив должен быть больше нуля"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1;1\n"), "строка 2: 7 столбцов вместо 8"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;0,1;0;4\n"),
         "строка 2: норматив дает нулевой предел K"},
        {kHeader + std::string("05.03.2024;ОКП;газ;компонентный;Этан;0;0;4\n"),
         "строка 2: норматив дает нулевой"},
        {kHeader + std::string("05.03.2024;ОКЭ;газ;;Этан;1;1;1;x\n"), "строка 2: лишний столбец 9"},
        {kHeader + ok + "\n" + "05.03.2024;ОКЭ;газ;;Этан;1;1\n", "строка 4: 7 столбцов"},
        {kHeader + std::string(kMaxCsvLineBytes, 'x') + "\n", "строка 2: длиннее"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 200));
        const std::string error = Bad(c.text);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
}

TEST(ControlImport, FileLimits) {
    std::string many(kHeader);
    for (std::size_t i = 0; i < kMaxCsvRows; ++i)
        many += "\n";
    EXPECT_EQ(Bad(many).rfind("файл: больше", 0), 0u);
    EXPECT_EQ(Bad(std::string(kMaxCsvFileBytes + 1, '\n')).rfind("файл: больше", 0), 0u);
}

} // namespace
} // namespace talvex::controlchart
