#include "editor/working_glyph.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "model/font.h"

namespace typeloom {

namespace {

void merge(EditOutcome& into, const EditOutcome& from) {
    into.changed = unite(into.changed, from.changed);
    into.selectionChanged = into.selectionChanged || from.selectionChanged;
    into.titleChanged = into.titleChanged || from.titleChanged;
    into.documentModified = into.documentModified || from.documentModified;
    into.beep = into.beep || from.beep;
}

}  // namespace

CellRect unite(const CellRect& a, const CellRect& b) {
    if (a.empty()) {
        return b.empty() ? CellRect{} : b;
    }
    if (b.empty()) {
        return a;
    }
    const int x0 = std::min(a.x, b.x);
    const int y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w);
    const int y1 = std::max(a.y + a.h, b.y + b.h);
    return {x0, y0, x1 - x0, y1 - y0};
}

CellRect intersect(const CellRect& a, const CellRect& b) {
    const int x0 = std::max(a.x, b.x);
    const int y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w);
    const int y1 = std::min(a.y + a.h, b.y + b.h);
    if (x1 <= x0 || y1 <= y0) {
        return {};
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

CellRect spanning(Cell a, Cell b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x) + 1,
            std::abs(a.y - b.y) + 1};
}

WorkingGlyph::WorkingGlyph() {
    m_pixels.assign(static_cast<std::size_t>(m_width) * m_height, 0);
    m_undoCopy = m_pixels;
    m_loadedCopy = m_pixels;
    m_floatBuffer = m_pixels;
}

// --- Exchange with the font

EditOutcome WorkingGlyph::loadGlyph(const Font& font, std::uint16_t u) {
    const CellRect before = bounds();
    m_previousUnicode = m_unicode;
    m_unicode = u;
    std::uint16_t width = static_cast<std::uint16_t>(m_width);
    std::uint16_t height = 0;
    std::int16_t ascent = 0;
    std::vector<std::uint8_t> pixels;
    font.getGlyph(u, width, height, ascent, pixels);
    if (!font.glyphs.contains(u)) {
        // A character without glyph shows as an empty cell of the current width.
        pixels.clear();
    }
    m_bitsPerPixel = (font.bitsPerPixel == 2 || font.bitsPerPixel == 4 || font.bitsPerPixel == 8)
                         ? static_cast<int>(font.bitsPerPixel)
                         : 1;
    // A depth the editor does not know draws with 1, so that the pencil still marks pixels.
    const std::uint8_t full = fullInkValue(static_cast<std::uint32_t>(m_bitsPerPixel));
    m_maxValue = full != 0 ? full : 1;
    m_width = width;
    m_height = height;
    m_ascent = ascent;
    // A glyph kept from before a change of height may hold another row count: cut or pad it,
    // so that the working copy always holds width x height values within range.
    pixels.resize(static_cast<std::size_t>(m_width) * m_height, 0);
    for (std::uint8_t& v : pixels) {
        v = std::min(v, m_maxValue);
    }
    m_pixels = std::move(pixels);
    m_loadedCopy = m_pixels;
    m_loadedWidth = m_width;
    // The undo level belongs to the previous character: undo right after a load does nothing.
    m_undoCopy = m_pixels;
    m_undoWidth = m_width;
    ensureFloatBuffer();
    EditOutcome out;
    if (m_selectionState != SelectionState::None || !m_selection.empty()) {
        out.selectionChanged = true;
    }
    m_selectionState = SelectionState::None;
    m_selection = {};
    m_cutArea = {};
    m_dragging = false;
    m_lastCell = {-1, -1};
    m_modified = false;
    out.changed = unite(before, bounds());
    out.titleChanged = true;
    return out;
}

EditOutcome WorkingGlyph::storeGlyph(Font& font) {
    EditOutcome out;
    if (m_modified) {
        font.setGlyph(m_unicode, static_cast<std::uint16_t>(m_width), m_pixels);
        m_modified = false;
        out.documentModified = true;
    }
    return out;
}

