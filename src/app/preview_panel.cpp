#include "app/preview_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/settings_store.h"
#include "editor/ui/pixel_grid.h"
#include "model/font.h"
#include "preview/text_preview.h"

namespace typeloom::app {

namespace {

constexpr const char* kSection = "Settings";

}  // namespace

PreviewPanel::PreviewPanel(const Font& font, SettingsStore& settings, const ui::PixelGrid* grid,
                           QWidget* parent)
    : QWidget(parent), m_font(font), m_settings(settings), m_grid(grid) {
    setObjectName(QStringLiteral("PreviewPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* controls = new QHBoxLayout;
    auto* textLabel = new QLabel(QStringLiteral("Sample &text:"), this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("previewText"));
    textLabel->setBuddy(m_text);
    m_text->setText(QString::fromStdString(
        settings.readString(kSection, kPreviewTextKey).value_or(kPreviewTextDefault)));
    auto* scaleLabel = new QLabel(QStringLiteral("&Scale:"), this);
    m_scale = new QSpinBox(this);
    m_scale->setObjectName(QStringLiteral("previewScale"));
    m_scale->setRange(1, 8);
    m_scale->setSuffix(QStringLiteral(" \u00D7"));
    m_scale->setValue(static_cast<int>(
        settings.readInteger(kSection, kPreviewScaleKey).value_or(kPreviewScaleDefault)));
    scaleLabel->setBuddy(m_scale);
    controls->addWidget(textLabel);
    controls->addWidget(m_text, 1);
    controls->addWidget(scaleLabel);
    controls->addWidget(m_scale);
    layout->addLayout(controls);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("previewPicture"));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_picture);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Base);
    layout->addWidget(scroll, 1);
    m_missing = new QLabel(this);
    m_missing->setObjectName(QStringLiteral("previewMissing"));
    // A long list of missing characters wraps instead of widening the dock, and with it the
    // main window, past the screen.
    m_missing->setWordWrap(true);
    layout->addWidget(m_missing);

    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_settings.writeString(kSection, kPreviewTextKey, text.toStdString());
        refresh();
    });
    connect(m_scale, &QSpinBox::valueChanged, this, [this](int value) {
        m_settings.writeInteger(kSection, kPreviewScaleKey, value);
        refresh();
    });
    refresh();
}

void PreviewPanel::refresh() {
    preview::EncodedPictures pictures(m_font);
    // The glyph being edited is drawn as it is now, before it is stored.
    if (m_grid != nullptr && m_grid->currentIndex() >= 0) {
        const WorkingGlyph& g = m_grid->workingGlyph();
        pictures.overridePixels(g.unicode(), g.width(), g.pixels());
    }
    const std::u32string text = m_text->text().toStdU32String();
    preview::PreviewOptions options;
    options.scale = m_scale->value();
    const preview::PreviewImage image = preview::renderText(text, pictures, options);
    m_image = QImage(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            line[x] = 0xFF000000u | image.pixels[static_cast<std::size_t>(y) * image.width + x];
        }
    }
    m_picture->setPixmap(QPixmap::fromImage(m_image));
    if (image.missing.empty()) {
        m_missing->setText(m_font.count() > 0 ? QString() : QStringLiteral("The font is empty."));
        return;
    }
    QStringList names;
    for (const preview::MissingCharacter& m : image.missing) {
        names << QString::fromStdString(preview::describeMissing(m));
    }
    m_missing->setText(QStringLiteral("Not in the font: ") + names.join(QStringLiteral(", ")));
}

}  // namespace typeloom::app
