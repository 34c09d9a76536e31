#include "model/ui/font_size_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "model/transforms.h"
#include "model/ui/spin_edit.h"
#include "model/ui/transform_preview_view.h"

namespace typeloom::ui {

namespace {

// The largest size an increase may reach is one below this.
constexpr int kSizeLimit = 256;

// OK, Cancel and Help; Help emits the dialog's topic through `help`.
QDialogButtonBox* dialogButtons(QDialog* dialog, const std::function<void()>& help) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* helpButton =
        buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(helpButton, &QPushButton::clicked, dialog, help);
    return buttons;
}

// A message may hold line breaks; the preview's note is one line.
QString oneLine(const std::string& message) {
    QString text = qtText(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void focusAndSelect(QLineEdit* edit) {
    edit->setFocus();
    edit->selectAll();
}

}  // namespace

// --- ChangeSizeDialog

ChangeSizeDialog::ChangeSizeDialog(const ChangeSizeTexts& texts, std::uint16_t size,
                                   PreviewSet preview, QWidget* parent, DialogServices services)
    : QDialog(parent),
      m_texts(texts),
      m_services(std::move(services)),
      m_sizeLabel(new QLabel(qtText(pixelsLabel(size)), this)),
      m_reduce(new QRadioButton(QString::fromLatin1(texts.reduce), this)),
      m_increase(new QRadioButton(QString::fromLatin1(texts.increase), this)),
      m_edits{new SpinEdit(0, size, this), new SpinEdit(0, size, this),
              new SpinEdit(0, std::max(0, kSizeLimit - size), this),
              new SpinEdit(0, std::max(0, kSizeLimit - size), this)},
      m_preview(new TransformPreviewView(std::move(preview), this)) {
    setWindowTitle(QString::fromLatin1(texts.title));
    m_sizeLabel->setObjectName(QStringLiteral("sizeLabel"));
    auto* choice = new QButtonGroup(this);
    choice->addButton(m_reduce);
    choice->addButton(m_increase);
    m_reduce->setChecked(true);

    const char* captions[] = {texts.clipBefore, texts.clipAfter, texts.addBefore, texts.addAfter};
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromLatin1(texts.current), this), 0, 0);
    grid->addWidget(m_sizeLabel, 0, 1);
    grid->addWidget(m_reduce, 1, 0, 1, 2);
    grid->addWidget(m_increase, 1, 2, 1, 2);
    for (int i = 0; i < 4; ++i) {
        const int column = i < 2 ? 0 : 2;
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), this), 2 + i % 2, column);
        grid->addWidget(m_edits[i], 2 + i % 2, column + 1);
        m_edits[i]->setText(QStringLiteral("0"));
        connect(m_edits[i]->edit(), &QLineEdit::textChanged, this, [this] {
            if (m_complete) {
                updatePreview();
            }
        });
    }
    connect(m_reduce, &QRadioButton::toggled, this, [this] {
        updateEnabled();
        if (m_complete) {
            updatePreview();
        }
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_preview);
    layout->addWidget(dialogButtons(
        this, [this] { Q_EMIT helpRequested(QString::fromLatin1(m_texts.helpTopic)); }));
    updateEnabled();
    focusAndSelect(m_edits[0]->edit());
}

SpinEdit* ChangeSizeDialog::edit(ChangeSizeField field) const {
    switch (field) {
        case ChangeSizeField::ClipBefore:
            return m_edits[0];
        case ChangeSizeField::ClipAfter:
            return m_edits[1];
        case ChangeSizeField::AddBefore:
            return m_edits[2];
        case ChangeSizeField::AddAfter:
            return m_edits[3];
        case ChangeSizeField::None:
            break;
    }
    return nullptr;
}

ChangeSizeFields ChangeSizeDialog::fields() const {
    ChangeSizeFields f;
    f.increase = m_increase->isChecked();
    f.clipBefore = utf8Text(m_edits[0]->text());
    f.clipAfter = utf8Text(m_edits[1]->text());
    f.addBefore = utf8Text(m_edits[2]->text());
    f.addAfter = utf8Text(m_edits[3]->text());
    return f;
}

void ChangeSizeDialog::setFields(const ChangeSizeFields& f) {
    (f.increase ? m_increase : m_reduce)->setChecked(true);
    m_edits[0]->setText(qtText(f.clipBefore));
    m_edits[1]->setText(qtText(f.clipAfter));
    m_edits[2]->setText(qtText(f.addBefore));
    m_edits[3]->setText(qtText(f.addAfter));
}

