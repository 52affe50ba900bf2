#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

// Only the C interface of brisquel.h leaves the library: no internal function and no instantiation of a
// standard template can clash with the program's own.
TEST(ExportedSymbols, AreExactlyTheCInterface) {
    FILE* nm = ::popen("nm -D --defined-only '" BRISQUEL_LIBRARY "'", "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> names;
    char line[1024];
    while (std::fgets(line, sizeof line, nm)) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name)
            names.insert(name);
    }
    ASSERT_EQ(::pclose(nm), 0);
    EXPECT_EQ(names, (std::set<std::string>{"BrisquelSetOpener", "Export", "GetMeta"}));
}

} // namespace
