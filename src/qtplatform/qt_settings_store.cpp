#include "qtplatform/qt_settings_store.h"

namespace talvex {
namespace {

QString KeyPath(const std::string& section, const std::string& key) {
    if (section.empty())
        return QString::fromStdString(key);
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

} // namespace

QtSettingsStore::QtSettingsStore() : settings_(QStringLiteral("Vintaro"), QStringLiteral("tlvx")) {}

QtSettingsStore::QtSettingsStore(QSettings::Scope scope, const QString& organization,
                                 const QString& application)
    : settings_(scope, organization, application) {}

std::int32_t QtSettingsStore::ReadInt(const std::string& section, const std::string& key,
                                      std::int32_t defaultValue) const {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue; // a value that is no integer counts as missing
}

std::string QtSettingsStore::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid() || !value.canConvert<QString>())
        return defaultValue;
    return value.toString().toStdString();
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& key, std::int32_t value) {
    settings_.setValue(KeyPath(section, key), value);
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    settings_.setValue(KeyPath(section, key), QString::fromStdString(value));
}

void QtSettingsStore::RemoveSection(const std::string& section) {
    settings_.remove(QString::fromStdString(section));
}

} // namespace talvex
