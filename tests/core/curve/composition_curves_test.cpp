#include "core/curve/composition_curves.h"

#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/curve/curve_svg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace talvex {
namespace {

namespace fs = std::filesystem;

// The curve rises from 0 to 100 in order of temperature, and its read-off values are in order too.
void ExpectWellFormed(const BoilingCurve& curve) {
    ASSERT_FALSE(curve.points.empty());
    EXPECT_EQ(curve.points.front().second, 0.0);
    EXPECT_NEAR(curve.points.back().second, 100.0, 1e-9);
    for (std::size_t i = 1; i < curve.points.size(); ++i)
        EXPECT_LE(curve.points[i - 1].first, curve.points[i].first);
    for (std::size_t i = 1; i < curve.cutTemps.size(); ++i)
        EXPECT_LE(curve.cutTemps[i - 1], curve.cutTemps[i]);
}

TEST(CompositionCurves, TheExampleSessionHasBothCurvesAndOnePerAnalysis) {
    MemorySettingsStore profile;
    Session session(profile, fs::path(TALVEX_SOURCE_DIR) / "data");
    ASSERT_TRUE(session.LoadComponents().empty());
    ASSERT_TRUE(TypeExampleDegassing(session.Degassing(), 3));
    ASSERT_TRUE(session.AddFiles(ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples")));

    const CompositionCurves condensate = CondensateCurves(session.Condensate());
    ASSERT_TRUE(condensate.result) << condensate.reason;
    EXPECT_TRUE(condensate.reason.empty());
    ExpectWellFormed(*condensate.result);
    EXPECT_EQ(condensate.result->analysis, 0);
    ASSERT_EQ(condensate.analyses.size(), 3u); // the control sample's analysis has none
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(condensate.analyses[i].analysis, static_cast<int>(i) + 1);
        ExpectWellFormed(condensate.analyses[i]);
    }
    const CompositionCurves nlh = NlhCurves(session.Nlh());
    ASSERT_TRUE(nlh.result) << nlh.reason;
    ExpectWellFormed(*nlh.result);
    EXPECT_TRUE(nlh.analyses.empty());
    // The unstable liquid holds the degassing gas too: it starts boiling lower than the condensate.
    EXPECT_LT(nlh.result->cutTemps[0], condensate.result->cutTemps[0]);
    EXPECT_GT(nlh.result->lightEnd, condensate.result->lightEnd);

    const std::string svg = BoilingCurvesSvg(condensate, nlh);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    for (const char* text : {"% отгона", "Температура, °C", "ДК, результат", "ДК, анализы", "НЖУ", "</svg>"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    std::size_t lines = 0;
    for (std::size_t at = svg.find("<polyline"); at != std::string::npos; at = svg.find("<polyline", at + 1))
        ++lines;
    EXPECT_EQ(lines, 5u);
}

TEST(CompositionCurves, WithoutACondensateAnalysisThereIsNoCurveButAReason) {
    MemorySettingsStore profile;
    Session session(profile, fs::path(TALVEX_SOURCE_DIR) / "data");
    ASSERT_TRUE(session.LoadComponents().empty());
    ASSERT_TRUE(session.Recalculate());
    const CompositionCurves condensate = CondensateCurves(session.Condensate());
    EXPECT_FALSE(condensate.result);
    EXPECT_NE(condensate.reason.find("Нет анализов дегазированного конденсата"), std::string::npos);
    const CompositionCurves nlh = NlhCurves(session.Nlh());
    EXPECT_FALSE(nlh.result);
    EXPECT_FALSE(nlh.reason.empty());
    const std::string svg = BoilingCurvesSvg(condensate, nlh);
    EXPECT_EQ(svg.find("<polyline"), std::string::npos);
    EXPECT_NE(svg.find(condensate.reason), std::string::npos);
}

} // namespace
} // namespace talvex
