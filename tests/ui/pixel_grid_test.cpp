#include "editor/ui/pixel_grid.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "common/settings_store.h"
#include "ui/editor_ui_support.h"

namespace typeloom::ui {
namespace {

using test::fontOf;
using test::GlyphPicture;
using Rows = std::vector<std::string>;

// Mouse positions are worked out here from the grid's layout as the user sees it: the first
// cell at (10, 10), a cell pitch of `zoom` pixels, one more pixel down for the rows at and
// below the ascent.
class PixelGridTest : public ::testing::Test {
  protected:
    void open(const std::vector<GlyphPicture>& glyphs, std::int16_t ascent = 0,
              std::uint32_t bits = 1, int zoom = 15) {
        grid.reset();
        font = fontOf(glyphs, ascent, bits);
        settings.writeInteger("Settings", "Grid zoom", zoom);
        grid = std::make_unique<PixelGrid>(font, settings);
        grid->resize(420, 420);
        grid->loadCharacter(0);
    }
    void open(const Rows& rows, std::int16_t ascent = 0, std::uint32_t bits = 1) {
        open({{'A', rows}}, ascent, bits);
    }
    // The middle of cell (x, y) at zoom 15 in a font without baseline.
    static QPoint at(int x, int y) { return {10 + 15 * x + 7, 10 + 15 * y + 7}; }
    Rows picture() const { return test::picture(grid->workingGlyph()); }

    void press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mousePress(grid.get(), Qt::LeftButton, mods, p);
    }
    void release(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseRelease(grid.get(), Qt::LeftButton, mods, p);
    }
    void move(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        test::dragTo(grid.get(), p, mods);
    }
    void click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        press(p, mods);
        release(p, mods);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        press(from, mods);
        move(to, mods);
        release(to, mods);
    }
    QImage screenshot() const { return grid->grab().toImage(); }

    Font font;
    MemorySettingsStore settings;
    std::unique_ptr<PixelGrid> grid;
};

// --- Pencil and eraser

TEST_F(PixelGridTest, PencilClickInvertsWithOrWithoutCtrlAndDragInvertsEachCellOnce) {
    open(Rows{"##....", "......"});
    QSignalSpy modified(grid.get(), &PixelGrid::documentModified);
    click(at(0, 0));
    EXPECT_EQ(picture(), (Rows{".#....", "......"}));
    // Ctrl does not turn a 1-bit pencil into an eraser: a white cell becomes black.
    click(at(0, 0), Qt::ControlModifier);
    click(at(2, 0), Qt::ControlModifier);
    EXPECT_EQ(picture(), (Rows{"###...", "......"}));
    EXPECT_TRUE(grid->isChanged());
    EXPECT_EQ(modified.count(), 3);

    // A drag inverts the pressed cell and every cell entered; staying in a cell does nothing,
    // and a move out of the grid does not draw.
    press(at(3, 0));
    move(at(3, 0) + QPoint(3, 3));
    move(at(4, 0));
    move(at(4, 1));
    move(QPoint(400, 400));
    release(QPoint(400, 400));
    EXPECT_EQ(picture(), (Rows{"#####.", "....#."}));
    // Moving with the button up after the release draws nothing.
    test::dragTo(grid.get(), at(5, 1), Qt::NoModifier, Qt::NoButton);
    EXPECT_EQ(picture(), (Rows{"#####.", "....#."}));
}

TEST_F(PixelGridTest, EraserClearsWhatItCrosses) {
    open(Rows{"######", "######"});
    grid->setTool(ToolId::Eraser);
    press(at(1, 0));
    move(at(2, 0));
    move(at(2, 1));
    release(at(2, 1));
    EXPECT_EQ(picture(), (Rows{"#..###", "##.###"}));
}

TEST_F(PixelGridTest, PencilInAGreyFontDrawsTheColourAndCtrlErases) {
    open(Rows{".#23", "...."}, 0, 2);
    grid->setCurrentColor(2);
    click(at(0, 0));
    click(at(3, 0), Qt::ControlModifier);
    EXPECT_EQ(picture(), (Rows{"2#2.", "...."}));
}

// --- Shapes

