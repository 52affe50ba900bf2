// The default data folder shipped with the program: complete, consistent with what the calculations look
// up, and in the program's own format.
#include "core/components/component_table.h"
#include "core/components/csv_table.h"
#include "core/components/group_text.h"

#include "core/common/format.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cmath>

namespace talvex {
namespace {

const std::filesystem::path kDataFolder = std::filesystem::path(TALVEX_SOURCE_DIR) / "data";

const char* const kParaffinNames[] = {
    "н-Пентан",          "н-Гексан",          "н-Гептан",          "н-Октан",          "н-Нонан",
    "н-Декан",           "н-Ундекан",         "н-Додекан",         "н-Тридекан",       "н-Тетрадекан",
    "н-Пентадекан",      "н-Гексадекан",      "н-Гептадекан",      "н-Октадекан",      "н-Нонадекан",
    "н-Эйкозан",         "н-Генэйкозан",      "н-Докозан",         "н-Трикозан",       "н-Тетракозан",
    "н-Пентакозан",      "н-Гексакозан",      "н-Гептакозан",      "н-Октакозан",      "н-Нонакозан",
    "н-Триаконтан",      "н-Гентриаконтан",   "н-Дотриаконтан",    "н-Тритриаконтан",  "н-Тетратриаконтан",
    "н-Пентатриаконтан", "н-Гексатриаконтан", "н-Гептатриаконтан", "н-Октатриаконтан", "н-Нонатриаконтан",
    "н-Тетраконтан"};

std::vector<std::string> FractionNames() {
    std::vector<std::string> names{"F45-60"};
    for (int t = 60; t < 590; t += 10)
        names.push_back(StrPrintf("F%d-%d", t, t + 10));
    return names;
}

class ShippedData : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(table.LoadComponents(kDataFolder), std::vector<std::string>{}); }
    ComponentTable table;
};

TEST_F(ShippedData, HasTheComponentsTheCalculationsLookUpByName) {
    for (const char* name :
         {"Метан", "Этан", "Пропан", "изо-Бутан", "н-Бутан", "нео-Пентан", "изо-Пентан", "н-Пентан", "Азот",
          "Кислород", "Диоксид углерода", "Водород", "Гелий", "Сероводород", "Циклопентан", "2-Метилпентан",
          "3-Метилпентан", "Бензол", "Толуол"})
        EXPECT_NE(table.FindComponent(name), nullptr) << name;

    const ComponentRecord* methane = table.FindComponent("Метан");
    ASSERT_NE(methane, nullptr);
    EXPECT_EQ(methane->gas.molarMass, 16.043);
    EXPECT_EQ(methane->gas.boilingPoint, -161.48);
    // The gas calculation takes components with carbon number 0 from the TCD as non-hydrocarbons.
    for (const char* name : {"Азот", "Кислород", "Диоксид углерода", "Водород", "Гелий", "Сероводород"}) {
        const ComponentRecord* r = table.FindComponent(name);
        ASSERT_NE(r, nullptr) << name;
        EXPECT_EQ(r->gas.carbonNumber, 0.0) << name;
        EXPECT_GT(r->gas.tcdFactor, 0.0) << name;
        EXPECT_EQ(r->gas.fidFactor, NotSet) << name;
    }
    for (const char* name : {"Метан", "Этан"}) // the two TCD channels are joined on these
        EXPECT_GT(table.FindComponent(name)->gas.tcdFactor, 0.0) << name;
}

TEST_F(ShippedData, HasEveryNormalParaffinFromC5ToC40InOrderOfBoilingPoint) {
    double previous = -1000;
    for (int i = 0; i < 36; ++i) {
        const ComponentRecord* r = table.FindComponent(kParaffinNames[i]);
        ASSERT_NE(r, nullptr) << kParaffinNames[i];
        const int carbons = i + 5;
        EXPECT_EQ(r->liquid.carbonNumber, carbons) << r->key;
        EXPECT_NEAR(r->gas.molarMass, 14.027 * carbons + 2.016, 1e-9) << r->key; // C(n)H(2n+2)
        EXPECT_GT(r->liquid.boilingPoint, previous) << r->key;
        EXPECT_EQ(r->gas.boilingPoint, r->liquid.boilingPoint) << r->key;
        previous = r->liquid.boilingPoint;
    }
    EXPECT_EQ(table.FindComponent("н-Гептан")->liquid.boilingPoint, 98.42);
    // Calibrations take n-paraffins by the "н-" in their keys: no other component may carry it.
    std::size_t marked = 0;
    for (const ComponentRecord& r : table.records)
        if (r.key.find("н-") != std::string::npos || r.displayName.find("н-") != std::string::npos)
            ++marked;
    EXPECT_EQ(marked, 36u + 1u); // C5…C40 and н-Бутан
}

TEST_F(ShippedData, HasEveryBoilingFractionWithItsMidpointAndResponseData) {
    for (const std::string& name : FractionNames()) {
        const ComponentRecord* f = table.FindComponent(name);
        ASSERT_NE(f, nullptr) << name;
        const int low = std::stoi(name.substr(1));
        const int high = std::stoi(name.substr(name.find('-') + 1));
        EXPECT_EQ(f->liquid.boilingPoint, (low + high) / 2.0) << name;
        EXPECT_GT(f->liquid.molarMass, 70.0) << name;
        EXPECT_GT(f->gas.fidFactor, 0.0) << name;
        EXPECT_GT(f->gas.molarMass, 0.0) << name;
    }
}

