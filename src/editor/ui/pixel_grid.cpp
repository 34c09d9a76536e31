#include "editor/ui/pixel_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "common/settings_store.h"
#include "editor/ui/editor_settings.h"
#include "editor/ui/qt_glyph_image.h"
#include "editor/ui/tool_art.h"
#include "model/font.h"
#include "model/font_settings.h"

namespace typeloom::ui {

namespace {

// Light grey background: the margins and the grid lines between the cells.
constexpr QRgb kBackground = qRgb(192, 192, 192);
// Largest side the grid widget asks for (Qt's widget size limit).
constexpr int kLargestGridSide = 16777215;

// Side of the selection frame's resize handles, drawn just outside the frame.
constexpr int kHandleSize = 6;

QString messageTitle() {
    return QGuiApplication::applicationDisplayName();
}

// For each resize handle, clockwise from the top-left corner: the horizontal and vertical
// side it moves (-1 left or top, 1 right or bottom, 0 none) and its cursor.
constexpr int kHandleSideX[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
constexpr int kHandleSideY[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
constexpr Qt::CursorShape kHandleCursor[8] = {
    Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor,
    Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor};

int handleSideX(int handle) {
    return kHandleSideX[handle];
}
int handleSideY(int handle) {
    return kHandleSideY[handle];
}
Qt::CursorShape handleCursor(int handle) {
    return kHandleCursor[handle];
}

void drawDottedFrame(QPainter& painter, const QRect& r) {
    QPen pen(Qt::black, 0, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.drawLine(r.bottomRight(), r.bottomLeft());
    painter.drawLine(r.bottomLeft(), r.topLeft());
}

}  // namespace

PixelGrid::PixelGrid(Font& font, SettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_font(font), m_settings(settings) {
    setObjectName(QStringLiteral("PixelGrid"));
    // A bad stored value still gives a usable magnification.
    m_zoom = static_cast<int>(
        std::clamp<std::int64_t>(settings.integer(kSettingsSection, kGridZoomKey, kGridZoomDefault),
                                 kGridZoomMin, kGridZoomMax));
    m_lastTool = m_glyph.tool();
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(toolCursor(m_glyph.tool()));

    fixedWidthQuestion = [this](const QString& question) {
        return QMessageBox::question(this, messageTitle(), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    widenQuestion = [this](const QString& question) {
        const auto answer =
            QMessageBox::question(this, messageTitle(), question,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return answer == QMessageBox::Yes  ? WidenAnswer::Yes
               : answer == QMessageBox::No ? WidenAnswer::No
                                           : WidenAnswer::Cancel;
    };
    errorMessage = [this](const QString& message) {
        QMessageBox::critical(this, messageTitle(), message);
    };
}

PixelGrid::~PixelGrid() {
    m_settings.writeInteger(kSettingsSection, kGridZoomKey, m_zoom);
}

// --- The edited character

void PixelGrid::loadCharacter(int index) {
    m_marked.clear();
    m_markMask.clear();
    m_track = Track::None;
    m_stroking = false;
    m_pressOpen = false;
    if (index < 0 || index >= m_font.count()) {
        m_index = -1;
        update();
        return;
    }
    m_index = index;
    m_glyph.setCode(static_cast<std::uint16_t>(m_font.codeAt(index)));
    m_glyph.loadGlyph(m_font, static_cast<std::uint16_t>(m_font.unicodeAt(index)));
    update();
    updateGeometry();
    emit characterLoaded(index);
    emit glyphChanged();
    emit titleChanged();
}

void PixelGrid::storeEditedGlyph() {
    if (!isChanged()) {
        return;
    }
    const EditOutcome out = m_glyph.storeGlyph(m_font);
    emit glyphStored(m_index);
    // With a history the edit itself marked the document; storing only moves the glyph the
    // user sees into the font, which changes nothing a walk of the history could return to.
    if (out.documentModified && !editFinished) {
        emit documentModified();
    }
}

void PixelGrid::reloadEditedGlyph() {
    loadCharacter(m_index);
}

// --- Tools and colour

namespace {

// The name of the step a tool's edit makes in the history.
const char* stepName(ToolId id) {
    switch (id) {
        case ToolId::Select:
            return "Move Selection";
        case ToolId::Line:
            return "Line";
        case ToolId::Pencil:
            return "Pencil";
        case ToolId::Rectangle:
            return "Rectangle";
        case ToolId::FilledRectangle:
            return "Filled Rectangle";
        case ToolId::Eraser:
            return "Eraser";
        case ToolId::DeleteColumn:
            return "Delete Column";
        case ToolId::MoveUp:
            return "Move Up";
        case ToolId::InsertColumn:
            return "Insert Column";
        case ToolId::MoveLeft:
            return "Move Left";
        case ToolId::MoveDown:
            return "Move Down";
        case ToolId::MoveRight:
            return "Move Right";
        case ToolId::Invert:
            return "Invert";
        case ToolId::MirrorHorizontal:
            return "Horizontal Mirror";
        case ToolId::MirrorVertical:
            return "Vertical Mirror";
    }
    return "Edit";
}

}  // namespace

GlyphContent PixelGrid::content() const {
    return {static_cast<std::uint16_t>(m_glyph.width()), m_glyph.pixels()};
}

void PixelGrid::finishEdit(const char* name, const GlyphContent& before) {
    if (!hasCharacter() || !editFinished) {
        return;
    }
    GlyphContent after = content();
    if (after != before) {
        editFinished(name, m_glyph.unicode(), before, std::move(after));
    }
}

void PixelGrid::restoreContent(const GlyphContent& content) {
    if (!hasCharacter()) {
        return;
    }
    m_track = Track::None;
    m_stroking = false;
    m_pressOpen = false;
    applyOutcome(m_glyph.restoreContent(content.pixels, content.width, m_font), QRect(), true);
}

void PixelGrid::setTool(ToolId id, bool ctrl) {
    if (!hasCharacter()) {
        // Nothing to act on: only a drawing tool is taken, for the next character.
        if (isDrawingTool(id)) {
            m_glyph.setTool(id, m_font, ctrl);
            applyOutcome({}, QRect(), false);
        }
        return;
    }
    bool makeVariableWidth = false;
    if ((id == ToolId::DeleteColumn || id == ToolId::InsertColumn) &&
        m_glyph.columnQuestionNeeded(m_font, id == ToolId::InsertColumn)) {
        makeVariableWidth = fixedWidthQuestion(toQString(kFixedWidthQuestion));
    }
    const QRect frameBefore = trackerBounds();
    m_track = Track::None;
    m_stroking = false;
    const GlyphContent before = content();
    const EditOutcome out = m_glyph.setTool(id, m_font, ctrl, makeVariableWidth);
    applyOutcome(out, frameBefore, !isDrawingTool(id));
    finishEdit(stepName(id), before);
}

void PixelGrid::setCurrentColor(int value) {
    m_glyph.setCurrentColor(static_cast<std::uint8_t>(std::clamp(value, 0, 255)));
}

// --- Magnification

void PixelGrid::setZoom(int zoom) {
    zoom = std::clamp(zoom, kGridZoomMin, kGridZoomMax);
    if (zoom == m_zoom) {
        return;
    }
    m_zoom = zoom;
    // A drag measured in the old magnification means nothing in the new one.
    m_track = Track::None;
    update();
    updateGeometry();
    emit zoomChanged(m_zoom);
}

void PixelGrid::zoomStep(bool in) {
    setZoom(m_zoom + (in ? 1 : -1));
}

// --- Edit commands

bool PixelGrid::canDelete() const {
    return hasCharacter() && m_glyph.tool() == ToolId::Select &&
           m_glyph.selectionState() != SelectionState::None && !m_glyph.selection().empty();
}

bool PixelGrid::canPaste() const {
    if (!hasCharacter()) {
        return false;
    }
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime != nullptr && mime->hasImage();
}

void PixelGrid::copy() {
    if (!hasCharacter()) {
        return;
    }
    const QImage image = toQImage(m_glyph.copyImage());
    if (!image.isNull()) {
        QGuiApplication::clipboard()->setImage(image);
    }
}

void PixelGrid::paste() {
    if (!acceptsInput()) {
        return;
    }
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) {
        errorMessage(toQString(kPasteError));
        return;
    }
    WidenAnswer answer = WidenAnswer::No;
    if (m_glyph.widenQuestionNeeded(m_font, image.width())) {
        // A Windows message breaks lines at "\r"; a Qt one needs "\n".
        answer = widenQuestion(toQString(kWidenQuestion).replace(QLatin1Char('\r'), '\n'));
    }
    const QRect frameBefore = trackerBounds();
    m_track = Track::None;
    const QImageSource source(image);
    const GlyphContent before = content();
    const PasteOutcome out = m_glyph.pasteImage(source, m_font, answer);
    if (!out.message.empty()) {
        errorMessage(toQString(out.message));
        return;
    }
    applyOutcome(out.edit, frameBefore, false);
    finishEdit("Paste", before);
}

void PixelGrid::deleteSelection() {
    if (!acceptsInput()) {
        return;
    }
    const QRect frameBefore = trackerBounds();
    const GlyphContent before = content();
    applyOutcome(m_glyph.deleteSelection(), frameBefore, false);
    finishEdit("Delete", before);
}

void PixelGrid::selectAll() {
    if (!acceptsInput()) {
        return;
    }
    const QRect frameBefore = trackerBounds();
    m_track = Track::None;
    applyOutcome(m_glyph.selectAll(), frameBefore, false);
}

void PixelGrid::undo() {
    if (undoHandler) {
        undoHandler();
        return;
    }
    if (!hasCharacter()) {
        return;
    }
    m_track = Track::None;
    applyOutcome(m_glyph.undo(), QRect(), true);
}

void PixelGrid::undoAll() {
    if (!hasCharacter()) {
        return;
    }
    m_track = Track::None;
    const GlyphContent before = content();
    applyOutcome(m_glyph.undoAll(), QRect(), true);
    finishEdit("Restore Character", before);
}

// --- Bit inspector

void PixelGrid::setMarkedPixels(std::vector<int> pixels) {
    if (pixels == m_marked) {
        return;
    }
    // Only the cells of the old and the new unit are repainted: hovering over a large glyph
    // moves the mark with every cell the pointer crosses.
    const int width = m_glyph.width();
    QRect dirty;
    auto addCells = [&](const std::vector<int>& cells) {
        const GridGeometry g = geometry();
        for (int i : cells) {
            if (i >= 0 && width > 0) {
                dirty |= g.cellsRect(CellRect{i % width, i / width, 1, 1});
            }
        }
    };
    addCells(m_marked);
    m_marked = std::move(pixels);
    addCells(m_marked);
    m_markMask.assign(static_cast<std::size_t>(width) * m_glyph.height(), 0);
    for (int i : m_marked) {
        if (i >= 0 && static_cast<std::size_t>(i) < m_markMask.size()) {
            m_markMask[static_cast<std::size_t>(i)] = 1;
        }
    }
    if (!dirty.isEmpty()) {
        update(dirty);
    }
}

void PixelGrid::setHoveredCell(Cell cell) {
    if (cell.x == m_hovered.x && cell.y == m_hovered.y) {
        return;
    }
    m_hovered = cell;
    emit cellHovered(cell.x, cell.y);
}

void PixelGrid::leaveEvent(QEvent* event) {
    setHoveredCell({-1, -1});
    QWidget::leaveEvent(event);
}

// --- Geometry

GridGeometry PixelGrid::geometry() const {
    GridGeometry g;
    g.zoom = m_zoom;
    if (hasCharacter()) {
        g.ascent = m_glyph.ascent();
        g.width = m_glyph.width();
        g.height = m_glyph.height();
    }
    return g;
}

QRect PixelGrid::trackerRect() const {
    if (!hasCharacter() || m_glyph.tool() != ToolId::Select ||
        m_glyph.selectionState() == SelectionState::None) {
        return {};
    }
    return geometry().frameRect(m_glyph.selection());
}

QRect PixelGrid::trackerBounds() const {
    const QRect frame = trackerRect();
    if (frame.isEmpty()) {
        return {};
    }
    return frame.adjusted(-kHandleSize - 1, -kHandleSize - 1, kHandleSize + 1, kHandleSize + 1);
}

QRect PixelGrid::handleRect(int handle, const QRect& frame) const {
    const int sx = handleSideX(handle);
    const int sy = handleSideY(handle);
    const int x = sx < 0   ? frame.left() - kHandleSize
                  : sx > 0 ? frame.right() + 1
                           : frame.center().x() - kHandleSize / 2;
    const int y = sy < 0   ? frame.top() - kHandleSize
                  : sy > 0 ? frame.bottom() + 1
                           : frame.center().y() - kHandleSize / 2;
    return {x, y, kHandleSize, kHandleSize};
}

int PixelGrid::handleAt(QPoint p) const {
    const QRect frame = trackerRect();
    if (frame.isEmpty()) {
        return -1;
    }
    for (int h = kTopLeft; h <= kLeft; ++h) {
        if (handleRect(h, frame).contains(p)) {
            return h;
        }
    }
    return -1;
}

QSize PixelGrid::sizeHint() const {
    const QRect grid = geometry().gridRect();
    return {std::clamp(grid.right() + 11, 120, 800), std::clamp(grid.bottom() + 11, 120, 800)};
}

QSize PixelGrid::minimumSizeHint() const {
    // The grid's rectangle, its margin on the far sides, and the selection handles that may
    // lie just outside it.
    const QRect grid = geometry().gridRect();
    return {std::min(grid.right() + 11, kLargestGridSide),
            std::min(grid.bottom() + 11, kLargestGridSide)};
}

bool PixelGrid::acceptsInput() const {
    return hasCharacter() && geometry().hasCells();
}

// --- Repainting

void PixelGrid::applyOutcome(const EditOutcome& out, const QRect& frameBefore, bool whole) {
    if (out.beep) {
        QApplication::beep();
    }
    if (whole || out.titleChanged) {
        update();
    } else {
        QRect dirty = geometry().cellsRect(out.changed);
        if (out.selectionChanged) {
            dirty |= frameBefore;
            dirty |= trackerBounds();
        }
        if (!dirty.isEmpty()) {
            update(dirty);
        }
    }
    if (out.titleChanged) {
        updateGeometry();
    }
    if (!out.changed.empty() || out.titleChanged) {
        emit glyphChanged();
    }
    if (out.titleChanged) {
        emit titleChanged();
    }
    if (out.documentModified) {
        emit documentModified();
    }
    if (m_glyph.tool() != m_lastTool) {
        m_lastTool = m_glyph.tool();
        updateCursor(mapFromGlobal(QCursor::pos()));
        emit toolChanged(m_lastTool);
    }
}

void PixelGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintCells(painter, event->rect());
    paintTracker(painter);
}

// Paints the cells under `dirty` into one image, a pixel at a time from two lookup lines
// (which cell each client column and row shows, or a grid line), so a repaint costs the
// pixels it covers, not the cells of the glyph.
void PixelGrid::paintCells(QPainter& painter, const QRect& dirty) const {
    painter.fillRect(dirty, QColor(kBackground));
    const GridGeometry g = geometry();
    if (!hasCharacter() || !g.hasCells()) {
        return;
    }
    const QRect area = dirty & g.gridRect();
    if (area.isEmpty()) {
        return;
    }
    std::vector<int> columns(static_cast<std::size_t>(area.width()));
    for (int i = 0; i < area.width(); ++i) {
        const int dx = area.left() + i - g.left;
        const bool line = g.zoom > 1 && dx % g.zoom == g.zoom - 1;
        const int cx = dx / g.zoom;
        columns[static_cast<std::size_t>(i)] = (line || cx >= g.width) ? -1 : cx;
    }
    std::vector<int> rows(static_cast<std::size_t>(area.height()));
    for (int j = 0; j < area.height(); ++j) {
        int dy = area.top() + j - g.top;
        int cy = -1;
        if (g.hasBaselineGap() && dy == g.zoom * g.ascent) {
            cy = -1;  // the extra pixel of the baseline line
        } else {
            if (g.hasBaselineGap() && dy > g.zoom * g.ascent) {
                dy -= 1;
            }
            const bool line = g.zoom > 1 && dy % g.zoom == g.zoom - 1;
            cy = (line || dy / g.zoom >= g.height) ? -1 : dy / g.zoom;
        }
        rows[static_cast<std::size_t>(j)] = cy;
    }
    const std::array<QRgb, 256> colors = pixelColorTable(m_glyph.bitsPerPixel());
    // The bit inspector's unit: its cells in orange, darker where the pixel is set.
    std::array<QRgb, 256> marked{};
    for (std::size_t v = 0; v < marked.size(); ++v) {
        const QColor c(colors[v]);
        marked[v] = qRgb((c.red() + 2 * 255) / 3, (c.green() + 2 * 150) / 3, c.blue() / 3);
    }
    const std::vector<std::uint8_t>& pixels = m_glyph.pixels();
    const auto width = static_cast<std::size_t>(g.width);
    const bool anyMarked =
        !m_markMask.empty() && m_markMask.size() == width * static_cast<std::size_t>(g.height);
    QImage image(area.size(), QImage::Format_RGB32);
    for (int j = 0; j < area.height(); ++j) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(j));
        const int cy = rows[static_cast<std::size_t>(j)];
        if (cy < 0) {
            std::fill_n(line, area.width(), kBackground);
            continue;
        }
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(cy) * width;
        const std::uint8_t* markRow =
            anyMarked ? m_markMask.data() + static_cast<std::size_t>(cy) * width : nullptr;
        for (int i = 0; i < area.width(); ++i) {
            const int cx = columns[static_cast<std::size_t>(i)];
            if (cx < 0) {
                line[i] = kBackground;
            } else if (markRow != nullptr && markRow[cx] != 0) {
                line[i] = marked[row[cx]];
            } else {
                line[i] = colors[row[cx]];
            }
        }
    }
    painter.drawImage(area.topLeft(), image);
}

void PixelGrid::paintTracker(QPainter& painter) const {
    if (m_track == Track::RubberBand) {
        drawDottedFrame(painter, QRect(m_pressPoint, m_dragPoint).normalized());
        return;
    }
    QRect frame = trackerRect();
    if (m_track == Track::Resize) {
        frame = geometry().frameRect(m_resizeCells);
    }
    if (frame.isEmpty()) {
        return;
    }
    drawDottedFrame(painter, frame);
    for (int h = kTopLeft; h <= kLeft; ++h) {
        painter.fillRect(handleRect(h, frame), Qt::black);
    }
}

// --- Mouse

void PixelGrid::updateCursor(QPoint p) {
    const ToolId tool = m_glyph.tool();
    if (tool != ToolId::Select) {
        setCursor(toolCursor(tool));
        return;
    }
    // The selection frame shows what a drag would do only when it is big enough to grab.
    const CellRect sel = m_glyph.selection();
    const QRect frame = trackerRect();
    if (!frame.isEmpty() && sel.w > 1 && sel.h > 1) {
        const int handle = handleAt(p);
        if (handle >= 0) {
            setCursor(handleCursor(handle));
            return;
        }
        if (frame.contains(p)) {
            setCursor(Qt::SizeAllCursor);
            return;
        }
    }
    setCursor(toolCursor(tool));
}

void PixelGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !acceptsInput()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    const GridGeometry g = geometry();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    // One stroke, one step: the edit is reported when the button is let go.
    m_pressContent = content();
    m_pressOpen = true;
    if (m_glyph.tool() == ToolId::Select) {
        selectPress(p);
        return;
    }
    if (!g.gridRect().contains(p)) {
        return;
    }
    const Cell cell = g.clampedCellAt(p);
    if (m_glyph.shapeMode()) {
        // Shapes draw on the first move; the press only anchors them.
        m_glyph.shapeBegin(cell.x, cell.y);
    } else if (m_glyph.tool() == ToolId::Pencil) {
        m_stroking = true;
        applyOutcome(m_glyph.pencilDown(cell.x, cell.y, ctrl), QRect(), false);
    } else if (m_glyph.tool() == ToolId::Eraser) {
        m_stroking = true;
        applyOutcome(m_glyph.eraserDown(cell.x, cell.y), QRect(), false);
    }
}

void PixelGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!acceptsInput()) {
        return;
    }
    const QPoint p = event->position().toPoint();
    {
        const GridGeometry g = geometry();
        const Cell cell = g.cellAt(p);
        const bool onCell = g.gridRect().contains(p) && cell.x >= 0 && cell.y >= 0 &&
                            cell.x < g.width && cell.y < g.height;
        setHoveredCell(onCell ? cell : Cell{-1, -1});
    }
    if (m_track != Track::None) {
        selectDrag(p);
        return;
    }
    if (!event->buttons().testFlag(Qt::LeftButton)) {
        updateCursor(p);
        return;
    }
    const GridGeometry g = geometry();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (m_glyph.dragging()) {
        // Outside the widget too: the shape follows the pointer clamped to the glyph.
        const Cell cell = g.clampedCellAt(p);
        applyOutcome(m_glyph.shapeUpdate(cell.x, cell.y, ctrl), QRect(), false);
    } else if (m_stroking && g.gridRect().contains(p)) {
        const Cell cell = g.clampedCellAt(p);
        if (m_glyph.tool() == ToolId::Pencil) {
            applyOutcome(m_glyph.pencilMove(cell.x, cell.y, ctrl), QRect(), false);
        } else if (m_glyph.tool() == ToolId::Eraser) {
            applyOutcome(m_glyph.eraserMove(cell.x, cell.y), QRect(), false);
        }
    }
}

void PixelGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    // The shape stays as last drawn, wherever the button is let go.
    m_glyph.shapeEnd();
    m_stroking = false;
    if (m_track != Track::None && acceptsInput()) {
        selectRelease(event->position().toPoint());
    }
    m_track = Track::None;
    if (m_pressOpen) {
        m_pressOpen = false;
        finishEdit(stepName(m_glyph.tool()), m_pressContent);
    }
}

