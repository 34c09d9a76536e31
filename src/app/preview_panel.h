#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace typeloom {
class Font;
class SettingsStore;
}  // namespace typeloom
namespace typeloom::ui {
class PixelGrid;
}

namespace typeloom::app {

// Settings of the preview: the sample text and the scale.
inline constexpr const char* kPreviewTextKey = "Preview text";
inline constexpr const char* kPreviewTextDefault =
    "Temp: 21.5 \xC2\xB0"
    "C";
inline constexpr const char* kPreviewScaleKey = "Preview scale";
inline constexpr int kPreviewScaleDefault = 3;

// A line of sample text drawn as the firmware will draw it: the characters' encoded units
// read back (the glyph being edited as it is now), at a chosen scale, a red frame for every
// character the font lacks and their list beneath. The text and the scale are kept in the
// settings.
class PreviewPanel : public QWidget {
    Q_OBJECT

  public:
    PreviewPanel(const Font& font, SettingsStore& settings, const ui::PixelGrid* grid,
                 QWidget* parent = nullptr);

    // Draws the text again (after a glyph or the font changed).
    void refresh();

    const QImage& image() const { return m_image; }
    QLineEdit* textField() const { return m_text; }
    QSpinBox* scaleBox() const { return m_scale; }
    QLabel* missingLabel() const { return m_missing; }

  private:
    const Font& m_font;
    SettingsStore& m_settings;
    const ui::PixelGrid* m_grid;
    QLineEdit* m_text;
    QSpinBox* m_scale;
    QLabel* m_picture;
    QLabel* m_missing;
    QImage m_image;
};

}  // namespace typeloom::app
