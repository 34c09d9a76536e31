#include "model/ui/character_list_grid.h"

#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "common/ui/svg_art.h"
#include "model/font.h"
#include "model/ui/glyph_drawing.h"

namespace typeloom::ui {

namespace {

// One mouse-wheel notch in QWheelEvent's eighths of a degree, and the rows it scrolls (as
// lists on the desktop scroll).
constexpr int kWheelNotch = 120;
constexpr int kRowsPerNotch = 3;

// The label of a cell: the character's code as four upper-case hexadecimal digits.
QString codeLabel(int code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const QChar text[4] = {QChar(kDigits[(code >> 12) & 0xF]), QChar(kDigits[(code >> 8) & 0xF]),
                           QChar(kDigits[(code >> 4) & 0xF]), QChar(kDigits[code & 0xF])};
    return QString(text, 4);
}

bool isNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

constexpr Qt::KeyboardModifiers kCommandModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Ctrl+Home and Ctrl+End: the first and the last character.
bool isFirstOrLastKey(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) &&
           (key->modifiers() & kCommandModifiers) == Qt::ControlModifier;
}

}  // namespace

// --- Layout arithmetic

int characterCellWidth(int maxGlyphWidth) {
    return std::clamp(maxGlyphWidth + 8, kListMinCellWidth, kListMaxCellWidth);
}

CharacterListLayout layoutCharacterList(int maxGlyphWidth, int labelHeight, int clientWidth) {
    CharacterListLayout layout;
    layout.cellWidth = characterCellWidth(maxGlyphWidth);
    layout.labelHeight = std::max(labelHeight, 0);
    layout.columns = std::max(clientWidth / layout.cellWidth, 1);
    // A client narrower than one cell leaves nothing to share out: the cell keeps its width
    // and is cut off at the edge rather than shrunk below the glyphs it was sized for.
    const int leftover = std::max(clientWidth - layout.columns * layout.cellWidth, 0);
    layout.growth = leftover / layout.columns;
    layout.extraPixels = leftover % layout.columns;
    return layout;
}

int CharacterListLayout::columnWidth(int column) const {
    return squareSide() + (column < extraPixels ? 1 : 0);
}

int CharacterListLayout::columnLeft(int column) const {
    return column * squareSide() + std::min(column, extraPixels);
}

int CharacterListLayout::columnAt(int x) const {
    if (x < 0) {
        return -1;
    }
    // The first extraPixels columns are one pixel wider than the rest.
    const int wide = squareSide() + 1;
    const int column =
        x < extraPixels * wide ? x / wide : extraPixels + (x - extraPixels * wide) / squareSide();
    return column < columns ? column : -1;
}

int CharacterListLayout::rowCount(int characters) const {
    return characters <= 0 ? 0 : (characters + columns - 1) / columns;
}

// --- The grid

CharacterListGrid::CharacterListGrid(Font& font, QWidget* parent)
    : QAbstractScrollArea(parent), m_font(font) {
    // A scroll bar that came and went with the row count would change the client width and so
    // the column count, and with it the row count again: it stays, disabled when all rows fit.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(1);
    // The wheel over the scroll bar scrolls one row per notch too, as over the cells.
    verticalScrollBar()->installEventFilter(this);
    viewport()->setMouseTracking(true);
    // Every pixel of the viewport is painted by paintEvent.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    updateLabelFont();
    relayout();
}

void CharacterListGrid::updateLabelFont() {
    // Arial, 8 points at the screen's resolution, rounded like the system's MulDiv.
    QFont font(QStringLiteral("Arial"));
    const int dpi = std::max(logicalDpiY(), 1);
    font.setPixelSize(std::max((8 * dpi + 36) / 72, 1));
    m_labelFont = font;
    const QFontMetrics metrics(m_labelFont);
    m_layout.labelHeight = metrics.height() + std::max(metrics.leading(), 0);
}

void CharacterListGrid::relayout() {
    updateLabelFont();
    m_layout = layoutCharacterList(m_font.maxWidth, m_layout.labelHeight, viewport()->width());
    // A font with fewer characters than before can no longer hold the old current one.
    if (m_current > m_font.lastIndex()) {
        m_current = -1;
    }
    updateScrollRange();
    viewport()->update();
    updateCursorAtPointer();
}

void CharacterListGrid::updateScrollRange() {
    const int rows = m_layout.rowCount(m_font.count());
    const int shown = visibleRows();
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(shown);
    bar->setRange(0, std::max(rows - shown, 0));
}

int CharacterListGrid::topRow() const {
    return verticalScrollBar()->value();
}

