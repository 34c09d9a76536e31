#include "model/ui/edit_characters_table_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <functional>
#include <set>
#include <string>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "charset/table_text_file.h"
#include "model/font.h"
#include "model/table_scripts.h"
#include "model/ui/select_range_dialog.h"
#include "model/ui/table_editor_grid.h"

namespace typeloom::ui {

namespace {

// The encoding buttons in the dialog's order.
constexpr int kEncodingOrder[] = {kEncodingUnicode, kEncodingAnsi, kEncodingShiftJis,
                                  kEncodingBig5,    kEncodingGbk,  kEncodingHangul};

}  // namespace

EditCharactersTableDialog::EditCharactersTableDialog(Font& font, DialogServices services,
                                                     QWidget* parent)
    : QDialog(parent), m_font(font), m_services(std::move(services)) {
    setWindowTitle(QStringLiteral("Edit Characters Table"));
    if (m_font.count() > 0) {
        m_font.charTable.beginEditing();
    }
    m_charSet = m_font.sourceFont.charSet;
    m_grid = new TableEditorGrid(m_font, this);
    m_grid->setObjectName(QStringLiteral("tableEditorGrid"));
    m_grid->setMinimumSize(m_grid->headerWidth() + 16 * kTableCellWidth + 24,
                           10 * kTableCellHeight);

    auto* encodingBox = new QGroupBox(QStringLiteral("Encoding"), this);
    auto* encodingLayout = new QVBoxLayout(encodingBox);
    m_encodings = new QButtonGroup(this);
    for (int encoding : kEncodingOrder) {
        const std::string_view label = encodingButtonLabel(encoding);
        auto* radio = new QRadioButton(
            QString::fromLatin1(label.data(), static_cast<int>(label.size())), encodingBox);
        radio->setObjectName(QStringLiteral("encoding%1").arg(encoding));
        radio->setChecked(encoding == static_cast<int>(m_font.encoding));
        m_encodings->addButton(radio, encoding);
        encodingLayout->addWidget(radio);
    }
    connect(m_encodings, &QButtonGroup::idClicked, this,
            &EditCharactersTableDialog::chooseEncoding);

    m_scripts = new QComboBox(this);
    m_scripts->setObjectName(QStringLiteral("script"));
    fillScripts();
    connect(m_scripts, &QComboBox::activated, this, &EditCharactersTableDialog::chooseScript);

    auto* side = new QVBoxLayout;
    side->addWidget(encodingBox);
    side->addWidget(new QLabel(QStringLiteral("Script:"), this));
    side->addWidget(m_scripts);
    const struct {
        const char* text;
        const char* name;
        std::function<void()> work;
    } buttons[] = {
        {"Enable Range...", "enableRange", [this] { changeRange(true); }},
        {"Disable Range...", "disableRange", [this] { changeRange(false); }},
        {"Disable All", "disableAll", [this] { changeAll(false); }},
        {"Enable All", "enableAll", [this] { changeAll(true); }},
        {"Load Table...", "loadTable", [this] { loadTable(); }},
        {"Save Table...", "saveTable", [this] { saveTable(); }},
    };
    auto* buttonGrid = new QGridLayout;
    int i = 0;
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.text), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.work);
        buttonGrid->addWidget(button, i / 2, i % 2);
        ++i;
    }
    side->addLayout(buttonGrid);
    side->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("help"));
    help->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &EditCharactersTableDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_services.showHelp) {
            m_services.showHelp(QString::fromLatin1(kEditTableHelpTopic));
        }
    });
    auto* closing = new QHBoxLayout;
    for (QPushButton* b : {ok, cancel, help}) {
        closing->addWidget(b);
    }
    side->addLayout(closing);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(side);
    // The size the grid asks for (block names in view), which Qt's first showing would cap at
    // two thirds of the screen; a small screen still gets the dialog within its bounds.
    QSize wanted = sizeHint();
    if (const QScreen* screen = this->screen()) {
        wanted = wanted.boundedTo(screen->availableSize());
    }
    resize(wanted);
}

QRadioButton* EditCharactersTableDialog::encodingButton(int encoding) const {
    return qobject_cast<QRadioButton*>(m_encodings->button(encoding));
}

