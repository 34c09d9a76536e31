#include "model/ui/select_range_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace typeloom::ui {

std::uint32_t rangeFieldValue(const QString& text) {
    int i = 0;
    if (text.size() >= 2 && text[0] == QLatin1Char('0') &&
        (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        i = 2;
    }
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        }
        if (digit < 0) {
            break;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

SelectRangeDialog::SelectRangeDialog(std::uint16_t maxCode, QWidget* parent)
    : QDialog(parent), m_maxCode(maxCode) {
    setWindowTitle(QStringLiteral("Select range of characters"));
    auto* fields = new QGridLayout;
    const struct {
        const char* label;
        QLineEdit** edit;
        const char* name;
    } rows[] = {{"First:", &m_firstEdit, "first"}, {"Last:", &m_lastEdit, "last"}};
    int row = 0;
    for (const auto& r : rows) {
        *r.edit = new QLineEdit(this);
        (*r.edit)->setObjectName(QString::fromLatin1(r.name));
        (*r.edit)->setMaxLength(4);
        fields->addWidget(new QLabel(QString::fromLatin1(r.label), this), row, 0);
        fields->addWidget(new QLabel(QStringLiteral("0x"), this), row, 1);
        fields->addWidget(*r.edit, row, 2);
        ++row;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SelectRangeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SelectRangeDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

void SelectRangeDialog::accept() {
    const std::uint32_t first = rangeFieldValue(m_firstEdit->text());
    const std::uint32_t last = rangeFieldValue(m_lastEdit->text());
    QLineEdit* refused = nullptr;
    if (first > m_maxCode) {
        refused = m_firstEdit;
    } else if (last > m_maxCode || last < first) {
        refused = m_lastEdit;
    }
    if (refused != nullptr) {
        refused->setFocus();
        refused->selectAll();
        QApplication::beep();
        return;
    }
    m_first = static_cast<std::uint16_t>(first);
    m_last = static_cast<std::uint16_t>(last);
    QDialog::accept();
}

}  // namespace typeloom::ui
