#include "core/common/format.h"
#include "core/common/not_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace talvex {
namespace {

TEST(FormatValue, MissingValuesShowDashesOthersFixedDecimals) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int decimals;
        const char* shown;
        const char* report;
    } cases[] = {
        {NotSet, 3, "---", "---"},
        {-inf, 3, "---", "---"},
        {std::nan(""), 2, "---", "---"},
        {0.0, 3, "0.000", "0,000"},
        {12.3456, 3, "12.346", "12,346"},
        {-0.0005, 3, "-0.001", "-0,001"}, // rounds half away as printf does for this binary value
        {2.5, 0, "2", "2"},               // exactly half: to even
        {1e21, 1, "1000000000000000000000.0", "1000000000000000000000,0"},
        {inf, 2, "inf", "inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatValue(c.value, c.decimals), c.shown) << c.value;
        EXPECT_EQ(FormatReportValue(c.value, c.decimals), c.report) << c.value;
    }
}

} // namespace
} // namespace talvex
