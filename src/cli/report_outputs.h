#pragma once

#include "run_options.h"

#include <pugixml.hpp>

#include <string>

namespace talvex::cli {

// Writes the report document as the run options ask: the XML file, the ODT report filled from the
// template (the one next to the program unless --template names another) and its PDF conversion. False
// with the operator's text in `error` at the first failure.
bool WriteReportOutputs(const pugi::xml_document& doc, const RunOptions& options, std::string& error);

} // namespace talvex::cli