void WorkingGlyph::saveUndo() {
    m_undoCopy = m_pixels;
    m_undoWidth = m_width;
}

// --- Helpers

Cell WorkingGlyph::clamp(int x, int y) const {
    return {std::max(0, std::min(x, m_width - 1)), std::max(0, std::min(y, m_height - 1))};
}

std::uint8_t WorkingGlyph::drawValue(bool ctrl) const {
    const std::uint8_t colour = std::min(m_currentColor, m_maxValue);
    return ctrl ? static_cast<std::uint8_t>(m_maxValue - colour) : colour;
}

EditOutcome WorkingGlyph::changedCells(CellRect rect) {
    EditOutcome out;
    out.changed = rect;
    m_modified = true;
    // Every change of the working copy marks the document, so that closing asks to save.
    out.documentModified = true;
    return out;
}

bool WorkingGlyph::undoMatches() const {
    return m_undoWidth == m_width && m_undoCopy.size() == m_pixels.size();
}

void WorkingGlyph::ensureFloatBuffer() {
    if (m_floatBuffer.size() < m_pixels.size()) {
        m_floatBuffer.resize(m_pixels.size(), 0);
    }
}

void WorkingGlyph::pickUp() {
    ensureFloatBuffer();
    m_selectionSource = {m_selection.x, m_selection.y};
    for (int y = m_selection.y; y < m_selection.y + m_selection.h; ++y) {
        for (int x = m_selection.x; x < m_selection.x + m_selection.w; ++x) {
            m_floatBuffer[index(x, y)] = m_pixels[index(x, y)];
        }
    }
    m_selectionState = SelectionState::InPlace;
    m_cutArea = {};
}

bool WorkingGlyph::fitSelection(int oldWidth) {
    // The lifted content is kept at the glyph's own indices, so it means nothing at another
    // width: a change of width ends the selection.
    if (m_width == oldWidth || (m_selectionState == SelectionState::None && m_selection.empty())) {
        return false;
    }
    m_selectionState = SelectionState::None;
    m_selection = {};
    m_cutArea = {};
    return true;
}

// --- Tool selection

EditOutcome WorkingGlyph::setTool(ToolId id, Font& font, bool ctrl, bool makeVariableWidth) {
    EditOutcome out;
    if (m_selectionState != SelectionState::None && id != ToolId::Select && id != ToolId::Invert) {
        out = dropSelection();
    }
    m_tool = id;
    m_dragging = false;
    // Only the three shape tools draw by dragging; after a one-shot command no drawing tool
    // is active until the user picks one.
    m_shapeMode = id == ToolId::Line || id == ToolId::Rectangle || id == ToolId::FilledRectangle;
    switch (id) {
        case ToolId::DeleteColumn:
            merge(out, deleteColumn(ctrl, font, makeVariableWidth));
            break;
        case ToolId::InsertColumn:
            merge(out, insertColumn(ctrl, font, makeVariableWidth));
            break;
        case ToolId::MoveUp:
            merge(out, moveUp());
            break;
        case ToolId::MoveDown:
            merge(out, moveDown());
            break;
        case ToolId::MoveLeft:
            merge(out, moveLeft());
            break;
        case ToolId::MoveRight:
            merge(out, moveRight());
            break;
        case ToolId::Invert:
            merge(out, invert());
            break;
        case ToolId::MirrorHorizontal:
            merge(out, mirrorHorizontal());
            break;
        case ToolId::MirrorVertical:
            merge(out, mirrorVertical());
            break;
        default:
            break;
    }
    return out;
}

// --- Pencil and eraser

