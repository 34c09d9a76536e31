#include "model/ui/character_list_grid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "charset/encodings.h"
#include "common/ui/svg_art.h"
#include "model/font.h"
#include "model/ui/characters_table_panel.h"
#include "model/ui/glyph_drawing.h"

namespace typeloom::ui {
namespace {

// --- Layout arithmetic, from the sizing rules: W = widest glyph + 8 within 36..108, N = client
// width / W (at least 1), R = width - N x W shared out as R / N per cell and one pixel each to
// the first R mod N columns.

TEST(CharacterListLayout, CellWidthIsTheWidestGlyphPlusEightWithinBounds) {
    EXPECT_EQ(characterCellWidth(0), 36);
    EXPECT_EQ(characterCellWidth(28), 36);
    EXPECT_EQ(characterCellWidth(29), 37);
    EXPECT_EQ(characterCellWidth(100), 108);
    // One very wide glyph: the cell stops at 108.
    EXPECT_EQ(characterCellWidth(101), 108);
    EXPECT_EQ(characterCellWidth(300), 108);
}

TEST(CharacterListLayout, LeftoverWidthGrowsCellsAndFirstColumns) {
    // 400 pixels of 36-pixel cells: 11 columns, 4 pixels left, no growth, 4 wider columns.
    const CharacterListLayout a = layoutCharacterList(16, 13, 400);
    EXPECT_EQ(a.cellWidth, 36);
    EXPECT_EQ(a.columns, 11);
    EXPECT_EQ(a.growth, 0);
    EXPECT_EQ(a.extraPixels, 4);
    EXPECT_EQ(a.columnWidth(3), 37);
    EXPECT_EQ(a.columnWidth(4), 36);
    EXPECT_EQ(a.columnLeft(4), 4 * 37);
    EXPECT_EQ(a.columnLeft(10) + a.columnWidth(10), 400);
    EXPECT_EQ(a.cellHeight(), 36 + 13);

    // 500 pixels: 13 columns, 32 left: every cell grows by 2 in width and height, 6 columns
    // by one more pixel.
    const CharacterListLayout b = layoutCharacterList(16, 13, 500);
    EXPECT_EQ(b.columns, 13);
    EXPECT_EQ(b.growth, 2);
    EXPECT_EQ(b.extraPixels, 6);
    EXPECT_EQ(b.columnWidth(5), 39);
    EXPECT_EQ(b.columnWidth(6), 38);
    EXPECT_EQ(b.cellHeight(), 38 + 13);
    EXPECT_EQ(b.columnLeft(12) + b.columnWidth(12), 500);

    // A glyph over 100 pixels: 108-pixel cells, 2 in 300 pixels, 84 left, 42 each.
    const CharacterListLayout c = layoutCharacterList(150, 13, 300);
    EXPECT_EQ(c.cellWidth, 108);
    EXPECT_EQ(c.columns, 2);
    EXPECT_EQ(c.growth, 42);
    EXPECT_EQ(c.extraPixels, 0);
    EXPECT_EQ(c.cellHeight(), 150 + 13);
}

TEST(CharacterListLayout, NarrowWindowKeepsOneColumnOfFullCells) {
    for (int width : {0, 1, 20, 35}) {
        SCOPED_TRACE(width);
        const CharacterListLayout layout = layoutCharacterList(16, 13, width);
        EXPECT_EQ(layout.columns, 1);
        EXPECT_EQ(layout.columnWidth(0), 36);
        EXPECT_EQ(layout.cellHeight(), 36 + 13);
    }
}

TEST(CharacterListLayout, RowsAndColumnsOfIndicesAndPoints) {
    const CharacterListLayout layout = layoutCharacterList(16, 13, 400);  // 11 columns
    EXPECT_EQ(layout.rowCount(0), 0);
    EXPECT_EQ(layout.rowCount(11), 1);
    EXPECT_EQ(layout.rowCount(12), 2);
    EXPECT_EQ(layout.rowCount(65536), 5958);
    EXPECT_EQ(layout.rowOf(10), 0);
    EXPECT_EQ(layout.rowOf(11), 1);
    EXPECT_EQ(layout.columnOf(12), 1);
    // Columns 0..3 are 37 wide, the rest 36.
    EXPECT_EQ(layout.columnAt(-1), -1);
    EXPECT_EQ(layout.columnAt(0), 0);
    EXPECT_EQ(layout.columnAt(36), 0);
    EXPECT_EQ(layout.columnAt(37), 1);
    EXPECT_EQ(layout.columnAt(147), 3);
    EXPECT_EQ(layout.columnAt(148), 4);
    EXPECT_EQ(layout.columnAt(183), 4);
    EXPECT_EQ(layout.columnAt(184), 5);
    EXPECT_EQ(layout.columnAt(399), 10);
    EXPECT_EQ(layout.columnAt(400), -1);
}

TEST(CharacterListGlyphDrawing, PlacementCentresFittingGlyphsAndShrinksLargeOnesKeepingAspect) {
    EXPECT_EQ(glyphPlacementInBox(8, 10, 36, 39), QRect(14, 14, 8, 10));
    // 110 x 16 into 102 x 102: the width ratio is the smaller, 16 x 102 / 110 = 14 rows.
    EXPECT_EQ(glyphPlacementInBox(110, 16, 102, 102), QRect(0, 44, 102, 14));
    // 10 x 200 into 30 x 30: the height ratio, 10 x 30 / 200 = 1 column.
    EXPECT_EQ(glyphPlacementInBox(10, 200, 30, 30), QRect(14, 0, 1, 30));
    // Never less than one pixel.
    EXPECT_EQ(glyphPlacementInBox(1000, 2, 10, 10), QRect(0, 4, 10, 1));
    EXPECT_TRUE(glyphPlacementInBox(0, 10, 30, 30).isEmpty());
    EXPECT_TRUE(glyphPlacementInBox(10, 10, 0, 30).isEmpty());
}

// --- Widgets

// A fixed-width font of `count` blank characters in encoding 0, codes from `firstCode`, each
// with the Unicode value of its code plus `unicodeOffset`.
Font makeFont(int count, int width, int height, std::uint16_t firstCode = 0x41,
              std::uint16_t unicodeOffset = 0) {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.height = static_cast<std::uint16_t>(height);
    for (int i = 0; i < count; ++i) {
        const auto code = static_cast<std::uint16_t>(firstCode + i);
        const auto unicode = static_cast<std::uint16_t>(code + unicodeOffset);
        font.codeList.push_back(code);
        font.unicodeList.push_back(unicode);
        font.addBlankGlyph(unicode, static_cast<std::uint16_t>(width));
    }
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

void setInk(Font& font, int index, int x, int y) {
    Glyph* glyph = font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index)));
    glyph->pixels[static_cast<std::size_t>(x + y * glyph->width)] = 1;
}

