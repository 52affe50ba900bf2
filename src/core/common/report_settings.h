#pragma once

#include "core/common/settings_store.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvex {

// The report switches of the report dialog, kept in the profile section "report_settings"; each turns a
// group of report tables on (1) or off (0) and is on by default.
enum class ReportSwitch {
    GD_ChrmList,
    GD_AnComp,
    GD_AnFract,
    GD_CSS_Comp,
    GD_CSS_Fract,
    GD_CSR,
    CD_ChrmList,
    CD_AnComp,
    CD_AnFract,
    CD_CSS_Comp,
    CD_CSS_Fract,
    CD_CSR,
    RezNLH,
};
inline constexpr std::size_t kReportSwitchCount = 13;

inline constexpr const char* kReportSettingsSection = "report_settings";

// The profile key of a switch ("GD_AnComp", ...).
std::string_view ReportSwitchKey(ReportSwitch s);
// The switch of a key, for the CLI's --switch KEY=0|1; false when the key names none.
bool FindReportSwitch(std::string_view key, ReportSwitch& s);

struct ReportSettings {
    std::array<std::int32_t, kReportSwitchCount> switches{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::string patchExport; // the export file of the dialog's "Экспорт"

    bool On(ReportSwitch s) const { return switches[static_cast<std::size_t>(s)] != 0; }
    void Set(ReportSwitch s, bool on) { switches[static_cast<std::size_t>(s)] = on ? 1 : 0; }
    // At least one of the six switches of the degassing gas ("GD_") or of the condensate ("CD_") is on.
    bool AnyGas() const;
    bool AnyCondensate() const;
};

// Reads the thirteen switches (default 1) and the export path (default empty).
ReportSettings LoadReportSettings(const SettingsStore& store);
// Writes the thirteen switches; the export path is written by the export alone.
void SaveReportSettings(SettingsStore& store, const ReportSettings& settings);
void SaveExportPath(SettingsStore& store, const std::string& path);

} // namespace talvex
