#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QString>

#include "common/settings_store.h"
#include "export/export_driver.h"
#include "model/font_settings.h"

// What the two export option pages share: their help topic and button, check boxes with
// object names, and the write of "Pages option".
namespace typeloom::ui::option_page {

// The help topic of both option pages.
inline QString preferenceTopic() {
    return QStringLiteral("preference.htm");
}

inline QPushButton* helpButton(QWidget* page) {
    auto* button = new QPushButton(QStringLiteral("&Help"), page);
    button->setObjectName(QStringLiteral("buttonHelp"));
    return button;
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const char* text) {
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// Writes "Pages option" only when the page's bits change it, so a page applied without
// changes leaves the settings untouched.
inline void storePages(SettingsStore& settings, int value) {
    if (value != exporters::pagesOption(settings)) {
        settings.writeInteger(kSettingsSection, exporters::kPagesOptionKey, value);
    }
}

}  // namespace typeloom::ui::option_page
