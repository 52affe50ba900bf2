#include "core/report/report_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace talvex {
namespace {

std::string Repeat(const std::string& unit, std::size_t times) {
    std::string s;
    for (std::size_t i = 0; i < times; ++i)
        s += unit;
    return s;
}

TEST(ReportPathLength, TwoHundredSixtyCharactersAreAcceptedOneMoreIsNot) {
    EXPECT_FALSE(IsReportPathTooLong(Repeat("a", 260)));
    EXPECT_TRUE(IsReportPathTooLong(Repeat("a", 261)));
    // Characters, not bytes: 260 Cyrillic letters take 520 bytes.
    EXPECT_FALSE(IsReportPathTooLong(Repeat("ж", 260)));
    EXPECT_TRUE(IsReportPathTooLong(Repeat("ж", 261)));
}

TEST(ReportMessages, TextsAsTheOperatorSeesThem) {
    EXPECT_EQ(kReportPathMessage, "Некорректное или \n слишком длинное имя файла!");
    EXPECT_EQ(ReportExportMessage(0), "");
    for (const int code : {-1, -2, -3, -4, -5, -6, -10})
        EXPECT_EQ(ReportExportMessage(code), "Произошла ошибка при сохранении отчета.") << code;
}

} // namespace
} // namespace talvex
