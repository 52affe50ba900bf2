// Fuzz target of the template filler: the bytes are a template's content.xml, parsed as the export parses
// it and filled with the example session's report document, then written out.
#include "fuzz_support.h"

#include "odtexport/template_fill.h"
#include "odtexport/xml_writer_source.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pugi::xml_node report = talvex::fuzz::ExampleReport().child("root");
    pugi::xml_document document;
    if (!document.load_buffer(data, size, pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto) ||
        brisquel::IsNestedTooDeep(document))
        return 0;
    brisquel::FillTemplateNode(document, report);
    brisquel::xml_writer_source filled;
    document.save(filled, "\t", pugi::format_raw, pugi::encoding_utf8);
    return 0;
}
