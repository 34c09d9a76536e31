#pragma once

#include <map>
#include <string>

#include "common/settings_store.h"

namespace typeloom {

// Settings in the INI file the desktop program keeps (QSettings' INI format: "[Settings]"
// sections, keys with spaces written as %20, plain decimal integers). The command-line tool
// reads its defaults from it, so both programs export alike.
class IniSettingsStore : public SettingsStore {
  public:
    // Reads the file when it exists; a missing or unreadable file gives empty settings.
    explicit IniSettingsStore(std::string path);

    std::optional<std::int64_t> readInteger(std::string_view section,
                                            std::string_view key) const override;
    std::optional<std::string> readString(std::string_view section,
                                          std::string_view key) const override;
    void writeInteger(std::string_view section, std::string_view key, std::int64_t value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Writes all values back to the file (atomically). Throws FileError on failure.
    void save() const;

    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    std::map<std::string, std::map<std::string, std::string>, std::less<>> m_sections;
};

// The desktop program's settings file: $XDG_CONFIG_HOME (or ~/.config) /Typeloom/Typeloom
// Studio.conf.
std::string defaultSettingsPath();

}  // namespace typeloom
