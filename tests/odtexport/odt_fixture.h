#pragma once

#include "test_files.h"
#include "zip_entry.h"

#include <pugixml.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisquel_test {

using talvex::testing::TempFolder;

// A content.xml with the usual ODT namespaces whose office:text holds `body`.
std::string ContentXml(std::string_view body);

struct ZipEntry {
    std::string name;
    std::string bytes;
};

// A ZIP archive holding the entries in order; "mimetype" is stored, the rest deflated, as in an ODT.
void WriteZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries);

// An ODT template "template.odt" in the folder: mimetype, content.xml and any further entries.
std::filesystem::path WriteTemplate(const TempFolder& folder, std::string_view contentXml,
                                    const std::vector<ZipEntry>& more = {});

using talvex::testing::ReadZipEntry;

// Export with UTF-8 paths; `data` is a report document whose document element is the data root.
int RunExport(const pugi::xml_document& data, const std::filesystem::path& templ,
              const std::filesystem::path& output, int openAfter = 0);

// A report document parsed from text (it must be well-formed).
pugi::xml_document ParseData(std::string_view xml);

// Fills a template whose office:text holds `body` from the report `dataXml`, and returns the filled
// office:text content as written (the export must succeed).
std::string FillBody(std::string_view body, std::string_view dataXml);

// The text of every paragraph and heading of an office:text content as FillBody returns it, in order.
std::vector<std::string> ParagraphTexts(std::string_view filledBody);

} // namespace brisquel_test
