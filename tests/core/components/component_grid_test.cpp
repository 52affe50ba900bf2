#include "core/components/component_grid.h"

#include "core/common/not_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvex {
namespace {

std::vector<std::string> Captions(const GridModel& grid) {
    std::vector<std::string> captions;
    for (const GridColumn& c : grid.columns)
        captions.push_back(c.caption + "/" + std::to_string(c.width));
    return captions;
}

ComponentTable Ethane() {
    ComponentTable table;
    ComponentRecord r;
    r.id = 7;
    r.key = "Этан";
    r.displayName = "C2H6";
    r.gas = {"Этан, F45-60", 2, -88.6, 30.07, 0.34, 15.1, 0.59, 12.34567};
    r.liquid = {"F60-70", 2.5, -88, 30.1, NotSet, 15.2, NotSet, 7.5};
    table.records.push_back(r);
    return table;
}

TEST(ComponentGrid, ShowsEachBlockWithItsColumnsWidthsAndDecimals) {
    const ComponentTable table = Ethane();
    const GridModel gas = BuildComponentGrid(table, ComponentBlock::Gas, 2);
    EXPECT_EQ(Captions(gas),
              (std::vector<std::string>{"№/40", "Компонент/150", "Имя компонента/150", "Группа/100", "ЧАУ/50",
                                        "Т кип, °С/70", "ММ, г/моль/80", "Плотность, г/см³/90", "К-ПИД/55",
                                        "К-ДТП/55", "Атест. знач, газ, масс%/145"}));
    ASSERT_EQ(gas.rows.size(), 1u);
    EXPECT_EQ(gas.rows[0].tag, 7);
    EXPECT_EQ(gas.rows[0].textColor, kDefaultColor);
    EXPECT_EQ(gas.rows[0].cells,
              (std::vector<std::string>{"1", "Этан", "C2H6", "Этан, F45-60", "2.00", "-88.600", "30.070",
                                        "0.340", "15.100", "0.590", "12.35"}));

    const GridModel liquid = BuildComponentGrid(table, ComponentBlock::Liquid, 4);
    EXPECT_EQ(
        Captions(liquid),
        (std::vector<std::string>{"№/40", "Компонент/150", "Имя компонента/150", "Группа/100", "ЧАУ/50",
                                  "Т кип, °С/70", "ММ, г/моль/80", "К-ПИД/55", "Атест. знач, ж, масс%/135"}));
    EXPECT_EQ(liquid.rows[0].cells, (std::vector<std::string>{"1", "Этан", "C2H6", "F60-70", "2.50",
                                                              "-88.000", "30.100", "15.200", "7.5000"}));
}

TEST(ComponentGrid, NumberAndKeyColumnsAreNotEditable) {
    ComponentTable table = Ethane();
    EXPECT_FALSE(IsComponentColumnEditable(0));
    EXPECT_FALSE(IsComponentColumnEditable(1));
    EXPECT_TRUE(IsComponentColumnEditable(2));
    EXPECT_FALSE(SetComponentCell(table, 0, ComponentBlock::Gas, 1, "Пропан"));
    EXPECT_FALSE(SetComponentCell(table, 1, ComponentBlock::Gas, 2, "x"));      // no such row
    EXPECT_FALSE(SetComponentCell(table, 0, ComponentBlock::Liquid, 9, "1.0")); // beyond the block's columns
    EXPECT_EQ(table.records[0].key, "Этан");
}

// Every editable column of both blocks: the field it changes and what the cell shows afterwards.
TEST(ComponentGrid, EditsSetTheShownBlocksFieldAfterNormalising) {
    struct Case {
        ComponentBlock block;
        int column;
        const char* typed;
        double PhaseProperties::*field; // null: a text column checked below
        double stored;
        const char* shown;
    };
    const Case cases[] = {
        {ComponentBlock::Gas, 4, "12,5", &PhaseProperties::carbonNumber, 12.5, "12.5"},
        {ComponentBlock::Gas, 5, "-0.50", &PhaseProperties::boilingPoint, -0.5, "-0.50"},
        {ComponentBlock::Gas, 6, "44", &PhaseProperties::molarMass, 44, "44"},
        {ComponentBlock::Gas, 7, "0,7", &PhaseProperties::density, 0.7, "0.7"},
        {ComponentBlock::Gas, 8, "1.25", &PhaseProperties::fidFactor, 1.25, "1.25"},
        {ComponentBlock::Gas, 9, "---", &PhaseProperties::tcdFactor, NotSet, "---"},
        {ComponentBlock::Gas, 10, "", &PhaseProperties::certifiedValue, NotSet, ""},
        {ComponentBlock::Liquid, 4, "3.", &PhaseProperties::carbonNumber, 3, "3"},
        {ComponentBlock::Liquid, 7, "2,125", &PhaseProperties::fidFactor, 2.125, "2.125"},
        {ComponentBlock::Liquid, 8, "1,5 Ab", &PhaseProperties::certifiedValue, 1.5, "1.5000"},
        {ComponentBlock::Liquid, 8, "nan", &PhaseProperties::certifiedValue, NotSet, "---"},
    };
    for (const Case& c : cases) {
        ComponentTable table = Ethane();
        const auto shown = SetComponentCell(table, 0, c.block, c.column, c.typed);
        ASSERT_TRUE(shown) << c.typed;
        EXPECT_EQ(*shown, c.shown) << c.typed;
        const ComponentRecord& r = table.records[0];
        const PhaseProperties& edited = c.block == ComponentBlock::Gas ? r.gas : r.liquid;
        const PhaseProperties& other = c.block == ComponentBlock::Gas ? r.liquid : r.gas;
        const ComponentTable before = Ethane();
        const PhaseProperties& otherBefore =
            c.block == ComponentBlock::Gas ? before.records[0].liquid : before.records[0].gas;
        EXPECT_EQ(edited.*c.field, c.stored) << c.typed;
        EXPECT_EQ(other.*c.field, otherBefore.*c.field) << "the other block stays: " << c.typed;
    }
}

// A number cell refuses text without a number at its start: the value stays and the operator learns why.
TEST(ComponentGrid, RefusesTextWithoutANumberInANumberColumn) {
    const struct {
        ComponentBlock block;
        int column;
        const char* typed;
    } cases[] = {
        {ComponentBlock::Gas, 4, "Ab"},        {ComponentBlock::Gas, 7, "abc"},
        {ComponentBlock::Gas, 10, "-"},        {ComponentBlock::Liquid, 8, "Ab"},
        {ComponentBlock::Liquid, 7, "г 12,5"}, {ComponentBlock::Liquid, 5, " , "},
    };
    for (const auto& c : cases) {
        ComponentTable table = Ethane();
        std::string refusal;
        EXPECT_FALSE(SetComponentCell(table, 0, c.block, c.column, c.typed, &refusal)) << c.typed;
        EXPECT_NE(refusal.find(std::string("\"") + c.typed + "\" не число"), std::string::npos) << refusal;
        const ComponentRecord& r = table.records[0];
        const ComponentTable unedited = Ethane(); // kept alive: the record is read below
        const ComponentRecord& before = unedited.records[0];
        for (const auto field :
             {&PhaseProperties::carbonNumber, &PhaseProperties::boilingPoint, &PhaseProperties::molarMass,
              &PhaseProperties::density, &PhaseProperties::fidFactor, &PhaseProperties::tcdFactor,
              &PhaseProperties::certifiedValue}) {
            EXPECT_EQ(r.gas.*field, before.gas.*field) << c.typed;
            EXPECT_EQ(r.liquid.*field, before.liquid.*field) << c.typed;
        }
    }
    // A text column takes any text; the refusal is left alone when nothing was refused.
    ComponentTable table = Ethane();
    std::string refusal;
    EXPECT_EQ(SetComponentCell(table, 0, ComponentBlock::Gas, 2, "Ab", &refusal), "Ab");
    EXPECT_EQ(SetComponentCell(table, 0, ComponentBlock::Gas, 4, "---", &refusal), "---");
    EXPECT_TRUE(refusal.empty());
}

TEST(ComponentGrid, NamesAndGroupsAreTakenAsTyped) {
    ComponentTable table = Ethane();
    EXPECT_EQ(SetComponentCell(table, 0, ComponentBlock::Gas, 2, " этан,1 "), " этан,1 ");
    EXPECT_EQ(SetComponentCell(table, 0, ComponentBlock::Liquid, 3, "F45-60"), "F45-60");
    EXPECT_EQ(table.records[0].displayName, " этан,1 ");
    EXPECT_EQ(table.records[0].liquid.group, "F45-60");
    EXPECT_EQ(table.records[0].gas.group, "Этан, F45-60");
}

} // namespace
} // namespace talvex
