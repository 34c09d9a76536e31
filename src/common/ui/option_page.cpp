#include "common/ui/option_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <utility>

namespace typeloom::ui {

OptionPage::OptionPage(SettingsStore& settings, QString caption, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_caption(std::move(caption)) {}

void OptionPage::load() {
    loadValues();
    m_loaded = true;
}

void OptionPage::apply() {
    if (m_loaded) {
        applyValues();
    }
}

void OptionPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_loaded) {
        load();
    }
}

QHBoxLayout* OptionPage::createHelpRow(const QString& topic) {
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("buttonHelp"));
    connect(help, &QPushButton::clicked, this, [this, topic] { Q_EMIT helpRequested(topic); });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(help);
    return row;
}

QCheckBox* OptionPage::createCheckBox(QWidget* parent, const char* name, const char* text) {
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace typeloom::ui
