#include "core/controlchart/control_date.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace talvex::controlchart {
namespace {

TEST(ControlDate, FormsAndRefusals) {
    // The tests run with TZ=UTC, so local dates read as UTC here.
    const struct {
        const char* text;
        std::int64_t seconds; // -1: refused
        bool hasTime;
    } cases[] = {
        {"05.03.2024", 1709596800, false},
        {"05.03.2024 08:07", 1709626020, true},
        {" 2024-03-05 ", 1709596800, false},
        {"2024-03-05T08:07", 1709626020, true},
        {"2024-03-05 08:07:09", 1709626029, true},
        {"2024-03-05T08:07:09Z", 1709626029, true},
        {"2024-03-05T11:07:09+03:00", 1709626029, true},
        {"2024-03-05T03:07:09-05:00", 1709626029, true},
        {"29.02.2024", 1709164800, false},
        {"29.02.2023", -1, false},
        {"31.04.2024", -1, false},
        {"05.03.2024T08:07", -1, false},
        {"05.03.2024 8:07", -1, false},
        {"05.03.2024 24:00", -1, false},
        {"5.3.2024", -1, false},
        {"2024-03-05T08:07Zx", -1, false},
        {"2024-03-05T08:07+3", -1, false},
        {"2024/03/05", -1, false},
        {"", -1, false},
        {"yesterday", -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto date = ParseControlDate(c.text);
        if (c.seconds < 0) {
            EXPECT_FALSE(date);
            continue;
        }
        ASSERT_TRUE(date);
        EXPECT_EQ(date->seconds, c.seconds);
        EXPECT_EQ(date->hasTime, c.hasTime);
    }
}

} // namespace
} // namespace talvex::controlchart
