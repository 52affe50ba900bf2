#include "core/common/settings_store.h"

namespace talvex {

std::int32_t MemorySettingsStore::ReadInt(const std::string& section, const std::string& key,
                                          std::int32_t defaultValue) const {
    const auto it = values_.find({section, key});
    if (it == values_.end())
        return defaultValue;
    const auto* value = std::get_if<std::int32_t>(&it->second);
    return value ? *value : defaultValue;
}

std::string MemorySettingsStore::ReadString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    const auto it = values_.find({section, key});
    if (it == values_.end())
        return defaultValue;
    const auto* value = std::get_if<std::string>(&it->second);
    return value ? *value : defaultValue;
}

void MemorySettingsStore::WriteInt(const std::string& section, const std::string& key, std::int32_t value) {
    values_[{section, key}] = value;
}

void MemorySettingsStore::WriteString(const std::string& section, const std::string& key,
                                      const std::string& value) {
    values_[{section, key}] = value;
}

void MemorySettingsStore::RemoveSection(const std::string& section) {
    std::erase_if(values_, [&](const auto& entry) { return entry.first.first == section; });
}

bool MemorySettingsStore::HasSection(const std::string& section) const {
    for (const auto& entry : values_)
        if (entry.first.first == section)
            return true;
    return false;
}

void OverlaySettingsStore::OverrideInt(const std::string& section, const std::string& key,
                                       std::int32_t value) {
    overrides_.WriteInt(section, key, value);
    overridden_[{section, key}] = true;
}

void OverlaySettingsStore::OverrideString(const std::string& section, const std::string& key,
                                          const std::string& value) {
    overrides_.WriteString(section, key, value);
    overridden_[{section, key}] = true;
}

std::int32_t OverlaySettingsStore::ReadInt(const std::string& section, const std::string& key,
                                           std::int32_t defaultValue) const {
    return overridden_.contains({section, key}) ? overrides_.ReadInt(section, key, defaultValue)
                                                : base_.ReadInt(section, key, defaultValue);
}

std::string OverlaySettingsStore::ReadString(const std::string& section, const std::string& key,
                                             const std::string& defaultValue) const {
    return overridden_.contains({section, key}) ? overrides_.ReadString(section, key, defaultValue)
                                                : base_.ReadString(section, key, defaultValue);
}

void OverlaySettingsStore::WriteInt(const std::string& section, const std::string& key, std::int32_t value) {
    base_.WriteInt(section, key, value);
}

void OverlaySettingsStore::WriteString(const std::string& section, const std::string& key,
                                       const std::string& value) {
    base_.WriteString(section, key, value);
}

void OverlaySettingsStore::RemoveSection(const std::string& section) {
    base_.RemoveSection(section);
}

} // namespace talvex
