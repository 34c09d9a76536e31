#include "export/ui/format_picture_view.h"

#include <QPainter>
#include <algorithm>
#include <array>

namespace typeloom::ui {

namespace {

constexpr int kMargin = 6;
constexpr int kCaptionHeight = 30;
constexpr int kNoteHeight = 16;
constexpr int kLegendLine = 16;

// Light, clearly different hues; neighbouring units never share one.
constexpr std::array<QRgb, 8> kUnitColors = {
    qRgb(255, 205, 150), qRgb(170, 215, 255), qRgb(190, 240, 170), qRgb(255, 180, 200),
    qRgb(225, 200, 255), qRgb(255, 240, 150), qRgb(160, 235, 225), qRgb(220, 220, 220)};

QFont pixelFont(const QFont& base, int pixels, bool bold = false) {
    QFont font(base);
    font.setPixelSize(std::max(6, pixels));
    font.setBold(bold);
    return font;
}

}  // namespace

FormatPictureView::FormatPictureView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("formatPicture"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setWord(m_word);
}

void FormatPictureView::setWord(std::uint32_t word) {
    m_word = word;
    m_picture = exporters::formatPicture(word);
    update();
}

QColor FormatPictureView::unitColor(int unit) {
    return QColor(kUnitColors[static_cast<std::size_t>(unit) % kUnitColors.size()]);
}

QSize FormatPictureView::minimumSizeHint() const {
    return {270, 310};
}

QSize FormatPictureView::sizeHint() const {
    return {320, 380};
}

FormatPictureLayout FormatPictureView::pictureLayout() const {
    FormatPictureLayout layout;
    const QRect all = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    layout.caption = QRect(all.left(), all.top(), all.width(), kCaptionHeight);
    const int noteHeight = m_picture.note.empty() ? 0 : kNoteHeight;
    // The legend: a heading and up to four lines of entries; the grid takes what is left.
    const int lineHeight = kLegendLine;
    const int lines = static_cast<int>(m_picture.units.size()) <= 8 ? 3 : 5;
    const int legendHeight = lineHeight * lines;
    const int gridTop = layout.caption.bottom() + 1 + 4;
    const int gridRoom = all.bottom() + 1 - gridTop - legendHeight - noteHeight - 6;
    const int w = std::max(1, m_picture.width);
    const int h = std::max(1, m_picture.height);
    layout.cell = std::clamp(std::min(all.width() / w, gridRoom / h), 8, 64);
    const int gridWidth = layout.cell * w;
    layout.grid =
        QRect(all.left() + (all.width() - gridWidth) / 2, gridTop, gridWidth, layout.cell * h);
    layout.legend = QRect(all.left(), layout.grid.bottom() + 1 + 6, all.width(), legendHeight);
    layout.legendLineHeight = lineHeight;
    // An entry is a swatch, the unit's number and its value, in the legend's font.
    const int digits = m_picture.unitBits / 4;
    const int entryWidth =
        lineHeight + 8 + QFontMetrics(pixelFont(font(), 12)).averageCharWidth() * (digits + 6);
    layout.legendColumns = std::max(1, all.width() / entryWidth);
    layout.legendEntries = layout.legendColumns * (lines - 1);  // the first line is the heading
    if (noteHeight != 0) {
        layout.note = QRect(all.left(), layout.legend.bottom() + 1, all.width(), noteHeight);
    }
    return layout;
}

void FormatPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const exporters::FormatPicture& pic = m_picture;
    const FormatPictureLayout layout = pictureLayout();
    const QFont base = font();

    painter.setPen(Qt::black);
    painter.setFont(pixelFont(base, 12, true));
    painter.drawText(layout.caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromStdString(pic.caption));

