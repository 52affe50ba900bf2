#include "core/section8/fraction_windows.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/not_set.h"
#include "core/section8/condensate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace talvex {
namespace {

CondensateEntry Entry(const char* name, bool fraction, double start, double end) {
    CondensateEntry e;
    e.name = name;
    e.isFraction = fraction;
    e.windowStart = start;
    e.windowEnd = end;
    return e;
}

class FractionWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        first_.fileId = 4;
        second_.fileId = 7;
        control_.fileId = 9;
        result_.calculated = true;
        CondensateAnalysis& a = result_.analyses.emplace_back();
        a.chromatogram = &first_;
        a.entriesA = {Entry("н-Пентан", false, 1.0, 1.2), Entry("F45-60", true, 1.2, 2.5),
                      Entry("F60-70", true, 2.5, NotSet), Entry("F70-80", true, 3.1, 4.0)};
        a.entriesB = {Entry("C6", true, 9.0, 9.5)};
        CondensateAnalysis& b = result_.analyses.emplace_back();
        b.chromatogram = &second_;
        b.entriesA = {Entry("F45-60", true, 1.3, 2.6)};
        result_.okpAnalysis.chromatogram = &control_;
        result_.okpAnalysis.entriesA = {Entry("F45-60", true, 1.1, 2.4)};
    }

    COpenedChmFile first_, second_, control_;
    CondensateResult result_;
};

// Only method A's fractions with both bounds, of the asked chromatogram, in marking order.
TEST_F(FractionWindowsTest, GivesTheCompleteFractionWindowsOfTheAskedRun) {
    const std::vector<FractionWindow> w = MethodAFractionWindows(result_, 4);
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].name, "F45-60");
    EXPECT_DOUBLE_EQ(w[0].start, 1.2);
    EXPECT_DOUBLE_EQ(w[0].end, 2.5);
    EXPECT_EQ(w[1].name, "F70-80");
    EXPECT_DOUBLE_EQ(w[1].start, 3.1);
}

TEST_F(FractionWindowsTest, FindsEachAnalysisAndTheControlSample) {
    struct Case {
        std::int32_t fileId;
        double start; // of the first window; NaN when none is expected
    };
    const Case cases[] = {{7, 1.3}, {9, 1.1}, {5, std::nan("")}, {-1, std::nan("")}};
    for (const Case& c : cases) {
        const std::vector<FractionWindow> w = MethodAFractionWindows(result_, c.fileId);
        if (std::isnan(c.start)) {
            EXPECT_TRUE(w.empty()) << c.fileId;
        } else {
            ASSERT_EQ(w.size(), 1u) << c.fileId;
            EXPECT_DOUBLE_EQ(w[0].start, c.start) << c.fileId;
        }
    }
}

// After a reset the analyses are stale: nothing is shown until the next calculation.
TEST_F(FractionWindowsTest, NothingBeforeACalculation) {
    result_.calculated = false;
    EXPECT_TRUE(MethodAFractionWindows(result_, 4).empty());
}

} // namespace
} // namespace talvex