bool WorkingGlyph::strokeCell(int x, int y, bool erase, bool ctrl) {
    std::uint8_t& p = m_pixels[index(x, y)];
    std::uint8_t v = 0;
    if (erase) {
        v = 0;
    } else if (m_bitsPerPixel == 1) {
        // A 1-bit pencil always inverts, with or without Ctrl.
        v = p != 0 ? 0 : 1;
    } else {
        v = ctrl ? 0 : drawValue(false);
    }
    if (p == v) {
        return false;
    }
    p = v;
    return true;
}

EditOutcome WorkingGlyph::pencilDown(int x, int y, bool ctrl) {
    if (!inside(x, y)) {
        return {};
    }
    saveUndo();
    m_lastCell = {x, y};
    return strokeCell(x, y, false, ctrl) ? changedCells({x, y, 1, 1}) : EditOutcome{};
}

EditOutcome WorkingGlyph::pencilMove(int x, int y, bool ctrl) {
    if (bounds().empty()) {
        return {};
    }
    const Cell c = clamp(x, y);
    if (c == m_lastCell) {
        return {};
    }
    m_lastCell = c;
    return strokeCell(c.x, c.y, false, ctrl) ? changedCells({c.x, c.y, 1, 1}) : EditOutcome{};
}

EditOutcome WorkingGlyph::eraserDown(int x, int y) {
    if (!inside(x, y)) {
        return {};
    }
    saveUndo();
    m_lastCell = {x, y};
    return strokeCell(x, y, true, false) ? changedCells({x, y, 1, 1}) : EditOutcome{};
}

EditOutcome WorkingGlyph::eraserMove(int x, int y) {
    if (bounds().empty()) {
        return {};
    }
    const Cell c = clamp(x, y);
    if (c == m_lastCell) {
        return {};
    }
    m_lastCell = c;
    return strokeCell(c.x, c.y, true, false) ? changedCells({c.x, c.y, 1, 1}) : EditOutcome{};
}

// --- Shapes

CellRect WorkingGlyph::shapeBounds(Cell end) const {
    const CellRect box = spanning(m_dragStart, end);
    if (m_tool != ToolId::Line) {
        return box;
    }
    const int dx = end.x - m_dragStart.x;
    const int dy = end.y - m_dragStart.y;
    // Only straight lines: along the row when the drag is more horizontal than vertical,
    // otherwise (a diagonal included) along the column of the anchor.
    if (std::abs(dy) < std::abs(dx)) {
        return {box.x, m_dragStart.y, box.w, 1};
    }
    return {m_dragStart.x, box.y, 1, box.h};
}

std::vector<Cell> WorkingGlyph::shapeCells(Cell end) const {
    std::vector<Cell> cells;
    if (m_tool != ToolId::Line && m_tool != ToolId::Rectangle &&
        m_tool != ToolId::FilledRectangle) {
        return cells;
    }
    const CellRect box = shapeBounds(end);
    const bool outline = m_tool == ToolId::Rectangle;
    for (int y = box.y; y < box.y + box.h; ++y) {
        for (int x = box.x; x < box.x + box.w; ++x) {
            if (outline && x != box.x && x != box.x + box.w - 1 && y != box.y &&
                y != box.y + box.h - 1) {
                continue;
            }
            if (inside(x, y)) {
                cells.push_back({x, y});
            }
        }
    }
    return cells;
}

EditOutcome WorkingGlyph::shapeBegin(int x, int y) {
    if (!inside(x, y)) {
        return {};
    }
    saveUndo();
    m_dragStart = m_dragEnd = {x, y};
    m_dragging = true;
    return {};
}