TEST_F(PixelGridTest, LineDragsDrawStraightRowsOrColumns) {
    open(test::blankRows(10, 10));
    grid->setTool(ToolId::Line);
    // More horizontal than vertical: the anchor's row.
    drag(at(2, 5), at(9, 7));
    EXPECT_EQ(picture()[5], "..########");
    EXPECT_EQ(picture()[7], "..........");
    grid->reloadEditedGlyph();
    // More vertical: the anchor's column; the earlier end of the drag is taken back.
    press(at(2, 5));
    move(at(8, 5));
    move(at(4, 9));
    release(at(4, 9));
    Rows expected = test::blankRows(10, 10);
    for (int y = 5; y <= 9; ++y) {
        expected[static_cast<std::size_t>(y)][2] = '#';
    }
    EXPECT_EQ(picture(), expected);
    grid->reloadEditedGlyph();
    // A diagonal gives a column.
    drag(at(2, 2), at(5, 5));
    EXPECT_EQ(picture()[2], "..#.......");
    EXPECT_EQ(picture()[5], "..#.......");
}

TEST_F(PixelGridTest, RectangleReleasedOutsideTheWindowKeepsTheLastRectangle) {
    open(test::blankRows(8, 8));
    grid->setTool(ToolId::Rectangle);
    press(at(6, 6));
    move(at(2, 3));
    const Rows outline{"........", "........", "........", "..#####.",
                       "..#...#.", "..#...#.", "..#####.", "........"};
    EXPECT_EQ(picture(), outline);
    // Beyond the window the end is held at the glyph's edge.
    move(QPoint(-40, -40));
    const Rows wide{"#######.", "#.....#.", "#.....#.", "#.....#.",
                    "#.....#.", "#.....#.", "#######.", "........"};
    EXPECT_EQ(picture(), wide);
    release(QPoint(-40, -40));
    EXPECT_FALSE(grid->workingGlyph().dragging());
    test::dragTo(grid.get(), at(0, 0), Qt::NoModifier, Qt::NoButton);
    EXPECT_EQ(picture(), wide);
}

TEST_F(PixelGridTest, FilledRectangleWithCtrlDrawsBackground) {
    open(Rows{"####", "####", "####"});
    grid->setTool(ToolId::FilledRectangle);
    drag(at(1, 0), at(2, 1), Qt::ControlModifier);
    EXPECT_EQ(picture(), (Rows{"#..#", "#..#", "####"}));
}

// --- Selection

TEST_F(PixelGridTest, RubberBandSelectsTheCellsUnderItsCornersAndHandlesReshapeIt) {
    open(test::blankRows(6, 5));
    grid->setTool(ToolId::Select);
    // A band less than a cell both ways selects nothing.
    drag(at(1, 1), at(1, 1) + QPoint(6, 6));
    EXPECT_EQ(grid->workingGlyph().selectionState(), SelectionState::None);
    drag(at(1, 1), at(2, 2));
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{1, 1, 2, 2}));
    EXPECT_EQ(grid->workingGlyph().selectionState(), SelectionState::InPlace);
    // The frame lies on the grid lines around the cells: x 24 (before column 1) to 54 (after
    // column 2).
    EXPECT_EQ(grid->trackerRect(), QRect(QPoint(24, 24), QPoint(54, 54)));
    EXPECT_TRUE(grid->canDelete());
    // The band is clipped to the glyph, even when released outside the window.
    drag(at(4, 3), QPoint(900, 900));
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{4, 3, 2, 2}));
    // The frame now runs from (69, 54) to (99, 84); its top-left handle is the 6-pixel square
    // just outside that corner. Dragged onto cell (2, 1) it keeps the bottom-right corner.
    drag(QPoint(65, 50), at(2, 1));
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{2, 1, 4, 4}));
    // The frame (39, 24)-(99, 84) has its right-edge handle at x 100..105 around y 54: it moves
    // the right side only, whatever row the pointer ends on.
    drag(QPoint(102, 53), at(3, 0));
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{2, 1, 2, 4}));
    // A press outside the glyph drops the selection.
    click(QPoint(300, 300));
    EXPECT_EQ(grid->workingGlyph().selectionState(), SelectionState::None);
    EXPECT_FALSE(grid->canDelete());
}

