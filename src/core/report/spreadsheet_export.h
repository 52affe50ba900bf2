#pragma once

#include "core/nlh/degassing.h"
#include "core/report/report_messages.h"
#include "core/report/spreadsheet_automation.h"
#include "core/report/spreadsheet_sheets.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace talvex {

struct Section7Result;
struct CondensateResult;
struct NlhResult;

// The spreadsheet export: a copy of the template, filled with the results through a spreadsheet
// application.

// The template ships with the program, as the ODT template does (see shipped_files.h).
inline constexpr const char* kXlsTemplateFileName = "Template_tlvx.xls";

// A target that is the template file itself is refused (caption kExportErrorCaption); the path follows.
inline constexpr std::string_view kTargetIsTemplateMessage =
    "Файл для экспорта совпадает с шаблоном отчета:\n";
std::filesystem::path XlsTemplatePath(const std::filesystem::path& programFolder);

// Everything the spreadsheet is filled from.
struct SpreadsheetInputs {
    const Section7Result& gas;
    const CondensateResult& condensate;
    const NlhResult& nlh;
    const DegassingParameters& degassing;
};

// Fills one listed sheet of the open workbook whose "Sheets" object is `sheets`: the data rows are
// unmerged and emptied, then shortened or lengthened to the number of names, the names and values written,
// the columns that span the list merged again and the block below given back its row heights. False at
// the first failed request, with the operator's message in `failure`.
bool FillSheet(SpreadsheetAutomation& automation, AutomationObject sheets, const SheetLayout& layout,
               const SheetContent& content, AutomationFailure& failure);

// The whole export: starts the application, saves a copy of the template under `target` (the template
// itself is never changed), fills sheets 1, 2, 4 and 5 of the copy, saves it and quits. The application is
// shut down in every case. On failure the export is abandoned, `failure` holds the message for the
// operator, and `target` may hold an unfilled copy of the template.
bool SpreadsheetExport(SpreadsheetAutomation& automation, const std::filesystem::path& templatePath,
                       const std::filesystem::path& target, const SpreadsheetInputs& inputs,
                       AutomationFailure& failure);

// What the four filled sheets hold, in the order they are filled; built from the results before the
// export starts, so that an export running in another thread reads nothing the window may change.
using SpreadsheetContents = std::array<SheetContent, 4>;
SpreadsheetContents SpreadsheetSheets(const SpreadsheetInputs& inputs);
bool SpreadsheetExport(SpreadsheetAutomation& automation, const std::filesystem::path& templatePath,
                       const std::filesystem::path& target, const SpreadsheetContents& contents,
                       AutomationFailure& failure);

} // namespace talvex
