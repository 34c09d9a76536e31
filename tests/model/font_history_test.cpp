#include "model/font_history.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/project_file.h"
#include "model/transforms.h"

namespace typeloom {
namespace {

Font smallFont() {
    Font font;
    font.createFromScratch(0x41, 0x44, 6, 8, "History");
    return font;
}

// A stroke as the editor records it: the glyph's content before and after.
void stroke(FontHistory& history, Font& font, std::uint16_t u, int pixel) {
    const Glyph& g = *font.glyphs.find(u);
    GlyphContent before{g.width, g.pixels};
    GlyphContent after = before;
    after.pixels[static_cast<std::size_t>(pixel)] ^= 1;
    font.setGlyph(u, after.width, after.pixels);
    history.recordGlyphEdit("Pencil", u, std::move(before), std::move(after));
}

template <typename Change>
void fontWide(FontHistory& history, Font& font, const char* name, Change change) {
    FontHistory::Snapshot before(font);
    change(font);
    history.recordFontChange(name, std::move(before), font);
}

// The editor's working copy, holding one glyph ahead of the font.
struct FakeEditor : EditedGlyph {
    std::uint16_t unicode = 0;
    GlyphContent content;
    std::uint16_t editedUnicode() const override { return unicode; }
    void restoreEdited(const GlyphContent& c) override { content = c; }
};

// Strokes, a font-wide command, a table change (a new character, as a commit or a multi paste
// adds one) and a resize, undone one by one back to the first font and redone to the last: the
// project bytes match at both ends and at every step between.
TEST(FontHistory, UndoesToTheOpenedFontAndRedoesToTheEndByteForByte) {
    Font font = smallFont();
    FontHistory history;
    std::vector<std::vector<std::uint8_t>> states = {projectBytes(font)};
    stroke(history, font, 0x41, 3);
    states.push_back(projectBytes(font));
    stroke(history, font, 0x41, 9);
    states.push_back(projectBytes(font));
    fontWide(history, font, "Mirror All", [](Font& f) { mirrorHorizontal(f); });
    states.push_back(projectBytes(font));
    fontWide(history, font, "Edit Characters Table", [](Font& f) {
        f.insertCode(0x50, 0x50);
        f.addBlankGlyph(0x50, 6);
    });
    states.push_back(projectBytes(font));
    fontWide(history, font, "Change Font Height",
             [](Font& f) { ASSERT_TRUE(changeRows(f, false, 2, 1)); });
    states.push_back(projectBytes(font));
    ASSERT_EQ(history.size(), 5u);
    EXPECT_EQ(history.undoName(), "Change Font Height");

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.undo(font));
        EXPECT_EQ(projectBytes(font), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(history.undo(font));
    EXPECT_EQ(history.redoName(), "Pencil");
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.redo(font));
        EXPECT_EQ(projectBytes(font), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(history.redo(font));
    history.jumpTo(1, font);
    EXPECT_EQ(projectBytes(font), states[1]);
    EXPECT_TRUE(history.lastWasFontWide());
}

TEST(FontHistory, ANewStepEndsTheRedoAndUnchangedCommandsRecordNothing) {
    Font font = smallFont();
    FontHistory history;
    stroke(history, font, 0x41, 0);
    stroke(history, font, 0x42, 0);
    history.undo(font);
    ASSERT_TRUE(history.canRedo());
    stroke(history, font, 0x43, 0);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.size(), 2u);
    // A command that changes nothing, or an edit that puts the same pixels back, is no step.
    fontWide(history, font, "Center All", [](Font&) {});
    history.recordGlyphEdit("Pencil", 0x41, {6, {1}}, {6, {1}});
    EXPECT_EQ(history.size(), 2u);
}

// The step of the glyph on screen goes to the editor's working copy, not the font; other
// glyphs go to the font.
TEST(FontHistory, GlyphStepsReachTheWorkingCopyOfTheEditedGlyph) {
    Font font = smallFont();
    FontHistory history;
    FakeEditor editor;
    editor.unicode = 0x42;
    const GlyphContent blank{6, std::vector<std::uint8_t>(48, 0)};
    GlyphContent drawn = blank;
    drawn.pixels[5] = 1;
    history.recordGlyphEdit("Pencil", 0x42, blank, drawn);
    history.recordGlyphEdit("Invert", 0x41, blank, {6, std::vector<std::uint8_t>(48, 1)});
    font.setGlyph(0x41, 6, std::vector<std::uint8_t>(48, 1));
    ASSERT_TRUE(history.undo(font, &editor));
    EXPECT_EQ(font.glyphs.find(0x41)->pixels, blank.pixels);
    ASSERT_TRUE(history.undo(font, &editor));
    EXPECT_EQ(editor.content, blank);
    ASSERT_TRUE(history.redo(font, &editor));
    EXPECT_EQ(editor.content, drawn);
    EXPECT_FALSE(history.lastWasFontWide());
}

// The bound drops the oldest steps first and never the newest; a saved state dropped with them
// can no longer be reached, so the document stays modified.
TEST(FontHistory, MemoryBoundDropsTheOldestStepsFirst) {
    Font font = smallFont();
    FontHistory history;
    history.markSaved();
    for (int i = 0; i < 10; ++i) {
        stroke(history, font, 0x41, i);
    }
    const std::size_t perStep = history.bytes() / 10;
    history.setLimit(perStep * 4 + perStep / 2);
    EXPECT_EQ(history.size(), 4u);
    EXPECT_EQ(history.position(), 4u);
    EXPECT_LE(history.bytes(), history.limit());
    while (history.undo(font)) {
    }
    EXPECT_FALSE(history.isAtSavedState());
    // Only the first four pixels stay set: the six oldest strokes are out of reach.
    const std::vector<std::uint8_t>& pixels = font.glyphs.find(0x41)->pixels;
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 1), 6);
    history.setLimit(1);
    EXPECT_EQ(history.size(), 1u);  // the newest step always stays
}

TEST(FontHistory, SavedStateFollowsTheWalkUntilAChangeOutsideIt) {
    Font font = smallFont();
    FontHistory history;
    stroke(history, font, 0x41, 0);
    history.markSaved();
    EXPECT_TRUE(history.isAtSavedState());
    stroke(history, font, 0x41, 1);
    EXPECT_FALSE(history.isAtSavedState());
    history.undo(font);
    EXPECT_TRUE(history.isAtSavedState());
    history.undo(font);
    EXPECT_FALSE(history.isAtSavedState());
    history.redo(font);
    EXPECT_TRUE(history.isAtSavedState());
    // Undone past the save, then a new edit: the saved state is gone for good.
    history.undo(font);
    stroke(history, font, 0x42, 0);
    history.undo(font);
    history.redo(font);
    history.undo(font);
    EXPECT_FALSE(history.isAtSavedState());
    history.markSaved();
    history.markChangedOutside();
    EXPECT_FALSE(history.isAtSavedState());
    history.clear();
    EXPECT_TRUE(history.isAtSavedState());
    EXPECT_FALSE(history.canUndo());
}

}  // namespace
}  // namespace typeloom
