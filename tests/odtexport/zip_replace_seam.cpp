#include "zip_replace_seam.h"

#include <dlfcn.h>
#include <zip.h>

#include <string>

namespace brisquel_test {
namespace {

std::string failingEntry;

} // namespace

void FailZipReplaceOf(const char* entryName) {
    failingEntry = entryName ? entryName : "";
}

} // namespace brisquel_test

extern "C" int zip_file_replace(zip_t* archive, zip_uint64_t index, zip_source_t* source, zip_flags_t flags) {
    using Replace = int (*)(zip_t*, zip_uint64_t, zip_source_t*, zip_flags_t);
    static const auto libzipReplace = reinterpret_cast<Replace>(dlsym(RTLD_NEXT, "zip_file_replace"));
    const char* name = zip_get_name(archive, index, 0);
    if (!brisquel_test::failingEntry.empty() && name && brisquel_test::failingEntry == name)
        return -1;
    return libzipReplace(archive, index, source, flags);
}
