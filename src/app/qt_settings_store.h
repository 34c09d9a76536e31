#pragma once

#include <QString>
#include <memory>

#include "common/settings_store.h"

class QSettings;

namespace typeloom::app {

// The settings store of the desktop program: QSettings in INI format, organisation
// "Typeloom", application "Typeloom Studio" (the same file the command-line tool reads for
// its export defaults). A section is a QSettings group.
class QtSettingsStore : public SettingsStore {
  public:
    explicit QtSettingsStore(QSettings& settings) : m_settings(settings) {}

    std::optional<std::int64_t> readInteger(std::string_view section,
                                            std::string_view key) const override;
    std::optional<std::string> readString(std::string_view section,
                                          std::string_view key) const override;
    void writeInteger(std::string_view section, std::string_view key, std::int64_t value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    // Deletes a value ("Window Pos" of a maximised window is written as no value).
    void remove(std::string_view section, std::string_view key);

    QSettings& qsettings() { return m_settings; }

  private:
    QSettings& m_settings;
};

// The user's own settings file.
std::unique_ptr<QSettings> openUserSettings();
// A settings file at a given path (tests, portable use).
std::unique_ptr<QSettings> openSettingsFile(const QString& path);

}  // namespace typeloom::app
