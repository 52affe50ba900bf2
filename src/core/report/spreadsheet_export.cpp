#include "core/report/spreadsheet_export.h"

#include "core/nlh/nlh.h"
#include "core/report/shipped_files.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"

#include <string>
#include <utility>

namespace talvex {
namespace {

std::string Cell(char column, std::int32_t row) {
    return std::string(1, column) + std::to_string(row);
}

std::string Range(char fromColumn, std::int32_t fromRow, char toColumn, std::int32_t toRow) {
    return Cell(fromColumn, fromRow) + ":" + Cell(toColumn, toRow);
}

// The requests of one export, stopping at the first failure.
class Requests {
public:
    Requests(SpreadsheetAutomation& automation, AutomationFailure& failure)
        : automation_(automation), failure_(failure) {}

    bool Call(AutomationObject target, std::string_view member, std::vector<AutomationValue> args = {}) {
        AutomationValue ignored;
        return Run(AutomationCall::Method, target, member, args, ignored);
    }
    bool CallFor(AutomationObject target, std::string_view member, std::vector<AutomationValue> args,
                 AutomationObject& object) {
        AutomationValue value;
        if (!Run(AutomationCall::Method, target, member, args, value))
            return false;
        object = AsObject(value);
        return true;
    }
    bool Get(AutomationObject target, std::string_view member, std::vector<AutomationValue> args,
             AutomationValue& value) {
        return Run(AutomationCall::PropertyGet, target, member, args, value);
    }
    bool GetObject(AutomationObject target, std::string_view member, AutomationObject& object) {
        AutomationValue value;
        if (!Get(target, member, {}, value))
            return false;
        object = AsObject(value);
        return true;
    }
    bool Put(AutomationObject target, std::string_view member, AutomationValue value) {
        AutomationValue ignored;
        return Run(AutomationCall::PropertyPut, target, member, {std::move(value)}, ignored);
    }

    // Requests on a range of a sheet, taken afresh by its address.
    bool RangeOf(AutomationObject sheet, const std::string& address, AutomationObject& range) {
        AutomationValue value;
        if (!Get(sheet, "Range", {address}, value))
            return false;
        range = AsObject(value);
        return true;
    }
    bool CallOn(AutomationObject sheet, const std::string& address, std::string_view member) {
        AutomationObject range;
        return RangeOf(sheet, address, range) && Call(range, member);
    }
    bool PutOn(AutomationObject sheet, const std::string& address, std::string_view member,
               AutomationValue value) {
        AutomationObject range;
        return RangeOf(sheet, address, range) && Put(range, member, std::move(value));
    }

private:
    // A result that is not an object becomes no object: the next request on it reports that.
    static AutomationObject AsObject(const AutomationValue& value) {
        const AutomationObject* object = std::get_if<AutomationObject>(&value);
        return object ? *object : AutomationObject{};
    }

    bool Run(AutomationCall call, AutomationObject target, std::string_view member,
             const std::vector<AutomationValue>& args, AutomationValue& value) {
        return AutoWrap(automation_, call, target, member, args, value, failure_);
    }