// Sizes the grid so that its client area (the viewport) is exactly width x height.
void sizeViewport(CharacterListGrid& grid, int width, int height) {
    grid.resize(width + grid.verticalScrollBar()->sizeHint().width(), height);
    grid.show();
    ASSERT_EQ(grid.viewport()->width(), width);
    ASSERT_EQ(grid.viewport()->height(), height);
}

QRgb pixelAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}
constexpr QRgb rgb(int r, int g, int b) {
    return qRgb(r, g, b) & 0xFFFFFF;
}

// Grid wired as the main window wires it through the editor: a pick becomes current.
struct WiredGrid {
    explicit WiredGrid(Font& font) : grid(font) {
        QObject::connect(&grid, &CharacterListGrid::characterPicked, &grid,
                         &CharacterListGrid::setCurrentIndex);
    }
    void press(Qt::Key key) { QTest::keyClick(&grid, key); }
    CharacterListGrid grid;
};

TEST(CharacterListGrid, CellsPaintedWhereTheGeometrySaysWithTheirColours) {
    // 5 characters 8 x 10 in a client 81 wide: W = 36, N = 2, R = 9, every cell 4 larger and
    // column 0 one pixel wider: column 0 is x 0..40, column 1 x 41..80; cell height 40 + L.
    Font font = makeFont(5, 8, 10);
    setInk(font, 0, 0, 0);
    setInk(font, 0, 7, 9);
    setInk(font, 1, 3, 4);
    CharacterListGrid grid(font);
    sizeViewport(grid, 81, 220);
    grid.setCurrentIndex(0);
    const int l = grid.cellLayout().labelHeight;
    ASSERT_GT(l, 5);
    const int cellHeight = 40 + l;
    const QImage image = grid.viewport()->grab().toImage();

    const QRgb yellow = rgb(255, 255, 192), red = rgb(255, 0, 0), white = rgb(255, 255, 255);
    const QRgb grey = rgb(192, 192, 192), empty = rgb(225, 225, 225), black = rgb(0, 0, 0);
    // Label strips: red for the current character, light yellow for the others.
    EXPECT_EQ(pixelAt(image, 1, 1), red);
    EXPECT_EQ(pixelAt(image, 42, 1), yellow);
    EXPECT_EQ(pixelAt(image, 1, cellHeight + 1), yellow);
    // Grid lines on the right and bottom of the cells.
    EXPECT_EQ(pixelAt(image, 40, l + 20), grey);
    EXPECT_EQ(pixelAt(image, 80, l + 20), grey);
    EXPECT_EQ(pixelAt(image, 20, cellHeight - 1), grey);
    // Glyph area below the strip, x 0..39 and 39 rows high: red frame for the current one,
    // white for the others.
    EXPECT_EQ(pixelAt(image, 0, l + 20), red);
    EXPECT_EQ(pixelAt(image, 39, l + 20), red);
    EXPECT_EQ(pixelAt(image, 20, l), red);
    EXPECT_EQ(pixelAt(image, 20, l + 38), red);
    EXPECT_EQ(pixelAt(image, 41, l + 20), white);
    // The 8 x 10 glyph at its own size, centred: x 0 + (40 - 8) / 2 = 16, y l + (39 - 10) / 2.
    const int gy = l + 14;
    EXPECT_EQ(pixelAt(image, 16, gy), black);
    EXPECT_EQ(pixelAt(image, 17, gy), white);
    EXPECT_EQ(pixelAt(image, 23, gy + 9), black);
    EXPECT_EQ(pixelAt(image, 15, gy), white);
    // Column 1 is 40 wide: its glyph at 41 + (39 - 8) / 2 = 56.
    EXPECT_EQ(pixelAt(image, 56 + 3, gy + 4), black);
    EXPECT_EQ(pixelAt(image, 56 + 2, gy + 4), white);
    // Cell 5 (row 2, column 1) holds no character; below the third row is the empty area.
    EXPECT_EQ(pixelAt(image, 60, 2 * cellHeight + 1), empty);
    EXPECT_EQ(pixelAt(image, 60, 2 * cellHeight + 25), empty);
    EXPECT_EQ(pixelAt(image, 5, 3 * cellHeight + 2), empty);
    EXPECT_EQ(pixelAt(image, 5, 219), empty);
    // Cell 4 (row 2, column 0) holds one.
    EXPECT_EQ(pixelAt(image, 1, 2 * cellHeight + 1), yellow);

    // Moving the mark repaints both cells.
    grid.setCurrentIndex(1);
    const QImage moved = grid.viewport()->grab().toImage();
    EXPECT_EQ(pixelAt(moved, 1, 1), yellow);
    EXPECT_EQ(pixelAt(moved, 0, l + 20), white);
    EXPECT_EQ(pixelAt(moved, 42, 1), red);
    EXPECT_EQ(pixelAt(moved, 41, l + 20), red);
}

