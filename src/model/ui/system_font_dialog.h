#pragma once

#include <QDialog>
#include <memory>
#include <thread>
#include <vector>

#include "common/cancel_flag.h"
#include "model/log_font.h"
#include "model/rasteriser.h"
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
//
// For a face that declares a fixed pitch, "Keep fixed pitch" (checked at first) makes every
// character as wide as the face's advance, and a line below says how many characters then
// lose ink outside their cell; the characters are counted on a thread of their own, so that
// the chooser answers while a large face is counted.
class SystemFontDialog : public QDialog {
    Q_OBJECT

  public:
    explicit SystemFontDialog(const LogFont* initial, QWidget* parent = nullptr,
                              DialogServices services = DialogServices::standard());
    ~SystemFontDialog() override;
    SystemFontDialog(const SystemFontDialog&) = delete;
    SystemFontDialog& operator=(const SystemFontDialog&) = delete;

    // The description chosen: face, weight, slant, effects, character set, and the height of
    // the size chosen (-16 for 12 points).
    LogFont logFont() const;
    // The size chosen, in tenths of a point.
    int pointTenths() const { return m_pointTenths; }
    // How the characters' cells are sized: the face's pitch when "Keep fixed pitch" is
    // checked, else widened to the ink.
    PitchRule pitchRule() const;
    // The family and style of the face chosen (empty when none).
    QString familyName() const;
    QString styleName() const;
    // How many characters of the chosen face and size lose ink in cells of the face's pitch;
    // -1 while they are being counted or for a proportional face.
    int charactersLosingInk() const { return m_losingInk; }

    QLineEdit* familyEdit() const { return m_familyEdit; }
    QListWidget* familyList() const { return m_families; }
    QListWidget* styleList() const { return m_styles; }
    QLineEdit* sizeEdit() const { return m_sizeEdit; }
    QListWidget* sizeList() const { return m_sizes; }
    QCheckBox* strikeOutBox() const { return m_strikeOut; }
    QCheckBox* underlineBox() const { return m_underline; }
    QComboBox* scriptBox() const { return m_scripts; }
    QLabel* sample() const { return m_sample; }
    QCheckBox* keepPitchBox() const { return m_keepPitch; }
    QLabel* inkLossLabel() const { return m_inkLoss; }

    // Selects a family and one of its styles by name (ignoring case); false when not listed.
    bool selectFace(const QString& family, const QString& style = QString());
    // Whether the Font list holds the family (ignoring case).
    bool listsFamily(const QString& family) const;
    // Opens at a family, style and size (tenths of a point); a family or style not installed
    // leaves the face as it was.
    void startAt(const QString& family, const QString& style, int pointTenths);

    void accept() override;
    void done(int result) override;

  signals:
    // The characters losing ink were counted for the face and size on show.
    void inkLossCounted(int characters);

  private:
    void fillStyles();
    void fillScripts();
    void updateSample();
    // Starts counting the characters of the renderer's face that lose ink in cells of its
    // pitch, stopping a count still running.
    void startInkCount(std::shared_ptr<GlyphRenderer> renderer);
    void stopInkCount();
    void showInkLoss();
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
    QCheckBox* m_keepPitch;
    QLabel* m_inkLoss;
    // The face the pitch box was last set for, so that a new size keeps the user's choice.
    std::string m_pitchFaceFile;
    int m_pitchFaceIndex = -1;
    bool m_fixedPitchFace = false;
    LogFont m_countedFont;
    bool m_counted = false;
    int m_losingInk = -1;
    int m_countGeneration = 0;
    std::shared_ptr<CancelFlag> m_countCancel;
    std::thread m_counter;
};

// Sample text drawn with a font description as the renderer draws characters: black ink on
// white, one pixel per pixel.
QImage renderFontSample(const LogFont& font, const QString& text);
QImage renderFontSample(const GlyphRenderer& renderer, const QString& text);

}  // namespace typeloom::ui