EditOutcome WorkingGlyph::shapeUpdate(int x, int y, bool ctrl) {
    if (!m_dragging) {
        return {};
    }
    if (!inside(m_dragStart.x, m_dragStart.y)) {
        // The glyph changed under the drag (a command by key): the drag is over.
        m_dragging = false;
        return {};
    }
    const Cell c = clamp(x, y);
    if (c == m_dragEnd) {
        return {};
    }
    CellRect area = shapeBounds(m_dragEnd);
    // Take the previous shape back before drawing the new one.
    if (undoMatches()) {
        for (Cell cell : shapeCells(m_dragEnd)) {
            m_pixels[index(cell.x, cell.y)] = m_undoCopy[index(cell.x, cell.y)];
        }
    }
    m_dragEnd = c;
    const std::uint8_t v = drawValue(ctrl);
    for (Cell cell : shapeCells(m_dragEnd)) {
        m_pixels[index(cell.x, cell.y)] = v;
    }
    area = intersect(unite(area, shapeBounds(m_dragEnd)), bounds());
    return changedCells(area);
}

// --- Selection

EditOutcome WorkingGlyph::selectRubberBand(Cell a, Cell b) {
    EditOutcome out;
    if (m_selectionState != SelectionState::None) {
        out = dropSelection();
    }
    const CellRect band = intersect(spanning(a, b), bounds());
    if (band.empty()) {
        return out;
    }
    saveUndo();
    m_selection = band;
    pickUp();
    out.selectionChanged = true;
    return out;
}

EditOutcome WorkingGlyph::moveSelection(int x, int y) {
    if (m_selectionState == SelectionState::None || m_selection.empty()) {
        return {};
    }
    const CellRect old = m_selection;
    const int w = old.w;
    const int h = old.h;
    const Cell source = m_selectionSource;
    CellRect area = old;
    if (m_selectionState == SelectionState::InPlace) {
        m_cutArea = intersect({source.x, source.y, w, h}, bounds());
    }
    if (m_selectionState != SelectionState::Pasted) {
        // The content was cut from where it was taken: that place stays background, even
        // where an earlier move had put part of the content.
        for (int cy = m_cutArea.y; cy < m_cutArea.y + m_cutArea.h; ++cy) {
            for (int cx = m_cutArea.x; cx < m_cutArea.x + m_cutArea.w; ++cx) {
                m_pixels[index(cx, cy)] = 0;
            }
        }
        area = unite(area, m_cutArea);
    }
    if ((m_selectionState == SelectionState::Moved || m_selectionState == SelectionState::Pasted) &&
        undoMatches()) {
        // Put back what lay under the previous place.
        for (int cy = old.y; cy < old.y + old.h; ++cy) {
            for (int cx = old.x; cx < old.x + old.w; ++cx) {
                if (m_selectionState == SelectionState::Pasted || !m_cutArea.contains(cx, cy)) {
                    m_pixels[index(cx, cy)] = m_undoCopy[index(cx, cy)];
                }
            }
        }
    }
    // At least one cell of the selection stays on the glyph; what hangs over the edge is cut
    // off, as the selection itself is clipped to the glyph.
    x = std::max(1 - w, std::min(x, m_width - 1));
    y = std::max(1 - h, std::min(y, m_height - 1));
    ensureFloatBuffer();
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (inside(x + i, y + j) && inside(source.x + i, source.y + j)) {
                m_pixels[index(x + i, y + j)] = m_floatBuffer[index(source.x + i, source.y + j)];
            }
        }
    }
    const CellRect placed = intersect({x, y, w, h}, bounds());
    m_selectionSource = {source.x + placed.x - x, source.y + placed.y - y};
    m_selection = placed;
    if (m_selectionState != SelectionState::Pasted) {
        m_selectionState = SelectionState::Moved;
    }
    EditOutcome out = changedCells(unite(area, placed));
    out.selectionChanged = true;
    return out;
}

EditOutcome WorkingGlyph::resizeSelection(Cell a, Cell b) {
    if (m_selectionState == SelectionState::None) {
        return {};
    }
    const CellRect rect = intersect(spanning(a, b), bounds());
    if (rect.empty()) {
        return dropSelection();
    }
    // The rectangle now holds what lies under it: a later move cuts that, and puts back
    // what lies under it now.
    saveUndo();
    m_selection = rect;
    pickUp();
    EditOutcome out;
    out.selectionChanged = true;
    return out;
}

