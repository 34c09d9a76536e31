#pragma once

#include <QDialog>
#include <functional>

#include "model/transform_dialogs.h"
#include "model/transform_preview.h"
#include "model/ui/dialog_services.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace typeloom::ui {

class SpinEdit;
class TransformPreviewView;

inline constexpr const char* kChangeHeightHelpTopic = "changeheight.htm";
inline constexpr const char* kChangeWidthHelpTopic = "changewidth.htm";
inline constexpr const char* kChangeAscentHelpTopic = "changeascent.htm";
inline constexpr const char* kResizeFontHelpTopic = "resizefont.htm";

// The characters every preview shows after the current one (those the font holds).
inline constexpr char16_t kPreviewSample[] = u"Ag8";

// What differs between the Change Font Height and the Change Font Width dialog.
struct ChangeSizeTexts {
    const char* title;
    const char* current;  // the caption of the current size
    const char* reduce;
    const char* increase;
    const char* clipBefore;
    const char* clipAfter;
    const char* addBefore;
    const char* addAfter;
    const char* clippedTooMuch;
    const char* increasedTooMuch;
    const char* helpTopic;
};

// The layout the two dialogs share: the current size ("16 pixels"), the Reduce / Increase
// choice (Reduce at start) with its two edits each (the other choice's edits disabled), the
// preview, OK, Cancel and Help. The clip spins range up to the current size, the add spins up
// to 256 less it; every edit takes 0..256 and starts at 0. OK runs the dialog's checks: a
// refusal shows its message, sets the value back and selects the edit; "not changed" closes
// the dialog after its message box; an accepted OK closes it with outcome() to apply.
class ChangeSizeDialog : public QDialog {
    Q_OBJECT

  public:
    ChangeSizeFields fields() const;
    void setFields(const ChangeSizeFields& fields);
    SpinEdit* edit(ChangeSizeField field) const;
    QRadioButton* reduceButton() const { return m_reduce; }
    QRadioButton* increaseButton() const { return m_increase; }
    QLabel* sizeLabel() const { return m_sizeLabel; }
    TransformPreviewView* preview() const { return m_preview; }
    // What OK decided; Accepted means the font is to be changed.
    const ChangeSizeOutcome& outcome() const { return m_outcome; }
    // Runs the accepted change on a font (the dialog's font or a copy of some of its glyphs).
    virtual bool apply(Font& font, const ChangeSizeOutcome& outcome) const = 0;

    void accept() override;

  Q_SIGNALS:
    void helpRequested(const QString& topic);

  protected:
    ChangeSizeDialog(const ChangeSizeTexts& texts, std::uint16_t size, PreviewSet preview,
                     QWidget* parent, DialogServices services);
    virtual ChangeSizeOutcome check(const ChangeSizeFields& fields,
                                    const ChangeSizeValues& previous) const = 0;
    // The preview's line for an accepted change, from the changed copy.
    virtual QString describe(const Font& after) const = 0;
    // The edits are made by the base; the derived dialog calls this once it is complete.
    void updatePreview();

  private:
    void updateEnabled();

    ChangeSizeTexts m_texts;
    DialogServices m_services;
    QLabel* m_sizeLabel;
    QRadioButton* m_reduce;
    QRadioButton* m_increase;
    SpinEdit* m_edits[4];  // clip before, clip after, add before, add after
    TransformPreviewView* m_preview;
    ChangeSizeValues m_values;
    ChangeSizeOutcome m_outcome;
    bool m_complete = false;  // the derived dialog is constructed: the preview may run
};

// "Change Font Height": rows at the top and bottom of every character.
class ChangeHeightDialog : public ChangeSizeDialog {
    Q_OBJECT

  public:
    ChangeHeightDialog(const Font& font, int currentIndex, QWidget* parent = nullptr,
                       DialogServices services = DialogServices::standard());
    bool apply(Font& font, const ChangeSizeOutcome& outcome) const override;

  protected:
    ChangeSizeOutcome check(const ChangeSizeFields& fields,
                            const ChangeSizeValues& previous) const override;
    QString describe(const Font& after) const override;

