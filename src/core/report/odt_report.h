#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>

namespace talvex {

// Writes the report document as an OpenDocument text: the template is copied to `output` and filled from
// the document's "root" by the Brisquel library. `openAfter` asks the desktop to open the written file.
// Returns Brisquel's result: 0 written, negative on failure (-1 also when the document has no "root").
std::int32_t WriteOdtReport(const pugi::xml_document& doc, const std::filesystem::path& templatePath,
                            const std::filesystem::path& output, bool openAfter);

} // namespace talvex

namespace talvex {

// What a result of WriteOdtReport means, in a few words for a log or a command line ("the template could
// not be copied to the output path", ...); empty for 0.
const char* OdtReportResultText(std::int32_t result);

} // namespace talvex
