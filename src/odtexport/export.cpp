#include "brisquel.h"
#include "odtexport/odt_archive.h"
#include "odtexport/opener.h"
#include "odtexport/pictures_walker.h"
#include "odtexport/staged_file.h"
#include "odtexport/template_fill.h"
#include "odtexport/utf.h"
#include "odtexport/xml_writer_source.h"

#include <pugixml.hpp>

#include <optional>
#include <string>

namespace brisquel {
namespace {

constexpr const char* kContentEntry = "content.xml";

// The library's default parse, but keeping every text that is only blanks: a text:span holding a single
// space, or a plain space between two spans, separates two words. The output is written without
// indentation, so the blanks kept are exactly the template's.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata;

// No indentation: inside a paragraph a line break and tabs between two runs would read as a space in
// the word processor, splitting words that the template keeps in separate runs.
constexpr unsigned kSaveOptions = pugi::format_raw;

// Fills the staged copy of the template in place. Returns a BrisquelResult; on any failure the copy is
// left untouched.
int FillArchive(const std::string& path, pugi::xml_node data) {
    ArchiveHandle archive = OpenArchive(path);
    if (!archive)
        return BRISQUEL_NOT_ZIP;

    std::string content;
    if (!ReadEntry(archive.get(), kContentEntry, kMaxContentBytes, content))
        return BRISQUEL_NO_CONTENT;

    pugi::xml_document document;
    if (!document.load_buffer(content.data(), content.size(), kParseOptions, pugi::encoding_auto) ||
        IsNestedTooDeep(document))
        return BRISQUEL_BAD_CONTENT;
    content = std::string();

    FillTemplateNode(document, data);

    xml_writer_source filled; // read by the archive when it is closed below
    document.save(filled, "\t", kSaveOptions, pugi::encoding_utf8);
    if (!ReplaceEntry(archive.get(), kContentEntry, filled.bytes()))
        return BRISQUEL_REPLACE_FAILED;

    pictures_walker pictures(archive.get(), data);
    document.traverse(pictures);

    if (!CloseArchive(archive))
        return BRISQUEL_WRITE_FAILED;
    return BRISQUEL_OK;
}

int ExportOdt(pugi::xml_node data, const char16_t* templatePath, const char16_t* outputPath, bool openAfter) {
    const std::optional<std::string> source = Utf16ToUtf8(templatePath);
    const std::optional<std::string> target = Utf16ToUtf8(outputPath);
    if (!source || !target)
        return BRISQUEL_COPY_FAILED;

    StagedFile staged;
    if (!staged.CopyFrom(*source, *target))
        return BRISQUEL_COPY_FAILED;
    const int result = FillArchive(staged.Path(), data);
    // A failed fill leaves an unchanged copy of the template at the output path, as callers know it.
    if (!staged.Commit())
        return BRISQUEL_COPY_FAILED;
    if (result == BRISQUEL_OK && openAfter)
        OpenWrittenFile(*target);
    return result;
}

} // namespace
} // namespace brisquel

extern "C" BRISQUEL_API int32_t Export(BrisquelNode data, const char16_t* templatePath,
                                       const char16_t* outputPath, int32_t openAfter) {
    if (!templatePath || !outputPath)
        return BRISQUEL_NULL_PATH;
    try {
        return brisquel::ExportOdt(pugi::xml_node(data), templatePath, outputPath, (openAfter & 0xFF) != 0);
    } catch (...) {
        // Out of memory while filling: the staged copy is gone and the output path untouched.
        return BRISQUEL_WRITE_FAILED;
    }
}
