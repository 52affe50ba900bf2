#include "section8_fixtures.h"

#include "core/components/retention_time_table.h"
#include "core/messages/message_log.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

using testing::AddComponent;
using testing::AddPeak;
using testing::MakeRun;

TEST(BoilingCalibrationTest, ConvertsLinearlyBetweenTheBracketingPoints) {
    BoilingCalibration cal;
    cal.temperatures = {36.0, 69.0, 98.0};
    cal.retentionTimes = {3.5, 7.25, 10.5};
    const double g = (3.5 - 7.25) / (36.0 - 69.0);
    EXPECT_EQ(cal.ToRetentionTime(45.0), 3.5 - 36.0 * g + g * 45.0);
    EXPECT_NEAR(cal.ToRetentionTime(98.0), 10.5, 1e-12);
    EXPECT_NEAR(cal.ToTemperature(cal.ToRetentionTime(80.0)), 80.0, 1e-12);
    EXPECT_EQ(cal.ToRetentionTime(35.9), NotSet);
    EXPECT_EQ(cal.ToRetentionTime(98.1), NotSet);
    EXPECT_EQ(cal.ToTemperature(NotSet), NotSet);
    EXPECT_EQ(BoilingCalibration{}.ToRetentionTime(50.0), NotSet);
}

TEST(BoilingCalibrationTest, ASinglePointAnswersOnlyForItselfAndNeverWithNan) {
    BoilingCalibration cal;
    cal.temperatures = {36.0};
    cal.retentionTimes = {3.5};
    EXPECT_EQ(cal.ToRetentionTime(36.0), 3.5);
    EXPECT_EQ(cal.ToRetentionTime(37.0), NotSet);
}

class BuildCalibrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddComponent(components_, "н-Пентан", 36.06);
        AddComponent(components_, "н-Гексан", 68.73);
        AddComponent(components_, "н-Гептан", 98.42);
        AddComponent(components_, "н-Октан", 125.68);
        AddComponent(components_, "н-Нонан", 150.82);
        AddComponent(components_, "Бензол", 80.09);
    }

    void LoadTimes(std::initializer_list<std::string_view> rows) {
        std::vector<std::string_view> lines{"Компонент;Время (газ);Время (ДК)"};
        lines.insert(lines.end(), rows.begin(), rows.end());
        std::string bytes;
        for (std::string_view l : lines)
            bytes += testing::DataFileBytes({l});
        folder_.Write("CompsTime.csv", bytes);
        std::string error;
        ASSERT_TRUE(times_.LoadTable(folder_.path(), components_, log_, &error)) << error;
    }

    testing::TempFolder folder_;
    ComponentTable components_;
    RetentionTimeTable times_;
    MessageLog log_;
};

TEST_F(BuildCalibrationTest, TheTableExtendsTheRunsNParaffinsPastTheirLastPoint) {
    LoadTimes(
        {"н-Пентан;5;3.5", "н-Гептан;15;10.67", "н-Октан;19;9.0", "н-Нонан;23;16.7", "Неизвестный;1;1"});
    COpenedChmFile run = MakeRun({0, 0}, 1.0);
    AddPeak(run, "н-Пентан", 3.4, 3.6, 3.5, 10);
    AddPeak(run, "Бензол", 8.4, 8.6, 8.5, 10); // not an n-paraffin
    AddPeak(run, "н-Гексан", 7.2, 7.3, 7.25, 10);
    BoilingCalibration cal;
    cal.BuildCalibration(run, components_, times_);
    // н-Пентан is not past н-Гексан; н-Октан's time 9.0 is not past н-Гептан's 10.67 and changes nothing.
    EXPECT_EQ(cal.temperatures, (std::vector<double>{36.06, 68.73, 98.42, 150.82}));
    EXPECT_EQ(cal.retentionTimes, (std::vector<double>{3.5, 7.25, 10.67, 16.7}));
}

TEST_F(BuildCalibrationTest, TheTableAloneStartsNoCalibration) {
    LoadTimes({"н-Пентан;5;3.5", "н-Гептан;15;10.67"});
    COpenedChmFile run = MakeRun({0, 0}, 1.0);
    AddPeak(run, "Бензол", 8.4, 8.6, 8.5, 10);
    BoilingCalibration cal;
    cal.BuildCalibration(run, components_, times_);
    EXPECT_TRUE(cal.Empty());
}

} // namespace
} // namespace talvex
