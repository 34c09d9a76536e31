#pragma once

#include <QDialog>
#include <vector>

#include "model/log_font.h"
#include "model/system_fonts.h"
#include "model/ui/dialog_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace typeloom::ui {

// The system font chooser ("Font"): the installed families and their styles as fontconfig
// lists them, sizes in points 4..244, the strike-out and underline effects, a sample drawn by
// the same renderer that makes the characters, and the scripts the chosen face offers. It
// starts from a font description (the font's source font) when one is given.
class SystemFontDialog : public QDialog {
    Q_OBJECT

  public:
    explicit SystemFontDialog(const LogFont* initial, QWidget* parent = nullptr,
                              DialogServices services = DialogServices::standard());

    // The description chosen: face, weight, slant, effects, character set, and the height of
    // the size chosen (-16 for 12 points).
    LogFont logFont() const;
    // The size chosen, in tenths of a point.
    int pointTenths() const { return m_pointTenths; }

    QLineEdit* familyEdit() const { return m_familyEdit; }
    QListWidget* familyList() const { return m_families; }
    QListWidget* styleList() const { return m_styles; }
    QLineEdit* sizeEdit() const { return m_sizeEdit; }
    QListWidget* sizeList() const { return m_sizes; }
    QCheckBox* strikeOutBox() const { return m_strikeOut; }
    QCheckBox* underlineBox() const { return m_underline; }
    QComboBox* scriptBox() const { return m_scripts; }
    QLabel* sample() const { return m_sample; }

    // Selects a family and one of its styles by name (ignoring case); false when not listed.
    bool selectFace(const QString& family, const QString& style = QString());

    void accept() override;

  private:
    void fillStyles();
    void fillScripts();
    void updateSample();
    // The face of the selected family and style; null when none.
    const SystemFace* selectedFace() const;

    DialogServices m_services;
    std::vector<SystemFace> m_faces;
    std::vector<int> m_styleFaces;  // the face index of each row of the style list
    std::uint8_t m_charSet = 0;
    int m_pointTenths = 120;
    QLineEdit* m_familyEdit;
    QListWidget* m_families;
    QLineEdit* m_styleEdit;
    QListWidget* m_styles;
    QLineEdit* m_sizeEdit;
    QListWidget* m_sizes;
    QCheckBox* m_strikeOut;
    QCheckBox* m_underline;
    QLabel* m_sample;
    QComboBox* m_scripts;
};

// Sample text drawn with a font description as the renderer draws characters: black ink on
// white, one pixel per pixel.
QImage renderFontSample(const LogFont& font, const QString& text);

}  // namespace typeloom::ui
