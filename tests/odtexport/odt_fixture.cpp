#include "odt_fixture.h"

#include "brisquel.h"

#include <zip.h>

#include <sstream>

namespace brisquel_test {

std::string ContentXml(std::string_view body) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<office:document-content"
                       " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
                       " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
                       " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
                       " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
                       " xmlns:xlink=\"http://www.w3.org/1999/xlink\" office:version=\"1.2\">"
                       "<office:body><office:text>") +
           std::string(body) + "</office:text></office:body></office:document-content>";
}

void WriteZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const ZipEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
        ASSERT_NE(source, nullptr);
        const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(index, 0);
        if (entry.name == "mimetype")
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

std::filesystem::path WriteTemplate(const TempFolder& folder, std::string_view contentXml,
                                    const std::vector<ZipEntry>& more) {
    std::vector<ZipEntry> entries = {{"mimetype", "application/vnd.oasis.opendocument.text"},
                                     {"content.xml", std::string(contentXml)}};
    entries.insert(entries.end(), more.begin(), more.end());
    const auto file = folder / "template.odt";
    WriteZip(file, entries);
    return file;
}

int RunExport(const pugi::xml_document& data, const std::filesystem::path& templ,
              const std::filesystem::path& output, int openAfter) {
    return Export(data.document_element().internal_object(), templ.u16string().c_str(),
                  output.u16string().c_str(), openAfter);
}

pugi::xml_document ParseData(std::string_view xml) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(xml.data(), xml.size());
    EXPECT_TRUE(parsed) << parsed.description();
    return document;
}

std::string FillBody(std::string_view body, std::string_view dataXml) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, ContentXml(body));
    const auto output = folder / "report.odt";
    const pugi::xml_document data = ParseData(dataXml);
    EXPECT_EQ(RunExport(data, templ, output), BRISQUEL_OK);

    const std::optional<std::string> content = ReadZipEntry(output, "content.xml");
    if (!content)
        return "<no content.xml>";
    pugi::xml_document filled;
    if (!filled.load_buffer(content->data(), content->size(), pugi::parse_default | pugi::parse_ws_pcdata))
        return "<malformed content.xml>";
    std::ostringstream text;
    for (const pugi::xml_node child :
         filled.document_element().child("office:body").child("office:text").children())
        child.print(text, "", pugi::format_raw);
    return text.str();
}

namespace {

pugi::xml_node NextWithin(pugi::xml_node node, pugi::xml_node root) {
    if (node.first_child())
        return node.first_child();
    for (; node && node != root; node = node.parent())
        if (node.next_sibling())
            return node.next_sibling();
    return {};
}

} // namespace

std::vector<std::string> ParagraphTexts(std::string_view filledBody) {
    pugi::xml_document document;
    const std::string wrapped = ContentXml(filledBody);
    document.load_buffer(wrapped.data(), wrapped.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    std::vector<std::string> texts;
    for (const pugi::xpath_node found : document.select_nodes("//text:p | //text:h")) {
        std::string text;
        for (pugi::xml_node n = found.node().first_child(); n; n = NextWithin(n, found.node()))
            if (n.type() == pugi::node_pcdata)
                text += n.value();
        texts.push_back(text);
    }
    return texts;
}

} // namespace brisquel_test
