#pragma once

#include "core/report/spreadsheet_automation.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace talvex::testing {

// A spreadsheet application that only writes down what it is asked, one line per request, e.g.
//   get Application.Workbooks
//   call Workbooks.Open("/t/Template_tlvx.xls")
//   get Sheet2.Range("A30:F51")
//   call Sheet2!A30:F51.Delete()
//   put Sheet2!A27:A29.Value = [["C1"],["C2"],["C3"]]
// Objects are named after what they are: the application, the workbooks, "Workbook1", ... per "Open",
// "Sheets1", ... per "Sheets", "Sheet<n>" per "Item"(n), and "Sheet<n>!<address>" per "Range".
class RecordingAutomation : public SpreadsheetAutomation {
public:
    bool Start(AutomationObject& application, std::string& reason) override;
    AutomationAnswer Invoke(AutomationCall call, AutomationObject target, std::string_view member,
                            const std::vector<AutomationValue>& args) override;
    void Shutdown() override { ++shutdowns; }

    // A "Sheets" object of an open workbook, for filling single sheets; not recorded.
    AutomationObject Sheets() { return Object("Sheets"); }

    // The lines, without the "Range" gets when `withRanges` is false.
    std::vector<std::string> Lines(bool withRanges = false) const;
    // The lines that contain `part`.
    std::vector<std::string> LinesWith(const std::string& part) const;

    // The height "RowHeight" answers for row r of any sheet.
    std::function<double(int)> rowHeight = [](int row) { return 10.0 + row; };
    // The request with this 0-based number (counting every request) fails in this way.
    int failAt = -1;
    AutomationAnswer::Kind failure = AutomationAnswer::Kind::Failed;
    std::string startFailure; // when set, Start fails with this reason
    int shutdowns = 0;

private:
    AutomationObject Object(std::string name);

    std::vector<std::string> names_{""};
    std::vector<std::string> lines_;
    int opened_ = 0;
    int sheetsTaken_ = 0;
};

// A value as the recorded lines show it: numbers in shortest form, texts quoted, tables as nested lists.
std::string ShowValue(const AutomationValue& value);

} // namespace talvex::testing
