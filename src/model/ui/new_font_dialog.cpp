#include "model/ui/new_font_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/ui/spin_edit.h"

namespace typeloom::ui {

NewFontDialog::NewFontDialog(QWidget* parent, DialogServices services)
    : QDialog(parent),
      m_services(std::move(services)),
      m_name(new QLineEdit(this)),
      m_from(new SpinEdit(0, 0xFFFE, this)),
      m_to(new SpinEdit(1, 0xFFFF, this)),
      m_width(new SpinEdit(1, 512, this)),
      m_height(new SpinEdit(4, 512, this)) {
    setWindowTitle(QStringLiteral("New Empty Font"));
    // The edit holds at most the 32 characters a name may have.
    m_name->setMaxLength(static_cast<int>(kNewFontNameMax));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Font Name"), m_name);
    form->addRow(QStringLiteral("From"), m_from);
    form->addRow(QStringLiteral("To"), m_to);
    form->addRow(QStringLiteral("Width"), m_width);
    form->addRow(QStringLiteral("Height"), m_height);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewFontDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewFontDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { Q_EMIT helpRequested(QString::fromLatin1(kNewFontHelpTopic)); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    setFields(NewFontFields{});
    m_name->setFocus();
}

NewFontFields NewFontDialog::fields() const {
    NewFontFields f;
    f.name = utf8Text(m_name->text());
    f.first = utf8Text(m_from->text());
    f.last = utf8Text(m_to->text());
    f.width = utf8Text(m_width->text());
    f.height = utf8Text(m_height->text());
    return f;
}

void NewFontDialog::setFields(const NewFontFields& f) {
    m_name->setText(qtText(f.name));
    m_from->setText(qtText(f.first));
    m_to->setText(qtText(f.last));
    m_width->setText(qtText(f.width));
    m_height->setText(qtText(f.height));
}

QLineEdit* NewFontDialog::fieldEdit(NewFontField field) const {
    switch (field) {
        case NewFontField::Name:
            return m_name;
        case NewFontField::First:
            return m_from->edit();
        case NewFontField::Last:
            return m_to->edit();
        case NewFontField::Width:
            return m_width->edit();
        case NewFontField::Height:
            return m_height->edit();
        case NewFontField::None:
            break;
    }
    return nullptr;
}

void NewFontDialog::accept() {
    const NewFontOutcome outcome = acceptNewFontDialog(fields());
    if (!outcome.accepted) {
        m_services.message(this, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                           qtText(outcome.message));
        if (QLineEdit* edit = fieldEdit(outcome.focus)) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    m_params = outcome.params;
    QDialog::accept();
}

}  // namespace typeloom::ui