void ChangeSizeDialog::updateEnabled() {
    const bool reduce = m_reduce->isChecked();
    for (int i = 0; i < 4; ++i) {
        m_edits[i]->setEnabled((i < 2) == reduce);
    }
}

void ChangeSizeDialog::updatePreview() {
    m_complete = true;
    const ChangeSizeOutcome outcome = check(fields(), m_values);
    if (outcome.result == DialogResult::Unchanged) {
        // Nothing to change: the after row shows the characters as they are.
        m_preview->showAfter(m_preview->before().font, oneLine(outcome.message));
        return;
    }
    if (outcome.result != DialogResult::Accepted) {
        m_preview->showNoChange(oneLine(outcome.message));
        return;
    }
    Font after = m_preview->before().font;
    if (!apply(after, outcome)) {
        m_preview->showNoChange(QStringLiteral("These values cannot be applied to the font."));
        return;
    }
    const QString note = describe(after);
    m_preview->showAfter(std::move(after), note);
}

void ChangeSizeDialog::accept() {
    const ChangeSizeOutcome outcome = check(fields(), m_values);
    m_values = outcome.values;
    if (outcome.result == DialogResult::Refused) {
        // A value over a limit is set back (a value out of range keeps the text typed).
        const bool limit = outcome.message == m_texts.clippedTooMuch ||
                           outcome.message == m_texts.increasedTooMuch;
        if (limit) {
            const std::uint16_t ChangeSizeValues::*values[] = {
                &ChangeSizeValues::clipBefore, &ChangeSizeValues::clipAfter,
                &ChangeSizeValues::addBefore, &ChangeSizeValues::addAfter};
            for (int i = 0; i < 4; ++i) {
                m_edits[i]->setValue(m_values.*values[i]);
            }
        }
        m_services.message(this, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                           qtText(outcome.message));
        if (SpinEdit* field = edit(outcome.focus)) {
            focusAndSelect(field->edit());
        }
        return;
    }
    m_outcome = outcome;
    if (outcome.result == DialogResult::Unchanged) {
        m_services.message(this, MessageIcon::Information, qtText(outcome.title),
                           qtText(outcome.message));
    }
    QDialog::accept();
}

// --- ChangeHeightDialog

namespace {

const ChangeSizeTexts kHeightTexts = {"Change Font Height",
                                      "Current height:",
                                      "Reduce Font Height",
                                      "Increase Font Height",
                                      "Clip top row",
                                      "Clip bottom row",
                                      "Add top row",
                                      "Add bottom row",
                                      kHeightClippedTooMuchMessage,
                                      kHeightIncreasedTooMuchMessage,
                                      kChangeHeightHelpTopic};

const ChangeSizeTexts kWidthTexts = {"Change Font Width",         "Current width:",
                                     "Reduce Font Width",         "Increase Font Width",
                                     "Clip left column",          "Clip right column",
                                     "Add left column",           "Add right column",
                                     kWidthClippedTooMuchMessage, kWidthIncreasedTooMuchMessage,
                                     kChangeWidthHelpTopic};

}  // namespace

ChangeHeightDialog::ChangeHeightDialog(const Font& font, int currentIndex, QWidget* parent,
                                       DialogServices services)
    : ChangeSizeDialog(kHeightTexts, font.height, previewSet(font, currentIndex, kPreviewSample),
                       parent, std::move(services)),
      m_height(font.height),
      m_ascent(font.ascent) {
    updatePreview();
}

ChangeSizeOutcome ChangeHeightDialog::check(const ChangeSizeFields& fields,
                                            const ChangeSizeValues& previous) const {
    return acceptChangeHeightDialog(fields, previous, m_height, m_ascent);
}

bool ChangeHeightDialog::apply(Font& font, const ChangeSizeOutcome& outcome) const {
    return applyChangeHeight(font, outcome);
}

QString ChangeHeightDialog::describe(const Font& after) const {
    return QStringLiteral("After OK: height %1 pixels, ascent %2")
        .arg(after.height)
        .arg(after.ascent);
}

// --- ChangeWidthDialog

ChangeWidthDialog::ChangeWidthDialog(const Font& font, int currentIndex, QWidget* parent,
                                     DialogServices services)
    : ChangeSizeDialog(kWidthTexts, font.fixedWidth, previewSet(font, currentIndex, kPreviewSample),
                       parent, std::move(services)),
      m_width(font.fixedWidth) {
    updatePreview();
}

ChangeSizeOutcome ChangeWidthDialog::check(const ChangeSizeFields& fields,
                                           const ChangeSizeValues& previous) const {
    return acceptChangeWidthDialog(fields, previous, m_width);
}

