#include "core/common/settings.h"

#include "core/common/number_text.h"

#include <algorithm>

namespace talvex {

void CSettings::Load(const SettingsStore& store) {
    QtyNumAfterDot = store.ReadInt(kSettingsSection, kKeyDecimals, 3);
    ModeCalc = store.ReadInt(kSettingsSection, kKeyModeCalc, kModeFull);
    Sect7_CorrectO2 = store.ReadInt(kSettingsSection, kKeyCorrectO2, 0);
    Sect7_ConcN2 = ParseAtof(store.ReadString(kSettingsSection, kKeyConcN2, "0.0"));
    Sect7_ConcO2 = ParseAtof(store.ReadString(kSettingsSection, kKeyConcO2, "0.0"));
    Sect7_ConcCO2 = ParseAtof(store.ReadString(kSettingsSection, kKeyConcCO2, "0.0"));
}

void CSettings::Save(SettingsStore& store) {
    QtyNumAfterDot = LimitDecimals(QtyNumAfterDot);
    store.WriteInt(kSettingsSection, kKeyDecimals, QtyNumAfterDot);
    store.WriteInt(kSettingsSection, kKeyModeCalc, ModeCalc);
    store.WriteInt(kSettingsSection, kKeyCorrectO2, Sect7_CorrectO2);
    store.WriteString(kSettingsSection, kKeyConcN2, FormatFixedExact(Sect7_ConcN2, QtyNumAfterDot));
    store.WriteString(kSettingsSection, kKeyConcO2, FormatFixedExact(Sect7_ConcO2, QtyNumAfterDot));
    store.WriteString(kSettingsSection, kKeyConcCO2, FormatFixedExact(Sect7_ConcCO2, QtyNumAfterDot));
}

std::int32_t LimitDecimals(std::int32_t decimals) {
    return std::clamp(decimals, kMinDecimals, kMaxDecimals);
}

std::string LoadDeviceName(const SettingsStore& store) {
    return store.ReadString(kSettingsSection, kKeyNameDevice, "0");
}

void SaveDeviceName(SettingsStore& store, const std::string& name) {
    store.WriteString(kSettingsSection, kKeyNameDevice, name);
}

} // namespace talvex
