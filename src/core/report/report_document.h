#pragma once

#include "core/chromatogram/chromatogram_list.h"

#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>
#include <string>

namespace talvex {

struct Section7Result;
struct CondensateResult;
struct NlhResult;
class SettingsStore;

// Everything the report document is built from.
struct ReportInputs {
    const ChromatogramList& chromatograms;
    const Section7Result& gas;
    const CondensateResult& condensate;
    const NlhResult& nlh;
    const SettingsStore& settings; // ModeCalc, QtyNumAfterDot and the report switches
    std::string deviceName;        // "Имя прибора" of the main window
    std::int64_t now = 0;          // the moment of the build, seconds since the epoch
};

// Builds the report document afresh: the declaration, "root" with "DateCreated", "Table1" and the section
// nodes the calculation mode and the report switches call for (gas, condensate, unstable liquid), and
// the boiling curves of the condensate and the unstable liquid when the mode computes either. Numbers
// carry a decimal comma; the process locale is never switched.
void BuildReportDocument(pugi::xml_document& doc, const ReportInputs& in);

// The document as text: UTF-8 without a byte-order mark, one tab per nesting level, the document's own
// declaration.
std::string ReportXmlText(const pugi::xml_document& doc);

// Saves the document as an XML file (created or replaced whole, never half written). False with the
// operator's text in `error`.
bool SaveReportXml(const pugi::xml_document& doc, const std::filesystem::path& path, std::string& error);

} // namespace talvex
