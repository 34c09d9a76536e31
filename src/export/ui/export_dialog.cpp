#include "export/ui/export_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/settings_store.h"
#include "export/export_driver.h"
#include "export/shipped_headers.h"
#include "export/ui/export_commands.h"
#include "model/font_settings.h"

namespace typeloom::ui {

namespace {

struct Radio {
    int index;         // the radio's index in the remembered choice
    const char* name;  // its object name
    const char* text;
};

// The button keeps its label and ends in "<<" while the dialog is expanded, ">>" while
// collapsed.
QString advanceText(bool expanded) {
    return expanded ? QStringLiteral("&Advance <<") : QStringLiteral("&Advance >>");
}

constexpr const char* kExportHeadersKey = "ExportHeaders";

}  // namespace

ExportDialog::ExportDialog(const Font& font, SettingsStore& settings, ExportUiHooks hooks,
                           QWidget* parent)
    : QDialog(parent), m_font(font), m_settings(settings), m_hooks(withDefaults(std::move(hooks))) {
    setWindowTitle(QStringLiteral("Export Bitmap Data"));
    m_radios = new QButtonGroup(this);
    m_radios->setExclusive(true);

    auto makeGroup = [this](const char* name, const QString& title,
                            std::initializer_list<Radio> radios) {
        auto* group = new QGroupBox(title, this);
        group->setObjectName(QString::fromLatin1(name));
        auto* layout = new QVBoxLayout(group);
        for (const Radio& entry : radios) {
            auto* radio = new QRadioButton(QString::fromLatin1(entry.text), group);
            radio->setObjectName(QString::fromLatin1(entry.name));
            m_radios->addButton(radio, entry.index);
            layout->addWidget(radio);
        }
        return group;
    };

    QGroupBox* general = makeGroup(
        "groupGeneral", QStringLiteral("General Format"),
        {{3, "radioGeneralC", "C File (*.c)"}, {4, "radioGeneralBin", "Binary File (*.bin)"}});
    QGroupBox* microchip = makeGroup(
        "groupMicrochip", QStringLiteral("Microchip Format"),
        {{5, "radioMicrochipC", "C File (*.c)"}, {6, "radioMicrochipBin", "Binary File (*.bin)"}});
    m_oldGroup = makeGroup("groupOld", QStringLiteral("Old Typeloom Studio 3.0 Format"),
                           {{0, "radioOldC", "C File (*.c)"},
                            {1, "radioOldAsm", "ASM File (*.asm)"},
                            {2, "radioOldDat", "Binary File (*.dat)"}});

    auto* saveAs = new QPushButton(QStringLiteral("&Save As..."), this);
    saveAs->setObjectName(QStringLiteral("buttonSaveAs"));
    saveAs->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("buttonCancel"));
    m_advance = new QPushButton(advanceText(true), this);
    m_advance->setObjectName(QStringLiteral("buttonAdvance"));
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("buttonHelp"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this,
            [this] { m_hooks.showHelp(QString::fromLatin1(kExportHelpTopic)); });
    connect(saveAs, &QPushButton::clicked, this, &ExportDialog::saveAs);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_advance, &QPushButton::clicked, this, &ExportDialog::toggleAdvanced);

    // The part that stays when the dialog is collapsed.
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("frameMain"));
    m_frame->setFrameShape(QFrame::StyledPanel);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(saveAs);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_advance);
    m_withHeader = new QCheckBox(this);
    m_withHeader->setObjectName(QStringLiteral("checkWithHeader"));
    m_withHeader->setChecked(m_settings.integer(kSettingsSection, kExportHeadersKey, 0) != 0);
    auto* groups = new QVBoxLayout;
    groups->addWidget(general);
    groups->addWidget(microchip);
    groups->addWidget(m_withHeader);
    auto* frameLayout = new QHBoxLayout(m_frame);
    frameLayout->addLayout(groups);
    frameLayout->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_frame, 0, Qt::AlignTop);
    layout->addWidget(m_oldGroup, 0, Qt::AlignTop);
    // The dialog takes exactly the size of what it shows, so hiding the old-format group
    // shrinks it to the frame.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const exporters::ExportDialogChoice choice = exporters::exportDialogChoice(m_settings);
    if (QAbstractButton* radio = m_radios->button(choice.radioIndex)) {
        radio->setChecked(true);
    }
    connect(m_radios, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            updateHeaderCheck();
        }
    });
    updateHeaderCheck();
}

void ExportDialog::updateHeaderCheck() {
    const std::optional<exporters::ExportFormat> format =
        exporters::formatOfExportRadio(checkedRadioIndex());
    const exporters::ShippedHeader* header =
        format ? exporters::headerIncludedBy(*format) : nullptr;
    m_withHeader->setEnabled(header != nullptr);
    m_withHeader->setText(header != nullptr
                              ? QStringLiteral("Also &write %1 beside the file")
                                    .arg(QString::fromLatin1(header->name))
                              : QStringLiteral("Also &write the C header (C files only)"));
}

bool ExportDialog::withHeader() const {
    return m_withHeader->isEnabled() && m_withHeader->isChecked();
}

int ExportDialog::checkedRadioIndex() const {
    return m_radios->checkedId();
}

void ExportDialog::toggleAdvanced() {
    setExpanded(!m_expanded);
}

void ExportDialog::setExpanded(bool expanded) {
    m_expanded = expanded;
    m_oldGroup->setEnabled(expanded);
    m_oldGroup->setVisible(expanded);
    m_advance->setText(advanceText(expanded));
}

void ExportDialog::saveAs() {
    const int index = checkedRadioIndex();
    const std::optional<exporters::ExportFormat> format = exporters::formatOfExportRadio(index);
    if (!format) {
        return;  // no radio checked
    }
    const QString path = chooseExportFile(this, m_font, *format, m_hooks);
    if (path.isEmpty()) {
        return;  // the dialog stays open
    }
    m_path = path;
    m_format = *format;
    exporters::storeExportDialogChoice(m_settings, {index, m_expanded});
    if (m_withHeader->isEnabled()) {
        m_settings.writeInteger(kSettingsSection, kExportHeadersKey,
                                m_withHeader->isChecked() ? 1 : 0);
    }
    accept();
}

}  // namespace typeloom::ui
