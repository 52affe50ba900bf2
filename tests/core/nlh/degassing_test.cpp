#include "core/nlh/degassing.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

DegassingParameters Entries(std::int32_t method) {
    DegassingParameters p;
    p.Method = method;
    p.AtmPressure = 101.32;
    p.GasTemperature = 293.15;
    p.GasVolume1 = 0.01;
    p.GasVolume2 = 0.002;
    p.CondMass1 = 80;
    p.CondMass2 = 20;
    return p;
}

TEST(RecalcDegassing, MethodsAAndAModified) {
    DegassingParameters a = Entries(MethodA);
    RecalcDegassing(a);
    EXPECT_EQ(a.CondMass, 100.0);
    EXPECT_DOUBLE_EQ(a.GasVolume, 0.012);
    EXPECT_DOUBLE_EQ(a.GasVolumeNC, 0.012);
    EXPECT_DOUBLE_EQ(a.GasFactor, 120.0);
    EXPECT_EQ(a.GasMass, 0.0);
    EXPECT_EQ(a.GasFraction, 0.0);

    DegassingParameters m = Entries(MethodAModified);
    RecalcDegassing(m);
    EXPECT_DOUBLE_EQ(m.GasVolume, 0.01);
    EXPECT_DOUBLE_EQ(m.GasVolumeNC, 0.01);
    EXPECT_DOUBLE_EQ(m.GasFactor, 100.0);
}

TEST(RecalcDegassing, ZeroDivisorsLeaveResultsAtZero) {
    DegassingParameters noTemperature = Entries(MethodA);
    noTemperature.GasTemperature = 0;
    RecalcDegassing(noTemperature);
    EXPECT_DOUBLE_EQ(noTemperature.GasVolume, 0.012);
    EXPECT_EQ(noTemperature.GasVolumeNC, 0.0);
    EXPECT_EQ(noTemperature.GasFactor, 0.0);

    DegassingParameters noCondensate = Entries(MethodA);
    noCondensate.CondMass1 = noCondensate.CondMass2 = 0;
    RecalcDegassing(noCondensate);
    EXPECT_EQ(noCondensate.GasFactor, 0.0);

    DegassingParameters empty;
    empty.Method = MethodB;
    RecalcDegassing(empty);
    EXPECT_EQ(empty.GasFraction, 0.0);
    EXPECT_EQ(empty.CondFraction, 0.0);
    EXPECT_EQ(empty.GasFactor, 0.0);

    DegassingParameters unknown = Entries(7);
    unknown.CondMass = 5;
    RecalcDegassing(unknown);
    EXPECT_EQ(unknown.CondMass, 0.0);
    EXPECT_EQ(unknown.GasFactor, 0.0);
}

TEST(RecalcDegassing, MethodBWorksInMasses) {
    DegassingParameters b;
    b.Method = MethodB;
    b.SampleMass = 120;
    b.CondMass1 = 90;
    b.CondMass2 = 10;
    b.GasVolume1 = 5; // ignored by method B
    RecalcDegassing(b);
    EXPECT_EQ(b.CondMass, 100.0);
    EXPECT_EQ(b.GasMass, 20.0);
    EXPECT_EQ(b.GasFraction, 20.0 / 120.0);
    EXPECT_EQ(b.CondFraction, 1 - 20.0 / 120.0);
    EXPECT_EQ(b.GasFactor, 200.0);
    EXPECT_EQ(b.GasVolume, 0.0);
}

TEST(RecalcDegassing, NoResultOfThePreviousRecalculationSurvives) {
    // Each case recomputes a record that already holds the results of one method; afterwards every field
    // must equal a fresh recalculation of the same inputs.
    DegassingParameters full = Entries(MethodA);
    full.SampleMass = 150;
    const struct {
        const char* what;
        std::int32_t before;
        void (*change)(DegassingParameters&);
    } cases[] = {
        {"A to B", MethodA, [](DegassingParameters& p) { p.Method = MethodB; }},
        {"B to A", MethodB, [](DegassingParameters& p) { p.Method = MethodA; }},
        {"A to A modified", MethodA, [](DegassingParameters& p) { p.Method = MethodAModified; }},
        {"A to an unknown method", MethodA, [](DegassingParameters& p) { p.Method = 7; }},
        {"B to an unknown method", MethodB, [](DegassingParameters& p) { p.Method = 7; }},
        {"A, temperature emptied", MethodA, [](DegassingParameters& p) { p.GasTemperature = 0; }},
        {"A, condensate emptied", MethodA, [](DegassingParameters& p) { p.CondMass1 = p.CondMass2 = 0; }},
        {"B, condensate emptied", MethodB, [](DegassingParameters& p) { p.CondMass1 = p.CondMass2 = 0; }},
        {"B, everything emptied", MethodB,
         [](DegassingParameters& p) { p.SampleMass = p.CondMass1 = p.CondMass2 = 0; }},
    };
    for (const auto& c : cases) {
        DegassingParameters p = full;
        p.Method = c.before;
        RecalcDegassing(p);
        ASSERT_NE(p.GasFactor, 0.0) << c.what;
        c.change(p);
        RecalcDegassing(p);

        DegassingParameters fresh;
        for (std::size_t i = 0; i < kDegassingFieldCount; ++i) {
            const auto field = static_cast<DegassingField>(i);
            if (IsDegassingInput(field))
                DegassingValue(fresh, field) = DegassingValue(p, field);
        }
        fresh.Method = p.Method;
        RecalcDegassing(fresh);
        for (std::size_t i = 0; i < kDegassingFieldCount; ++i) {
            const auto field = static_cast<DegassingField>(i);
            EXPECT_EQ(DegassingValue(p, field), DegassingValue(fresh, field)) << c.what << ", field " << i;
        }
    }
}

