#include "brisquel.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace {

static_assert(sizeof(ExportMeta) == 452);
static_assert(offsetof(ExportMeta, Name) == 96 && offsetof(ExportMeta, Format) == 192 &&
              offsetof(ExportMeta, Value) == 448);

TEST(GetMeta, NullRecordGivesFalse) {
    EXPECT_FALSE(GetMeta(nullptr));
}

TEST(GetMeta, FillsEveryFieldAndTerminatesIt) {
    ExportMeta meta;
    std::memset(&meta, 0xAB, sizeof meta);
    ASSERT_TRUE(GetMeta(&meta));
    EXPECT_EQ(std::u16string(meta.Kind), u"export");
    EXPECT_EQ(std::u16string(meta.Name), u"export2odt");
    EXPECT_EQ(std::u16string(meta.Format), u"Odt");
    EXPECT_EQ(meta.Value, 1);
}

} // namespace