// The strip of cell 0 as the grid would paint it with `text` as its label.
QImage referenceStrip(const CharacterListGrid& grid, const QString& text, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(255, 255, 192));
    QPainter painter(&image);
    painter.setFont(grid.labelFont());
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, text);
    return image;
}

TEST(CharacterListGrid, LabelShowsTheCodeNotTheUnicodeValue) {
    // Encoding 0: code 0x80 is the euro sign U+20AC in the Western code page.
    Font font = makeFont(1, 8, 10, 0x80, 0x20AC - 0x80);
    CharacterListGrid grid(font);
    sizeViewport(grid, 40, 120);
    const int l = grid.cellLayout().labelHeight;
    const QImage strip = grid.viewport()
                             ->grab()
                             .toImage()
                             .copy(0, 0, 39, l)
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(strip, referenceStrip(grid, QStringLiteral("0080"), 39, l));
    EXPECT_NE(strip, referenceStrip(grid, QStringLiteral("20AC"), 39, l));
}

TEST(CharacterListGrid, VeryWideGlyphIsScaledIntoTheCell) {
    // A 110-pixel glyph: W = 108, one column in a client of 108, square 108, glyph area
    // 107 x 107 below the strip. Scaled into 102 x 102 at (2, l + 2): 102 x 14 (16 x 102 / 110
    // rows), centred 44 rows down. Shrinking lets ink win: destination column 0 merges source
    // columns 0 and 1, column 1 source column 2, column 100 source column 108 and column 101
    // source column 109; destination row 0 merges rows 0 and 1, row 1 row 2, row 13 row 15.
    Font font = makeFont(1, 110, 16);
    setInk(font, 0, 1, 0);
    setInk(font, 0, 109, 15);
    CharacterListGrid grid(font);
    sizeViewport(grid, 108, 300);
    EXPECT_EQ(grid.cellLayout().cellWidth, 108);
    const int l = grid.cellLayout().labelHeight;
    const QImage image = grid.viewport()->grab().toImage();
    const int x = 2, y = l + 2 + 44;
    EXPECT_EQ(pixelAt(image, x, y), rgb(0, 0, 0));
    EXPECT_EQ(pixelAt(image, x + 1, y), rgb(255, 255, 255));
    EXPECT_EQ(pixelAt(image, x, y + 1), rgb(255, 255, 255));
    EXPECT_EQ(pixelAt(image, x + 101, y + 13), rgb(0, 0, 0));
    EXPECT_EQ(pixelAt(image, x + 100, y + 13), rgb(255, 255, 255));
    EXPECT_EQ(pixelAt(image, x + 101, y + 12), rgb(255, 255, 255));
}

