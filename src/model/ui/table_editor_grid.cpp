#include "model/ui/table_editor_grid.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "charset/encodings.h"
#include "charset/unicode_blocks.h"
#include "model/font.h"
#include "model/ui/glyph_drawing.h"

namespace typeloom::ui {

namespace {

constexpr int kToggle = 0;
constexpr int kDisableRow = 1;
constexpr int kEnableRow = 2;
// The text whose width the label column of Unicode rows leaves room for.
constexpr const char* kWidestLabel = "[East Asian] CJK Unified Ideographs Extension-A W";

}  // namespace

TableEditorGrid::TableEditorGrid(Font& font, QWidget* parent)
    : QAbstractScrollArea(parent), m_font(font) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    const QFontMetrics metrics(this->font());
    m_headerWidth = metrics.horizontalAdvance(QStringLiteral("0000")) * 3 / 2;
    m_labelWidth = metrics.horizontalAdvance(QString::fromLatin1(kWidestLabel));
    m_menu = new QMenu(QStringLiteral("Table Editor"), this);
    m_menu->setObjectName(QStringLiteral("tableEditorMenu"));
    const struct {
        const char* text;
        const char* name;
        int command;
    } items[] = {{"&Toggle character", "toggleCharacter", kToggle},
                 {"&Disable row", "disableRow", kDisableRow},
                 {"&Enable row", "enableRow", kEnableRow}};
    for (const auto& item : items) {
        QAction* action = m_menu->addAction(QString::fromLatin1(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        const int command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { applyToSelection(command); });
    }
    setShownEncoding(font.charTable.editing.encoding);
}

int TableEditorGrid::rowCount() const {
    return m_encoding == kEncodingAnsi ? 16 : 4096;
}

int TableEditorGrid::topRow() const {
    return verticalScrollBar()->value();
}

void TableEditorGrid::setShownEncoding(int encoding) {
    m_encoding = encoding;
    if (m_selected > codeSpaceLast(encoding)) {
        m_selected = -1;
    }
    updateScrollRanges();
    viewport()->update();
}

void TableEditorGrid::updateScrollRanges() {
    const int fullRows = std::max(1, viewport()->height() / kTableCellHeight);
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - fullRows));
    verticalScrollBar()->setPageStep(fullRows);
    const QFontMetrics metrics(font());
    int contentWidth = m_headerWidth + 16 * kTableCellWidth +
                       metrics.horizontalAdvance(QStringLiteral("0000")) * 3 / 4;
    if (m_encoding == kEncodingUnicode) {
        contentWidth += m_labelWidth;
    }
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(kTableCellWidth / 2);
}

QSize TableEditorGrid::sizeHint() const {
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    return {frame + m_headerWidth + 16 * kTableCellWidth +
                metrics.horizontalAdvance(QStringLiteral("0000")) * 3 / 4 + m_labelWidth +
                verticalScrollBar()->sizeHint().width(),
            frame + 12 * kTableCellHeight + horizontalScrollBar()->sizeHint().height()};
}

QRect TableEditorGrid::cellRect(int code) const {
    const int row = code / 16;
    const int column = code % 16;
    return {m_headerWidth + column * kTableCellWidth - horizontalScrollBar()->value(),
            (row - topRow()) * kTableCellHeight, kTableCellWidth, kTableCellHeight};
}

int TableEditorGrid::codeAt(QPoint point) const {
    const int x = point.x() + horizontalScrollBar()->value() - m_headerWidth;
    if (x < 0 || x >= 16 * kTableCellWidth || point.y() < 0) {
        return -1;
    }
    const int row = topRow() + point.y() / kTableCellHeight;
    if (row >= rowCount()) {
        return -1;
    }
    return row * 16 + x / kTableCellWidth;
}

void TableEditorGrid::redrawCodes(const std::vector<std::uint16_t>& codes) {
    const QRect view = viewport()->rect();
    for (std::uint16_t code : codes) {
        const QRect cell = cellRect(code);
        if (cell.intersects(view)) {
            viewport()->update(cell);
        }
    }
}