// A press with the Select tool: on a handle it reshapes the selection, inside the frame it
// moves it, anywhere else it drops it and, inside the grid, starts a rubber band.
void PixelGrid::selectPress(QPoint p) {
    const GridGeometry g = geometry();
    const QRect frame = trackerRect();
    if (!frame.isEmpty()) {
        const int handle = handleAt(p);
        const CellRect sel = m_glyph.selection();
        if (handle >= 0) {
            m_track = Track::Resize;
            m_resizeHandle = handle;
            m_resizeCells = sel;
            m_resizeAnchor = {handleSideX(handle) < 0 ? sel.x + sel.w - 1 : sel.x,
                              handleSideY(handle) < 0 ? sel.y + sel.h - 1 : sel.y};
            return;
        }
        if (frame.contains(p)) {
            m_track = Track::Move;
            m_moveCell = g.cellAt(p);
            m_moveOrigin = {sel.x, sel.y};
            return;
        }
        applyOutcome(m_glyph.dropSelection(), trackerBounds(), false);
    }
    if (g.gridRect().contains(p)) {
        m_track = Track::RubberBand;
        m_pressPoint = m_dragPoint = p;
    }
}

void PixelGrid::selectDrag(QPoint p) {
    const GridGeometry g = geometry();
    switch (m_track) {
        case Track::RubberBand: {
            const QRect before = QRect(m_pressPoint, m_dragPoint).normalized();
            m_dragPoint = p;
            const QRect after = QRect(m_pressPoint, m_dragPoint).normalized();
            update((before | after).adjusted(-1, -1, 1, 1));
            break;
        }
        case Track::Move: {
            // The cell grabbed follows the pointer, but the selection stays whole on the glyph:
            // a part pushed over the edge would be cut off for good, and the user only meant
            // to pass by the edge.
            const Cell cell = g.cellAt(p);
            const CellRect sel = m_glyph.selection();
            const int x = std::clamp(m_moveOrigin.x + cell.x - m_moveCell.x, 0, g.width - sel.w);
            const int y = std::clamp(m_moveOrigin.y + cell.y - m_moveCell.y, 0, g.height - sel.h);
            if (x == sel.x && y == sel.y) {
                break;
            }
            const QRect frameBefore = trackerBounds();
            applyOutcome(m_glyph.moveSelection(x, y), frameBefore, false);
            break;
        }
        case Track::Resize: {
            const QRect before = geometry().frameRect(m_resizeCells);
            const Cell cell = g.clampedCellAt(p);
            const CellRect sel = m_glyph.selection();
            const int sx = handleSideX(m_resizeHandle);
            const int sy = handleSideY(m_resizeHandle);
            const Cell moving{sx != 0 ? cell.x : sel.x + sel.w - 1,
                              sy != 0 ? cell.y : sel.y + sel.h - 1};
            m_resizeCells = spanning(m_resizeAnchor, moving);
            const QRect after = geometry().frameRect(m_resizeCells);
            const int margin = kHandleSize + 1;
            update((before | after | trackerBounds()).adjusted(-margin, -margin, margin, margin));
            break;
        }
        case Track::None:
            break;
    }
}

