#include "core/report/odt_report.h"

#include <brisquel.h>

#include <string>

namespace talvex {
namespace {

// The library calls its opener with a UTF-8 path and a context: here the caller's opener.
void CallReportOpener(const char* utf8Path, void* context) {
    (*static_cast<ReportOpener*>(context))(std::filesystem::path(utf8Path));
}

} // namespace

std::int32_t WriteOdtReport(const pugi::xml_document& doc, const std::filesystem::path& templatePath,
                            const std::filesystem::path& output, const ReportOpener& openAfter) {
    const pugi::xml_node root = doc.child("root");
    if (!root)
        return BRISQUEL_NULL_PATH;
    // Paths are UTF-8 bytes on Linux; the library takes them as UTF-16.
    const std::u16string templateText = templatePath.u16string();
    const std::u16string outputText = output.u16string();
    if (!openAfter)
        return Export(root.internal_object(), templateText.c_str(), outputText.c_str(), 0);
    // The library's opener is its own setting: installed for this one export, then its default again.
    ReportOpener opener = openAfter;
    BrisquelSetOpener(&CallReportOpener, &opener);
    const std::int32_t result = Export(root.internal_object(), templateText.c_str(), outputText.c_str(), 1);
    BrisquelSetOpener(nullptr, nullptr);
    return result;
}

} // namespace talvex

namespace talvex {

const char* OdtReportResultText(std::int32_t result) {
    switch (result) {
    case BRISQUEL_OK:
        return "";
    case BRISQUEL_NULL_PATH:
        return "no report or no path was given";
    case BRISQUEL_COPY_FAILED:
        return "the template could not be copied to the output path";
    case BRISQUEL_NOT_ZIP:
        return "the template is not an OpenDocument (ZIP) file";
    case BRISQUEL_NO_CONTENT:
        return "the template has no readable content.xml";
    case BRISQUEL_BAD_CONTENT:
        return "the template's content.xml is not well-formed XML";
    case BRISQUEL_REPLACE_FAILED:
        return "the filled content could not be put into the file";
    case BRISQUEL_WRITE_FAILED:
        return "the output file could not be written";
    default:
        return "unknown failure";
    }
}

} // namespace talvex
