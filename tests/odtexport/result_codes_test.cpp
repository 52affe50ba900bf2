#include "odt_fixture.h"
#include "zip_replace_seam.h"

#include "brisquel.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <functional>

namespace brisquel_test {
namespace {

using talvex::testing::ReadBytes;

const std::string kContent = ContentXml("<text:p>#A#</text:p>");
constexpr const char* kData = "<root><A>filled</A></root>";

int ExportPaths(const char16_t* templ, const char16_t* output) {
    const pugi::xml_document data = ParseData(kData);
    return Export(data.document_element().internal_object(), templ, output, 0);
}

TEST(ExportSucceeds, WritesAnOdtWithMimetypeFirstAndStored) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, kContent, {{"styles.xml", "<styles/>"}});
    const auto output = folder.Write("report.odt", "an older report");
    ASSERT_EQ(RunExport(ParseData(kData), templ, output), BRISQUEL_OK);

    int error = 0;
    zip_t* archive = zip_open(output.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    ASSERT_NE(archive, nullptr) << error;
    zip_stat_t first;
    ASSERT_EQ(zip_stat_index(archive, 0, 0, &first), 0);
    EXPECT_STREQ(first.name, "mimetype");
    EXPECT_EQ(first.comp_method, ZIP_CM_STORE);
    EXPECT_EQ(zip_get_num_entries(archive, 0), 3);
    zip_discard(archive);
    EXPECT_NE(ReadZipEntry(output, "content.xml").value_or("").find("<text:p>filled</text:p>"),
              std::string::npos);
    EXPECT_EQ(ReadZipEntry(output, "styles.xml"), "<styles/>");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"report.odt", "template.odt"}));
}

TEST(ExportSucceeds, ReportGetsTheUsualFilePermissions) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, kContent);
    const mode_t old = ::umask(022);
    const int result = RunExport(ParseData(kData), templ, folder / "report.odt");
    ::umask(old);
    ASSERT_EQ(result, BRISQUEL_OK);
    struct stat st {};
    ASSERT_EQ(::stat((folder / "report.odt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(ExportSucceeds, OutputPathWithCyrillicLetters) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, kContent);
    const auto output = folder / "Отчет 1.odt";
    ASSERT_EQ(RunExport(ParseData(kData), templ, output), BRISQUEL_OK);
    EXPECT_TRUE(ReadZipEntry(output, "content.xml").has_value());
}

TEST(ExportSucceeds, OutputNameAtTheFileSystemLimit) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, kContent);
    const auto output = folder / (std::string(251, 'r') + ".odt");
    ASSERT_EQ(RunExport(ParseData(kData), templ, output), BRISQUEL_OK);
    EXPECT_TRUE(ReadZipEntry(output, "content.xml").has_value());
}

TEST(ExportRefuses, NullPaths) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, kContent);
    const std::u16string path = templ.u16string();
    EXPECT_EQ(ExportPaths(nullptr, path.c_str()), BRISQUEL_NULL_PATH);
    EXPECT_EQ(ExportPaths(path.c_str(), nullptr), BRISQUEL_NULL_PATH);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"template.odt"});
}

// -2: the output path keeps what it held, and no temporary file is left beside it.
TEST(ExportRefuses, CopyFailures) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, kContent);
    const auto existing = folder.Write("report.odt", "an older report");
    std::filesystem::create_directory(folder / "a folder");
    const std::u16string unpaired = u"report\xD800.odt";

    struct Case {
        const char* what;
        std::u16string templ;
        std::u16string output;
    };
    const std::vector<Case> cases = {
        {"template missing", (folder / "none.odt").u16string(), existing.u16string()},
        {"template is a folder", (folder / "a folder").u16string(), existing.u16string()},
        {"template path empty", u"", existing.u16string()},
        {"output folder missing", templ.u16string(), (folder / "no such folder" / "r.odt").u16string()},
        {"output is a folder", templ.u16string(), (folder / "a folder").u16string()},
        {"output is the template", templ.u16string(), templ.u16string()},
        {"output path empty", templ.u16string(), u""},
        {"output path not UTF-16", templ.u16string(), (folder.path().u16string() + u"/" + unpaired)},
    };
    const std::string templateBytes = ReadBytes(templ);
    for (const Case& c : cases) {
        EXPECT_EQ(ExportPaths(c.templ.c_str(), c.output.c_str()), BRISQUEL_COPY_FAILED) << c.what;
        EXPECT_EQ(ReadBytes(existing), "an older report") << c.what;
        EXPECT_EQ(ReadBytes(templ), templateBytes) << c.what;
        EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a folder", "report.odt", "template.odt"}))
            << c.what;
    }
}

// A damaged template: the code, and the output is an unchanged copy of the template.
struct DamagedCase {
    const char* what;
    std::function<void(const std::filesystem::path&)> write;
    int expected;
};