EditOutcome WorkingGlyph::dropSelection() {
    EditOutcome out;
    if (m_selectionState == SelectionState::None && m_selection.empty()) {
        return out;
    }
    m_selectionState = SelectionState::None;
    m_selection = {};
    m_cutArea = {};
    out.selectionChanged = true;
    return out;
}

EditOutcome WorkingGlyph::deleteSelection() {
    if (m_tool != ToolId::Select || m_selectionState == SelectionState::None) {
        return {};
    }
    if (m_selectionState == SelectionState::Pasted) {
        // A pasted image not yet placed for good: take the paste back.
        EditOutcome out = undo();
        merge(out, dropSelection());
        return out;
    }
    saveUndo();
    for (int y = m_selection.y; y < m_selection.y + m_selection.h; ++y) {
        for (int x = m_selection.x; x < m_selection.x + m_selection.w; ++x) {
            m_pixels[index(x, y)] = 0;
        }
    }
    // The selection stays, now holding background, so a later drag moves nothing back in.
    pickUp();
    EditOutcome out = changedCells(m_selection);
    out.selectionChanged = true;
    return out;
}

EditOutcome WorkingGlyph::selectAll() {
    m_tool = ToolId::Select;
    m_shapeMode = false;
    m_dragging = false;
    EditOutcome out;
    if (bounds().empty()) {
        return out;
    }
    saveUndo();
    m_selection = bounds();
    m_selectionSource = {0, 0};
    ensureFloatBuffer();
    std::copy(m_pixels.begin(), m_pixels.end(), m_floatBuffer.begin());
    m_selectionState = SelectionState::Moved;
    m_cutArea = bounds();
    out.selectionChanged = true;
    return out;
}

// --- One-shot commands

bool WorkingGlyph::columnQuestionNeeded(const Font& font, bool insert) const {
    const bool atLimit = insert ? m_width >= kMaxGlyphWidth : m_width <= 1;
    return font.fixedWidth != 0 && !atLimit;
}

EditOutcome WorkingGlyph::changeColumns(bool insert, bool right, Font& font,
                                        bool makeVariableWidth) {
    EditOutcome out;
    if (insert ? m_width >= kMaxGlyphWidth : m_width <= 1) {
        out.beep = true;
        return out;
    }
    if (font.fixedWidth != 0) {
        if (!makeVariableWidth) {
            return out;
        }
        font.fixedWidth = 0;
    }
    saveUndo();
    const int oldWidth = m_width;
    const int newWidth = insert ? oldWidth + 1 : oldWidth - 1;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(newWidth) * m_height, 0);
    // Column x of the new glyph comes from column x + shift of the old one.
    const int shift = insert ? (right ? 0 : -1) : (right ? 0 : 1);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < newWidth; ++x) {
            const int from = x + shift;
            if (from >= 0 && from < oldWidth) {
                pixels[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * newWidth] =
                    m_pixels[index(from, y)];
            }
        }
    }
    m_pixels = std::move(pixels);
    m_width = newWidth;
    ensureFloatBuffer();
    out = changedCells({0, 0, std::max(oldWidth, newWidth), m_height});
    out.selectionChanged = fitSelection(oldWidth);
    out.titleChanged = true;
    return out;
}

EditOutcome WorkingGlyph::deleteColumn(bool right, Font& font, bool makeVariableWidth) {
    return changeColumns(false, right, font, makeVariableWidth);
}

EditOutcome WorkingGlyph::insertColumn(bool right, Font& font, bool makeVariableWidth) {
    return changeColumns(true, right, font, makeVariableWidth);
}

EditOutcome WorkingGlyph::moveUp() {
    if (m_height < 2) {
        return {};
    }
    saveUndo();
    std::rotate(m_pixels.begin(), m_pixels.begin() + m_width, m_pixels.end());
    return changedCells(bounds());
}

