#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <variant>

namespace talvex {

// The stored-settings profile: sections of keys holding integers or texts. The desktop program and the
// CLI keep it with QSettings ("Vintaro", "tlvx"); tests keep it in memory. Reading a missing key, or a
// key whose value cannot be read as the type asked for, gives the default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::int32_t ReadInt(const std::string& section, const std::string& key,
                                 std::int32_t defaultValue) const = 0;
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const = 0;
    virtual void WriteInt(const std::string& section, const std::string& key, std::int32_t value) = 0;
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Deletes a section with everything in it; a missing section is fine.
    virtual void RemoveSection(const std::string& section) = 0;
};

// A profile held in memory, with typed values: an integer read as text, or text read as an integer,
// gives the default, as a value of the wrong type in the profile does.
class MemorySettingsStore : public SettingsStore {
public:
    using Value = std::variant<std::int32_t, std::string>;

    std::int32_t ReadInt(const std::string& section, const std::string& key,
                         std::int32_t defaultValue) const override;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& key, std::int32_t value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void RemoveSection(const std::string& section) override;

    bool HasSection(const std::string& section) const;

private:
    std::map<std::pair<std::string, std::string>, Value> values_;
};

// A profile seen through overrides for one run: the given keys read as set here, everything else (and
// every write) goes to the underlying profile. The CLI's --decimals, --mode and --air work this way, so
// the operator's stored settings are never changed by a command-line run.
class OverlaySettingsStore : public SettingsStore {
public:
    explicit OverlaySettingsStore(SettingsStore& base) : base_(base) {}

    void OverrideInt(const std::string& section, const std::string& key, std::int32_t value);
    void OverrideString(const std::string& section, const std::string& key, const std::string& value);

    std::int32_t ReadInt(const std::string& section, const std::string& key,
                         std::int32_t defaultValue) const override;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& key, std::int32_t value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void RemoveSection(const std::string& section) override;

private:
    SettingsStore& base_;
    MemorySettingsStore overrides_;
    std::map<std::pair<std::string, std::string>, bool> overridden_;
};

} // namespace talvex
