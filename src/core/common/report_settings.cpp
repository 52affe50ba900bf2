#include "core/common/report_settings.h"

namespace talvex {
namespace {

constexpr const char* kKeys[kReportSwitchCount] = {
    "GD_ChrmList", "GD_AnComp",  "GD_AnFract",  "GD_CSS_Comp",  "GD_CSS_Fract", "GD_CSR", "CD_ChrmList",
    "CD_AnComp",   "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract", "CD_CSR",       "RezNLH",
};
constexpr const char* kExportPathKey = "patchExport";

} // namespace

std::string_view ReportSwitchKey(ReportSwitch s) {
    return kKeys[static_cast<std::size_t>(s)];
}

bool FindReportSwitch(std::string_view key, ReportSwitch& s) {
    for (std::size_t i = 0; i < kReportSwitchCount; ++i)
        if (key == kKeys[i]) {
            s = static_cast<ReportSwitch>(i);
            return true;
        }
    return false;
}

bool ReportSettings::AnyGas() const {
    for (std::size_t i = 0; i < 6; ++i)
        if (switches[i] != 0)
            return true;
    return false;
}

bool ReportSettings::AnyCondensate() const {
    for (std::size_t i = 6; i < 12; ++i)
        if (switches[i] != 0)
            return true;
    return false;
}

ReportSettings LoadReportSettings(const SettingsStore& store) {
    ReportSettings settings;
    for (std::size_t i = 0; i < kReportSwitchCount; ++i)
        settings.switches[i] = store.ReadInt(kReportSettingsSection, kKeys[i], 1);
    settings.patchExport = store.ReadString(kReportSettingsSection, kExportPathKey, "");
    return settings;
}

void SaveReportSettings(SettingsStore& store, const ReportSettings& settings) {
    for (std::size_t i = 0; i < kReportSwitchCount; ++i)
        store.WriteInt(kReportSettingsSection, kKeys[i], settings.switches[i]);
}

void SaveExportPath(SettingsStore& store, const std::string& path) {
    store.WriteString(kReportSettingsSection, kExportPathKey, path);
}

} // namespace talvex