QPushButton* EditCharactersTableDialog::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromLatin1(objectName));
}

void EditCharactersTableDialog::fillScripts() {
    std::set<std::string> seen;
    for (const FontScript& script : tableScriptsOf(m_font)) {
        if (seen.insert(script.name).second) {
            m_scripts->addItem(QString::fromLatin1(script.name), int{script.charSet});
        }
    }
    int selected = m_scripts->findData(int{m_charSet});
    m_scripts->setCurrentIndex(selected >= 0 ? selected : 0);
    m_scripts->setEnabled(m_font.encoding == kEncodingAnsi);
}

void EditCharactersTableDialog::chooseEncoding(int encoding) {
    CharacterTable& table = m_font.charTable;
    if (m_font.count() == 0 || table.editing.encoding == encoding) {
        return;
    }
    const WaitCursor wait;
    m_scripts->setEnabled(encoding == kEncodingAnsi);
    table.setEditingEncoding(encoding, DbcsTables::program());
    m_grid->setShownEncoding(encoding);
}

void EditCharactersTableDialog::chooseScript(int index) {
    if (m_font.count() == 0 || index < 0) {
        return;
    }
    const auto charSet = static_cast<std::uint8_t>(m_scripts->itemData(index).toInt());
    if (charSet == m_charSet) {
        return;
    }
    m_charSet = charSet;
    m_font.charTable.setEditingScript(charSet);
    m_grid->viewport()->update();
}

void EditCharactersTableDialog::changeRange(bool enable) {
    if (m_font.count() == 0) {
        return;
    }
    SelectRangeDialog dialog(codeSpaceLast(m_font.charTable.editing.encoding), this);
    if (m_services.runDialog(dialog) != QDialog::Accepted) {
        return;
    }
    const WaitCursor wait;
    m_grid->redrawCodes(m_font.charTable.setRangeEnabled(dialog.first(), dialog.last(), enable));
}

void EditCharactersTableDialog::changeAll(bool enable) {
    if (m_font.count() == 0) {
        return;
    }
    const WaitCursor wait;
    m_font.charTable.setAllEnabled(enable);
    m_grid->viewport()->update();
}

void EditCharactersTableDialog::loadTable() {
    if (m_font.count() == 0) {
        return;
    }
    const QString path =
        m_services.openFile(this, QStringLiteral("Open"), qtFileFilter(kTableTextFilter));
    if (path.isEmpty()) {
        return;
    }
    TableTextLoadResult result;
    {
        const WaitCursor wait;
        result = loadTableText(m_font.charTable, utf8Text(path));
    }
    m_grid->viewport()->update();
    if (result.status == TableTextLoadResult::Status::Failed) {
        m_services.message(this, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                           qtText(result.message));
    } else if (result.someUnmapped) {
        m_services.message(this, MessageIcon::Exclamation, QString::fromLatin1(kDialogCaption),
                           qtText(result.message));
    }
}

void EditCharactersTableDialog::saveTable() {
    if (m_font.count() == 0) {
        return;
    }
    const QString path = m_services.saveFile(this, QStringLiteral("Save As"), QString(),
                                             qtFileFilter(kTableTextFilter), QStringLiteral("txt"));
    if (path.isEmpty()) {
        return;
    }
    const std::string message = saveTableText(m_font.charTable, utf8Text(path));
    if (!message.empty()) {
        m_services.message(this, MessageIcon::Stop, QString::fromLatin1(kDialogCaption),
                           qtText(message));
    }
}

void EditCharactersTableDialog::reject() {
    m_font.charTable.beginEditing();
    QDialog::reject();
}

bool runEditCharactersTable(QWidget* parent, Font& font, const DialogServices& services) {
    EditCharactersTableDialog dialog(font, services, parent);
    if (services.runDialog(dialog) != QDialog::Accepted) {
        font.charTable.beginEditing();
        return false;
    }
    const WaitCursor wait;
    const bool committed = font.commitCharacterTable(dialog.chosenCharSet());
    font.charTable.beginEditing();
    return committed;
}

}  // namespace typeloom::ui