    SpreadsheetAutomation& automation_;
    AutomationFailure& failure_;
};

bool FillRows(Requests& requests, AutomationObject sheet, const SheetLayout& layout,
              const SheetContent& content) {
    const std::int32_t F = layout.firstRow;
    const std::int32_t T = layout.rowAfter;
    const std::int32_t E = layout.lastRow;
    const char C = layout.lastColumn;
    const auto N = static_cast<std::int32_t>(content.names.size());
    const std::int32_t D = N - (T - F);
    const std::int32_t L = F + N - 1;

    if (!requests.CallOn(sheet, Range('A', F - 1, C, T - 1), "UnMerge") ||
        !requests.CallOn(sheet, Range('A', F, C, T - 1), "ClearContents"))
        return false;

    std::vector<AutomationValue> kept; // rows T-1 ... E of the template
    if (D != 0) {
        if (layout.keepsRowHeights) {
            for (std::int32_t r = T - 1; r <= E; ++r) {
                AutomationObject range;
                AutomationValue height;
                if (!requests.RangeOf(sheet, Cell('A', r), range) ||
                    !requests.Get(range, "RowHeight", {}, height))
                    return false;
                kept.push_back(std::move(height));
            }
        }
        if (D < 0 && !requests.CallOn(sheet, Range('A', T + D, C, T - 1), "Delete"))
            return false;
        if (D > 0) {
            AutomationObject range;
            if (!requests.RangeOf(sheet, Range('A', T - 1, C, T - 1), range))
                return false;
            for (std::int32_t i = 0; i < D; ++i)
                if (!requests.Call(range, "Insert"))
                    return false;
        }
    }

    if (layout.hasHeaderAndSums) {
        if (!requests.CallOn(sheet, Range('B', 2, 'G', 5), "UnMerge") ||
            !requests.PutOn(sheet, Range('B', 2, 'G', 5), "Value", content.header))
            return false;
        for (const char* merged : {"B5:C5", "D5:E5", "F5:G5"})
            if (!requests.CallOn(sheet, merged, "Merge"))
                return false;
    }

    // An empty list leaves nothing to write: a block of no rows is not a range.
    if (N > 0) {
        const char first = layout.firstValueColumn;
        const char last = static_cast<char>(first + static_cast<int>(content.values.front().size()) - 1);
        if (!requests.PutOn(sheet, Range('A', F, 'A', L), "Value", content.names) ||
            !requests.PutOn(sheet, Range(first, F, last, L), "Value", content.values))
            return false;
    }
    if (layout.hasHeaderAndSums &&
        !requests.PutOn(sheet, Range('B', L + 1, 'G', L + 1), "Value", content.sums))
        return false;

    for (std::size_t i = 0; i + 1 < layout.merges.size(); i += 2)
        if (!requests.CallOn(sheet, Range(layout.merges[i], F - 1, layout.merges[i + 1], L), "Merge"))
            return false;

    if (D != 0 && layout.keepsRowHeights) {
        if (D > 0 && !requests.PutOn(sheet, Range('A', T, 'A', L), "RowHeight", kept.front()))
            return false;
        for (std::int32_t i = 1; i <= E - T + 1; ++i)
            if (!requests.PutOn(sheet, Cell('A', L + i), "RowHeight", kept[static_cast<std::size_t>(i)]))
                return false;
    }
    return true;
}

} // namespace

std::filesystem::path XlsTemplatePath(const std::filesystem::path& programFolder) {
    return ShippedFilePath(programFolder, kXlsTemplateFileName);
}

bool FillSheet(SpreadsheetAutomation& automation, AutomationObject sheets, const SheetLayout& layout,
               const SheetContent& content, AutomationFailure& failure) {
    Requests requests(automation, failure);
    AutomationObject sheet;
    return requests.CallFor(sheets, "Item", {layout.sheet}, sheet) &&
           FillRows(requests, sheet, layout, content);
}

namespace {

bool Export(SpreadsheetAutomation& automation, AutomationObject application,
            const std::filesystem::path& templatePath, const std::filesystem::path& target,
            const SpreadsheetContents& contents, AutomationFailure& failure) {
    Requests requests(automation, failure);
    AutomationObject workbooks, workbook, sheets;
    if (!requests.GetObject(application, "Workbooks", workbooks) ||
        !requests.CallFor(workbooks, "Open", {templatePath.string()}, workbook) ||
        !requests.GetObject(workbook, "Sheets", sheets) ||
        !requests.Call(workbook, "SaveCopyAs", {target.string()}) || !requests.Call(workbook, "Close"))
        return false;
    if (!requests.CallFor(workbooks, "Open", {target.string()}, workbook) ||
        !requests.GetObject(workbook, "Sheets", sheets))
        return false;
    for (std::size_t i = 0; i < kSheetLayouts.size(); ++i)
        if (!FillSheet(automation, sheets, kSheetLayouts[i], contents[i], failure))
            return false;
    return requests.Call(workbook, "Save") && requests.Call(workbook, "Close") &&
           requests.Call(application, "Quit");
}

} // namespace

SpreadsheetContents SpreadsheetSheets(const SpreadsheetInputs& inputs) {
    return {
        CondensateSheet(inputs.condensate),
        GasSheet(inputs.gas),
        NlhSheet(inputs.nlh),
        NlhCalculationSheet(inputs.nlh, inputs.degassing,
                            inputs.gas.averagedProperties[kFractionComposition].density),
    };
}

bool SpreadsheetExport(SpreadsheetAutomation& automation, const std::filesystem::path& templatePath,
                       const std::filesystem::path& target, const SpreadsheetInputs& inputs,
                       AutomationFailure& failure) {
    return SpreadsheetExport(automation, templatePath, target, SpreadsheetSheets(inputs), failure);
}

bool SpreadsheetExport(SpreadsheetAutomation& automation, const std::filesystem::path& templatePath,
                       const std::filesystem::path& target, const SpreadsheetContents& contents,
                       AutomationFailure& failure) {
    // Saving the filled copy over the template would spoil every later export: refuse before anything starts.
    std::error_code ignored;
    if (std::filesystem::equivalent(templatePath, target, ignored)) {
        failure = {std::string(kExportErrorCaption), std::string(kTargetIsTemplateMessage) + target.string()};
        return false;
    }
    AutomationObject application;
    std::string reason;
    bool done = false;
    if (!automation.Start(application, reason))
        failure = {std::string(kAutomationErrorCaption),
                   std::string(kNoApplicationMessage) + (reason.empty() ? "" : "\n" + reason)};
    else
        done = Export(automation, application, templatePath, target, contents, failure);
    automation.Shutdown();
    return done;
}

} // namespace talvex
