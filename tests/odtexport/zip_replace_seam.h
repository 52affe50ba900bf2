#pragma once

namespace brisquel_test {

// This test program defines zip_file_replace itself, so the library's calls come here first and go on
// to libzip's own function. While a name is set, replacing the entry of that name fails as libzip
// reports failures (-1, nothing taken over); nullptr lets every replacement through again.
void FailZipReplaceOf(const char* entryName);

} // namespace brisquel_test
