// Fuzz target of the ODT export: the bytes are a whole template archive, exported with the example
// session's report document. Whatever the template, the output path holds a whole file afterwards (the
// filled report or an unchanged copy of the template) unless the copy itself failed, and no staged file
// is left beside it.
#include "fuzz_support.h"

#include "brisquel.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace {

std::u16string Utf16(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    const pugi::xml_node report = talvex::fuzz::ExampleReport().child("root");
    const fs::path folder = talvex::fuzz::ScratchFolder() / "odt";
    fs::create_directories(folder);
    const fs::path templatePath = folder / "template.odt";
    const fs::path output = folder / "report.odt";
    talvex::fuzz::WriteWholeFile(templatePath, talvex::fuzz::AsText(data, size));
    std::error_code ec;
    fs::remove(output, ec);

    const int result = Export(report.internal_object(), Utf16(templatePath.string()).c_str(),
                              Utf16(output.string()).c_str(), 0);
    if (result != BRISQUEL_COPY_FAILED && !fs::is_regular_file(output))
        __builtin_trap();
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        (void)entry;
        ++entries;
    }
    if (entries > 2) // the template and the report, nothing staged
        __builtin_trap();
    return 0;
}
