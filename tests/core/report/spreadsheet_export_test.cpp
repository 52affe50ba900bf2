#include "core/report/spreadsheet_export.h"

#include "core/components/component_record.h"
#include "core/nlh/nlh.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"
#include "recording_automation.h"
#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace talvex {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::RecordingAutomation;

const SheetLayout& Layout(std::int32_t sheet) {
    for (const SheetLayout& layout : kSheetLayouts)
        if (layout.sheet == sheet)
            return layout;
    throw std::out_of_range("no such sheet");
}

// A content of n rows named R1 ... Rn with the value i in every value column.
SheetContent Rows(int n, std::size_t width) {
    SheetContent content;
    for (int i = 1; i <= n; ++i) {
        content.names.push_back({"R" + std::to_string(i)});
        content.values.push_back(std::vector<AutomationCell>(width, double(i)));
    }
    return content;
}

std::vector<std::string> Fill(RecordingAutomation& rec, std::int32_t sheet, const SheetContent& content) {
    AutomationFailure failure;
    EXPECT_TRUE(FillSheet(rec, rec.Sheets(), Layout(sheet), content, failure)) << failure.text;
    return rec.Lines();
}

TEST(FillSheet, ThreeGasRowsShortenTheListAndGiveTheBlockBelowItsHeights) {
    Section7Result gas;
    auto& rows = gas.rows[kFractionComposition];
    rows.resize(3);
    rows[0].name = "Метан";
    rows[0].average = 50.25;
    rows[0].deltaAbs = 0.5;
    rows[1].name = "Этан";
    rows[1].average = 0;  // not above zero
    rows[1].deltaAbs = 0; // zero is an accuracy
    rows[2].name = "C6+";
    RecordingAutomation rec;
    EXPECT_THAT(
        Fill(rec, 2, GasSheet(gas)),
        ElementsAre(
            "call Sheets.Item(2)", "call Sheet2!A26:F51.UnMerge()", "call Sheet2!A27:F51.ClearContents()",
            "get Sheet2!A51.RowHeight", "get Sheet2!A52.RowHeight", "get Sheet2!A53.RowHeight",
            "get Sheet2!A54.RowHeight", "get Sheet2!A55.RowHeight", "get Sheet2!A56.RowHeight",
            "call Sheet2!A30:F51.Delete()", R"(put Sheet2!A27:A29.Value = [["Метан"],["Этан"],["C6+"]])",
            R"(put Sheet2!D27:E29.Value = [[50.25,0.5],["---",0],["---","---"]])",
            "call Sheet2!B26:B29.Merge()", "call Sheet2!C26:C29.Merge()", "call Sheet2!F26:F29.Merge()",
            "put Sheet2!A30.RowHeight = 62", "put Sheet2!A31.RowHeight = 63", "put Sheet2!A32.RowHeight = 64",
            "put Sheet2!A33.RowHeight = 65", "put Sheet2!A34.RowHeight = 66"));
}

TEST(FillSheet, SeventyCondensateRowsInsertNineRowsThatTakeTheLastDataRowsHeight) {
    RecordingAutomation rec;
    const auto lines = Fill(rec, 1, Rows(70, 2));
    EXPECT_THAT(rec.LinesWith("Insert"),
                ElementsAreArray(std::vector<std::string>(9, "call Sheet1!A87:F87.Insert()")));
    EXPECT_THAT(rec.LinesWith("Delete"), IsEmpty());
    EXPECT_THAT(rec.LinesWith("get "), ElementsAre("get Sheet1!A87.RowHeight", "get Sheet1!A88.RowHeight",
                                                   "get Sheet1!A89.RowHeight", "get Sheet1!A90.RowHeight",
                                                   "get Sheet1!A91.RowHeight", "get Sheet1!A92.RowHeight",
                                                   "get Sheet1!A93.RowHeight", "get Sheet1!A94.RowHeight",
                                                   "get Sheet1!A95.RowHeight"));
    EXPECT_THAT(rec.LinesWith("put Sheet1!A").back(), "put Sheet1!A104.RowHeight = 105");
    EXPECT_THAT(rec.LinesWith("RowHeight ="),
                ElementsAre("put Sheet1!A88:A96.RowHeight = 97", "put Sheet1!A97.RowHeight = 98",
                            "put Sheet1!A98.RowHeight = 99", "put Sheet1!A99.RowHeight = 100",
                            "put Sheet1!A100.RowHeight = 101", "put Sheet1!A101.RowHeight = 102",
                            "put Sheet1!A102.RowHeight = 103", "put Sheet1!A103.RowHeight = 104",
                            "put Sheet1!A104.RowHeight = 105"));
    EXPECT_THAT(rec.LinesWith(".Merge"),
                ElementsAre("call Sheet1!B26:B96.Merge()", "call Sheet1!C26:C96.Merge()",
                            "call Sheet1!F26:F96.Merge()"));
    EXPECT_THAT(rec.LinesWith(".Value").at(1), HasSubstr("put Sheet1!D27:E96.Value = [[1,1],[2,2],"));
}