TEST(CharacterListGrid, OddFontsPaintWithoutCrashing) {
    Font empty;
    CharacterListGrid emptyGrid(empty);
    sizeViewport(emptyGrid, 100, 100);
    const QImage image = emptyGrid.viewport()->grab().toImage();
    // No cells: everything is the empty colour.
    EXPECT_EQ(pixelAt(image, 1, 1), rgb(225, 225, 225));
    EXPECT_EQ(pixelAt(image, 99, 99), rgb(225, 225, 225));
    EXPECT_EQ(emptyGrid.indexAt(QPoint(1, 1)), -1);
    emptyGrid.setCurrentIndex(0);
    EXPECT_EQ(emptyGrid.currentIndex(), -1);

    // A zero-width glyph, a glyph wider than its cell whose pixels fall short of its size,
    // a character without glyph and a glyph taller than the cell.
    Font odd = makeFont(4, 6, 120);
    odd.glyphs.find(static_cast<std::uint16_t>(odd.unicodeAt(0)))->width = 0;
    Glyph* shortGlyph = odd.glyphs.find(static_cast<std::uint16_t>(odd.unicodeAt(1)));
    shortGlyph->width = 500;
    shortGlyph->pixels.assign(700, 1);
    odd.glyphs.erase(static_cast<std::uint16_t>(odd.unicodeAt(2)));
    CharacterListGrid oddGrid(odd);
    sizeViewport(oddGrid, 200, 400);
    oddGrid.setCurrentIndex(3);
    EXPECT_FALSE(oddGrid.viewport()->grab().toImage().isNull());
}

TEST(CharacterListGrid, ArrowKeysMoveByOneAndByARowButNotPastTheEnds) {
    // 9 characters in 2 columns (client 81 wide): rows 0..4, index 8 alone in the last row.
    Font font = makeFont(9, 8, 10);
    WiredGrid w(font);
    sizeViewport(w.grid, 81, 600);
    QSignalSpy picked(&w.grid, &CharacterListGrid::characterPicked);

    w.grid.setCurrentIndex(0);
    w.press(Qt::Key_Left);
    w.press(Qt::Key_Up);
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(w.grid.currentIndex(), 0);
    w.press(Qt::Key_Down);
    EXPECT_EQ(w.grid.currentIndex(), 2);
    w.press(Qt::Key_Right);
    EXPECT_EQ(w.grid.currentIndex(), 3);
    // From the end of a row to the start of the next.
    w.press(Qt::Key_Right);
    EXPECT_EQ(w.grid.currentIndex(), 4);
    w.press(Qt::Key_Up);
    EXPECT_EQ(w.grid.currentIndex(), 2);
    w.press(Qt::Key_Left);
    EXPECT_EQ(w.grid.currentIndex(), 1);

    // Index 8 is the last character; 7 sits above nothing.
    picked.clear();
    w.grid.setCurrentIndex(8);
    w.press(Qt::Key_Right);
    w.press(Qt::Key_Down);
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(w.grid.currentIndex(), 8);
    w.grid.setCurrentIndex(7);
    w.press(Qt::Key_Down);
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(w.grid.currentIndex(), 7);
    w.press(Qt::Key_Right);
    EXPECT_EQ(w.grid.currentIndex(), 8);
}