int CharacterListGrid::visibleRows() const {
    return std::max(viewport()->height() / m_layout.cellHeight(), 1);
}

void CharacterListGrid::setCurrentIndex(int index) {
    if (index < -1 || index > m_font.lastIndex()) {
        return;
    }
    const int old = m_current;
    m_current = index;
    redrawCell(old);
    redrawCell(index);
    if (index >= 0) {
        ensureRowVisible(m_layout.rowOf(index));
    }
}

void CharacterListGrid::ensureRowVisible(int row) {
    const int top = topRow();
    const int shown = visibleRows();
    // The least scroll that shows the row: one row when it sits just outside the view.
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + shown) {
        verticalScrollBar()->setValue(row - shown + 1);
    }
}

void CharacterListGrid::redrawCell(int index) {
    const QRect cell = cellRect(index);
    if (!cell.isEmpty()) {
        viewport()->update(cell);
    }
}

QRect CharacterListGrid::cellRect(int index) const {
    if (index < 0 || index >= m_font.count()) {
        return {};
    }
    const int row = m_layout.rowOf(index) - topRow();
    const int y = row * m_layout.cellHeight();
    if (row < 0 || y >= viewport()->height()) {
        return {};
    }
    const int column = m_layout.columnOf(index);
    return {m_layout.columnLeft(column), y, m_layout.columnWidth(column), m_layout.cellHeight()};
}

int CharacterListGrid::indexAt(QPoint point) const {
    if (!viewport()->rect().contains(point)) {
        return -1;
    }
    const int column = m_layout.columnAt(point.x());
    if (column < 0) {
        return -1;
    }
    const long long index =
        static_cast<long long>(topRow() + point.y() / m_layout.cellHeight()) * m_layout.columns +
        column;
    return index < m_font.count() ? static_cast<int>(index) : -1;
}

// --- Painting

void CharacterListGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(m_labelFont);
    const QRect dirty = event->rect();
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int count = m_font.count();
    const int rows = m_layout.rowCount(count);
    const int cellHeight = m_layout.cellHeight();
    // Only the rows in view, and of those only the ones the update touches.
    int y = 0;
    for (int row = topRow(); row < rows && y < height; ++row, y += cellHeight) {
        if (y + cellHeight <= dirty.top()) {
            continue;
        }
        if (y > dirty.bottom()) {
            break;
        }
        for (int column = 0; column < m_layout.columns; ++column) {
            const QRect cell(m_layout.columnLeft(column), y, m_layout.columnWidth(column),
                             cellHeight);
            if (!cell.intersects(dirty)) {
                continue;
            }
            const int index = row * m_layout.columns + column;
            if (index < count) {
                paintCell(painter, index, cell);
            } else {
                painter.fillRect(cell, kListEmptyColour);
            }
        }
    }
    if (y < height) {
        painter.fillRect(0, y, width, height - y, kListEmptyColour);
    }
}

void CharacterListGrid::paintCell(QPainter& painter, int index, const QRect& cell) const {
    const bool current = index == m_current;
    const QColor& mark = current ? kListCurrentColour : kListGlyphBackground;
    // Grid lines on the right and bottom edge of every cell.
    painter.fillRect(cell.right(), cell.top(), 1, cell.height(), kListGridLineColour);
    painter.fillRect(cell.left(), cell.bottom(), cell.width() - 1, 1, kListGridLineColour);
    const int innerWidth = cell.width() - 1;
    const int labelHeight = m_layout.labelHeight;

    const QRect strip(cell.left(), cell.top(), innerWidth, labelHeight);
    painter.fillRect(strip, current ? kListCurrentColour : kListLabelColour);
    painter.setPen(Qt::black);
    painter.drawText(strip, Qt::AlignCenter, codeLabel(m_font.codeAt(index)));

    // The glyph area: white inside a 1-pixel frame, red for the current character.
    const QRect area(cell.left(), strip.bottom() + 1, innerWidth, cell.height() - 1 - labelHeight);
    painter.fillRect(area, kListGlyphBackground);
    painter.fillRect(area.left(), area.top(), area.width(), 1, mark);
    painter.fillRect(area.left(), area.bottom(), area.width(), 1, mark);
    painter.fillRect(area.left(), area.top(), 1, area.height(), mark);
    painter.fillRect(area.right(), area.top(), 1, area.height(), mark);

    const int unicode = m_font.unicodeAt(index);
    const Glyph* glyph =
        unicode < 0 ? nullptr : m_font.glyphs.find(static_cast<std::uint16_t>(unicode));
    const int rows = m_font.height;
    if (glyph == nullptr || glyph->width == 0 || rows == 0) {
        return;
    }
    const int sizeLimit = m_layout.cellWidth;
    if (glyph->width <= sizeLimit && rows <= sizeLimit) {
        // At its own size, centred in the square; a glyph as large as the cell loses the
        // pixels under the grid lines rather than being shrunk.
        const QImage image = glyphImage(*glyph, rows, kListGlyphBackground);
        const QPoint at(area.left() + (area.width() - glyph->width) / 2,
                        area.top() + (area.height() - rows) / 2);
        const bool overflows = !area.contains(QRect(at, image.size()));
        if (overflows) {
            painter.save();
            painter.setClipRect(area);
        }
        painter.drawImage(at, image);
        if (overflows) {
            painter.restore();
        }
        return;
    }
    // Too large: scaled into a square of the cell's side less 6, 2 pixels in from the square's
    // top-left corner.
    const int box = m_layout.squareSide() - 6;
    drawTo(painter, *glyph, rows, area.left() + 2, area.top() + 2, box, box, kListGlyphBackground);
}

