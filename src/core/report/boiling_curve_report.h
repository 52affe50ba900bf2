#pragma once

#include <pugixml.hpp>

#include <filesystem>
#include <string>

namespace talvex {

struct CondensateResult;
struct NlhResult;

// The boiling curves in the report document: "Table20" with one "row" per reported value ("title", the
// degassed condensate's "DK_Val" and the unstable liquid's "NLH_Val", decimal comma), then a row per row
// left off a curve. Nothing is written when neither curve exists.
void WriteBoilingCurveReport(pugi::xml_node root, const CondensateResult& condensate, const NlhResult& nlh,
                             int decimals);

// The picture of the report's curves, as SVG text.
std::string BoilingCurvePictureSvg(const CondensateResult& condensate, const NlhResult& nlh);

// Names the picture file of the curves in a built report, when the report has the curves' table: "Table21"
// with one "row" (the template's table that holds the picture's frame) and "BoilCurvePic" with the file's
// path. The caller has written the file (BoilingCurvePictureSvg) and keeps it until the report is filled.
// An XML export leaves it out: it would name a passing file.
void AppendBoilingCurvePicture(pugi::xml_document& doc, const std::filesystem::path& picture);

} // namespace talvex
