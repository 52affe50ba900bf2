#include "odt_fixture.h"

#include <gtest/gtest.h>

namespace brisquel_test {
namespace {

// Keys of exactly 15 characters, Latin and Cyrillic (30 bytes: characters count, not bytes).
constexpr const char* kData = "<root>"
                              "<DateCreated>09.12.2023, 14:30:05</DateCreated>"
                              "<A>один</A><B>2,500</B>"
                              "<Key15CharsLongX>v15</Key15CharsLongX><Key16CharsLong_X>v16</Key16CharsLong_X>"
                              "<Ключ_Пятнадцать>к15</Ключ_Пятнадцать><Ключ_Шестнадцать>к16</Ключ_Шестнадцать>"
                              "<Dup>first</Dup><Dup>second</Dup>"
                              "<Empty/>"
                              "<Cdata><![CDATA[a<b]]></Cdata>"
                              "<Long>0123456789</Long>"
                              "</root>";

struct TextCase {
    const char* what;
    std::string templateText;
    std::string expected;
};

class TextMarkers : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextMarkers, FillOneParagraph) {
    const TextCase& c = GetParam();
    const std::string body = FillBody("<text:p>" + c.templateText + "</text:p>", kData);
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{c.expected}) << body;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextMarkers,
    ::testing::Values(
        TextCase{"caption and date", "Дата отчета: #DateCreated#", "Дата отчета: 09.12.2023, 14:30:05"},
        TextCase{"two markers around words", "#A# и затем #B# в конце", "один и затем 2,500 в конце"},
        TextCase{"missing key vanishes", "x #Nothing# y", "x  y"},
        TextCase{"element without text vanishes", "[#Empty#]", "[]"},
        TextCase{"first of repeated keys", "#Dup#", "first"}, TextCase{"value from CDATA", "#Cdata#", "a<b"},
        TextCase{"keys are case-sensitive", "#a#", ""},
        TextCase{"15-character key", "#Key15CharsLongX#", "v15"},
        TextCase{"15-character Cyrillic key", "#Ключ_Пятнадцать#", "к15"},
        TextCase{"16 characters open no marker; unpaired sign stays", "#Key16CharsLong_X#",
                 "#Key16CharsLong_X#"},
        TextCase{"16-character Cyrillic key", "#Ключ_Шестнадцать#", "#Ключ_Шестнадцать#"},
        TextCase{"16 characters: first sign dropped, next opens", "#0123456789abcdef#A# end",
                 "0123456789abcdefодин end"},
        TextCase{"lone sign stays", "Проба № #5", "Проба № #5"},
        TextCase{"last sign without partner keeps the whole text", "#A# and #", "#A# and #"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return "case" + std::to_string(info.index); });

TEST(TextMarkersLimit, TextBeforeMarkerBeyondLimitLeavesTextUnchanged) {
    // 1020 characters before the marker and a 10-character value do not fit into 1023.
    const std::string before(1020, 'x');
    const std::string body = FillBody("<text:p>" + before + "#Long#</text:p>", kData);
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{before + "#Long#"});
}

TEST(TextMarkersLimit, RestAfterLastMarkerIsCutAtLimit) {
    const std::string rest(2000, 'y');
    const std::string body = FillBody("<text:p>#Long#" + rest + "</text:p>", kData);
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{"0123456789" + std::string(1013, 'y')});
}

TEST(TextMarkersLimit, LimitCountsCharactersNotBytes) {
    // 1000 Cyrillic letters are 2000 bytes but fit, together with the value, into 1023 characters.
    std::string before;
    for (int i = 0; i < 1000; ++i)
        before += "ж";
    const std::string body = FillBody("<text:p>" + before + "#Long#</text:p>", kData);
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{before + "0123456789"});
}

TEST(TextMarkers, BlankOnlySpanBetweenWordsIsKept) {
    const std::string body = FillBody(
        "<text:p><text:span>Слово</text:span><text:span> </text:span><text:span>второе</text:span></text:p>",
        kData);
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{"Слово второе"});
}

TEST(TextMarkers, BlankBetweenTwoSpansIsKept) {
    const std::string body =
        FillBody("<text:p><text:span>Газ</text:span> <text:span>дегазации</text:span> #A#</text:p>", kData);
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{"Газ дегазации один"});
}

TEST(TextMarkers, OutputAddsNoWhitespaceBetweenRuns) {
    // A line break between two runs would show as a space in a word processor.
    const TempFolder folder;
    const std::string paragraph = "<text:p><text:span>Сло</text:span><text:span>во</text:span></text:p>";
    const auto templ = WriteTemplate(folder, ContentXml(paragraph));
    ASSERT_EQ(RunExport(ParseData(kData), templ, folder / "report.odt"), 0);
    EXPECT_NE(ReadZipEntry(folder / "report.odt", "content.xml").value_or("").find(paragraph),
              std::string::npos);
}

TEST(TextMarkers, ValuesAreNotReadAsMarkers) {
    const std::string body = FillBody("<text:p>#V# #A#</text:p>", "<root><V>#A#</V><A>1</A></root>");
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{"#A# 1"});
}

} // namespace
} // namespace brisquel_test
