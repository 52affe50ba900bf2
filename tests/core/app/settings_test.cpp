#include "core/app/data_folder.h"
#include "core/common/settings.h"

#include <gtest/gtest.h>

namespace talvex {
namespace {

TEST(StoredSettings, AnEmptyProfileGivesTheDefaults) {
    MemorySettingsStore store;
    CSettings s;
    s.Load(store);
    EXPECT_EQ(s.QtyNumAfterDot, 3);
    EXPECT_EQ(s.ModeCalc, kModeFull);
    EXPECT_EQ(s.Sect7_CorrectO2, 0);
    EXPECT_EQ(s.Sect7_ConcN2, 0.0);
    EXPECT_EQ(s.Sect7_ConcO2, 0.0);
    EXPECT_EQ(s.Sect7_ConcCO2, 0.0);
    EXPECT_EQ(LoadDeviceName(store), "0");
}

TEST(StoredSettings, SharesAreReadByAtofRulesAndWrongTypesGiveDefaults) {
    MemorySettingsStore store;
    store.WriteString("settings", "Sect7_ConcN2", "78,08");
    store.WriteString("settings", "Sect7_ConcO2", " 20.95xyz");
    store.WriteString("settings", "Sect7_ConcCO2", "abc");
    store.WriteString("settings", "QtyNumAfterDot", "5"); // text where an integer belongs
    store.WriteInt("settings", "ModeCalc", 1);
    store.WriteInt("settings", "Sect7_CorrectO2", 1);
    CSettings s;
    s.Load(store);
    EXPECT_EQ(s.Sect7_ConcN2, 78.0);
    EXPECT_EQ(s.Sect7_ConcO2, 20.95);
    EXPECT_EQ(s.Sect7_ConcCO2, 0.0);
    EXPECT_EQ(s.QtyNumAfterDot, 3);
    EXPECT_EQ(s.ModeCalc, 1);
    EXPECT_EQ(s.Sect7_CorrectO2, 1);
}

TEST(StoredSettings, OverlayShadowsReadsButWritesReachTheProfile) {
    MemorySettingsStore profile;
    profile.WriteInt("settings", "QtyNumAfterDot", 4);
    OverlaySettingsStore overlay(profile);
    overlay.OverrideInt("settings", "QtyNumAfterDot", 6);
    EXPECT_EQ(overlay.ReadInt("settings", "QtyNumAfterDot", 3), 6);
    EXPECT_EQ(profile.ReadInt("settings", "QtyNumAfterDot", 3), 4);
    overlay.WriteString("settings", "nameDevice", "ГХ-2 зав. 114");
    EXPECT_EQ(profile.ReadString("settings", "nameDevice", "0"), "ГХ-2 зав. 114");
}

// The shares are written with the decimals, or with as many more as the share needs to stay what it is
// (78.08 with one decimal is not 78.1).
TEST(StoredSettings, SaveLimitsTheDecimalsAndWritesSharesWithThem) {
    struct Case {
        int decimals;
        int stored;
        const char* n2;
    };
    const Case cases[] = {{0, 1, "78.08"}, {3, 3, "78.080"}, {11, 10, "78.0800000000"}, {-5, 1, "78.08"}};
    for (const Case& c : cases) {
        MemorySettingsStore store;
        CSettings s;
        s.QtyNumAfterDot = c.decimals;
        s.ModeCalc = kModeLiquidOnly;
        s.Sect7_CorrectO2 = 1;
        s.Sect7_ConcN2 = 78.08;
        s.Sect7_ConcO2 = 0.5;
        s.Save(store);
        EXPECT_EQ(s.QtyNumAfterDot, c.stored);
        EXPECT_EQ(store.ReadInt("settings", "QtyNumAfterDot", -1), c.stored) << c.decimals;
        EXPECT_EQ(store.ReadString("settings", "Sect7_ConcN2", ""), c.n2) << c.decimals;
        EXPECT_EQ(store.ReadInt("settings", "ModeCalc", -1), kModeLiquidOnly);
        EXPECT_EQ(store.ReadInt("settings", "Sect7_CorrectO2", -1), 1);
        CSettings back;
        back.Load(store);
        EXPECT_EQ(back.Sect7_ConcO2, 0.5);
        EXPECT_EQ(back.Sect7_ConcCO2, 0.0);
    }
}

TEST(StoredSettings, SharesKeepTheirFullPrecisionWithFewDecimals) {
    MemorySettingsStore store;
    CSettings s;
    s.QtyNumAfterDot = 1;
    s.Sect7_ConcN2 = 78.084;
    s.Sect7_ConcO2 = 20.95;
    s.Sect7_ConcCO2 = 0.05;
    s.Save(store);
    EXPECT_EQ(store.ReadString("settings", "Sect7_ConcCO2", ""), "0.05");
    EXPECT_EQ(store.ReadString("settings", "Sect7_ConcN2", ""), "78.084");
    CSettings back;
    back.Load(store);
    EXPECT_EQ(back.Sect7_ConcN2, 78.084);
    EXPECT_EQ(back.Sect7_ConcO2, 20.95);
    EXPECT_EQ(back.Sect7_ConcCO2, 0.05);
}

TEST(DataFolderRule, PublicFolderOrRelativeTalvexFolder) {
    EXPECT_EQ(DataFolder("/srv/public"), std::filesystem::path("/srv/public/Documents/Korvant/Talvex"));
    EXPECT_EQ(DataFolder(nullptr), std::filesystem::path("Talvex"));
    EXPECT_EQ(DataFilePath(DataFolder(nullptr), "Comps.csv"), std::filesystem::path("Talvex/Comps.csv"));
    EXPECT_EQ(VersionText().rfind("ver", 0), 0u);
}

} // namespace
} // namespace talvex
