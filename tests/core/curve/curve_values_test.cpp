#include "core/curve/curve_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace talvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

BoilingCurve Curve(std::string reason = {}) {
    std::vector<CurveItem> items{{"н-бутан", 2, false, 0, 0, -0.5},
                                 {"F45-60", 8, true, 45, 60, kNaN},
                                 {"неизвестный", 0.25, false, 0, 0, kNaN}};
    return *BuildBoilingCurve(items, reason);
}

const CurveValueRow& Row(const std::vector<CurveValueRow>& rows, const std::string& title) {
    for (const CurveValueRow& row : rows)
        if (row.title == title)
            return row;
    ADD_FAILURE() << "no row " << title;
    return rows.front();
}

TEST(CurveValues, OneRowPerReportedValueInEveryCurvesColumn) {
    CompositionCurves condensate;
    condensate.result = Curve();
    BoilingCurve analysis = Curve();
    analysis.analysis = 1;
    condensate.analyses = {analysis, analysis};
    CompositionCurves nlh;
    nlh.reason = "Нет НЖУ.";

    const std::vector<CurveValueRow> rows = CurveValueRows(condensate, nlh, 3);
    ASSERT_EQ(rows.size(), 13u + 6u + 2u);
    EXPECT_EQ(rows.front().title, "НК (IBP), °C");
    EXPECT_EQ(rows[12].title, "КК (FBP), °C");
    for (const CurveValueRow& row : rows) {
        EXPECT_EQ(row.analyses.size(), 2u) << row.title;
        EXPECT_EQ(row.nlh, "---") << row.title; // no unstable-liquid curve: nothing to read
    }
    // Temperatures with one decimal, shares with the settings' decimals.
    const struct {
        const char* title;
        const char* value;
    } cases[] = {
        {"НК (IBP), °C", "-0.5"},      {"Отгон 10 %, °C", "-0.5"},   {"Отгон 30 %, °C", "46.9"},
        {"Отгон 50 %, °C", "50.6"},    {"КК (FBP), °C", "59.9"},     {"Отгон до 100 °C, %", "100.000"},
        {"Лёгкая часть, %", "20.000"}, {"Конец кривой, °C", "60.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Row(rows, c.title).condensate, c.value) << c.title;
        EXPECT_EQ(Row(rows, c.title).analyses[1], c.value) << c.title;
    }
}

TEST(CurveValues, ValuesThatCannotBeReadOffAndUnplacedRows) {
    BoilingCurve steps = Curve();
    steps.curveEnd = kNaN; // no fraction with mass
    steps.cutTemps[3] = kNaN;
    CompositionCurves nlh;
    nlh.result = steps;
    const std::vector<CurveValueRow> rows = CurveValueRows({}, nlh, 2);
    EXPECT_EQ(Row(rows, "Конец кривой, °C").nlh, "---");
    EXPECT_EQ(Row(rows, "Отгон 20 %, °C").nlh, "---");
    EXPECT_EQ(Row(rows, "Отгон до 100 °C, %").nlh, "100.00");
    EXPECT_EQ(Row(rows, "Отгон до 100 °C, %").condensate, "---");

    EXPECT_EQ(UnplacedText(steps, 2), "неизвестный (0.25 %)");
    steps.unplaced.push_back({"X", 1.0 / 3});
    EXPECT_EQ(UnplacedText(steps, 1), "неизвестный (0.2 %); X (0.3 %)");
    steps.unplaced.clear();
    EXPECT_EQ(UnplacedText(steps, 1), "");
}

} // namespace
} // namespace talvex