std::string TextOf(const DegassingPage& page, DegassingField field) {
    for (const auto& view : page.Fields())
        if (view.field == field)
            return view.text;
    return "?";
}

std::string CaptionOf(const DegassingPage& page, DegassingField field) {
    for (const auto& view : page.Fields())
        if (view.field == field)
            return view.caption;
    return "?";
}

TEST(DegassingPage, StartsAtZeroAndShowsResultsWithTheStoredDecimals) {
    DegassingPage page;
    page.SetMethod(MethodA, 3);
    EXPECT_EQ(TextOf(page, DegassingField::AtmPressure), "0.0");
    EXPECT_EQ(TextOf(page, DegassingField::GasFactor), "0.000");
    EXPECT_EQ(TextOf(page, DegassingField::CondFraction), "0.000");
    page.Recalculate(5);
    EXPECT_EQ(TextOf(page, DegassingField::GasVolume), "0.00000");
}

TEST(DegassingPage, TypedValuesAreRewrittenAndRecomputed) {
    DegassingPage page;
    page.SetMethod(MethodA, 3);
    ASSERT_TRUE(page.TypeValue(DegassingField::AtmPressure, "101,32", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::GasTemperature, "293.15", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::GasVolume1, "0,01", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::GasVolume2, "0.002", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::CondMass1, "80.", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::CondMass2, "20 г", 3));
    EXPECT_EQ(TextOf(page, DegassingField::AtmPressure), "101.32");
    EXPECT_EQ(TextOf(page, DegassingField::CondMass1), "80");
    EXPECT_EQ(TextOf(page, DegassingField::GasFactor), "120.000");
    EXPECT_DOUBLE_EQ(page.Parameters().GasFactor, 120.0);
    // Results and fields the method disables take nothing.
    EXPECT_FALSE(page.TypeValue(DegassingField::GasFactor, "5", 3));
    EXPECT_FALSE(page.TypeValue(DegassingField::SampleMass, "5", 3));
    EXPECT_EQ(page.Parameters().SampleMass, 0.0);
    ASSERT_TRUE(page.TypeValue(DegassingField::CondMass2, "abc", 3));
    EXPECT_EQ(TextOf(page, DegassingField::CondMass2), "0");
}

TEST(DegassingPage, PressureAndTemperatureCaptionsAskForTheUnitsOfTheFormula) {
    // The formula takes kPa and kelvins (normal conditions 101.32 kPa, 293.15 K): the captions must ask
    // for those, whatever the method, or an operator typing mm Hg and °C gets a gas factor about a
    // hundred times too large.
    for (const std::int32_t method : {MethodA, MethodAModified, MethodB}) {
        DegassingPage page;
        page.SetMethod(method, 3);
        EXPECT_EQ(CaptionOf(page, DegassingField::AtmPressure), "Атмосферное давление при дегазации, кПа:");
        EXPECT_EQ(CaptionOf(page, DegassingField::GasTemperature), "Температура отбора газа дегазации, К:");
    }
    // Normal conditions typed in those units leave the volume as measured.
    DegassingPage page;
    page.SetMethod(MethodAModified, 3);
    ASSERT_TRUE(page.TypeValue(DegassingField::AtmPressure, "101.32", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::GasTemperature, "293.15", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::GasVolume1, "0.01", 3));
    ASSERT_TRUE(page.TypeValue(DegassingField::CondMass1, "100", 3));
    EXPECT_EQ(TextOf(page, DegassingField::GasVolumeNC), "0.010");
}

TEST(DegassingPage, CaptionsFollowTheMethod) {
    DegassingPage page;
    page.SetMethod(MethodAModified, 3);
    EXPECT_EQ(CaptionOf(page, DegassingField::GasVolume1), "Объем ГД полученный при дегазации, м³:");
    page.SetMethod(MethodB, 3);
    // Method B leaves that caption as it was.
    EXPECT_EQ(CaptionOf(page, DegassingField::GasVolume1), "Объем ГД полученный при дегазации, м³:");
    EXPECT_EQ(CaptionOf(page, DegassingField::CondMass1), "Масса ДК дегазации, г:");
    EXPECT_EQ(CaptionOf(page, DegassingField::CondMass2), "Масса ДК в ловушках, г:");
    EXPECT_EQ(CaptionOf(page, DegassingField::GasFactor), "Газовый фактор, кг/т:");
    page.SetMethod(MethodA, 3);
    EXPECT_EQ(CaptionOf(page, DegassingField::GasVolume1), "Объем ГД прошедший через счетчик, м³:");
    EXPECT_EQ(CaptionOf(page, DegassingField::GasFactor), "Газовый фактор, м³/т:");
    EXPECT_EQ(DegassingPage::MethodCaption(MethodA), "Метод А ");
}

} // namespace
} // namespace talvex
