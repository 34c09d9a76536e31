#include "export/ui/export_options_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "export/ui/option_page_support.h"

namespace typeloom::ui {

using namespace option_page;
using namespace exporters;

namespace {

// The bits this page rewrites.
constexpr int kExportExtBits = kPageDataTable | kPageOffsetTable | kPageWidthTable |
                               kPageAsciiIndexTable | kPageUcharData | kPageExtendedIndexTable;

}  // namespace

ExportOptionsPage::ExportOptionsPage(SettingsStore& settings, QWidget* parent)
    : OptionPage(settings, QStringLiteral("Typeloom Studio 3.0 Format"), parent) {
    auto* heading = new QLabel(
        QStringLiteral("When export C file (*.c), Binary file (*.dat) and ASM file (*.asm) :"),
        this);
    auto* tables = new QGroupBox(QStringLiteral("Tables to be output"), this);
    // The data table is always written.
    QCheckBox* dataTable = createCheckBox(tables, "checkDataTable", "data_table[ ]");
    dataTable->setChecked(true);
    dataTable->setEnabled(false);
    m_offset = createCheckBox(tables, "checkOffsetTable", "offset_table[ ]");
    m_width = createCheckBox(tables, "checkWidthTable", "width_table[ ]");
    m_asciiIndex = createCheckBox(tables, "checkAsciiIndexTable", "ascii_index_table[ ]");
    m_extendedIndex = createCheckBox(tables, "checkExtendedIndexTable", "extended_index_table[ ]");
    auto* tablesLayout = new QVBoxLayout(tables);
    for (QCheckBox* box : {dataTable, m_offset, m_width, m_asciiIndex, m_extendedIndex}) {
        tablesLayout->addWidget(box);
    }

    auto* type = new QGroupBox(QStringLiteral("Data Type in data_table[ ]"), this);
    m_uchar = new QRadioButton(QStringLiteral("UCHAR"), type);
    m_uchar->setObjectName(QStringLiteral("radioUchar"));
    m_byLength =
        new QRadioButton(QStringLiteral("UCHAR, USHORT or ULONG as the data length"), type);
    m_byLength->setObjectName(QStringLiteral("radioByLength"));
    auto* typeLayout = new QVBoxLayout(type);
    typeLayout->addWidget(m_uchar);
    typeLayout->addWidget(m_byLength);

    auto* groups = new QHBoxLayout;
    groups->addWidget(tables);
    groups->addWidget(type, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(groups);
    layout->addStretch();
    layout->addLayout(createHelpRow(preferenceTopic()));
}

void ExportOptionsPage::loadValues() {
    const int pages = pagesOption(settings());
    m_offset->setChecked((pages & kPageOffsetTable) != 0);
    m_width->setChecked((pages & kPageWidthTable) != 0);
    m_asciiIndex->setChecked((pages & kPageAsciiIndexTable) != 0);
    m_extendedIndex->setChecked((pages & kPageExtendedIndexTable) != 0);
    m_uchar->setChecked((pages & kPageUcharData) != 0);
    m_byLength->setChecked((pages & kPageUcharData) == 0);
}

void ExportOptionsPage::applyValues() {
    int bits = kPageDataTable;
    bits |= m_offset->isChecked() ? kPageOffsetTable : 0;
    bits |= m_width->isChecked() ? kPageWidthTable : 0;
    bits |= m_asciiIndex->isChecked() ? kPageAsciiIndexTable : 0;
    bits |= m_extendedIndex->isChecked() ? kPageExtendedIndexTable : 0;
    bits |= m_uchar->isChecked() ? kPageUcharData : 0;
    // Read afresh: another page may have rewritten its own bits since this page was loaded.
    storePages(settings(), (pagesOption(settings()) & ~kExportExtBits) | bits);
}

}  // namespace typeloom::ui
