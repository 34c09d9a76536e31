#include "export/ui/hex_dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ui/hex_edit.h"
#include "export/intel_hex.h"

namespace typeloom::ui {

StartAddressDialog::StartAddressDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Start Address"));
    auto* label = new QLabel(QStringLiteral(" 0x "), this);
    // Only hexadecimal digits can be typed, so the text always reads as an address.
    m_edit = new HexEdit(QStringLiteral("00000000"), this);
    m_edit->setObjectName(QStringLiteral("editAddress"));
    m_edit->setMaxLength(8);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("buttonOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("buttonCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(m_edit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);
}

std::uint32_t StartAddressDialog::startAddress() const {
    bool ok = false;
    const std::uint32_t value = m_edit->text().toUInt(&ok, 16);
    return ok ? value : 0;
}

HexWidthWarningDialog::HexWidthWarningDialog(const QString& list, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(exporters::kHexWidthWarningCaption));
    auto* text = new QLabel(QString::fromLatin1(exporters::kHexWidthWarning), this);
    auto* field = new QPlainTextEdit(list, this);
    field->setObjectName(QStringLiteral("editCharacters"));
    field->setReadOnly(true);
    auto* question = new QLabel(QString::fromLatin1(exporters::kHexWidthQuestion), this);
    auto* yes = new QPushButton(QStringLiteral("Yes"), this);
    yes->setObjectName(QStringLiteral("buttonYes"));
    yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("No"), this);
    no->setObjectName(QStringLiteral("buttonNo"));
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(field);
    layout->addWidget(question);
    layout->addLayout(buttons);
}

std::optional<std::uint32_t> askHexStartAddress(QWidget* parent) {
    StartAddressDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.startAddress();
}

bool confirmHexWideCharacters(QWidget* parent, const QString& list) {
    HexWidthWarningDialog dialog(list, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace typeloom::ui
