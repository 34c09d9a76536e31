#include "app/history_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/font_history.h"

namespace typeloom::app {

HistoryDialog::HistoryDialog(const FontHistory& history, std::function<void(std::size_t)> jump,
                             QWidget* parent)
    : QDialog(parent), m_history(history), m_jump(std::move(jump)) {
    setWindowTitle(QStringLiteral("History"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listHistory"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_goTo = new QPushButton(QStringLiteral("&Go To"), this);
    m_goTo->setObjectName(QStringLiteral("buttonGoTo"));
    m_goTo->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("buttonClose"));
    connect(m_goTo, &QPushButton::clicked, this, &HistoryDialog::goToSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &HistoryDialog::goToSelected);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_goTo->setEnabled(row >= 0 && static_cast<std::size_t>(row) != m_history.position());
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_goTo);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(320, 360);
    refresh();
}

void HistoryDialog::refresh() {
    m_list->clear();
    m_list->addItem(QStringLiteral("(the font before these steps)"));
    for (std::size_t i = 0; i < m_history.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(m_history.step(i).name()));
        if (i >= m_history.position()) {
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        }
        m_list->addItem(item);
    }
    m_list->setCurrentRow(static_cast<int>(m_history.position()));
    m_goTo->setEnabled(false);
}

void HistoryDialog::goToSelected() {
    const int row = m_list->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) == m_history.position()) {
        return;
    }
    m_jump(static_cast<std::size_t>(row));
    refresh();
}

}  // namespace typeloom::app
