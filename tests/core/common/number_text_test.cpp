#include "core/common/not_set.h"
#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace talvex {
namespace {

TEST(ParseAtof, FollowsTheAtofRules) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"12.5", 12.5},
        {"12,5", 12.0},           // a decimal comma ends the number
        {" \t\r\n12.5xyz", 12.5}, // leading blanks skipped, trailing text ignored
        {"+1.5", 1.5},
        {"-0.25", -0.25},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e3", 1000.0},
        {"1E-2", 0.01},
        {"2e", 2.0}, // an exponent without digits is not part of the number
        {"2e+", 2.0},
        {"0x10", 16.0}, // hexadecimal, as strtod reads it
        {"0x1p-1", 0.5},
        {"0x", 0.0},
        {"0xg", 0.0},
        {"", 0.0},
        {"   ", 0.0},
        {"abc", 0.0},
        {"-", 0.0},
        {"+-1", 0.0}, // one sign only
        {"--1", 0.0},
        {".", 0.0},
        {"от 5", 0.0},
        {"1e-400", 0.0}, // below the smallest double
        {"0.000001", 0.000001},
        {"16.043", 16.043},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseAtof(c.text), c.expected) << '"' << c.text << '"';
}

// The sign of a zero shows ("-0"): a sign without a number reads as +0, as atof gives it, while a
// negative number that is zero or too small keeps its sign.
TEST(ParseAtof, ZeroHasTheSignAtofGives) {
    const struct {
        const char* text;
        bool negative;
    } cases[] = {{"-", false}, {"-x", false}, {" -.", false},    {"-\xD7-", false},
                 {"-0", true}, {"-0x", true}, {"-1e-400", true}, {"-0.0", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(ParseAtof(c.text), 0.0) << c.text;
        EXPECT_EQ(std::signbit(ParseAtof(c.text)), c.negative) << c.text;
    }
    EXPECT_EQ(ReadTypedNumber("-").shown, "0");
}

TEST(ParseAtof, ReadsInfinityAndNanInAnyCase) {
    EXPECT_EQ(ParseAtof("inf"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseAtof(" -Infinity"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseAtof("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseAtof("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(ParseAtof("NaN")));
    EXPECT_TRUE(std::isnan(ParseAtof("nan(123)")));
    EXPECT_TRUE(std::signbit(ParseAtof("-0")));
}

TEST(ParseAtof, RoundTripsTheMissingMarkerAsWrittenInFull) {
    EXPECT_EQ(ParseAtof("-1.7976931348623157e308"), NotSet);
}

TEST(FormatFixed, PrintsLikePercentFWithADecimalPoint) {
    const struct {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        {16.043, 6, "16.043000"},
        {12.34567, 3, "12.346"},
        {0.0, 2, "0.00"},
        {-0.5, 0, "-0"},
        {2.5, 0, "2"},
        {1e20, 1, "100000000000000000000.0"},
        {12.5, 4, "12.5000"},
        {-88.6, 6, "-88.600000"},
        {0.125, 2, "0.12"}, // the exact binary value is rounded, as printf does
        {1.5, -3, "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << c.value << " / " << c.decimals;
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2), "inf");
    EXPECT_EQ(FormatFixed(NotSet, 0).size(), 310u); // the sign and 309 digits
}

TEST(FormatGeneral, PrintsLikePercentGWithADecimalPoint) {
    // Every case is what "%.*g" writes in the "C" locale; the test process runs in it.
    const double values[] = {0.5,    2.0,     100.0, 1e6,  123456.0, 1234567.0, 0.0001, 0.00001234,
                             -30.25, 1.0 / 3, 0.0,   -0.0, 1e-300,   1e300,     NotSet, 99.99999};
    for (const double value : values)
        for (const int precision : {1, 5, 6, 17}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%.*g", precision, value);
            EXPECT_EQ(FormatGeneral(value, precision), expected) << value << " / " << precision;
        }
    EXPECT_EQ(FormatGeneral(1e6, 6), "1e+06");
    EXPECT_EQ(FormatGeneral(0.5, 0), "0.5");
    EXPECT_EQ(FormatGeneral(-std::numeric_limits<double>::infinity(), 6), "-inf");
}

} // namespace
} // namespace talvex

namespace talvex {
namespace {

TEST(ReadTypedNumber, CommaPointAndTheTypedDecimals) {
    const struct {
        const char* typed;
        double value;
        const char* shown;
    } cases[] = {
        {"1,5", 1.5, "1.5"},
        {"3.10", 3.1, "3.10"},
        {"12.", 12.0, "12"},
        {"abc", 0.0, "0"},
        {"", 0.0, "0"},
        {"-2,25", -2.25, "-2.25"},
        {" 7", 7.0, "7"},
        {"0.1x", 0.1, "0.10"},
        {"3,25мин", 3.25, "3.25000"}, // decimals count characters, not bytes
        {"1.2.3", 1.2, "1.200"},
    };
    for (const auto& c : cases) {
        const TypedNumber n = ReadTypedNumber(c.typed);
        EXPECT_EQ(n.value, c.value) << c.typed;
        EXPECT_EQ(n.shown, c.shown) << c.typed;
    }
}

// What the reference-data editors take as a number and what they refuse; the rule follows ParseAtof, so a
// text it accepts never reads as 0 by accident.
TEST(StartsWithNumber, AcceptsWhatAtofReadsAsANumberAtTheStart) {
    const struct {
        const char* typed;
        bool number;
    } cases[] = {
        {"12,5", true}, {"12.5", true},  {" -3", true},   {"+.5", true},  {",5", true},    {"7 g", true},
        {"1e3", true},  {"0x1p4", true}, {"1e999", true}, {"inf", true},  {"NaN", true},   {"0", true},
        {"abc", false}, {"", false},     {"   ", false},  {"-", false},   {".", false},    {",", false},
        {"+-1", false}, {"--1", false},  {"g7", false},   {"---", false}, {"от 5", false}, {"e5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartsWithNumber(c.typed), c.number) << '"' << c.typed << '"';
        // Whatever it refuses, the atof rules read as 0.
        if (!c.number) {
            EXPECT_EQ(ReadTypedNumber(c.typed).value, 0.0) << '"' << c.typed << '"';
        }
    }
}

TEST(FormatFixedExact, KeepsTheAskedDecimalsUnlessTheValueNeedsMore) {
    // 20.95 has enough decimals and is written as FormatFixed writes it; 0.05 with one would read back
    // as 0.1.
    const struct {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        {20.95, 3, "20.950"},  {0.0, 3, "0.000"},      {75.5, 1, "75.5"},
        {0.05, 1, "0.05"},     {78.08, 1, "78.08"},    {0.1234567, 3, "0.1234567"},
        {-2.125, 2, "-2.125"}, {1e-7, 3, "0.0000001"}, {100.0, 0, "100"},
    };
    for (const auto& c : cases) {
        const std::string text = FormatFixedExact(c.value, c.decimals);
        EXPECT_EQ(text, c.expected) << c.value << " / " << c.decimals;
        EXPECT_EQ(ParseAtof(text), c.value) << text;
    }
    EXPECT_EQ(FormatFixedExact(std::numeric_limits<double>::infinity(), 2), "inf");
}

} // namespace
} // namespace talvex
