#pragma once

#include "core/common/settings_store.h"

#include <cstdint>
#include <string>

namespace talvex {

// Calculation modes of ModeCalc.
inline constexpr std::int32_t kModeGasOnly = 0;
inline constexpr std::int32_t kModeLiquidOnly = 1;
inline constexpr std::int32_t kModeFull = 2;

// Section and keys of the stored settings.
inline constexpr const char* kSettingsSection = "settings";
inline constexpr const char* kKeyDecimals = "QtyNumAfterDot";
inline constexpr const char* kKeyModeCalc = "ModeCalc";
inline constexpr const char* kKeyCorrectO2 = "Sect7_CorrectO2";
inline constexpr const char* kKeyConcN2 = "Sect7_ConcN2";
inline constexpr const char* kKeyConcO2 = "Sect7_ConcO2";
inline constexpr const char* kKeyConcCO2 = "Sect7_ConcCO2";
inline constexpr const char* kKeyNameDevice = "nameDevice";
// Deleted at the start of every recalculation; nothing in the program writes it.
inline constexpr const char* kPathsSection = "paths";

// The settings a calculation works with. Read once where a job starts (a recalculation, a page fill, a
// report build) and handed down as a value; nothing keeps them longer than the job.
struct CSettings {
    std::int32_t QtyNumAfterDot = 3; // decimals shown in result tables
    std::int32_t ModeCalc = kModeFull;
    std::int32_t Sect7_CorrectO2 = 0; // 1 = correct the gas composition for air
    double Sect7_ConcN2 = 0.0;        // mass shares in air, %, read from their texts by atof rules
    double Sect7_ConcO2 = 0.0;
    double Sect7_ConcCO2 = 0.0;

    // Reads the six values from the profile, with their defaults where a value is missing or unreadable.
    void Load(const SettingsStore& store);

    // Writes the six values as the settings dialog stores them: QtyNumAfterDot limited to 1…10 first (and
    // kept so here), the shares as texts with that many decimals ("%.*f"), or with more where fewer would
    // change the share (0.05 stays 0.05 with one decimal; only its display is rounded).
    void Save(SettingsStore& store);
};

// The range of QtyNumAfterDot the settings dialog allows.
inline constexpr std::int32_t kMinDecimals = 1;
inline constexpr std::int32_t kMaxDecimals = 10;
std::int32_t LimitDecimals(std::int32_t decimals);

// The instrument name shown in the main window and passed to the report ("0" when never stored).
std::string LoadDeviceName(const SettingsStore& store);
void SaveDeviceName(SettingsStore& store, const std::string& name);

} // namespace talvex
