#pragma once

#include <QString>

#include "common/settings_store.h"
#include "export/export_driver.h"
#include "model/font_settings.h"

// What the two export option pages share beyond OptionPage: their help topic and the write of
// "Pages option", whose bits they divide between them.
namespace typeloom::ui::option_page {

// The help topic of both option pages.
inline QString preferenceTopic() {
    return QStringLiteral("preference.htm");
}

// Writes "Pages option" only when the page's bits change it, so a page applied without
// changes leaves the settings untouched.
inline void storePages(SettingsStore& settings, int value) {
    if (value != exporters::pagesOption(settings)) {
        settings.writeInteger(kSettingsSection, exporters::kPagesOptionKey, value);
    }
}

}  // namespace typeloom::ui::option_page