bool ChangeWidthDialog::apply(Font& font, const ChangeSizeOutcome& outcome) const {
    return applyChangeWidth(font, outcome);
}

QString ChangeWidthDialog::describe(const Font& after) const {
    return QStringLiteral("After OK: width %1 pixels").arg(after.fixedWidth);
}

// --- ChangeAscentDialog

ChangeAscentDialog::ChangeAscentDialog(const Font& font, int currentIndex, QWidget* parent,
                                       DialogServices services)
    : QDialog(parent),
      m_services(std::move(services)),
      m_height(font.height),
      m_ascent(font.ascent),
      m_edit(new SpinEdit(0, font.height, this)),
      m_preview(new TransformPreviewView(previewSet(font, currentIndex, kPreviewSample), this)) {
    setWindowTitle(QStringLiteral("Change Font Ascent"));
    auto* text = new QLabel(
        QStringLiteral("The ascent is the number of rows from the top of the character cell "
                       "down to the baseline. It must be smaller than the font height (%1 "
                       "pixels).")
            .arg(font.height),
        this);
    text->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Font Ascent"), this));
    row->addWidget(m_edit);
    row->addStretch(1);
    m_edit->setText(QString::number(font.ascent));
    connect(m_edit->edit(), &QLineEdit::textChanged, this, &ChangeAscentDialog::updatePreview);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(row);
    layout->addWidget(m_preview);
    layout->addWidget(dialogButtons(
        this, [this] { Q_EMIT helpRequested(QString::fromLatin1(kChangeAscentHelpTopic)); }));
    focusAndSelect(m_edit->edit());
    updatePreview();
}

void ChangeAscentDialog::updatePreview() {
    const ChangeAscentOutcome outcome =
        acceptChangeAscentDialog(utf8Text(m_edit->text()), m_height, m_ascent);
    if (!outcome.accepted) {
        m_preview->showNoChange(oneLine(outcome.message));
        return;
    }
    Font after = m_preview->before().font;
    after.ascent = outcome.ascent;
    m_preview->showAfter(std::move(after),
                         QStringLiteral("After OK: ascent %1").arg(outcome.ascent));
}

void ChangeAscentDialog::accept() {
    const ChangeAscentOutcome outcome =
        acceptChangeAscentDialog(utf8Text(m_edit->text()), m_height, m_ascent);
    if (!outcome.accepted) {
        m_services.message(this, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                           qtText(outcome.message));
        m_edit->setText(qtText(outcome.fieldText));
        focusAndSelect(m_edit->edit());
        return;
    }
    m_outcome = outcome;
    QDialog::accept();
}

// --- ResizeFontDialog

