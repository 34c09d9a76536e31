#include "export/ui/compiler_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "export/ui/option_page_support.h"

namespace typeloom::ui {

using namespace option_page;
using namespace exporters;

CompilerPage::CompilerPage(SettingsStore& settings, QWidget* parent)
    : OptionPage(settings, QStringLiteral("C99 compatible compiler"), parent) {
    m_braces = createCheckBox(this, "checkC99Braces",
                              "Write the General C file with the braces a C99 compatible "
                              "compiler needs");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_braces);
    layout->addStretch();
    layout->addLayout(createHelpRow(preferenceTopic()));
}

void CompilerPage::loadValues() {
    m_braces->setChecked((pagesOption(settings()) & kPageC99Braces) != 0);
}

void CompilerPage::applyValues() {
    const int pages = pagesOption(settings());
    storePages(settings(),
               (pages & ~kPageC99Braces) | (m_braces->isChecked() ? kPageC99Braces : 0));
}

}  // namespace typeloom::ui
