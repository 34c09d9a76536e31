#include "app/qt_settings_store.h"

#include <QSettings>

#include "common/ini_settings_store.h"

namespace typeloom::app {

namespace {

QString keyPath(std::string_view section, std::string_view key) {
    QString path = QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size()));
    path += QLatin1Char('/');
    path += QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    return path;
}

}  // namespace

std::optional<std::int64_t> QtSettingsStore::readInteger(std::string_view section,
                                                         std::string_view key) const {
    QVariant value = m_settings.value(keyPath(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    qlonglong number = value.toLongLong(&ok);
    if (!ok) {
        // A value that is not a number reads as absent, so its default applies.
        return std::nullopt;
    }
    return number;
}

std::optional<std::string> QtSettingsStore::readString(std::string_view section,
                                                       std::string_view key) const {
    QVariant value = m_settings.value(keyPath(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // A string holding commas may come back as a list from an INI file written by hand.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

void QtSettingsStore::writeInteger(std::string_view section, std::string_view key,
                                   std::int64_t value) {
    m_settings.setValue(keyPath(section, key), static_cast<qlonglong>(value));
}

void QtSettingsStore::writeString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    m_settings.setValue(keyPath(section, key),
                        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::remove(std::string_view section, std::string_view key) {
    m_settings.remove(keyPath(section, key));
}

std::unique_ptr<QSettings> openUserSettings() {
    // "$XDG_CONFIG_HOME/Typeloom/Typeloom Studio.conf": the file the command-line tool reads
    // too (QSettings' own INI naming would end in ".ini").
    return openSettingsFile(QString::fromStdString(defaultSettingsPath()));
}

std::unique_ptr<QSettings> openSettingsFile(const QString& path) {
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace typeloom::app
