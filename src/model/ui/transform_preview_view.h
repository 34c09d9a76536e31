#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "model/transform_preview.h"

namespace typeloom::ui {

// The "see before you commit" strip of the font-wide dialogs: a few characters of the font as
// they are ("Before") and as the dialog's values would leave them ("After"), each drawn pixel
// for pixel in its cell with the baseline marked. The after-glyphs come from the dialog, which
// runs the same font operation as OK on a copy of the before-glyphs.
class TransformPreviewView : public QWidget {
    Q_OBJECT

  public:
    explicit TransformPreviewView(PreviewSet before, QWidget* parent = nullptr);

    const PreviewSet& before() const { return m_before; }
    // The font the after row shows; empty while the values cannot be applied.
    const std::optional<Font>& after() const { return m_after; }
    // The line under the strip: what OK would do, or why it would not.
    const QString& note() const { return m_note; }

    // Shows the result of the values on the copies, with a line that says what it is.
    void showAfter(Font after, const QString& note);
    // Shows no after-glyphs, only the note (the values would be refused or change nothing).
    void showNoChange(const QString& note);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Screen pixels per font pixel, so that the larger of the two rows fits the strip.
    int scale() const;

    PreviewSet m_before;
    std::optional<Font> m_after;
    QString m_note;
};

}  // namespace typeloom::ui
