#include "model/ui/font_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/ui/spin_edit.h"

namespace typeloom::ui {

namespace {

QLineEdit* shownOnly(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QComboBox* choiceBox(std::span<const HeaderChoice> choices, const std::string& selected,
                     QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const HeaderChoice& c : choices) {
        box->addItem(QString::fromLatin1(c.label));
    }
    const int row = box->findText(qtText(selected));
    box->setCurrentIndex(row < 0 ? 0 : row);
    return box;
}

}  // namespace

FontInfoDialog::FontInfoDialog(const FontInfoFields& f, QWidget* parent, DialogServices services)
    : QDialog(parent),
      m_services(std::move(services)),
      m_shown(f),
      m_name(new QLineEdit(this)),
      m_firstChar(shownOnly(this)),
      m_lastChar(shownOnly(this)),
      m_width(shownOnly(this)),
      m_height(shownOnly(this)),
      m_weight(choiceBox(fontWeightChoices(), f.weight, this)),
      m_family(choiceBox(fontFamilyChoices(), f.family, this)),
      m_charSet(choiceBox(fontCharSetChoices(), f.charSet, this)),
      m_default(new SpinEdit(f.first, f.last, this)),
      m_break(new SpinEdit(f.first, f.last, this)),
      m_italic(new QCheckBox(QStringLiteral("Italic"), this)),
      m_underline(new QCheckBox(QStringLiteral("Underline"), this)),
      m_strikeOut(new QCheckBox(QStringLiteral("StrikeOut"), this)),
      m_points(new SpinEdit(4, 127, this)),
      m_ascent(new SpinEdit(0, f.pixelHeight, this)),
      m_internal(new SpinEdit(0, f.pixelHeight, this)),
      m_external(new SpinEdit(0, 64, this)),
      m_fixed(new QRadioButton(QStringLiteral("Fixed"), this)),
      m_variable(new QRadioButton(QStringLiteral("Variable"), this)),
      m_copyright(new QLineEdit(this)) {
    setWindowTitle(QString::fromLatin1(kFontInfoTitle));
    m_name->setMaxLength(static_cast<int>(kFontInfoNameMax));
    m_copyright->setMaxLength(static_cast<int>(kFontInfoCopyrightMax));
    m_points->setReadOnly(true);

    m_name->setText(qtText(f.name));
    m_copyright->setText(qtText(f.copyright));
    m_firstChar->setText(qtText(f.firstChar));
    m_lastChar->setText(qtText(f.lastChar));
    m_width->setText(qtText(f.width));
    m_height->setText(qtText(f.height));
    m_points->setText(qtText(f.points));
    m_default->setText(qtText(f.defaultChar));
    m_break->setText(qtText(f.breakChar));
    m_ascent->setText(qtText(f.ascent));
    m_internal->setText(qtText(f.internalLeading));
    m_external->setText(qtText(f.externalLeading));
    m_italic->setChecked(f.italic);
    m_underline->setChecked(f.underline);
    m_strikeOut->setChecked(f.strikeOut);
    (f.fixedPitch ? m_fixed : m_variable)->setChecked(true);
    m_fixed->setEnabled(f.pitchEnabled);
    m_variable->setEnabled(f.pitchEnabled);

    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Font Name"), m_name);
    left->addRow(QStringLiteral("First Char"), m_firstChar);
    left->addRow(QStringLiteral("Last Char"), m_lastChar);
    left->addRow(QStringLiteral("Width"), m_width);
    left->addRow(QStringLiteral("Height"), m_height);
    left->addRow(QStringLiteral("Weight"), m_weight);
    left->addRow(QStringLiteral("Family"), m_family);
    left->addRow(QStringLiteral("Charset"), m_charSet);

    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("Default"), m_default);
    right->addRow(QStringLiteral("Break"), m_break);
    right->addRow(QStringLiteral("Points"), m_points);
    right->addRow(QStringLiteral("Ascent"), m_ascent);
    right->addRow(QStringLiteral("Internal"), m_internal);
    right->addRow(QStringLiteral("External"), m_external);
    auto* effects = new QHBoxLayout;
    effects->addWidget(m_italic);
    effects->addWidget(m_underline);
    effects->addWidget(m_strikeOut);
    right->addRow(effects);
    auto* pitchBox = new QGroupBox(QStringLiteral("Pitch"), this);
    auto* pitch = new QHBoxLayout(pitchBox);
    pitch->addWidget(m_fixed);
    pitch->addWidget(m_variable);
    right->addRow(pitchBox);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* copyright = new QFormLayout;
    copyright->addRow(QStringLiteral("Copyright"), m_copyright);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FontInfoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FontInfoDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { Q_EMIT helpRequested(QString::fromLatin1(kFontInfoHelpTopic)); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(copyright);
    layout->addWidget(buttons);
    m_name->setFocus();
}

FontInfoFields FontInfoDialog::fields() const {
    FontInfoFields f = m_shown;
    f.name = utf8Text(m_name->text());
    f.copyright = utf8Text(m_copyright->text());
    f.defaultChar = utf8Text(m_default->text());
    f.breakChar = utf8Text(m_break->text());
    f.ascent = utf8Text(m_ascent->text());
    f.internalLeading = utf8Text(m_internal->text());
    f.externalLeading = utf8Text(m_external->text());
    f.weight = utf8Text(m_weight->currentText());
    f.family = utf8Text(m_family->currentText());
    f.charSet = utf8Text(m_charSet->currentText());
    f.italic = m_italic->isChecked();
    f.underline = m_underline->isChecked();
    f.strikeOut = m_strikeOut->isChecked();
    f.fixedPitch = m_fixed->isChecked();
    return f;
}

QLineEdit* FontInfoDialog::fieldEdit(FontInfoField field) const {
    switch (field) {
        case FontInfoField::Name:
            return m_name;
        case FontInfoField::Default:
            return m_default->edit();
        case FontInfoField::Break:
            return m_break->edit();
        case FontInfoField::Ascent:
            return m_ascent->edit();
        case FontInfoField::Internal:
            return m_internal->edit();
        case FontInfoField::External:
            return m_external->edit();
        case FontInfoField::Copyright:
            return m_copyright;
        case FontInfoField::None:
            break;
    }
    return nullptr;
}

void FontInfoDialog::accept() {
    const FontInfoCheck check = checkFontInfo(fields());
    if (!check.accepted) {
        m_services.message(this, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                           qtText(check.message));
        if (QLineEdit* edit = fieldEdit(check.focus)) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    m_makeVariablePitch = false;
    if (check.askVariablePitch) {
        m_makeVariablePitch = m_services.askYesNo(this, QString::fromLatin1(kDialogCaption),
                                                  QString::fromLatin1(kFixedToVariableQuestion));
        if (!m_makeVariablePitch) {
            m_fixed->setChecked(true);  // No keeps the font fixed-width
        }
    }
    QDialog::accept();
}

}  // namespace typeloom::ui
