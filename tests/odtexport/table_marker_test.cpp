#include "odt_fixture.h"

#include <gtest/gtest.h>

namespace brisquel_test {
namespace {

std::string Row(std::initializer_list<std::string> cells) {
    std::string row = "<table:table-row>";
    for (const std::string& cell : cells)
        row += "<table:table-cell><text:p>" + cell + "</text:p></table:table-cell>";
    return row + "</table:table-row>";
}

std::string Table(const std::string& rows) {
    return "<table:table table:name=\"T\">" + rows + "</table:table>";
}

// The texts of every row of every table in the filled body, one string per row (cells joined by "|").
std::vector<std::string> RowTexts(const std::string& body) {
    pugi::xml_document document;
    document.load_string(("<b>" + body + "</b>").c_str());
    std::vector<std::string> rows;
    for (const pugi::xpath_node row : document.select_nodes("//table:table-row")) {
        std::string text;
        const char* separator = "";
        for (const pugi::xml_node cell : row.node().children("table:table-cell")) {
            text += separator;
            text += cell.child_value("text:p");
            separator = "|";
        }
        rows.push_back(text);
    }
    return rows;
}

constexpr const char* kData = "<root>"
                              "<Title>Состав</Title>"
                              "<Table18>"
                              "<row><NameComp>Метан</NameComp><NLH_MassP>1,000</NLH_MassP></row>"
                              "<row/>"
                              "<row><NameComp>Этан</NameComp><NLH_MassP>---</NLH_MassP></row>"
                              "</Table18>"
                              "<Table3><row><N>3a</N></row></Table3>"
                              "<Table4><row><N>4a</N></row><row><N>4b</N></row></Table4>"
                              "<Table7/>"
                              "</root>";

TEST(TableMarker, RowRepeatsPerDataRowInOrderWithSpacerRow) {
    const std::string body =
        FillBody(Table(Row({"Компонент", "#Title#"}) + Row({"#Table18##NameComp#", "#NLH_MassP#"})), kData);
    EXPECT_EQ(RowTexts(body), (std::vector<std::string>{"Компонент|Состав", "Метан|1,000", "|", "Этан|---"}));
    EXPECT_EQ(body.find("#Table18#"), std::string::npos);
}

TEST(TableMarker, TwoMarkerRowsInOneTableAreBothExpanded) {
    const std::string body =
        FillBody(Table(Row({"#Table3##N#"}) + Row({"между"}) + Row({"#Table4##N#"})), kData);
    EXPECT_EQ(RowTexts(body), (std::vector<std::string>{"3a", "между", "4a", "4b"}));
}

TEST(TableMarker, MissingDataTableRemovesTableAndItsEmptyParagraph) {
    const std::string body = FillBody(
        "<text:p>до</text:p>" + Table(Row({"#Table5##N#"})) + "<text:p/><text:p>после</text:p>", kData);
    EXPECT_EQ(body, "<text:p>до</text:p><text:p>после</text:p>");
}

TEST(TableMarker, MissingDataTableRemovesItsEmptyParagraphAlsoInAnIndentedTemplate) {
    const std::string body = FillBody("\n  " + Table("\n    " + Row({"#Table5#"}) + "\n  ") +
                                          "\n  <text:p/>\n  <text:p>после</text:p>\n",
                                      kData);
    EXPECT_EQ(body.find("table:table"), std::string::npos);
    EXPECT_EQ(body.find("<text:p/>"), std::string::npos);
    EXPECT_EQ(ParagraphTexts(body), std::vector<std::string>{"после"});
}

TEST(TableMarker, MissingDataTableRemovesAFollowingParagraphOfOnlyWhiteSpace) {
    // Each of these reads as an empty paragraph in a word processor: it goes with the table.
    for (const char* spacer : {"<text:p> </text:p>", "<text:p>\n\t </text:p>", "<text:p><text:s/></text:p>",
                               "<text:p><text:span> </text:span><text:tab/></text:p>",
                               "<text:p text:style-name=\"P1\"><text:span><text:s text:c=\"3\"/></text:span>"
                               "<text:line-break/></text:p>"}) {
        SCOPED_TRACE(spacer);
        const std::string body = FillBody(
            "<text:p>до</text:p>" + Table(Row({"#Table5##N#"})) + spacer + "<text:p>после</text:p>", kData);
        EXPECT_EQ(body, "<text:p>до</text:p><text:p>после</text:p>");
    }
}

TEST(TableMarker, MissingDataTableKeepsAFollowingParagraphWithAnythingShown) {
    for (const char* kept :
         {"<text:p> x </text:p>", "<text:p><text:span> </text:span>.</text:p>",
          "<text:p><text:span>a</text:span></text:p>", "<text:p><draw:frame draw:name=\"Pic\"/></text:p>"}) {
        SCOPED_TRACE(kept);
        const std::string body = FillBody(Table(Row({"#Table5#"})) + kept, kData);
        EXPECT_EQ(body, kept);
    }
}

TEST(TableMarker, BlankTextsElsewhereAreKept) {
    // The blanks that separate words in runs, and a blank paragraph after a table that stays, are the
    // template's own.
    const std::string body = FillBody("<text:p><text:span>a</text:span> <text:span>b</text:span></text:p>" +
                                          Table(Row({"#Table3##N#"})) + "<text:p> </text:p>",
                                      kData);
    EXPECT_NE(body.find("<text:span>a</text:span> <text:span>b</text:span>"), std::string::npos);
    EXPECT_NE(body.find("</table:table><text:p> </text:p>"), std::string::npos);
    EXPECT_EQ(RowTexts(body), std::vector<std::string>{"3a"});
}

TEST(TableMarker, MissingDataTableKeepsAFollowingParagraphWithText) {
    const std::string body = FillBody(Table(Row({"#Table5#"})) + "<text:p>после</text:p>", kData);
    EXPECT_EQ(body, "<text:p>после</text:p>");
}

TEST(TableMarker, TablesAfterARemovedTableAreStillFilled) {
    const std::string body = FillBody(Table(Row({"#Table5#"})) + "<text:p/>" + Table(Row({"#Table3##N#"})) +
                                          "<text:p>#Title#</text:p>",
                                      kData);
    EXPECT_EQ(RowTexts(body), std::vector<std::string>{"3a"});
    EXPECT_EQ(ParagraphTexts(body).back(), "Состав");
}

TEST(TableMarker, EmptyDataTableLeavesOnlyTheOtherRows) {
    const std::string body = FillBody(Table(Row({"Заголовок"}) + Row({"#Table7##N#"})), kData);
    EXPECT_EQ(RowTexts(body), std::vector<std::string>{"Заголовок"});
}

TEST(TableMarker, TableNumberZeroIsNoTableMarker) {
    // "#Table0#" and "#Table x#" read as 0: the row stays a single row and the text an ordinary marker.
    const std::string body = FillBody(Table(Row({"#Table0#а"}) + Row({"#Table x#б"})),
                                      "<root><Table0>ноль</Table0><Table3><row/></Table3></root>");
    EXPECT_EQ(RowTexts(body), (std::vector<std::string>{"нольа", "б"}));
}

TEST(TableMarker, LeadingBlanksBeforeTheNumberAreSkipped) {
    const std::string body = FillBody(Table(Row({"#Table 3#=#N#"})), kData);
    EXPECT_EQ(RowTexts(body), std::vector<std::string>{"=3a"});
}

TEST(TableMarker, HugeTableNumberRemovesTheTable) {
    const std::string body =
        FillBody(Table(Row({"#Table99999999999999999999#"})) + "<text:p>x</text:p>", kData);
    EXPECT_EQ(body, "<text:p>x</text:p>");
}

TEST(TableMarker, RowValuesHoldingMarkersAreNotFilledAgain) {
    const std::string body =
        FillBody(Table(Row({"#Table3##N#"})),
                 "<root><Title>T</Title><Table3><row><N>#Title#</N></row></Table3></root>");
    EXPECT_EQ(RowTexts(body), std::vector<std::string>{"#Title#"});
}

} // namespace
} // namespace brisquel_test