ResizeFontDialog::ResizeFontDialog(const Font& font, int currentIndex, QWidget* parent,
                                   DialogServices services)
    : QDialog(parent),
      m_services(std::move(services)),
      m_model(font.height, font.fixedWidth),
      m_percentage(new QRadioButton(QStringLiteral("Percentage"), this)),
      m_pixels(new QRadioButton(QStringLiteral("Pixels"), this)),
      m_horizontal(new QLineEdit(this)),
      m_vertical(new QLineEdit(this)),
      m_aspect(new QCheckBox(QStringLiteral("Maintain aspect ration"), this)),
      m_preview(new TransformPreviewView(previewSet(font, currentIndex, kPreviewSample), this)) {
    setWindowTitle(QStringLiteral("Resize Font"));
    auto* choice = new QButtonGroup(this);
    choice->addButton(m_percentage);
    choice->addButton(m_pixels);
    m_percentage->setChecked(true);
    m_pixels->setEnabled(m_model.pixelsEnabled());
    for (QLineEdit* edit : {m_horizontal, m_vertical}) {
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]{0,10}")), edit));
    }

    connect(m_percentage, &QRadioButton::clicked, this, [this] {
        m_model.choosePercentage();
        showModel();
    });
    connect(m_pixels, &QRadioButton::clicked, this, [this] {
        m_model.choosePixels();
        showModel();
    });
    connect(m_aspect, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setMaintainAspect(on);
        showModel();
    });
    connect(m_vertical, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.editVertical(utf8Text(text));
        showModel();
    });
    connect(m_horizontal, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.editHorizontal(utf8Text(text));
        showModel();
    });

    auto* by = new QGroupBox(QStringLiteral("By:"), this);
    auto* byLayout = new QHBoxLayout(by);
    byLayout->addWidget(m_percentage);
    byLayout->addWidget(m_pixels);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Horizontal: "), this), 0, 0);
    grid->addWidget(m_horizontal, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Vertical: "), this), 1, 0);
    grid->addWidget(m_vertical, 1, 1);
    grid->addWidget(m_aspect, 2, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(by);
    layout->addLayout(grid);
    layout->addWidget(m_preview);
    layout->addWidget(dialogButtons(
        this, [this] { Q_EMIT helpRequested(QString::fromLatin1(kResizeFontHelpTopic)); }));
    showModel();
    focusAndSelect(m_horizontal);
}

void ResizeFontDialog::showModel() {
    // Only the edit the user is not typing in changes, so the cursor stays where it is.
    for (auto [edit, text] : {std::pair{m_horizontal, &m_model.horizontal()},
                              std::pair{m_vertical, &m_model.vertical()}}) {
        const QString shown = qtText(*text);
        if (edit->text() != shown) {
            edit->setText(shown);
        }
    }
    updatePreview();
}

void ResizeFontDialog::updatePreview() {
    const ResizeOutcome outcome = m_model.ok();
    if (!outcome.accepted) {
        m_preview->showNoChange(oneLine(outcome.message));
        return;
    }
    Font after = m_preview->before().font;
    const ResizeResult result =
        typeloom::resize(after, outcome.vertical, outcome.horizontal, outcome.byPercentage);
    if (!result.ok) {
        m_preview->showNoChange(oneLine(result.message));
        return;
    }
    const QString note = after.fixedWidth != 0
                             ? QStringLiteral("After OK: %1 x %2 pixels, ascent %3")
                                   .arg(after.fixedWidth)
                                   .arg(after.height)
                                   .arg(after.ascent)
                             : QStringLiteral("After OK: height %1 pixels, ascent %2")
                                   .arg(after.height)
                                   .arg(after.ascent);
    m_preview->showAfter(std::move(after), note);
}

void ResizeFontDialog::accept() {
    const ResizeOutcome outcome = m_model.ok();
    if (!outcome.accepted) {
        m_services.message(this, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                           qtText(outcome.message));
        focusAndSelect(outcome.focus == ResizeField::Vertical ? m_vertical : m_horizontal);
        return;
    }
    m_outcome = outcome;
    QDialog::accept();
}

// --- The commands

namespace {

template <typename Dialog>
void connectHelp(Dialog& dialog, const DialogServices& services) {
    if (services.showHelp) {
        QObject::connect(&dialog, &Dialog::helpRequested, &dialog, services.showHelp);
    }
}

bool runChangeSize(ChangeSizeDialog& dialog, Font& font, const std::function<void()>& commit,
                   const DialogServices& services) {
    if (services.runDialog(dialog) != QDialog::Accepted ||
        dialog.outcome().result != DialogResult::Accepted) {
        return false;
    }
    commit();
    WaitCursor wait;
    return dialog.apply(font, dialog.outcome());
}

}  // namespace

bool runChangeHeight(QWidget* parent, Font& font, int currentIndex,
                     const std::function<void()>& commit, const DialogServices& services) {
    ChangeHeightDialog dialog(font, currentIndex, parent, services);
    connectHelp(dialog, services);
    return runChangeSize(dialog, font, commit, services);
}

bool runChangeWidth(QWidget* parent, Font& font, int currentIndex,
                    const std::function<void()>& commit, const DialogServices& services) {
    ChangeWidthDialog dialog(font, currentIndex, parent, services);
    connectHelp(dialog, services);
    return runChangeSize(dialog, font, commit, services);
}

bool runChangeAscent(QWidget* parent, Font& font, int currentIndex,
                     const std::function<void()>& commit, const DialogServices& services) {
    ChangeAscentDialog dialog(font, currentIndex, parent, services);
    connectHelp(dialog, services);
    if (services.runDialog(dialog) != QDialog::Accepted || !dialog.outcome().changed) {
        return false;
    }
    commit();
    font.ascent = dialog.outcome().ascent;
    return true;
}

bool runResizeFont(QWidget* parent, Font& font, int currentIndex,
                   const std::function<void()>& commit, const DialogServices& services) {
    ResizeFontDialog dialog(font, currentIndex, parent, services);
    connectHelp(dialog, services);
    if (services.runDialog(dialog) != QDialog::Accepted) {
        return false;
    }
    const ResizeOutcome& outcome = dialog.outcome();
    commit();
    ResizeResult result;
    {
        WaitCursor wait;
        result = resize(font, outcome.vertical, outcome.horizontal, outcome.byPercentage);
    }
    if (!result.ok) {
        services.message(parent, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                         qtText(result.message));
    }
    return result.ok;
}

}  // namespace typeloom::ui
