#include "export/ui/compiler_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/ui/option_page_support.h"

namespace typeloom::ui {

using namespace option_page;
using namespace exporters;

CompilerPage::CompilerPage(SettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings) {
    m_braces = checkBox(this, "checkC99Braces",
                        "Write the General C file with the braces a C99 compatible compiler "
                        "needs");
    QPushButton* help = helpButton(this);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(preferenceTopic()); });
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_braces);
    layout->addStretch();
    layout->addLayout(bottom);
}

void CompilerPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_loaded) {
        load();
    }
}

void CompilerPage::load() {
    m_braces->setChecked((pagesOption(m_settings) & kPageC99Braces) != 0);
    m_loaded = true;
}

void CompilerPage::apply() {
    if (!m_loaded) {
        return;
    }
    const int pages = pagesOption(m_settings);
    storePages(m_settings,
               (pages & ~kPageC99Braces) | (m_braces->isChecked() ? kPageC99Braces : 0));
}

}  // namespace typeloom::ui