EditOutcome WorkingGlyph::moveDown() {
    if (m_height < 2) {
        return {};
    }
    saveUndo();
    std::rotate(m_pixels.begin(), m_pixels.end() - m_width, m_pixels.end());
    return changedCells(bounds());
}

EditOutcome WorkingGlyph::moveLeft() {
    if (m_width < 2) {
        return {};
    }
    saveUndo();
    for (int y = 0; y < m_height; ++y) {
        auto row = m_pixels.begin() + static_cast<std::ptrdiff_t>(index(0, y));
        std::rotate(row, row + 1, row + m_width);
    }
    return changedCells(bounds());
}

EditOutcome WorkingGlyph::moveRight() {
    if (m_width < 2) {
        return {};
    }
    saveUndo();
    for (int y = 0; y < m_height; ++y) {
        auto row = m_pixels.begin() + static_cast<std::ptrdiff_t>(index(0, y));
        std::rotate(row, row + m_width - 1, row + m_width);
    }
    return changedCells(bounds());
}

EditOutcome WorkingGlyph::invert() {
    saveUndo();
    if (m_selectionState != SelectionState::None && !m_selection.empty()) {
        for (int y = m_selection.y; y < m_selection.y + m_selection.h; ++y) {
            for (int x = m_selection.x; x < m_selection.x + m_selection.w; ++x) {
                std::uint8_t& p = m_pixels[index(x, y)];
                p = static_cast<std::uint8_t>(m_maxValue - std::min(p, m_maxValue));
            }
        }
        // The inverted cells become a fresh selection of what they now show.
        pickUp();
        m_tool = ToolId::Select;
        m_shapeMode = false;
        EditOutcome out = changedCells(m_selection);
        out.selectionChanged = true;
        return out;
    }
    for (std::uint8_t& p : m_pixels) {
        p = static_cast<std::uint8_t>(m_maxValue - std::min(p, m_maxValue));
    }
    return changedCells(bounds());
}

EditOutcome WorkingGlyph::mirrorHorizontal() {
    if (m_width < 2) {
        return {};
    }
    saveUndo();
    for (int y = 0; y < m_height; ++y) {
        auto row = m_pixels.begin() + static_cast<std::ptrdiff_t>(index(0, y));
        std::reverse(row, row + m_width);
    }
    return changedCells(bounds());
}

EditOutcome WorkingGlyph::mirrorVertical() {
    saveUndo();
    for (int y = 0; y < m_height / 2; ++y) {
        auto top = m_pixels.begin() + static_cast<std::ptrdiff_t>(index(0, y));
        auto bottom = m_pixels.begin() + static_cast<std::ptrdiff_t>(index(0, m_height - 1 - y));
        std::swap_ranges(top, top + m_width, bottom);
    }
    return changedCells(bounds());
}

// --- Undo

EditOutcome WorkingGlyph::undo() {
    const CellRect before = bounds();
    const int oldWidth = m_width;
    std::swap(m_pixels, m_undoCopy);
    std::swap(m_width, m_undoWidth);
    // The undo copy always has the glyph's height (a load resets it), but keep the invariant
    // even if it did not.
    m_pixels.resize(static_cast<std::size_t>(m_width) * m_height, 0);
    ensureFloatBuffer();
    EditOutcome out;
    out.changed = unite(before, bounds());
    out.titleChanged = m_width != oldWidth;
    out.selectionChanged = fitSelection(oldWidth);
    return out;
}

EditOutcome WorkingGlyph::undoAll() {
    const CellRect before = bounds();
    const int oldWidth = m_width;
    m_pixels = m_loadedCopy;
    m_width = m_loadedWidth;
    ensureFloatBuffer();
    EditOutcome out = changedCells(unite(before, bounds()));
    out.titleChanged = m_width != oldWidth;
    out.selectionChanged = fitSelection(oldWidth);
    return out;
}