TEST(FillSheet, ExactlyTheTemplatesRowCountTouchesNeitherRowsNorHeights) {
    for (const SheetLayout& layout : kSheetLayouts) {
        SCOPED_TRACE(layout.sheet);
        RecordingAutomation rec;
        const std::size_t width = layout.sheet == 5 ? 6 : 2;
        Fill(rec, layout.sheet, Rows(layout.rowAfter - layout.firstRow, width));
        EXPECT_THAT(rec.LinesWith("RowHeight"), IsEmpty());
        EXPECT_THAT(rec.LinesWith("Delete"), IsEmpty());
        EXPECT_THAT(rec.LinesWith("Insert"), IsEmpty());
    }
}

TEST(FillSheet, TheUnstableLiquidSheetsWriteTheirColumnsAndMerges) {
    RecordingAutomation four;
    Fill(four, 4, Rows(2, 2));
    EXPECT_THAT(four.LinesWith("Value"), ElementsAre(R"(put Sheet4!A28:A29.Value = [["R1"],["R2"]])",
                                                     "put Sheet4!F28:G29.Value = [[1,1],[2,2]]"));
    EXPECT_THAT(four.LinesWith(".Merge"),
                ElementsAre("call Sheet4!B27:D29.Merge()", "call Sheet4!E27:E29.Merge()",
                            "call Sheet4!H27:H29.Merge()"));
    EXPECT_THAT(four.LinesWith("Delete"), ElementsAre("call Sheet4!A30:H88.Delete()"));
    EXPECT_THAT(four.LinesWith("RowHeight =").front(), "put Sheet4!A30.RowHeight = 99");
    EXPECT_EQ(four.LinesWith("RowHeight =").size(), 19u); // rows 89 ... 107 of the template

    // The calculation sheet: header block first, no heights kept, the sums under the last row.
    RecordingAutomation five;
    SheetContent content = Rows(2, 6);
    content.header = AutomationTable(4, std::vector<AutomationCell>(6));
    content.sums = {std::vector<AutomationCell>(6, 9.0)};
    EXPECT_THAT(
        Fill(five, 5, content),
        ElementsAre("call Sheets.Item(5)", "call Sheet5!A6:G74.UnMerge()",
                    "call Sheet5!A7:G74.ClearContents()", "call Sheet5!A9:G74.Delete()",
                    "call Sheet5!B2:G5.UnMerge()",
                    "put Sheet5!B2:G5.Value = [[empty,empty,empty,empty,empty,empty],[empty,empty,empty,"
                    "empty,empty,empty],[empty,empty,empty,empty,empty,empty],[empty,empty,empty,empty,"
                    "empty,empty]]",
                    "call Sheet5!B5:C5.Merge()", "call Sheet5!D5:E5.Merge()", "call Sheet5!F5:G5.Merge()",
                    R"(put Sheet5!A7:A8.Value = [["R1"],["R2"]])",
                    "put Sheet5!B7:G8.Value = [[1,1,1,1,1,1],[2,2,2,2,2,2]]",
                    "put Sheet5!B9:G9.Value = [[9,9,9,9,9,9]]"));
}

TEST(FillSheet, AnEmptyListRemovesEveryDataRowAndWritesNoBlock) {
    RecordingAutomation rec;
    Fill(rec, 2, SheetContent{});
    EXPECT_THAT(rec.LinesWith("Delete"), ElementsAre("call Sheet2!A27:F51.Delete()"));
    EXPECT_THAT(rec.LinesWith("Value"), IsEmpty());
    EXPECT_THAT(rec.LinesWith("RowHeight =").front(), "put Sheet2!A27.RowHeight = 62");
}

