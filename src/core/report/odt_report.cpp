#include "report/odt_report.h"

#include <brisquel.h>

#include <string>

namespace talvex {

std::int32_t WriteOdtReport(const pugi::xml_document& doc, const std::filesystem::path& templatePath,
                            const std::filesystem::path& output, bool openAfter)
{
    const pugi::xml_node root = doc.child("root");
    if (!root)
        return BRISQUEL_NULL_PATH;
    // Paths are UTF-8 bytes on Linux; the library takes them as UTF-16.
    const std::u16string templateText = templatePath.u16string();
    const std::u16string outputText = output.u16string();
    return Export(root.internal_object(), templateText.c_str(), outputText.c_str(), openAfter ? 1 : 0);
}

} // namespace talvex