EditOutcome WorkingGlyph::restoreContent(std::vector<std::uint8_t> pixels, int width,
                                         const Font& font) {
    const CellRect before = bounds();
    const int oldWidth = m_width;
    m_undoCopy = std::move(m_pixels);
    m_undoWidth = m_width;
    m_pixels = std::move(pixels);
    m_width = std::clamp(width, 0, kMaxGlyphWidth);
    m_pixels.resize(static_cast<std::size_t>(m_width) * m_height, 0);
    for (std::uint8_t& v : m_pixels) {
        v = std::min(v, m_maxValue);
    }
    ensureFloatBuffer();
    const Glyph* stored = font.glyphs.find(m_unicode);
    m_modified = stored == nullptr || m_width != stored->width || m_pixels != stored->pixels;
    EditOutcome out;
    out.changed = unite(before, bounds());
    out.titleChanged = m_width != oldWidth;
    out.selectionChanged = fitSelection(oldWidth);
    return out;
}

// --- Clipboard images

ClipboardImage WorkingGlyph::copyImage() const {
    CellRect area = bounds();
    if (m_tool == ToolId::Select && m_selectionState != SelectionState::None &&
        !m_selection.empty()) {
        area = m_selection;
    }
    return glyphToImage(m_pixels, m_width, area.x, area.y, area.w, area.h, m_bitsPerPixel);
}

bool WorkingGlyph::widenQuestionNeeded(const Font& font, int imageWidth) const {
    return font.fixedWidth == 0 && imageWidth > m_width;
}

PasteOutcome WorkingGlyph::pasteImage(const ImageSource& image, const Font& font,
                                      WidenAnswer answer) {
    PasteOutcome out;
    saveUndo();
    const int imageWidth = image.width();
    const int imageHeight = image.height();
    if (imageWidth <= 0 || imageHeight <= 0) {
        out.message = kPasteError;
        return out;
    }
    bool widen = false;
    if (widenQuestionNeeded(font, imageWidth)) {
        if (answer == WidenAnswer::Cancel) {
            out.cancelled = true;
            return out;
        }
        widen = answer == WidenAnswer::Yes;
    }
    if (widen) {
        // The glyph takes the image's width, up to the widest glyph the editor makes; rows
        // below a lower image are background.
        const CellRect before = bounds();
        const int newWidth = std::max(m_width, std::min(imageWidth, kMaxGlyphWidth));
        const int w = std::min(imageWidth, newWidth);
        const int h = std::min(imageHeight, m_height);
        const std::vector<std::uint8_t> values = imageToPixels(image, w, h);
        m_pixels.assign(static_cast<std::size_t>(newWidth) * m_height, 0);
        m_width = newWidth;
        for (int y = 0; y < h; ++y) {
            std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(y) * w, w,
                        m_pixels.begin() + static_cast<std::ptrdiff_t>(index(0, y)));
        }
        ensureFloatBuffer();
        // The pixels under any selection were replaced: the selection goes.
        out.edit = dropSelection();
        merge(out.edit, changedCells(unite(before, bounds())));
        out.edit.titleChanged = true;
        return out;
    }
    const int w = std::min(imageWidth, m_width);
    const int h = std::min(imageHeight, m_height);
    if (w <= 0 || h <= 0) {
        return out;
    }
    const std::vector<std::uint8_t> values = imageToPixels(image, w, h);
    ensureFloatBuffer();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t v =
                values[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                       static_cast<std::size_t>(x)];
            m_pixels[index(x, y)] = v;
            m_floatBuffer[index(x, y)] = v;
        }
    }
    m_tool = ToolId::Select;
    m_shapeMode = false;
    m_dragging = false;
    m_selection = {0, 0, w, h};
    m_selectionSource = {0, 0};
    m_selectionState = SelectionState::Pasted;
    m_cutArea = {};
    out.edit = changedCells({0, 0, w, h});
    out.edit.selectionChanged = true;
    return out;
}

}  // namespace typeloom
