#include "editor/ui/confirm_save_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace typeloom::ui {

ConfirmSaveDialog::ConfirmSaveDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConfirmSaveDialog"));
    setWindowTitle(QStringLiteral("Confirm"));
    auto* text =
        new QLabel(QStringLiteral("The current character is changed.\n\nDo you want to save it?"));
    auto* yes = new QPushButton(QStringLiteral("&Yes"));
    yes->setObjectName(QStringLiteral("yesButton"));
    yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("&No"));
    no->setObjectName(QStringLiteral("noButton"));
    m_dontAsk = new QCheckBox(QStringLiteral(
        "Do not show this warning message the next time.\nAutomatically save the changed "
        "character."));
    m_dontAsk->setObjectName(QStringLiteral("dontAskCheckBox"));
    m_dontAsk->setChecked(false);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    layout->addWidget(m_dontAsk);
}

bool ConfirmSaveDialog::dontAskAgain() const {
    return m_dontAsk->isChecked();
}

ConfirmSaveAnswer ConfirmSaveDialog::ask(QWidget* parent) {
    ConfirmSaveDialog dialog(parent);
    const bool yes = dialog.exec() == QDialog::Accepted;
    return {yes, dialog.dontAskAgain()};
}

}  // namespace typeloom::ui