    const int s = layout.cell;
    const QPoint origin = layout.grid.topLeft();
    auto cellRect = [&](int x, int y) {
        return QRect(origin.x() + x * s, origin.y() + y * s, s, s);
    };
    auto unitAt = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= pic.width || y >= pic.height) {
            return -2;
        }
        return pic.places[static_cast<std::size_t>(y) * pic.width + x].unit;
    };
    const QFont bitFont = pixelFont(base, s * 4 / 10);
    const QFont smallFont = pixelFont(base, s * 3 / 10);
    const QFont tagFont = pixelFont(base, s * 3 / 10, true);
    const int firstBit = pic.bigEndian ? pic.unitBits - 1 : 0;
    for (int y = 0; y < pic.height; ++y) {
        for (int x = 0; x < pic.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * pic.width + x;
            const exporters::BitPlace place = pic.places[i];
            const QRect r = cellRect(x, y);
            const bool ink = pic.ink[i] != 0;
            const QColor band = unitColor(place.unit);
            painter.fillRect(r, ink ? band.darker(240) : band);
            painter.setPen(ink ? Qt::white : Qt::black);
            const QString bit = QString::number(place.bit);
            if (place.bit == firstBit) {
                // The unit's first pixel: its number at the top left, the bit at the bottom right.
                painter.setFont(tagFont);
                painter.drawText(r.adjusted(2, 1, -1, -1), Qt::AlignLeft | Qt::AlignTop,
                                 QStringLiteral("#%1").arg(place.unit));
                painter.setFont(smallFont);
                painter.drawText(r.adjusted(1, 1, -2, -1), Qt::AlignRight | Qt::AlignBottom, bit);
            } else {
                painter.setFont(bitFont);
                painter.drawText(r, Qt::AlignCenter, bit);
            }
        }
    }
    // Thin lines between the cells of a unit, thick ones where units meet and around the grid.
    const QColor thin(0, 0, 0, 50);
    for (int y = 0; y < pic.height; ++y) {
        for (int x = 0; x < pic.width; ++x) {
            const QRect r = cellRect(x, y);
            const int unit = unitAt(x, y);
            const bool rightEdge = unitAt(x + 1, y) != unit;
            const bool bottomEdge = unitAt(x, y + 1) != unit;
            painter.fillRect(QRect(r.right(), r.top(), 1, s), rightEdge ? QColor(Qt::black) : thin);
            painter.fillRect(QRect(r.left(), r.bottom(), s, 1),
                             bottomEdge ? QColor(Qt::black) : thin);
            if (rightEdge && x + 1 < pic.width) {
                painter.fillRect(QRect(r.right() + 1, r.top(), 1, s), Qt::black);
            }
            if (bottomEdge && y + 1 < pic.height) {
                painter.fillRect(QRect(r.left(), r.bottom() + 1, s, 1), Qt::black);
            }
        }
    }
    painter.fillRect(
        QRect(layout.grid.left() - 1, layout.grid.top() - 1, 1, layout.grid.height() + 1),
        Qt::black);
    painter.fillRect(
        QRect(layout.grid.left() - 1, layout.grid.top() - 1, layout.grid.width() + 1, 1),
        Qt::black);

    // The units in output order with their values.
    const int line = layout.legendLineHeight;
    painter.setPen(Qt::black);
    painter.setFont(pixelFont(base, 12, true));
    const int total = static_cast<int>(pic.units.size());
    const int shown = std::min(total, layout.legendEntries);
    QString heading = QStringLiteral("%1 units in output order").arg(total);
    if (shown < total) {
        heading += QStringLiteral(", the first %1:").arg(shown);
    } else {
        heading += QLatin1Char(':');
    }
    painter.drawText(QRect(layout.legend.left(), layout.legend.top(), layout.legend.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, heading);
    painter.setFont(pixelFont(base, 12));
    const int entryWidth = layout.legend.width() / layout.legendColumns;
    for (int u = 0; u < shown; ++u) {
        const int column = u % layout.legendColumns;
        const int row = 1 + u / layout.legendColumns;
        const QRect entry(layout.legend.left() + column * entryWidth,
                          layout.legend.top() + row * line, entryWidth, line);
        const QRect swatch(entry.left(), entry.top() + 2, line - 4, line - 4);
        painter.fillRect(swatch, unitColor(u));
        painter.fillRect(QRect(swatch.left(), swatch.bottom(), swatch.width(), 1), Qt::black);
        painter.drawText(
            entry.adjusted(line, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("#%1 %2").arg(u).arg(QString::fromStdString(
                exporters::pictureUnitText(pic.units[static_cast<std::size_t>(u)], pic.unitBits))));
    }
    if (!pic.note.empty()) {
        painter.setPen(QColor(150, 0, 0));
        painter.setFont(pixelFont(base, 11));
        painter.drawText(layout.note, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                         QString::fromStdString(pic.note));
    }
}

}  // namespace typeloom::ui