TEST_F(ShippedData, GroupsNameExistingRecordsAndTheFractionOfTheBoilingPoint) {
    for (const ComponentRecord& r : table.records) {
        for (const PhaseProperties* p : {&r.gas, &r.liquid}) {
            if (p->group.empty())
                continue;
            const std::string component = PickGroupPart(p->group, false);
            const std::string fraction = PickGroupPart(p->group, true);
            if (!component.empty()) {
                EXPECT_NE(table.FindComponent(component), nullptr) << r.key << ": " << p->group;
            }
            ASSERT_FALSE(fraction.empty()) << r.key << ": " << p->group;
            const ComponentRecord* f = table.FindComponent(fraction);
            ASSERT_NE(f, nullptr) << r.key << ": " << p->group;
            // The named fraction is the one the component boils in.
            const int low = std::stoi(fraction.substr(1));
            const int high = std::stoi(fraction.substr(fraction.find('-') + 1));
            EXPECT_TRUE(low <= p->boilingPoint && p->boilingPoint < high) << r.key << ": " << p->group;
        }
        // The gas calculation moves a component above its threshold (45 or 175 °C) into its fraction,
        // whose lines end at 230 °C and start at 180 °C above 175 °C: a gas group must name one of them.
        if (!r.gas.group.empty()) {
            const double bp = r.gas.boilingPoint;
            EXPECT_TRUE((bp > 45 && bp < 175) || (bp >= 180 && bp < 230)) << r.key;
        }
    }
    EXPECT_EQ(table.FindComponent("п-Ксилол")->gas.group, "п-Ксилол, F130-140");
    EXPECT_EQ(table.FindComponent("п-Ксилол")->liquid.group, "F130-140");
}

TEST_F(ShippedData, CertifiedValuesOfEachControlMixtureAddUpTo100) {
    double gas = 0;
    double liquid = 0;
    for (const ComponentRecord& r : table.records) {
        if (!IsNotSet(r.gas.certifiedValue))
            gas += r.gas.certifiedValue;
        if (!IsNotSet(r.liquid.certifiedValue))
            liquid += r.liquid.certifiedValue;
    }
    EXPECT_NEAR(gas, 100.0, 1e-9);
    EXPECT_NEAR(liquid, 100.0, 1e-9);
}

TEST_F(ShippedData, NormsCoverTheLinesOfBothCalculations) {
    for (const char* name :
         {"Метан", "Азот", "Кислород", "Диоксид углерода", "н-Гексан", "F45-60", "F220-230"})
        EXPECT_FALSE(table.FindComponent(name)->gasNorms.empty()) << name;
    for (const char* name : {"Метан", "н-Пентан", "н-Гексан", "н-Тетраконтан", "F45-60", "F580-590"})
        EXPECT_FALSE(table.FindComponent(name)->liquidNorms.empty()) << name;
    for (const ComponentRecord& r : table.records)
        for (const auto* norms : {&r.gasNorms, &r.liquidNorms})
            for (const NormRange& n : *norms)
                EXPECT_TRUE(n.low < n.high && n.delta > 0 && n.repeatability > 0 && n.reproducibility > 0)
                    << r.key;
    // The ranges of one component follow each other.
    const auto& norms = table.FindComponent("Метан")->gasNorms;
    for (std::size_t i = 1; i < norms.size(); ++i)
        EXPECT_EQ(norms[i].low, norms[i - 1].high);
}

TEST_F(ShippedData, RetentionTimesNameKnownParaffinsInAscendingOrder) {
    CsvTable times;
    ASSERT_TRUE(times.ReadCsv(kDataFolder / "CompsTime.csv", 0));
    ASSERT_EQ(times.rows.size(), 1u + 36u);
    double lastGas = 0;
    double lastLiquid = 0;
    std::size_t gasTimes = 0;
    for (std::size_t i = 1; i < times.rows.size(); ++i) {
        const auto& row = times.rows[i];
        ASSERT_EQ(row.size(), 3u);
        EXPECT_EQ(row[0], kParaffinNames[i - 1]);
        EXPECT_NE(table.FindComponent(row[0]), nullptr) << row[0];
        if (!row[1].empty()) {
            EXPECT_GT(std::stod(row[1]), lastGas) << row[0];
            lastGas = std::stod(row[1]);
            ++gasTimes;
        }
        ASSERT_FALSE(row[2].empty()) << row[0];
        EXPECT_GT(std::stod(row[2]), lastLiquid) << row[0];
        lastLiquid = std::stod(row[2]);
    }
    EXPECT_GE(gasTimes, 12u); // the gas column past n-dodecane, beyond the end of its fractions
}

TEST_F(ShippedData, SavingTheUnchangedTableReproducesComps) {
    testing::TempFolder copy;
    for (const char* name : {"Comps.csv", "TableSection7.csv", "TableSection8.csv"})
        std::filesystem::copy_file(kDataFolder / name, copy / name);
    ComponentTable loaded;
    ASSERT_TRUE(loaded.LoadComponents(copy.path()).empty());
    std::string error;
    ASSERT_TRUE(loaded.SaveComponents(copy.path(), &error)) << error;
    EXPECT_EQ(testing::ReadBytes(copy / "Comps.csv"), testing::ReadBytes(kDataFolder / "Comps.csv"));
}

} // namespace
} // namespace talvex