  private:
    std::uint16_t m_height;
    std::int16_t m_ascent;
};

// "Change Font Width" of a fixed-width font: columns on the left and right of every character.
class ChangeWidthDialog : public ChangeSizeDialog {
    Q_OBJECT

  public:
    ChangeWidthDialog(const Font& font, int currentIndex, QWidget* parent = nullptr,
                      DialogServices services = DialogServices::standard());
    bool apply(Font& font, const ChangeSizeOutcome& outcome) const override;

  protected:
    ChangeSizeOutcome check(const ChangeSizeFields& fields,
                            const ChangeSizeValues& previous) const override;
    QString describe(const Font& after) const override;

  private:
    std::uint16_t m_width;
};

// "Change Font Ascent": the rows above the baseline, 0 up to the height less one. OK refuses a
// value equal to or above the height (the edit goes back to the ascent, selected).
class ChangeAscentDialog : public QDialog {
    Q_OBJECT

  public:
    ChangeAscentDialog(const Font& font, int currentIndex, QWidget* parent = nullptr,
                       DialogServices services = DialogServices::standard());
    SpinEdit* ascentEdit() const { return m_edit; }
    TransformPreviewView* preview() const { return m_preview; }
    const ChangeAscentOutcome& outcome() const { return m_outcome; }
    void accept() override;

  Q_SIGNALS:
    void helpRequested(const QString& topic);

  private:
    void updatePreview();

    DialogServices m_services;
    std::uint16_t m_height;
    std::int16_t m_ascent;
    SpinEdit* m_edit;
    TransformPreviewView* m_preview;
    ChangeAscentOutcome m_outcome;
};

// "Resize Font": by Percentage (at start) or by Pixels (a fixed-width font only), the
// Horizontal and Vertical edits (0..500, 100 and 100 at start) and "Maintain aspect ration",
// which couples the two edits as the user types.
class ResizeFontDialog : public QDialog {
    Q_OBJECT

  public:
    ResizeFontDialog(const Font& font, int currentIndex, QWidget* parent = nullptr,
                     DialogServices services = DialogServices::standard());
    QRadioButton* percentageButton() const { return m_percentage; }
    QRadioButton* pixelsButton() const { return m_pixels; }
    QLineEdit* horizontalEdit() const { return m_horizontal; }
    QLineEdit* verticalEdit() const { return m_vertical; }
    QCheckBox* aspectBox() const { return m_aspect; }
    TransformPreviewView* preview() const { return m_preview; }
    const ResizeOutcome& outcome() const { return m_outcome; }
    void accept() override;

  Q_SIGNALS:
    void helpRequested(const QString& topic);

  private:
    // Shows the model's texts in the edits (without counting as the user's typing).
    void showModel();
    void updatePreview();

    DialogServices m_services;
    typeloom::ResizeFontDialog m_model;
    QRadioButton* m_percentage;
    QRadioButton* m_pixels;
    QLineEdit* m_horizontal;
    QLineEdit* m_vertical;
    QCheckBox* m_aspect;
    TransformPreviewView* m_preview;
    ResizeOutcome m_outcome;
};

// --- The commands. Each runs its dialog on the font and, after OK, calls `commit` (the frame
// writes the character being edited into the font) and changes the font under the wait
// cursor. True when the font changed; the frame then shows the current character again and
// redraws its views (after Resize it moves to the initial character).
bool runChangeHeight(QWidget* parent, Font& font, int currentIndex,
                     const std::function<void()>& commit,
                     const DialogServices& services = DialogServices::standard());
bool runChangeWidth(QWidget* parent, Font& font, int currentIndex,
                    const std::function<void()>& commit,
                    const DialogServices& services = DialogServices::standard());
bool runChangeAscent(QWidget* parent, Font& font, int currentIndex,
                     const std::function<void()>& commit,
                     const DialogServices& services = DialogServices::standard());
// A resize that the font operation refuses (new height 0, too large) shows its message with
// the error icon and changes nothing.
bool runResizeFont(QWidget* parent, Font& font, int currentIndex,
                   const std::function<void()>& commit,
                   const DialogServices& services = DialogServices::standard());

}  // namespace typeloom::ui
