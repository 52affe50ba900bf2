#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>
#include <functional>

namespace talvex {

// Opens a written report (a preview); the caller's own way to the desktop.
using ReportOpener = std::function<void(const std::filesystem::path& written)>;

// Writes the report document as an OpenDocument text: the template is copied to `output` and filled from
// the document's "root" by the Brisquel library. A given `openAfter` is called with the written file once
// it is whole; without one the file is only written. Returns Brisquel's result: 0 written, negative on
// failure (-1 also when the document has no "root").
std::int32_t WriteOdtReport(const pugi::xml_document& doc, const std::filesystem::path& templatePath,
                            const std::filesystem::path& output, const ReportOpener& openAfter = {});

} // namespace talvex

namespace talvex {

// What a result of WriteOdtReport means, in a few words for a log or a command line ("the template could
// not be copied to the output path", ...); empty for 0.
const char* OdtReportResultText(std::int32_t result);

} // namespace talvex