TEST(CharacterListGrid, KeysAskTheEditorAndLeaveTheMarkToIt) {
    Font font = makeFont(9, 8, 10);
    CharacterListGrid grid(font);  // not wired: nobody accepts the pick
    sizeViewport(grid, 81, 600);
    QSignalSpy picked(&grid, &CharacterListGrid::characterPicked);
    grid.setCurrentIndex(4);
    QTest::keyClick(&grid, Qt::Key_Right);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toInt(), 5);
    EXPECT_EQ(grid.currentIndex(), 4);
}

TEST(CharacterListGrid, ScrollsOneRowWhenTheCurrentLeavesTheView) {
    // 40 characters in 2 columns: 20 rows; 3 whole rows and half a fourth in view.
    Font font = makeFont(40, 8, 10);
    WiredGrid w(font);
    CharacterListGrid& grid = w.grid;
    const int cellHeight = 40 + grid.cellLayout().labelHeight;
    sizeViewport(grid, 81, 3 * cellHeight + cellHeight / 2);
    ASSERT_EQ(grid.visibleRows(), 3);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 17);

    grid.setCurrentIndex(5);  // row 2, the last whole row in view
    EXPECT_EQ(grid.topRow(), 0);
    w.press(Qt::Key_Down);  // row 3, only half in view
    EXPECT_EQ(grid.currentIndex(), 7);
    EXPECT_EQ(grid.topRow(), 1);
    w.press(Qt::Key_Right);  // index 8, row 4
    EXPECT_EQ(grid.topRow(), 2);
    w.press(Qt::Key_Up);  // row 3, in view
    EXPECT_EQ(grid.topRow(), 2);
    w.press(Qt::Key_Up);
    w.press(Qt::Key_Up);  // row 1
    EXPECT_EQ(grid.currentIndex(), 2);
    EXPECT_EQ(grid.topRow(), 1);
    // The cell of the current character is where the scroll put it.
    EXPECT_EQ(grid.cellRect(2), QRect(0, 0, 41, cellHeight));
    EXPECT_TRUE(grid.cellRect(0).isEmpty());
}

TEST(CharacterListGrid, PageKeysHomeEndAndWheelScrollByRows) {
    Font font = makeFont(40, 8, 10);
    CharacterListGrid grid(font);
    const int cellHeight = 40 + grid.cellLayout().labelHeight;
    sizeViewport(grid, 81, 3 * cellHeight + 5);
    grid.setCurrentIndex(0);
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(grid.topRow(), 3);
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(grid.topRow(), 17);
    QTest::keyClick(&grid, Qt::Key_PageUp);
    EXPECT_EQ(grid.topRow(), 14);
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.topRow(), 0);
    // Scrolling leaves the current character alone.
    EXPECT_EQ(grid.currentIndex(), 0);

    auto wheel = [&](int delta, QWidget* target = nullptr) {
        target = target != nullptr ? target : grid.viewport();
        const QPointF at(5, 5);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    wheel(-120);  // towards the user: down three rows
    EXPECT_EQ(grid.topRow(), 3);
    wheel(-240);
    EXPECT_EQ(grid.topRow(), 9);
    wheel(120);
    EXPECT_EQ(grid.topRow(), 6);
    // Half notches add up to one notch.
    wheel(-60);
    EXPECT_EQ(grid.topRow(), 6);
    wheel(-60);
    EXPECT_EQ(grid.topRow(), 9);
    // Over the scroll bar as well three rows per notch.
    wheel(-120, grid.verticalScrollBar());
    EXPECT_EQ(grid.topRow(), 12);

    // Ctrl+End and Ctrl+Home pick the last and the first character (not the current one).
    std::vector<int> picked;
    QObject::connect(&grid, &CharacterListGrid::characterPicked,
                     [&](int index) { picked.push_back(index); });
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(picked, std::vector<int>{39});
}

