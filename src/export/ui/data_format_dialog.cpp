#include "export/ui/data_format_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "export/controller_presets.h"
#include "export/ui/format_picture_view.h"

namespace typeloom::ui {

namespace {

using exporters::DataFormatRadio;

struct RadioInfo {
    DataFormatRadio which;
    const char* name;
    const char* text;
};

// In the order of DataFormatRadio.
constexpr RadioInfo kRadios[] = {
    {DataFormatRadio::ScanRow, "radioScanRow", "Row"},
    {DataFormatRadio::ScanColumn, "radioScanColumn", "Column"},
    {DataFormatRadio::PreferRow, "radioPreferRow", "Row"},
    {DataFormatRadio::PreferColumn, "radioPreferColumn", "Column"},
    {DataFormatRadio::PackedYes, "radioPackedYes", "Yes"},
    {DataFormatRadio::PackedNo, "radioPackedNo", "No"},
    {DataFormatRadio::BigEndian, "radioBigEndian", "Big Endian"},
    {DataFormatRadio::LittleEndian, "radioLittleEndian", "Little Endian"},
    {DataFormatRadio::Bits8, "radio8Bits", "8 bits"},
    {DataFormatRadio::Bits16, "radio16Bits", "16 bits"},
    {DataFormatRadio::Bits32, "radio32Bits", "32 bits"},
};

QString presetText(const exporters::ControllerPreset& preset) {
    return QString::fromUtf8(preset.description) + QStringLiteral("\n") +
           QString::fromUtf8(preset.arrangement);
}

}  // namespace

DataFormatDialog::DataFormatDialog(std::uint32_t word, QWidget* parent)
    : QDialog(parent), m_word(word) {
    setWindowTitle(QStringLiteral("Bitmap Data Format"));
    setObjectName(QStringLiteral("DataFormatDialog"));

    auto makeGroup = [this](const QString& title, std::initializer_list<int> radios) {
        auto* group = new QGroupBox(title, this);
        auto* layout = new QVBoxLayout(group);
        auto* buttons = new QButtonGroup(group);
        for (int i : radios) {
            const RadioInfo& info = kRadios[i];
            auto* radio = new QRadioButton(QString::fromLatin1(info.text), group);
            radio->setObjectName(QString::fromLatin1(info.name));
            buttons->addButton(radio);
            layout->addWidget(radio);
            m_radios[i] = radio;
            const DataFormatRadio which = info.which;
            connect(radio, &QRadioButton::clicked, this, [this, which] { clickRadio(which); });
        }
        return group;
    };
    QGroupBox* scanBased = makeGroup(QStringLiteral("Scan based"), {0, 1});
    QGroupBox* scanPreferred = makeGroup(QStringLiteral("Scan preferred"), {2, 3});
    QGroupBox* packed = makeGroup(QStringLiteral("Data packed"), {4, 5});
    QGroupBox* bitOrder = makeGroup(QStringLiteral("Bit Order"), {6, 7});
    QGroupBox* length = makeGroup(QStringLiteral("Data length"), {8, 9, 10});

    m_invert = new QCheckBox(QStringLiteral("Invert bits when exporting"), this);
    m_invert->setObjectName(QStringLiteral("checkInvert"));
    m_invert->setChecked(exporters::isInverted(word));
    // The picture shows the values as they will be written, inverted or not.
    connect(m_invert, &QCheckBox::toggled, this, [this] { showWord(); });

    m_presets = new QComboBox(this);
    m_presets->setObjectName(QStringLiteral("presetList"));
    m_presets->addItem(QStringLiteral("Custom"));
    for (const exporters::ControllerPreset& preset : exporters::controllerPresets()) {
        m_presets->addItem(QString::fromUtf8(preset.title), QString::fromLatin1(preset.name));
    }
    connect(m_presets, qOverload<int>(&QComboBox::activated), this,
            &DataFormatDialog::choosePreset);
    m_presetDescription = new QLabel(this);
    m_presetDescription->setObjectName(QStringLiteral("presetDescription"));
    m_presetDescription->setWordWrap(true);
    m_presetDescription->setMinimumHeight(m_presetDescription->fontMetrics().lineSpacing() * 4);
    m_presetDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_picture = new FormatPictureView(this);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("buttonOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("buttonCancel"));
    connect(ok, &QPushButton::clicked, this, &DataFormatDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &DataFormatDialog::reject);

    auto* groups = new QGridLayout;
    groups->addWidget(scanBased, 0, 0);
    groups->addWidget(scanPreferred, 0, 1);
    groups->addWidget(packed, 1, 0);
    groups->addWidget(bitOrder, 1, 1);
    groups->addWidget(length, 2, 0);
    auto* presetBox = new QGroupBox(QStringLiteral("Preset"), this);
    auto* presetLayout = new QVBoxLayout(presetBox);
    presetLayout->addWidget(m_presets);
    presetLayout->addWidget(m_presetDescription);
    presetBox->setMaximumWidth(330);
    m_presetDescription->setMaximumWidth(310);

    auto* left = new QVBoxLayout;
    left->addWidget(presetBox);
    left->addLayout(groups);
    left->addWidget(m_invert);
    left->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    left->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 0);
    layout->addWidget(m_picture, 1);
    showWord();
}

QRadioButton* DataFormatDialog::radio(DataFormatRadio which) const {
    return m_radios[static_cast<int>(which)];
}

bool DataFormatDialog::invertChecked() const {
    return m_invert->isChecked();
}

void DataFormatDialog::clickRadio(DataFormatRadio which) {
    m_word = exporters::applyDataFormatRadio(m_word, which);
    showWord();
}

void DataFormatDialog::choosePreset(int row) {
    const auto presets = exporters::controllerPresets();
    if (row >= 1 && static_cast<std::size_t>(row) <= presets.size()) {
        m_word =
            exporters::applyControllerPreset(m_word, presets[static_cast<std::size_t>(row - 1)]);
    }
    showWord();
}

void DataFormatDialog::showWord() {
    using namespace exporters;
    auto check = [this](DataFormatRadio which) {
        const QSignalBlocker block(radio(which));
        radio(which)->setChecked(true);
    };
    check((m_word & kScanRow) != 0 ? DataFormatRadio::ScanRow : DataFormatRadio::ScanColumn);
    check((m_word & kPreferRow) != 0 ? DataFormatRadio::PreferRow : DataFormatRadio::PreferColumn);
    check((m_word & kPacked) != 0 ? DataFormatRadio::PackedYes : DataFormatRadio::PackedNo);
    check(isBigEndian(m_word) ? DataFormatRadio::BigEndian : DataFormatRadio::LittleEndian);
    check((m_word & kLength16) != 0   ? DataFormatRadio::Bits16
          : (m_word & kLength32) != 0 ? DataFormatRadio::Bits32
                                      : DataFormatRadio::Bits8);

    const ControllerPreset* preset = matchingControllerPreset(m_word);
    int row = 0;
    if (preset != nullptr) {
        row = 1 + static_cast<int>(preset - controllerPresets().data());
    }
    {
        const QSignalBlocker block(m_presets);
        m_presets->setCurrentIndex(row);
    }
    m_presetDescription->setText(
        preset != nullptr ? presetText(*preset)
                          : QStringLiteral("The radios below set the layout by hand; a preset "
                                           "sets them for a kind of display controller."));
    const std::uint32_t shown = m_invert->isChecked() ? (m_word | kInvert) : (m_word & ~kInvert);
    m_picture->setWord(shown);
}

void DataFormatDialog::accept() {
    m_word = m_invert->isChecked() ? (m_word | exporters::kInvert) : (m_word & ~exporters::kInvert);
    QDialog::accept();
}

}  // namespace typeloom::ui
