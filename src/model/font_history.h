#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/font.h"

namespace typeloom {

// The content of one glyph as the user sees it: width and pixels (width x height values).
struct GlyphContent {
    std::uint16_t width = 0;
    std::vector<std::uint8_t> pixels;
    friend bool operator==(const GlyphContent&, const GlyphContent&) = default;
};

// Where the content of the glyph on screen lives while it is edited: the editor's working copy
// is the glyph the user sees, ahead of the font, until it is stored. A step of the history that
// touches that glyph goes through this interface instead of the font.
class EditedGlyph {
  public:
    virtual ~EditedGlyph() = default;
    // The Unicode value of the glyph in the editor.
    virtual std::uint16_t editedUnicode() const = 0;
    // Puts content into the working copy (the way the editor's own undo does).
    virtual void restoreEdited(const GlyphContent& content) = 0;
};

// One step of the history: what a command changed, named for the menu ("Pencil", "Mirror
// All"). A step keeps only what it changed: for an edit of one glyph the glyph before and
// after; for a font-wide command the glyphs it touched and, when they changed, the font's
// other values, held as the side that is not in the font (undo and redo exchange them).
class FontStep {
  public:
    const std::string& name() const { return m_name; }
    // Bytes the step holds (its glyphs, lists and tables), for the history's memory bound.
    std::size_t bytes() const { return m_bytes; }
    // The glyph a one-glyph step edited; nullopt for a font-wide step.
    std::optional<std::uint16_t> glyphKey() const;

  private:
    friend class FontHistory;
    struct GlyphSide {
        std::uint16_t key = 0;
        std::unique_ptr<Glyph> other;  // nullptr: no glyph under that key on the other side
    };

    std::string m_name;
    std::size_t m_bytes = 0;
    // One-glyph edit.
    bool m_oneGlyph = false;
    std::uint16_t m_key = 0;
    GlyphContent m_before;
    GlyphContent m_after;
    // Font-wide change: the other side of every glyph it touched, and of the font's other
    // values when they changed.
    std::vector<GlyphSide> m_glyphs;
    std::unique_ptr<Font> m_frame;  // a font without glyphs; nullptr: unchanged
};

// The undo history of the whole font: named steps, undone and redone in order, with a memory
// bound that drops the oldest steps first. The history also knows the step at which the
// document was last saved, so the modified flag can follow it.
class FontHistory {
  public:
    static constexpr std::size_t kDefaultLimit = std::size_t{256} * 1024 * 1024;  // 256 MiB

    explicit FontHistory(std::size_t limitBytes = kDefaultLimit) : m_limit(limitBytes) {}

    // --- Recording
    // A one-glyph edit (a stroke, a one-shot command of the editor, a paste into the glyph).
    // Nothing is recorded when before equals after.
    void recordGlyphEdit(std::string name, std::uint16_t unicode, GlyphContent before,
                         GlyphContent after);
    // A font-wide command: the caller takes a snapshot before the command runs and records
    // after it; the step keeps only the glyphs that differ and the other values when they
    // differ. Nothing is recorded when the command changed nothing.
    class Snapshot {
      public:
        explicit Snapshot(const Font& font);

      private:
        friend class FontHistory;
        GlyphMap m_glyphs;
        Font m_frame;
    };
    void recordFontChange(std::string name, Snapshot before, const Font& after);

    // --- Walking
    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_steps.size(); }
    // The names of the step Undo and Redo would take ("" when none).
    std::string undoName() const;
    std::string redoName() const;
    // Undoes or redoes one step on the font (and the working copy, when the step's glyph is in
    // the editor). False when there is nothing to undo or redo.
    bool undo(Font& font, EditedGlyph* edited = nullptr);
    bool redo(Font& font, EditedGlyph* edited = nullptr);
    // Walks to the state after `count` steps (0: the oldest kept state).
    void jumpTo(std::size_t count, Font& font, EditedGlyph* edited = nullptr);
    // Whether the step undone or redone last was font-wide (the editor then reloads its glyph).
    bool lastWasFontWide() const { return m_lastFontWide; }

    // --- The list
    std::size_t size() const { return m_steps.size(); }
    std::size_t position() const { return m_position; }  // steps in effect
    const FontStep& step(std::size_t i) const { return *m_steps[i]; }
    std::size_t bytes() const { return m_bytes; }
    std::size_t limit() const { return m_limit; }
    void setLimit(std::size_t limitBytes);
    // Forgets every step (New, Open).
    void clear();

    // --- The saved state
    // The document was saved (or opened) at the current position.
    void markSaved() { m_saved = m_position; }
    // A change the history does not hold (font information, ...): no walk returns to the
    // saved state any more.
    void markChangedOutside() { m_saved.reset(); }
    bool isAtSavedState() const { return m_saved && *m_saved == m_position; }

  private:
    void push(std::unique_ptr<FontStep> step);
    void apply(FontStep& step, bool undo, Font& font, EditedGlyph* edited);
    void trim();

    std::vector<std::unique_ptr<FontStep>> m_steps;
    std::size_t m_position = 0;
    std::size_t m_bytes = 0;
    std::size_t m_limit;
    std::optional<std::size_t> m_saved = 0;
    bool m_lastFontWide = false;
};

}  // namespace typeloom