TEST_F(PixelGridTest, MovingASelectionCutsItFirstAndThenPutsBackWhatItCovered) {
    open(Rows{"##.#..", "##.#..", "......"});
    grid->setTool(ToolId::Select);
    drag(at(0, 0), at(1, 1));
    press(at(0, 0));
    move(at(2, 0));
    EXPECT_EQ(picture(), (Rows{"..##..", "..##..", "......"}));
    EXPECT_EQ(grid->workingGlyph().selectionState(), SelectionState::Moved);
    move(at(4, 0));
    release(at(4, 0));
    // The column under the first place comes back; the source stays cut.
    EXPECT_EQ(picture(), (Rows{"...###", "...###", "......"}));
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{4, 0, 2, 2}));
    EXPECT_TRUE(grid->isChanged());
    // Dragged past the edge and back, the selection stops at the edge and keeps all its cells.
    press(at(4, 0));
    move(QPoint(600, 17));
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{4, 0, 2, 2}));
    move(at(2, 0));
    release(at(2, 0));
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{2, 0, 2, 2}));
    EXPECT_EQ(picture(), (Rows{"..##..", "..##..", "......"}));
}

TEST_F(PixelGridTest, DeleteClearsExactlyTheSelectedCells) {
    open(Rows{"###", "###"});
    grid->setTool(ToolId::Select);
    // The single top-left cell: a band drawn from below right of it up to the margin.
    drag(at(0, 0) + QPoint(7, 7), QPoint(2, 2));
    ASSERT_EQ(grid->workingGlyph().selection(), (CellRect{0, 0, 1, 1}));
    grid->deleteSelection();
    EXPECT_EQ(picture(), (Rows{".##", "###"}));
    // Without the Select tool Delete does nothing.
    grid->setTool(ToolId::Pencil);
    grid->deleteSelection();
    EXPECT_EQ(picture(), (Rows{".##", "###"}));
}

TEST_F(PixelGridTest, SelectAllTakesTheWholeGlyphAndTheSelectTool) {
    open(Rows{"#.#", ".#."});
    QSignalSpy tools(grid.get(), &PixelGrid::toolChanged);
    grid->selectAll();
    EXPECT_EQ(grid->tool(), ToolId::Select);
    ASSERT_EQ(tools.count(), 1);
    EXPECT_EQ(tools.at(0).at(0).value<ToolId>(), ToolId::Select);
    EXPECT_EQ(grid->workingGlyph().selection(), (CellRect{0, 0, 3, 2}));
    grid->deleteSelection();
    EXPECT_EQ(picture(), (Rows{"...", "..."}));
}

// --- Clipboard

TEST_F(PixelGridTest, CopyPutsTheSelectionOnTheClipboardAsABlackAndWhiteImage) {
    open(Rows{"#..", ".#.", "..#"});
    grid->copy();
    QImage whole = QGuiApplication::clipboard()->image();
    ASSERT_EQ(whole.size(), QSize(3, 3));
    EXPECT_EQ(whole.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(whole.pixelColor(1, 0), QColor(255, 255, 255));
    grid->setTool(ToolId::Select);
    drag(at(1, 1), at(2, 2));
    grid->copy();
    const QImage part = QGuiApplication::clipboard()->image();
    ASSERT_EQ(part.size(), QSize(2, 2));
    EXPECT_EQ(part.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(part.pixelColor(1, 0), QColor(255, 255, 255));
    EXPECT_EQ(part.pixelColor(1, 1), QColor(0, 0, 0));
}

TEST_F(PixelGridTest, PasteFloatsTheImageUntilTheUserDragsItIntoPlace) {
    open(Rows{".#....", "......", "......"});
    font.fixedWidth = 6;
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));      // luminance 76: ink
    image.setPixel(1, 0, qRgb(200, 200, 200));  // luminance 200: background
    QGuiApplication::clipboard()->setImage(image);
    EXPECT_TRUE(grid->canPaste());
    grid->paste();
    EXPECT_EQ(picture(), (Rows{"#.....", "......", "......"}));
    EXPECT_EQ(grid->tool(), ToolId::Select);
    EXPECT_EQ(grid->workingGlyph().selectionState(), SelectionState::Pasted);
    press(at(0, 0));
    move(at(2, 2));
    release(at(2, 2));
    // What the image covered comes back.
    EXPECT_EQ(picture(), (Rows{".#....", "......", "..#..."}));
    // Deleting the image still floating takes the paste back.
    grid->deleteSelection();
    EXPECT_EQ(picture(), (Rows{".#....", "......", "......"}));
}

