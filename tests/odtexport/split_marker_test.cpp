#include "odt_fixture.h"

#include <gtest/gtest.h>

namespace brisquel_test {
namespace {

constexpr const char* kData = "<root><NameComp>Метан</NameComp><A>1</A><B>2</B></root>";

struct SplitCase {
    const char* what;
    std::string paragraph; // the template paragraph's content
    std::string expected;  // the filled paragraph, as written
};

class SplitMarker : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitMarker, JoinsRunsOfOneParagraph) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(FillBody("<text:p>" + c.paragraph + "</text:p>", kData), "<text:p>" + c.expected + "</text:p>");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitMarker,
    ::testing::Values(
        SplitCase{
            "marker split over two spans",
            "Имя: <text:span text:style-name=\"T1\">#Name</text:span><text:span "
            "text:style-name=\"T2\">Comp#</text:span> конец",
            "Имя: <text:span text:style-name=\"T1\">Метан</text:span><text:span text:style-name=\"T2\"/> "
            "конец"},
        SplitCase{"text after the closing sign stays in its run", "#Name<text:span>Comp#, далее</text:span>",
                  "Метан<text:span>, далее</text:span>"},
        SplitCase{"marker split over three runs", "#Na<text:span>me</text:span><text:span>Comp#</text:span>",
                  "Метан<text:span/><text:span/>"},
        SplitCase{"a bookmark between the runs is kept", "#Name<text:bookmark text:name=\"b\"/>Comp#",
                  "Метан<text:bookmark text:name=\"b\"/>"},
        SplitCase{"complete markers in one run are not joined", "#A#<text:span>-#B#</text:span>",
                  "1<text:span>-2</text:span>"},
        SplitCase{"no closing sign in the paragraph: nothing changes", "Цена #<text:span>5 руб.</text:span>",
                  "Цена #<text:span>5 руб.</text:span>"}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return "case" + std::to_string(info.index); });

TEST(SplitMarkerBounds, LoneSignNeverReachesIntoFollowingParagraphsOrTables) {
    const std::string body = FillBody("<text:p>Итого #</text:p>"
                                      "<text:p>Далее #A#</text:p>"
                                      "<table:table><table:table-row><table:table-cell>"
                                      "<text:p>ячейка #B#</text:p>"
                                      "</table:table-cell></table:table-row></table:table>"
                                      "<text:h>#A#</text:h>",
                                      kData);
    EXPECT_EQ(ParagraphTexts(body), (std::vector<std::string>{"Итого #", "Далее 1", "ячейка 2", "1"}));
    EXPECT_NE(body.find("<table:table-cell>"), std::string::npos);
}

TEST(SplitMarkerBounds, LoneSignInLastSpanDoesNotLeaveTheParagraph) {
    const std::string body =
        FillBody("<text:p><text:span>№ #</text:span></text:p><text:p>#A#</text:p>", kData);
    EXPECT_EQ(ParagraphTexts(body), (std::vector<std::string>{"№ #", "1"}));
}

TEST(SplitMarkerBounds, JoinBeyondLimitLeavesRunsAsTheyAre) {
    const std::string longRun(1100, 'x');
    const std::string paragraph = "#Name<text:span>" + longRun + "</text:span><text:span>Comp#</text:span>";
    EXPECT_EQ(FillBody("<text:p>" + paragraph + "</text:p>", kData), "<text:p>" + paragraph + "</text:p>");
}

} // namespace
} // namespace brisquel_test
