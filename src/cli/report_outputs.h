#pragma once

#include "cli/run_options.h"
#include "core/common/provenance.h"
#include "core/report/spreadsheet_export.h"

#include <pugixml.hpp>

#include <string>

namespace talvex::cli {

// Writes the report document as the run options ask: the XML file, the ODT report filled from the
// template (the one next to the program unless --template names another) and its PDF conversion; the ODT
// and PDF reports end with the picture of the boiling curves (`curvePictureSvg`, as the desktop program's
// report shows it) and the provenance block. False with the operator's text in `error` at the first
// failure.
bool WriteReportOutputs(const pugi::xml_document& doc, const Provenance& provenance,
                        const std::string& deviceName, const std::string& curvePictureSvg,
                        const RunOptions& options, std::string& error);

// Fills a copy of the spreadsheet template next to the program with the results and saves it as `target`
// (the office suite does the work). False with the operator's text in `error`.
bool WriteSpreadsheet(const SpreadsheetInputs& results, const std::string& target, std::string& error);

} // namespace talvex::cli