TEST_F(PixelGridTest, WiderImageAsksWhetherToWidenTheGlyph) {
    open(Rows{"......", "......"});
    QImage image(8, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(7, 0, qRgb(0, 0, 0));
    QGuiApplication::clipboard()->setImage(image);
    QString asked;
    grid->widenQuestion = [&](const QString& q) {
        asked = q;
        return WidenAnswer::Cancel;
    };
    grid->paste();
    EXPECT_TRUE(asked.startsWith("The copied bitamp is wider than the current editing character."));
    EXPECT_EQ(picture(), (Rows{"......", "......"}));
    EXPECT_FALSE(grid->isChanged());
    grid->widenQuestion = [](const QString&) { return WidenAnswer::Yes; };
    grid->paste();
    EXPECT_EQ(picture(), (Rows{".......#", "........"}));
}

TEST_F(PixelGridTest, PasteWithoutAnImageShowsTheErrorAndChangesNothing) {
    open(Rows{"#."});
    QGuiApplication::clipboard()->setText("not a picture");
    QString shown;
    grid->errorMessage = [&](const QString& m) { shown = m; };
    EXPECT_FALSE(grid->canPaste());
    grid->paste();
    EXPECT_EQ(shown, "Error pasting bitmap from clipboard");
    EXPECT_EQ(picture(), (Rows{"#."}));
}

TEST_F(PixelGridTest, AHugeImageOnlyFillsTheGlyph) {
    open(Rows{"....", "...."});
    QImage image(4000, 3000, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    image.setPixel(1, 1, 1);
    QGuiApplication::clipboard()->setImage(image);
    font.fixedWidth = 4;
    grid->paste();
    EXPECT_EQ(picture(), (Rows{"....", ".#.."}));
    // Widened, the glyph stops at the editor's widest glyph.
    font.fixedWidth = 0;
    grid->reloadEditedGlyph();
    grid->widenQuestion = [](const QString&) { return WidenAnswer::Yes; };
    grid->paste();
    EXPECT_EQ(grid->workingGlyph().width(), kMaxGlyphWidth);
    EXPECT_EQ(grid->workingGlyph().pixel(1, 1), 1);
}

// --- Undo

TEST_F(PixelGridTest, UndoTwiceReturnsToTheEditAndUndoAllToTheLoadedGlyph) {
    open(Rows{"...", "..."});
    click(at(0, 0));
    click(at(1, 1));
    EXPECT_EQ(picture(), (Rows{"#..", ".#."}));
    grid->undo();
    EXPECT_EQ(picture(), (Rows{"#..", "..."}));
    grid->undo();
    EXPECT_EQ(picture(), (Rows{"#..", ".#."}));
    EXPECT_TRUE(grid->canUndoAll());
    grid->undoAll();
    EXPECT_EQ(picture(), (Rows{"...", "..."}));
}

TEST_F(PixelGridTest, StoreWritesTheGlyphIntoTheFontAndReloadDiscards) {
    open(std::vector<GlyphPicture>{{'A', {"..", ".."}}, {'B', {"##", "##"}}});
    QSignalSpy stored(grid.get(), &PixelGrid::glyphStored);
    grid->storeEditedGlyph();
    EXPECT_EQ(stored.count(), 0);
    click(at(0, 0));
    grid->storeEditedGlyph();
    ASSERT_EQ(stored.count(), 1);
    EXPECT_EQ(stored.at(0).at(0).toInt(), 0);
    EXPECT_EQ(font.glyphs.find('A')->pixels, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_FALSE(grid->isChanged());
    click(at(1, 1));
    grid->reloadEditedGlyph();
    EXPECT_EQ(picture(), (Rows{"#.", ".."}));
    grid->loadCharacter(1);
    EXPECT_EQ(grid->currentIndex(), 1);
    EXPECT_EQ(picture(), (Rows{"##", "##"}));
}

// --- Column commands

TEST_F(PixelGridTest, ColumnCommandInAFixedWidthFontAsksFirst) {
    open(Rows{"##", "##"});
    font.fixedWidth = 2;
    QString asked;
    grid->fixedWidthQuestion = [&](const QString& q) {
        asked = q;
        return false;
    };
    grid->setTool(ToolId::InsertColumn);
    EXPECT_TRUE(asked.startsWith("This is a fixed-width font."));
    EXPECT_EQ(picture(), (Rows{"##", "##"}));
    EXPECT_EQ(font.fixedWidth, 2);
    grid->fixedWidthQuestion = [](const QString&) { return true; };
    QSignalSpy title(grid.get(), &PixelGrid::titleChanged);
    grid->setTool(ToolId::InsertColumn, /*ctrl=*/true);
    EXPECT_EQ(picture(), (Rows{"##.", "##."}));
    EXPECT_EQ(font.fixedWidth, 0);
    EXPECT_EQ(title.count(), 1);
}

// --- Geometry and painting

TEST_F(PixelGridTest, Zoom15WithAscent8LeavesATwoPixelBaseline) {
    Rows rows = test::blankRows(2, 10);
    rows[7] = "#.";
    rows[8] = "#.";
    open(rows, 8);
    const QImage shot = screenshot();
    const QColor black(0, 0, 0), white(255, 255, 255), grey(192, 192, 192);
    // Cell (0, 7) is the square 115..128, cell (0, 8) starts at 131.
    EXPECT_EQ(shot.pixelColor(10, 115), black);
    EXPECT_EQ(shot.pixelColor(23, 128), black);
    EXPECT_EQ(shot.pixelColor(10, 129), grey);
    EXPECT_EQ(shot.pixelColor(10, 130), grey);
    EXPECT_EQ(shot.pixelColor(10, 131), black);
    EXPECT_EQ(shot.pixelColor(23, 144), black);
    EXPECT_EQ(shot.pixelColor(10, 145), grey);
    // The grid line between the columns, and the white cell (1, 8) at x 25.
    EXPECT_EQ(shot.pixelColor(24, 131), grey);
    EXPECT_EQ(shot.pixelColor(25, 131), white);
    EXPECT_EQ(shot.pixelColor(9, 10), grey);
}

TEST_F(PixelGridTest, AClickOnTheFirstPixelBelowTheBaselineHitsThatRow) {
    open(test::blankRows(2, 10), 8);
    // Row 8's square starts at y 131, just below the two baseline pixels 129 and 130.
    click(QPoint(12, 131));
    EXPECT_EQ(grid->workingGlyph().pixel(0, 8), 1);
    EXPECT_EQ(grid->workingGlyph().pixel(0, 7), 0);
    // The last pixel of row 7 (y 128) and the last of row 9 (y 159) hit their own rows.
    click(QPoint(12, 128));
    click(QPoint(27, 159));
    EXPECT_EQ(grid->workingGlyph().pixel(0, 7), 1);
    EXPECT_EQ(grid->workingGlyph().pixel(1, 9), 1);
    EXPECT_EQ(grid->workingGlyph().pixel(1, 8), 0);
}

TEST_F(PixelGridTest, Zoom1PaintsPixelForPixelWithoutLines) {
    font = fontOf({{'A', {"#.#", ".#."}}}, 1);
    settings.writeInteger("Settings", "Grid zoom", 1);
    grid = std::make_unique<PixelGrid>(font, settings);
    grid->resize(60, 60);
    grid->loadCharacter(0);
    const QImage shot = screenshot();
    const QColor black(0, 0, 0), white(255, 255, 255), grey(192, 192, 192);
    EXPECT_EQ(shot.pixelColor(10, 10), black);
    EXPECT_EQ(shot.pixelColor(11, 10), white);
    EXPECT_EQ(shot.pixelColor(12, 10), black);
    EXPECT_EQ(shot.pixelColor(10, 11), white);
    EXPECT_EQ(shot.pixelColor(11, 11), black);
    EXPECT_EQ(shot.pixelColor(13, 10), grey);
    EXPECT_EQ(shot.pixelColor(10, 12), grey);
    // And the pixel at (11, 11) is the cell (1, 1) for the pencil, below the ascent too.
    QTest::mouseClick(grid.get(), Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    EXPECT_EQ(grid->workingGlyph().pixel(1, 1), 0);
}

TEST_F(PixelGridTest, TwoBitValuesShowAsFourGreys) {
    open(Rows{".#23"}, 0, 2);
    const QImage shot = screenshot();
    EXPECT_EQ(shot.pixelColor(at(0, 0)), QColor(255, 255, 255));
    EXPECT_EQ(shot.pixelColor(at(1, 0)), QColor(170, 170, 170));
    EXPECT_EQ(shot.pixelColor(at(2, 0)), QColor(85, 85, 85));
    EXPECT_EQ(shot.pixelColor(at(3, 0)), QColor(0, 0, 0));
}

TEST_F(PixelGridTest, ZoomStaysWithinOneToThirtyAndIsKeptWhenTheGridCloses) {
    font = fontOf({{'A', {"#"}}}, 0);
    settings.writeInteger("Settings", "Grid zoom", 30);
    grid = std::make_unique<PixelGrid>(font, settings);
    QSignalSpy zooms(grid.get(), &PixelGrid::zoomChanged);
    grid->zoomStep(true);
    EXPECT_EQ(grid->zoom(), 30);
    grid->setZoom(1);
    grid->zoomStep(false);
    EXPECT_EQ(grid->zoom(), 1);
    grid->zoomStep(true);
    EXPECT_EQ(zooms.count(), 2);
    grid.reset();
    EXPECT_EQ(settings.integer("Settings", "Grid zoom", 0), 2);
    // A stored value out of range still gives a usable zoom.
    settings.writeInteger("Settings", "Grid zoom", 500);
    EXPECT_EQ(PixelGrid(font, settings).zoom(), 30);
    settings.writeInteger("Settings", "Grid zoom", 0);
    EXPECT_EQ(PixelGrid(font, settings).zoom(), 1);
}

TEST_F(PixelGridTest, CursorFollowsTheTool) {
    open(Rows{"#"});
    grid->setTool(ToolId::Line);
    EXPECT_EQ(grid->cursor().shape(), Qt::CrossCursor);
    grid->setTool(ToolId::FilledRectangle);
    EXPECT_EQ(grid->cursor().shape(), Qt::CrossCursor);
    grid->setTool(ToolId::MoveUp);
    EXPECT_EQ(grid->cursor().shape(), Qt::ArrowCursor);
}

// --- Bad input

TEST_F(PixelGridTest, AnEmptyFontShowsNothingAndIgnoresInput) {
    font = Font{};
    grid = std::make_unique<PixelGrid>(font, settings);
    grid->resize(100, 100);
    grid->loadCharacter(0);
    EXPECT_FALSE(grid->hasCharacter());
    click(QPoint(17, 17));
    grid->selectAll();
    grid->setTool(ToolId::InsertColumn);
    grid->undo();
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_FALSE(grid->canPaste());
    grid->paste();
    grid->storeEditedGlyph();
    EXPECT_FALSE(grid->isChanged());
    EXPECT_EQ(font.count(), 0);
    EXPECT_EQ(font.maxWidth, 0);
    EXPECT_EQ(screenshot().pixelColor(17, 17), QColor(192, 192, 192));
}

TEST_F(PixelGridTest, AZeroWidthGlyphIgnoresTheMouse) {
    open(Rows{"", "", ""});
    grid->setTool(ToolId::Pencil);
    click(QPoint(17, 17));
    grid->setTool(ToolId::Select);
    drag(QPoint(12, 12), QPoint(80, 80));
    grid->selectAll();
    grid->copy();
    EXPECT_FALSE(grid->isChanged());
    EXPECT_EQ(screenshot().pixelColor(17, 17), QColor(192, 192, 192));
}

// --- Repainting

// Records the area every paint event of a widget covers.
class PaintRecorder : public QObject {
  public:
    std::vector<qint64> areas;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            qint64 area = 0;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                area += static_cast<qint64>(r.width()) * r.height();
            }
            areas.push_back(area);
        }
        return false;
    }
};

TEST_F(PixelGridTest, APencilStrokeAcross100CellsRepaintsOneCellPerStep) {
    font = fontOf({{'A', test::blankRows(100, 8)}}, 6);
    settings.writeInteger("Settings", "Grid zoom", 5);
    grid = std::make_unique<PixelGrid>(font, settings);
    grid->resize(540, 80);
    grid->loadCharacter(0);
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    grid->setFocus();
    QCoreApplication::processEvents();
    PaintRecorder recorder;
    grid->installEventFilter(&recorder);
    // Row 2 at zoom 5: cell x is at 10 + 5x, y 20..23.
    QTest::mousePress(grid.get(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 22));
    QCoreApplication::processEvents();
    for (int x = 1; x < 100; ++x) {
        test::dragTo(grid.get(), QPoint(12 + 5 * x, 22));
        QCoreApplication::processEvents();
    }
    QTest::mouseRelease(grid.get(), Qt::LeftButton, Qt::NoModifier, QPoint(507, 22));
    QCoreApplication::processEvents();
    grid->removeEventFilter(&recorder);

    EXPECT_EQ(test::picture(grid->workingGlyph())[2], std::string(100, '#'));
    // One paint per step, each no larger than a cell with its grid lines (5 x 5); the whole
    // grid would be 500 x 41.
    ASSERT_EQ(recorder.areas.size(), 100U);
    qint64 total = 0;
    for (qint64 area : recorder.areas) {
        EXPECT_LE(area, 25);
        total += area;
    }
    EXPECT_LE(total, 100 * 25);
}

}  // namespace
}  // namespace typeloom::ui
