#include "model/ui/transform_preview_view.h"

#include <QPainter>
#include <algorithm>

namespace typeloom::ui {

namespace {

constexpr int kRowHeight = 96;     // screen pixels a row of characters may take
constexpr int kCaptionWidth = 48;  // "Before" / "After"
constexpr int kGap = 6;
constexpr int kNoteHeight = 20;

// The width of a character of the font (0 when the font has no glyph for it).
int glyphWidth(const Font& font, std::uint16_t u) {
    const Glyph* g = font.glyphs.find(u);
    return g == nullptr ? 0 : g->width;
}

// Draws the characters of a font side by side from (x, y), `scale` screen pixels per font
// pixel: the cell in white with a grey frame, ink in black, the baseline (below the ascent's
// rows) as a red line.
void drawRow(QPainter& painter, const Font& font, const std::vector<std::uint16_t>& unicodes, int x,
             int y, int scale, int right) {
    const int rows = font.height;
    for (std::uint16_t u : unicodes) {
        const Glyph* g = font.glyphs.find(u);
        if (g == nullptr || x >= right) {
            continue;
        }
        const int w = g->width;
        const QRect cell(x, y, w * scale, rows * scale);
        painter.fillRect(cell, Qt::white);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < w; ++c) {
                const std::size_t at = static_cast<std::size_t>(r) * w + c;
                if (at < g->pixels.size() && g->pixels[at] != 0) {
                    painter.fillRect(x + c * scale, y + r * scale, scale, scale, Qt::black);
                }
            }
        }
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (font.ascent > 0 && font.ascent <= rows) {
            painter.setPen(QColor(220, 0, 0));
            const int baseline = y + font.ascent * scale;
            painter.drawLine(x, baseline, x + w * scale - 1, baseline);
        }
        x += w * scale + kGap;
    }
}

}  // namespace

TransformPreviewView::TransformPreviewView(PreviewSet before, QWidget* parent)
    : QWidget(parent), m_before(std::move(before)) {
    setObjectName(QStringLiteral("transformPreview"));
    setMinimumHeight(2 * kRowHeight + 3 * kGap + kNoteHeight);
}

void TransformPreviewView::showAfter(Font after, const QString& note) {
    m_after = std::move(after);
    m_note = note;
    update();
}

void TransformPreviewView::showNoChange(const QString& note) {
    m_after.reset();
    m_note = note;
    update();
}

QSize TransformPreviewView::sizeHint() const {
    return {360, minimumHeight()};
}

int TransformPreviewView::scale() const {
    int tallest = m_before.font.height;
    int widest = 0;
    auto measure = [&](const Font& font) {
        tallest = std::max<int>(tallest, font.height);
        int row = 0;
        for (std::uint16_t u : m_before.unicodes) {
            row += glyphWidth(font, u) + 1;
        }
        widest = std::max(widest, row);
    };
    measure(m_before.font);
    if (m_after) {
        measure(*m_after);
    }
    const int across = std::max(1, width() - kCaptionWidth - kGap * 6);
    int s = 8;
    while (s > 1 && (tallest * s > kRowHeight || widest * s > across)) {
        --s;
    }
    return s;
}

void TransformPreviewView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int s = scale();
    const int x = kCaptionWidth + kGap;
    const int right = width();
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(0, kGap, kCaptionWidth, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Before"));
    drawRow(painter, m_before.font, m_before.unicodes, x, kGap, s, right);
    const int afterY = kRowHeight + 2 * kGap;
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(0, afterY, kCaptionWidth, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("After"));
    if (m_after) {
        drawRow(painter, *m_after, m_before.unicodes, x, afterY, s, right);
    }
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(0, afterY + kRowHeight + kGap, width(), kNoteHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, m_note);
}

}  // namespace typeloom::ui