TEST(CharacterListGrid, ClicksPickCharactersButNotEmptyCells) {
    // 5 characters in 2 columns, 3 rows: cell 5 and the area below are empty.
    Font font = makeFont(5, 8, 10);
    CharacterListGrid grid(font);
    sizeViewport(grid, 81, 400);
    grid.setCurrentIndex(0);
    const int cellHeight = 40 + grid.cellLayout().labelHeight;
    QSignalSpy picked(&grid, &CharacterListGrid::characterPicked);

    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(60, cellHeight + 20));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toInt(), 3);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(60, 2 * cellHeight + 20));
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(10, 3 * cellHeight + 20));
    EXPECT_EQ(picked.count(), 1);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(10, 2 * cellHeight + 20));
    ASSERT_EQ(picked.count(), 2);
    EXPECT_EQ(picked.at(1).at(0).toInt(), 4);

    // The hand is shown over characters only.
    QTest::mouseMove(grid.viewport(), QPoint(60, cellHeight + 20));
    EXPECT_TRUE(grid.handCursorShown());
    EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(grid.viewport()->cursor().hotSpot(), ui::handCursor().hotSpot());
    QTest::mouseMove(grid.viewport(), QPoint(60, 2 * cellHeight + 20));
    EXPECT_FALSE(grid.handCursorShown());
}

TEST(CharacterListGrid, RelayoutFollowsTheFont) {
    Font font = makeFont(30, 8, 10);
    CharacterListGrid grid(font);
    sizeViewport(grid, 230, 300);
    EXPECT_EQ(grid.cellLayout().columns, 6);  // 230 / 36
    grid.setCurrentIndex(29);

    // The characters table shrinks to 10 characters of 40 pixels: W = 48, 4 columns.
    font = makeFont(10, 40, 10);
    grid.relayout();
    EXPECT_EQ(grid.cellLayout().cellWidth, 48);
    EXPECT_EQ(grid.cellLayout().columns, 4);
    EXPECT_EQ(grid.currentIndex(), -1);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 0);
}

// --- The panel

TEST(CharactersTablePanel, ButtonsSitInTheBottomRightCornerAndTheGridAboveThem) {
    Font font = makeFont(5, 8, 10);
    CharactersTablePanel panel(font);
    for (QSize size : {QSize(300, 500), QSize(420, 360)}) {
        SCOPED_TRACE(size.width());
        panel.resize(size);
        panel.show();
        const QRect help = panel.helpButton()->geometry();
        const QRect edit = panel.editTableButton()->geometry();
        EXPECT_EQ(help.x() + help.width(), size.width() - 10);
        EXPECT_EQ(help.y() + help.height(), size.height() - 10);
        EXPECT_EQ(edit.y(), help.y());
        EXPECT_EQ(help.x() - (edit.x() + edit.width()), 10);
        EXPECT_EQ(help.size(), panel.helpButton()->sizeHint());
        const QRect grid = panel.grid()->geometry();
        EXPECT_EQ(grid.x(), 0);
        EXPECT_EQ(grid.width(), size.width());
        EXPECT_EQ(grid.y() + grid.height(), help.y() - 10);
    }
    EXPECT_EQ(panel.editTableButton()->text(), QStringLiteral("Edit Table..."));
    EXPECT_EQ(panel.helpButton()->text(), QStringLiteral("&Help"));
}

TEST(CharactersTablePanel, ButtonsReportToTheMainWindow) {
    Font font = makeFont(5, 8, 10);
    CharactersTablePanel panel(font);
    panel.resize(300, 400);
    panel.show();
    QSignalSpy edit(&panel, &CharactersTablePanel::editTableRequested);
    QSignalSpy help(&panel, &CharactersTablePanel::helpRequested);

    // Without the dialog "Edit Table..." is disabled and its command does nothing.
    EXPECT_FALSE(panel.editTableButton()->isEnabled());
    panel.pressEditTable();
    QTest::mouseClick(panel.editTableButton(), Qt::LeftButton);
    EXPECT_EQ(edit.count(), 0);
    panel.setEditTableAvailable(true);
    panel.pressEditTable();
    QTest::mouseClick(panel.editTableButton(), Qt::LeftButton);
    EXPECT_EQ(edit.count(), 2);

    QTest::mouseClick(panel.helpButton(), Qt::LeftButton);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toString(), QStringLiteral("changerange.htm"));
}

}  // namespace
}  // namespace typeloom::ui
