#include "core/common/xml_text.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

TEST(XmlEscape, MarkupIsEscapedAndForbiddenControlCharactersBecomeBlanks) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"C6+ <200 °C>", "C6+ &lt;200 °C&gt;"},
        {"A & \"B\"", "A &amp; &quot;B&quot;"},
        {std::string("a\x01" "b\x1f", 4), "a b "},
        {"tab\tand\nlines\r", "tab\tand\nlines\r"}, // allowed in XML, kept
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(XmlEscape(c.in), c.out) << c.in;
}

} // namespace
} // namespace talvex
