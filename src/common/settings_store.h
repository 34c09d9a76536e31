#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace typeloom {

// Persistent preferences: integers and strings in named sections ("Settings", ...). The
// desktop program keeps them with QSettings, the command-line tool in the same INI file,
// tests in memory.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::int64_t> readInteger(std::string_view section,
                                                    std::string_view key) const = 0;
    virtual std::optional<std::string> readString(std::string_view section,
                                                  std::string_view key) const = 0;
    virtual void writeInteger(std::string_view section, std::string_view key,
                              std::int64_t value) = 0;
    virtual void writeString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;

    std::int64_t integer(std::string_view section, std::string_view key,
                         std::int64_t fallback) const {
        return readInteger(section, key).value_or(fallback);
    }
    std::string string(std::string_view section, std::string_view key,
                       std::string_view fallback) const {
        auto v = readString(section, key);
        return v ? *v : std::string(fallback);
    }
};

// Keeps settings in memory; used by tests and wherever nothing is to be persisted.
class MemorySettingsStore : public SettingsStore {
  public:
    std::optional<std::int64_t> readInteger(std::string_view section,
                                            std::string_view key) const override;
    std::optional<std::string> readString(std::string_view section,
                                          std::string_view key) const override;
    void writeInteger(std::string_view section, std::string_view key, std::int64_t value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Number of writes made, so tests can check that a value was (not) written.
    int writeCount() const { return m_writes; }

  private:
    std::map<std::string, std::string, std::less<>> m_values;  // "section/key" -> text
    int m_writes = 0;
};

}  // namespace typeloom
