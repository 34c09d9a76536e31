#include "export/ui/page_c99_compiler.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/ui/option_page_support.h"

namespace typeloom::ui {

using namespace option_page;
using namespace exporters;

CPageC99compiler::CPageC99compiler(SettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings) {
    m_braces = checkBox(this, "check1126",
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

void CPageC99compiler::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_loaded) {
        load();
    }
}

void CPageC99compiler::load() {
    m_braces->setChecked((pagesOption(m_settings) & kPageC99Braces) != 0);
    m_loaded = true;
}

void CPageC99compiler::apply() {
    if (!m_loaded) {
        return;
    }
    const int pages = pagesOption(m_settings);
    storePages(m_settings,
               (pages & ~kPageC99Braces) | (m_braces->isChecked() ? kPageC99Braces : 0));
}

}  // namespace typeloom::ui
