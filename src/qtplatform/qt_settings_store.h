#pragma once

#include "core/common/settings_store.h"

#include <QSettings>

namespace talvex {

// The stored profile in QSettings("Vintaro", "tlvx"): on Linux the file Vintaro/tlvx.conf below
// $XDG_CONFIG_HOME (~/.config), on Windows the registry key HKEY_CURRENT_USER\Software\Vintaro\tlvx.
// Sections are groups, keys are values; texts are UTF-8.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    // Another program's profile, such as the data system's QSettings("Vintaro", "Korvant"), in the user's
    // or the machine's scope. An empty section names the values directly under the key.
    QtSettingsStore(QSettings::Scope scope, const QString& organization, const QString& application);

    std::int32_t ReadInt(const std::string& section, const std::string& key,
                         std::int32_t defaultValue) const override;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& key, std::int32_t value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void RemoveSection(const std::string& section) override;

private:
    mutable QSettings settings_;
};

} // namespace talvex