TEST(NlhCalculationSheet, HeaderBlockFromTheGasFactorAndDensity) {
    struct Case {
        std::int32_t method;
        double factor, density;
        std::string row2, row3, row4, row5;
    };
    const Case cases[] = {
        {MethodB, 200, 2, R"(["м³/т",100,)", R"(["кг/т",200,)", "[2,empty,",
         "[0.16666666666666666,empty,0.8333333333333334,empty,1,empty]"},
        {MethodA, 100, 1.5, R"(["м³/т",100,)", R"(["кг/т",150,)", "[1.5,empty,",
         "[0.13043478260869565,empty,0.8695652173913043,empty,1,empty]"},
        {MethodAModified, 100, 1.5, R"(["м³/т",100,)", R"(["кг/т",150,)", "[1.5,empty,",
         "[0.13043478260869565,"},
        // A missing density leaves what depends on it missing instead of a huge number.
        {MethodA, 100, NotSet, R"(["м³/т",100,)", R"(["кг/т","---",)", R"(["---",empty,)",
         R"(["---",empty,"---",empty,"---",empty])"},
        {MethodB, 200, 0, R"(["м³/т","---",)", R"(["кг/т",200,)", "[0,empty,", "[0.16666666666666666,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        DegassingParameters degassing;
        degassing.Method = c.method;
        degassing.GasFactor = c.factor;
        const AutomationTable header = NlhCalculationSheet(NlhResult{}, degassing, c.density).header;
        ASSERT_EQ(header.size(), 4u);
        const std::string rows[] = {c.row2, c.row3, c.row4, c.row5};
        for (std::size_t r = 0; r < 4; ++r) {
            ASSERT_EQ(header[r].size(), 6u);
            EXPECT_THAT(testing::ShowValue(AutomationTable{header[r]}), HasSubstr(rows[r]));
        }
        // Every cell of the block that holds no value is emptied.
        for (std::size_t r = 0; r < 3; ++r)
            for (std::size_t col = 2; col < 6; ++col)
                EXPECT_TRUE(std::holds_alternative<std::monostate>(header[r][col])) << r << "," << col;
    }
}

TEST(NlhCalculationSheet, RowsAndSumsShowMissingValuesAsDashes) {
    ComponentRecord methane;
    methane.gas.molarMass = 16.043;
    methane.liquid.molarMass = 99; // not used: both phases take the gas molar mass
    NlhResult nlh;
    nlh.rows = {{&methane, "Метан", 60, 0.3, 10.25, 16.043}, {nullptr, "X", 1.5, NotSet, NotSet, NotSet}};
    nlh.SumGD_MassP = 61.5;
    nlh.SumDC_MassP = NotSet;
    nlh.SumNLH_MassP = 10.25;
    const SheetContent five = NlhCalculationSheet(nlh, DegassingParameters{}, 1.0);
    EXPECT_EQ(testing::ShowValue(five.names), R"([["Метан"],["X"]])");
    EXPECT_EQ(testing::ShowValue(five.values),
              R"([[60,16.043,0.3,16.043,10.25,16.043],[1.5,"---","---","---","---","---"]])");
    EXPECT_EQ(testing::ShowValue(five.sums), R"([[61.5,empty,"---",empty,10.25,empty]])");

    const SheetContent four = NlhSheet(nlh);
    EXPECT_EQ(testing::ShowValue(four.values), R"([[10.25,empty],["---",empty]])");
}

TEST(CondensateSheet, AverageAboveZeroAndAccuracyFromZero) {
    CondensateResult condensate;
    condensate.rowsA.resize(3);
    condensate.rowsA[0].name = "н-Гексан";
    condensate.rowsA[0].average = 1.25;
    condensate.rowsA[0].accuracy = 0;
    condensate.rowsA[1].name = "Бензол";
    condensate.rowsA[1].average = -0.5;
    condensate.rowsA[1].accuracy = -1;
    condensate.rowsA[2].name = "C10+";
    condensate.rowsB.resize(5); // method B is not exported
    const SheetContent one = CondensateSheet(condensate);
    EXPECT_EQ(testing::ShowValue(one.names), R"([["н-Гексан"],["Бензол"],["C10+"]])");
    EXPECT_EQ(testing::ShowValue(one.values), R"([[1.25,0],["---","---"],["---","---"]])");
}

struct ExportFixture : ::testing::Test {
    Section7Result gas;
    CondensateResult condensate;
    NlhResult nlh;
    DegassingParameters degassing;
    SpreadsheetInputs Inputs() { return {gas, condensate, nlh, degassing}; }
};

TEST_F(ExportFixture, OpensACopyOfTheTemplateFillsFourSheetsSavesAndQuits) {
    RecordingAutomation rec;
    AutomationFailure failure;
    ASSERT_TRUE(SpreadsheetExport(rec, "/p/Template_tlvx.xls", "/out/r.xls", Inputs(), failure))
        << failure.text;
    std::vector<std::string> outline;
    for (const std::string& line : rec.Lines())
        if (line.find("Sheet") != 0 && line.find("!") == std::string::npos)
            outline.push_back(line);
    EXPECT_THAT(outline,
                ElementsAre("get Application.Workbooks", R"(call Workbooks.Open("/p/Template_tlvx.xls"))",
                            "get Workbook1.Sheets", R"(call Workbook1.SaveCopyAs("/out/r.xls"))",
                            "call Workbook1.Close()", R"(call Workbooks.Open("/out/r.xls"))",
                            "get Workbook2.Sheets", "call Sheets2.Item(1)", "call Sheets2.Item(2)",
                            "call Sheets2.Item(4)", "call Sheets2.Item(5)", "call Workbook2.Save()",
                            "call Workbook2.Close()", "call Application.Quit()"));
    EXPECT_EQ(rec.shutdowns, 1);
}

TEST_F(ExportFixture, AFailedRequestAbandonsTheExportAndShutsTheApplicationDown) {
    struct Case {
        int failAt;
        AutomationAnswer::Kind kind;
        std::string text;
    };
    const Case cases[] = {
        {1, AutomationAnswer::Kind::Failed,
         "IDispatch::Invoke(\"Open\"=00000002) failed w/err 0x80020009\nrefused on purpose"},
        {3, AutomationAnswer::Kind::Failed,
         "IDispatch::Invoke(\"SaveCopyAs\"=00000005) failed w/err 0x80020009\nrefused on purpose"},
        {8, AutomationAnswer::Kind::UnknownMember,
         "IDispatch::GetIDsOfNames(\"Range\") failed w/err 0x80020006\nrefused on purpose"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failAt);
        RecordingAutomation rec;
        rec.failAt = c.failAt;
        rec.failure = c.kind;
        AutomationFailure failure;
        EXPECT_FALSE(SpreadsheetExport(rec, "/p/t.xls", "/out/r.xls", Inputs(), failure));
        EXPECT_EQ(failure.caption, "AutoWrap()");
        EXPECT_EQ(failure.text, c.text);
        EXPECT_EQ(rec.Lines(true).size(),
                  static_cast<std::size_t>(c.failAt + 1)); // nothing after the failure
        EXPECT_EQ(rec.shutdowns, 1);
    }
}

TEST_F(ExportFixture, WithoutTheApplicationNothingIsRequestedAndTheReasonIsShown) {
    RecordingAutomation rec;
    rec.startFailure = "LibreOffice is not installed";
    AutomationFailure failure;
    EXPECT_FALSE(SpreadsheetExport(rec, "/p/t.xls", "/out/r.xls", Inputs(), failure));
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_EQ(failure.text, "Excel not registered properly\nLibreOffice is not installed");
    EXPECT_THAT(rec.Lines(true), IsEmpty());
    EXPECT_EQ(rec.shutdowns, 1);
}

TEST_F(ExportFixture, ATargetThatIsTheTemplateItselfIsRefusedBeforeAnythingStarts) {
    testing::TempFolder dir;
    const auto templ = dir / "Template_tlvx.xls";
    { std::ofstream(templ) << "template"; }
    std::filesystem::create_directory(dir / "sub");
    RecordingAutomation rec;
    AutomationFailure failure;
    // The same file under another spelling of its path.
    const auto target = dir / "sub" / ".." / "Template_tlvx.xls";
    EXPECT_FALSE(SpreadsheetExport(rec, templ, target, Inputs(), failure));
    EXPECT_EQ(failure.caption, "Ошибка экспорта");
    EXPECT_THAT(failure.text, HasSubstr(target.string()));
    EXPECT_THAT(rec.Lines(true), IsEmpty());
    EXPECT_EQ(rec.shutdowns, 0);
    EXPECT_EQ(testing::ReadBytes(templ), "template");
}

TEST(AutoWrap, RefusesNoObjectAndMembersItDoesNotKnow) {
    RecordingAutomation rec;
    AutomationValue result = 5.0;
    AutomationFailure failure;
    EXPECT_FALSE(AutoWrap(rec, AutomationCall::Method, AutomationObject{}, "Quit", {}, result, failure));
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_EQ(failure.text, "NULL IDispatch passed to AutoWrap()");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(result));

    AutomationObject application;
    std::string reason;
    ASSERT_TRUE(rec.Start(application, reason));
    EXPECT_FALSE(AutoWrap(rec, AutomationCall::Method, application, "Visible", {}, result, failure));
    EXPECT_EQ(failure.text, "IDispatch::GetIDsOfNames(\"Visible\") failed w/err 0x80020006");
    EXPECT_THAT(rec.Lines(true), IsEmpty()); // never reached the application
}

} // namespace
} // namespace talvex
