#include "app/preferences_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/general_page.h"
#include "export/ui/compiler_page.h"
#include "export/ui/export_options_page.h"

namespace typeloom::app {

PreferencesSheet::PreferencesSheet(SettingsStore& settings, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_prefer = new GeneralPage(settings, m_tabs);
    m_export = new ui::ExportOptionsPage(settings, m_tabs);
    m_c99 = new ui::CompilerPage(settings, m_tabs);
    for (ui::OptionPage* page : pages()) {
        m_tabs->addTab(page, page->caption());
        connect(page, &ui::OptionPage::helpRequested, this, &PreferencesSheet::helpRequested);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("buttonOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("buttonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PreferencesSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

std::array<ui::OptionPage*, 3> PreferencesSheet::pages() const {
    return {m_prefer, m_export, m_c99};
}

void PreferencesSheet::accept() {
    // The pages save in their order; a page never shown saves nothing.
    for (ui::OptionPage* page : pages()) {
        page->apply();
    }
    QDialog::accept();
}

void openPreferences(QWidget* parent, SettingsStore& settings,
                     const std::function<void(const QString& topic)>& showHelp) {
    PreferencesSheet sheet(settings, parent);
    if (showHelp) {
        QObject::connect(&sheet, &PreferencesSheet::helpRequested, &sheet, showHelp);
    }
    sheet.exec();
}

}  // namespace typeloom::app
