#include "odt_fixture.h"

#include <gtest/gtest.h>

namespace brisquel_test {
namespace {

// A data row whose per-analysis values form a chain: each further "MassP" is a child of the previous one.
constexpr const char* kThreeAnalyses = "<root><Table3><row>"
                                       "<NameComp>Метан</NameComp>"
                                       "<MassP>1,000<MassP>2,000<MassP>3,000</MassP></MassP></MassP>"
                                       "</row></Table3></root>";

std::string CellTable(const std::string& cellContent) {
    return "<table:table><table:table-row><table:table-cell>" + cellContent +
           "</table:table-cell></table:table-row></table:table>";
}

TEST(ValueChain, EveryValueGetsItsOwnParagraphInTheCell) {
    const std::string body =
        FillBody(CellTable("<text:p text:style-name=\"P3\">#Table3##MassP#</text:p>"), kThreeAnalyses);
    EXPECT_EQ(body, CellTable("<text:p text:style-name=\"P3\">1,000</text:p>"
                              "<text:p text:style-name=\"P3\">2,000</text:p>"
                              "<text:p text:style-name=\"P3\">3,000</text:p>"));
}

TEST(ValueChain, TextAroundTheMarkerGoesToFirstAndLastParagraph) {
    const std::string body = FillBody(CellTable("<text:p>#Table3#(#MassP#) %</text:p>"), kThreeAnalyses);
    EXPECT_EQ(ParagraphTexts(body), (std::vector<std::string>{"(1,000", "2,000", "3,000) %"}));
}

TEST(ValueChain, SingleValueMakesNoCopies) {
    const std::string body =
        FillBody("<text:p>#MassP#</text:p>", "<root><MassP>5,000</MassP><Other>x</Other></root>");
    EXPECT_EQ(body, "<text:p>5,000</text:p>");
}

TEST(ValueChain, ChainedElementWithoutTextEndsTheChain) {
    const std::string body = FillBody("<text:p>#MassP#</text:p>",
                                      "<root><MassP>1,000<MassP><MassP>3,000</MassP></MassP></MassP></root>");
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{"1,000"});
}

TEST(ValueChain, ChainInASpanCopiesTheSpan) {
    const std::string body =
        FillBody("<text:p>Доля: <text:span text:style-name=\"T1\">#MassP#</text:span></text:p>",
                 "<root><MassP>1<MassP>2</MassP></MassP></root>");
    EXPECT_EQ(body, "<text:p>Доля: <text:span text:style-name=\"T1\">1</text:span>"
                    "<text:span text:style-name=\"T1\">2</text:span></text:p>");
}

TEST(ValueChain, CopiesAreUndoneWhenTheTextCannotBeFilled) {
    // The chain fills the first copies, then the text after the marker ends in an unpaired sign.
    const std::string body = FillBody("<text:p>#MassP# и #B# и #</text:p>",
                                      "<root><MassP>1<MassP>2</MassP></MassP><B>b</B></root>");
    EXPECT_EQ(body, "<text:p>#MassP# и #B# и #</text:p>");
}

} // namespace
} // namespace brisquel_test