class DamagedTemplate : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedTemplate, GivesItsCodeAndLeavesACopyOfTheTemplate) {
    const TempFolder folder;
    const auto templ = folder / "template.odt";
    GetParam().write(templ);
    const auto output = folder.Write("report.odt", "an older report");
    EXPECT_EQ(RunExport(ParseData(kData), templ, output), GetParam().expected);
    EXPECT_TRUE(ReadBytes(output) == ReadBytes(templ)) << "the output is no copy of the template";
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"report.odt", "template.odt"}));
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

void WriteOdt(const std::filesystem::path& file, const std::string& content) {
    WriteZip(file, {{"mimetype", "application/vnd.oasis.opendocument.text"}, {"content.xml", content}});
}

// A template whose last entry has a damaged local header: it opens, but cannot be copied when written.
void WriteOdtWithDamagedEntry(const std::filesystem::path& file) {
    WriteZip(file, {{"mimetype", "application/vnd.oasis.opendocument.text"},
                    {"content.xml", kContent},
                    {"Pictures/a.png", "PICTURE"}});
    std::string bytes = ReadBytes(file);
    const std::size_t header = bytes.rfind(std::string("PK\x03\x04", 4));
    ASSERT_NE(header, std::string::npos);
    bytes[header + 28] = '\xFF'; // extra field length: the entry's data would start beyond the end
    bytes[header + 29] = '\xFF';
    WriteBytes(file, bytes);
}

std::string Nested(int depth) {
    std::string xml;
    for (int i = 0; i < depth; ++i)
        xml += "<text:span>";
    for (int i = 0; i < depth; ++i)
        xml += "</text:span>";
    return xml;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DamagedTemplate,
    ::testing::Values(
        DamagedCase{"not a zip", [](const auto& f) { WriteBytes(f, "PK this is no archive at all"); },
                    BRISQUEL_NOT_ZIP},
        DamagedCase{"empty file", [](const auto& f) { WriteBytes(f, ""); }, BRISQUEL_NOT_ZIP},
        DamagedCase{"no content.xml",
                    [](const auto& f) {
                        WriteZip(f, {{"mimetype", "application/vnd.oasis.opendocument.text"}});
                    },
                    BRISQUEL_NO_CONTENT},
        DamagedCase{"content.xml beyond 64 MiB",
                    [](const auto& f) { WriteOdt(f, std::string((64u << 20) + 1, ' ')); },
                    BRISQUEL_NO_CONTENT},
        DamagedCase{"malformed XML", [](const auto& f) { WriteOdt(f, "<office:document-content><text:p>"); },
                    BRISQUEL_BAD_CONTENT},
        DamagedCase{"nested deeper than any document",
                    [](const auto& f) { WriteOdt(f, ContentXml(Nested(200000))); }, BRISQUEL_BAD_CONTENT},
        DamagedCase{"damaged entry", WriteOdtWithDamagedEntry, BRISQUEL_WRITE_FAILED}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return "case" + std::to_string(info.index); });

TEST(ExportRefuses, ContentThatCannotBeReplaced) {
    const TempFolder folder;
    const auto templ = WriteTemplate(folder, kContent);
    const auto output = folder / "report.odt";
    FailZipReplaceOf("content.xml");
    const int result = RunExport(ParseData(kData), templ, output);
    FailZipReplaceOf(nullptr);
    EXPECT_EQ(result, BRISQUEL_REPLACE_FAILED);
    EXPECT_EQ(ReadBytes(output), ReadBytes(templ));
}

TEST(ExportLimits, DeepButOrdinaryNestingIsFilled) {
    const std::string body = "<text:p>" + Nested(100).insert(100 * 11, "#A#") + "</text:p>";
    EXPECT_EQ(ParagraphTexts(FillBody(body, kData)), std::vector<std::string>{"filled"});
}

// The template's limits, at each limit and one past it: content.xml of 64 MiB, and elements nested 1000
// levels deep (the document element is level 1; the body starts at level 4).
TEST(ExportLimits, ContentSizeAndNestingAtTheLimitAndOnePast) {
    const TempFolder folder;
    const std::string body = "<text:p>#A#</text:p>";
    const std::size_t frame = ContentXml(body).size();
    const struct {
        const char* what;
        std::string content;
        int result;
    } cases[] = {
        {"content.xml of 64 MiB", ContentXml(body + std::string((64u << 20) - frame, ' ')), BRISQUEL_OK},
        {"content.xml one byte larger", ContentXml(body + std::string((64u << 20) - frame + 1, ' ')),
         BRISQUEL_NO_CONTENT},
        {"1000 levels", ContentXml(Nested(997)), BRISQUEL_OK},
        {"1001 levels", ContentXml(Nested(998)), BRISQUEL_BAD_CONTENT},
    };
    for (const auto& c : cases) {
        const auto templ = folder / "template.odt";
        WriteOdt(templ, c.content);
        EXPECT_EQ(RunExport(ParseData(kData), templ, folder / "report.odt"), c.result) << c.what;
    }
}

} // namespace
} // namespace brisquel_test