void TableEditorGrid::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().window());
    const CodeMap& map = m_font.charTable.editing;
    const bool hasCharacters = m_font.count() > 0;
    const int dx = horizontalScrollBar()->value();
    const int first = topRow() + event->rect().top() / kTableCellHeight;
    const int last = std::min(rowCount() - 1, topRow() + event->rect().bottom() / kTableCellHeight);
    const QFontMetrics metrics(font());
    const int w = metrics.horizontalAdvance(QStringLiteral("0000"));
    m_lastPaintedRows = 0;
    for (int row = first; hasCharacters && row <= last; ++row) {
        ++m_lastPaintedRows;
        const int y = (row - topRow()) * kTableCellHeight;
        const QString header =
            m_encoding == kEncodingAnsi
                ? QStringLiteral("%1").arg(row * 16, 2, 16, QLatin1Char('0')).toUpper()
                : QStringLiteral("%1").arg(row * 16, 4, 16, QLatin1Char('0')).toUpper();
        p.setPen(Qt::black);
        p.drawText((m_encoding == kEncodingAnsi ? w / 2 : w / 4) - dx, y + 10 + metrics.ascent(),
                   header);
        for (int column = 0; column < 16; ++column) {
            const int code = row * 16 + column;
            const QRect cell = cellRect(code);
            const bool present = map.contains(static_cast<std::uint16_t>(code));
            const CodeEntry entry =
                present ? map.get(static_cast<std::uint16_t>(code)) : CodeEntry{};
            const QColor colour = present && entry.enabled ? Qt::white : kTableDisabledColour;
            p.fillRect(cell, colour);
            p.setPen(Qt::black);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            if (present && entry.mapped) {
                if (const Glyph* glyph = m_font.glyphs.find(entry.unicode)) {
                    const bool fits = glyph->width <= kTableCellWidth && m_font.height <= 32;
                    const QRect box = fits ? cell : cell.adjusted(2, 2, -2, -2);
                    drawTo(p, *glyph, m_font.height, box.x(), box.y(), box.width(), box.height(),
                           colour);
                }
            }
            if (code == m_selected) {
                p.setPen(Qt::red);
                p.drawRect(cell.adjusted(1, 1, -2, -2));
            }
        }
        if (m_encoding == kEncodingUnicode) {
            p.setPen(Qt::black);
            p.drawText(m_headerWidth + 16 * kTableCellWidth + w / 4 - dx, y + 10 + metrics.ascent(),
                       QString::fromLatin1(unicodeRowLabel(row).data(),
                                           static_cast<int>(unicodeRowLabel(row).size())));
        }
    }
}

void TableEditorGrid::selectCode(int code) {
    const int old = m_selected;
    m_selected = code;
    std::vector<std::uint16_t> cells{static_cast<std::uint16_t>(code)};
    if (old >= 0) {
        cells.push_back(static_cast<std::uint16_t>(old));
    }
    redrawCodes(cells);
}

void TableEditorGrid::mousePressEvent(QMouseEvent* event) {
    const int code = codeAt(event->position().toPoint());
    if (code < 0 || m_font.count() == 0) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        selectCode(code);
    } else if (event->button() == Qt::RightButton) {
        selectCode(code);
        m_menu->popup(event->globalPosition().toPoint());
    }
}

void TableEditorGrid::applyToSelection(int command) {
    if (m_selected < 0 || m_font.count() == 0) {
        return;
    }
    CharacterTable& table = m_font.charTable;
    const auto code = static_cast<std::uint16_t>(m_selected);
    const std::vector<std::uint16_t> changed =
        command == kToggle ? table.toggleCode(code)
                           : table.setRowEnabled(m_selected / 16, command == kEnableRow);
    redrawCodes(changed);
    Q_EMIT codesChanged(changed);
}

void TableEditorGrid::keyPressEvent(QKeyEvent* event) {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    switch (event->key()) {
        case Qt::Key_PageUp:
            v->setValue(v->value() - v->pageStep());
            break;
        case Qt::Key_PageDown:
            v->setValue(v->value() + v->pageStep());
            break;
        case Qt::Key_Home:
            v->setValue(v->minimum());
            break;
        case Qt::Key_End:
            v->setValue(v->maximum());
            break;
        case Qt::Key_Up:
            v->setValue(v->value() - 1);
            break;
        case Qt::Key_Down:
            v->setValue(v->value() + 1);
            break;
        case Qt::Key_Left:
            h->setValue(h->value() - h->singleStep());
            break;
        case Qt::Key_Right:
            h->setValue(h->value() + h->singleStep());
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}

void TableEditorGrid::wheelEvent(QWheelEvent* event) {
    // One row a notch: up for a positive delta, down for a negative or zero one.
    QScrollBar* v = verticalScrollBar();
    v->setValue(v->value() + (event->angleDelta().y() > 0 ? -1 : 1));
    event->accept();
}

void TableEditorGrid::enterEvent(QEnterEvent* event) {
    setFocus(Qt::MouseFocusReason);
    QAbstractScrollArea::enterEvent(event);
}

void TableEditorGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

}  // namespace typeloom::ui