void PixelGrid::selectRelease(QPoint p) {
    const GridGeometry g = geometry();
    const Track track = m_track;
    m_track = Track::None;
    if (track == Track::RubberBand) {
        const QRect band = QRect(m_pressPoint, p).normalized();
        update(band.adjusted(-1, -1, 1, 1) | QRect(m_pressPoint, m_dragPoint).normalized());
        // A band smaller than one cell both ways selects nothing.
        if (std::abs(p.x() - m_pressPoint.x()) < g.zoom &&
            std::abs(p.y() - m_pressPoint.y()) < g.zoom) {
            return;
        }
        const QRect clipped = band & g.gridRect();
        if (clipped.isEmpty()) {
            return;
        }
        const QRect frameBefore = trackerBounds();
        applyOutcome(m_glyph.selectRubberBand(g.clampedCellAt(clipped.topLeft()),
                                              g.clampedCellAt(clipped.bottomRight())),
                     frameBefore, false);
    } else if (track == Track::Resize) {
        const QRect frameBefore =
            (trackerBounds() | g.frameRect(m_resizeCells))
                .adjusted(-kHandleSize - 1, -kHandleSize - 1, kHandleSize + 1, kHandleSize + 1);
        if (m_resizeCells == m_glyph.selection()) {
            update(frameBefore);
            return;
        }
        const CellRect r = m_resizeCells;
        applyOutcome(m_glyph.resizeSelection({r.x, r.y}, {r.x + r.w - 1, r.y + r.h - 1}),
                     frameBefore, false);
    }
    updateCursor(p);
}

}  // namespace typeloom::ui