// --- Input

bool CharacterListGrid::event(QEvent* event) {
    // The list's own keys reach it before any shortcut of the window can take them.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((isNavigationKey(key->key()) && (key->modifiers() & kCommandModifiers) == 0) ||
            isFirstOrLastKey(key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool CharacterListGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CharacterListGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
    // A new width moves the characters to other rows: the one being edited stays in view.
    if (m_current >= 0) {
        ensureRowVisible(m_layout.rowOf(m_current));
    }
}

void CharacterListGrid::scrollContentsBy(int, int) {
    // The scroll bar counts rows, not pixels: the view is painted afresh.
    viewport()->update();
    updateCursorAtPointer();
}

void CharacterListGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const int index = indexAt(event->position().toPoint());
    // Empty cells and the area below the last row do nothing; the current cell is already
    // the one being edited.
    if (index >= 0 && index != m_current) {
        Q_EMIT characterPicked(index);
    }
    event->accept();
}

void CharacterListGrid::mouseMoveEvent(QMouseEvent* event) {
    updateCursor(event->position().toPoint());
    event->accept();
}

void CharacterListGrid::updateCursor(QPoint point) {
    const bool hand = indexAt(point) >= 0;
    if (hand == m_handShown) {
        return;
    }
    m_handShown = hand;
    if (hand) {
        viewport()->setCursor(handCursor());
    } else {
        viewport()->unsetCursor();
    }
}

void CharacterListGrid::updateCursorAtPointer() {
    if (viewport()->underMouse()) {
        updateCursor(viewport()->mapFromGlobal(QCursor::pos()));
    }
}

void CharacterListGrid::pickByStep(int step) {
    if (m_current < 0) {
        return;
    }
    const int target = m_current + step;
    // A move before the first or past the last character does nothing.
    if (target < 0 || target > m_font.lastIndex()) {
        return;
    }
    Q_EMIT characterPicked(target);
}

void CharacterListGrid::keyPressEvent(QKeyEvent* event) {
    if (isFirstOrLastKey(event)) {
        const int target = event->key() == Qt::Key_Home ? 0 : m_font.lastIndex();
        if (target >= 0 && target != m_current) {
            Q_EMIT characterPicked(target);
        }
        event->accept();
        return;
    }
    if ((event->modifiers() & kCommandModifiers) != 0 || !isNavigationKey(event->key())) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    switch (event->key()) {
        case Qt::Key_Left:
            pickByStep(-1);
            break;
        case Qt::Key_Right:
            pickByStep(1);
            break;
        case Qt::Key_Up:
            pickByStep(-m_layout.columns);
            break;
        case Qt::Key_Down:
            pickByStep(m_layout.columns);
            break;
        case Qt::Key_PageUp:
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case Qt::Key_PageDown:
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case Qt::Key_Home:
            bar->triggerAction(QAbstractSlider::SliderToMinimum);
            break;
        case Qt::Key_End:
            bar->triggerAction(QAbstractSlider::SliderToMaximum);
            break;
        default:
            break;
    }
    event->accept();
}

void CharacterListGrid::wheelEvent(QWheelEvent* event) {
    // Three rows per notch, away from the user scrolling up; part notches of fine-grained
    // wheels add up until they make a whole one.
    const int delta = event->angleDelta().y();
    if ((delta > 0) != (m_wheelRemainder > 0)) {
        m_wheelRemainder = 0;
    }
    m_wheelRemainder += delta;
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches != 0) {
        verticalScrollBar()->setValue(topRow() - notches * kRowsPerNotch);
    }
    event->accept();
}

}  // namespace typeloom::ui
