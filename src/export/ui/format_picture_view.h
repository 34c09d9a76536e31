#pragma once

#include <QRect>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "export/format_picture.h"

namespace typeloom::ui {

// Where the parts of an example picture lie in a widget of a given size; the cell size grows
// with the widget.
struct FormatPictureLayout {
    QRect caption;          // the caption's box (two lines)
    QRect grid;             // the sample's cells
    int cell = 0;           // side of one cell
    QRect legend;           // the units in output order with their values
    int legendColumns = 1;  // entries per legend line
    int legendLineHeight = 0;
    int legendEntries = 0;  // how many units the legend has room for
    QRect note;             // the note about the unit length, when there is one
};

// The example picture of the "Bitmap Data Format" dialog, drawn by code from the working word:
// the sample letter on a grid, each unit's pixels in a colour of its own and framed, the bit
// number in every cell, the unit's number (in output order) in the cell of its first pixel,
// ink as a darker shade of the unit's colour, then the first units' values in hexadecimal.
// Every part is drawn on whole pixels, so the picture is crisp at any device pixel ratio.
class FormatPictureView : public QWidget {
    Q_OBJECT

  public:
    explicit FormatPictureView(QWidget* parent = nullptr);

    void setWord(std::uint32_t word);
    std::uint32_t word() const { return m_word; }
    const exporters::FormatPicture& picture() const { return m_picture; }
    FormatPictureLayout pictureLayout() const;

    // The colour of a unit's band.
    static QColor unitColor(int unit);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::uint32_t m_word = 0;
    exporters::FormatPicture m_picture;
};

}  // namespace typeloom::ui
