#include "model/font_history.h"

#include <utility>

namespace typeloom {

namespace {

std::size_t glyphBytes(const Glyph* glyph) {
    return glyph == nullptr ? sizeof(void*) : sizeof(Glyph) + glyph->pixels.capacity();
}

// Everything of a font but its glyphs and its data-format word (a setting of the program that
// the font carries, not part of the project: no step changes it and no walk takes it back).
bool sameFrame(const Font& a, const Font& b) {
    return a.hasSourceFont == b.hasSourceFont && a.sourceFont == b.sourceFont &&
           a.fixedWidth == b.fixedWidth && a.height == b.height && a.ascent == b.ascent &&
           a.pointSize == b.pointSize && a.maxWidth == b.maxWidth && a.faceName == b.faceName &&
           a.unicodeList == b.unicodeList && a.codeList == b.codeList && a.encoding == b.encoding &&
           a.bitsPerPixel == b.bitsPerPixel && a.charSet == b.charSet &&
           a.fromSystemFont == b.fromSystemFont && a.fontHeader == b.fontHeader &&
           a.charTable.committed == b.charTable.committed &&
           a.charTable.editing == b.charTable.editing &&
           a.charTable.supportedSet == b.charTable.supportedSet &&
           a.charTable.codeOrder == b.charTable.codeOrder;
}

std::size_t frameBytes(const Font& f) {
    // The lists and tables dominate; the scalars are noise.
    return sizeof(Font) + 2 * (f.unicodeList.capacity() + f.codeList.capacity()) +
           2 * (f.charTable.supportedSet.capacity() + f.charTable.codeOrder.capacity()) +
           2 * sizeof(CodeEntry) * 0x10000;
}

// Exchanges everything but the glyphs and the data-format word of two fonts.
void swapFrames(Font& a, Font& b) {
    std::swap(a, b);
    std::swap(a.glyphs, b.glyphs);  // the glyphs stay where they were
    std::swap(a.dataFormat, b.dataFormat);
}

}  // namespace

std::optional<std::uint16_t> FontStep::glyphKey() const {
    if (m_oneGlyph) {
        return m_key;
    }
    return std::nullopt;
}

FontHistory::Snapshot::Snapshot(const Font& font) : m_frame(font) {
    m_glyphs = std::move(m_frame.glyphs);
    m_frame.glyphs.clear();
}

void FontHistory::recordGlyphEdit(std::string name, std::uint16_t unicode, GlyphContent before,
                                  GlyphContent after) {
    if (before == after) {
        return;
    }
    auto step = std::make_unique<FontStep>();
    step->m_name = std::move(name);
    step->m_oneGlyph = true;
    step->m_key = unicode;
    step->m_bytes = sizeof(FontStep) + step->m_name.capacity() + before.pixels.capacity() +
                    after.pixels.capacity();
    step->m_before = std::move(before);
    step->m_after = std::move(after);
    push(std::move(step));
}

void FontHistory::recordFontChange(std::string name, Snapshot before, const Font& after) {
    auto step = std::make_unique<FontStep>();
    step->m_name = std::move(name);
    std::size_t bytes = sizeof(FontStep) + step->m_name.capacity();
    // The keys either side holds, each once.
    std::vector<bool> seen(0x10000, false);
    auto consider = [&](std::uint16_t key) {
        if (seen[key]) {
            return;
        }
        seen[key] = true;
        const Glyph* now = after.glyphs.find(key);
        const Glyph* was = before.m_glyphs.find(key);
        if (now != nullptr && was != nullptr && *now == *was) {
            return;
        }
        std::unique_ptr<Glyph> old = before.m_glyphs.exchange(key, nullptr);
        bytes += sizeof(FontStep::GlyphSide) + glyphBytes(old.get());
        step->m_glyphs.push_back({key, std::move(old)});
    };
    before.m_glyphs.forEach([&](std::uint16_t key, const Glyph&) { consider(key); });
    after.glyphs.forEach([&](std::uint16_t key, const Glyph&) { consider(key); });
    if (!sameFrame(before.m_frame, after)) {
        step->m_frame = std::make_unique<Font>(std::move(before.m_frame));
        bytes += frameBytes(*step->m_frame);
    }
    if (step->m_glyphs.empty() && !step->m_frame) {
        return;  // the command changed nothing
    }
    step->m_bytes = bytes;
    push(std::move(step));
}

void FontHistory::push(std::unique_ptr<FontStep> step) {
    // A new step ends every redo.
    while (m_steps.size() > m_position) {
        m_bytes -= m_steps.back()->bytes();
        m_steps.pop_back();
    }
    if (m_saved && *m_saved > m_position) {
        m_saved.reset();  // the saved state was among the steps dropped
    }
    m_bytes += step->bytes();
    m_steps.push_back(std::move(step));
    ++m_position;
    trim();
}

void FontHistory::trim() {
    std::size_t drop = 0;
    std::size_t bytes = m_bytes;
    // The newest step always stays, so the last command can be undone whatever its size.
    while (bytes > m_limit && drop + 1 < m_steps.size()) {
        bytes -= m_steps[drop]->bytes();
        ++drop;
    }
    if (drop == 0) {
        return;
    }
    m_steps.erase(m_steps.begin(), m_steps.begin() + static_cast<std::ptrdiff_t>(drop));
    m_bytes = bytes;
    m_position -= std::min(m_position, drop);
    if (m_saved) {
        if (*m_saved < drop) {
            m_saved.reset();
        } else {
            *m_saved -= drop;
        }
    }
}

void FontHistory::setLimit(std::size_t limitBytes) {
    m_limit = limitBytes;
    trim();
}

void FontHistory::clear() {
    m_steps.clear();
    m_position = 0;
    m_bytes = 0;
    m_saved = 0;
}

std::string FontHistory::undoName() const {
    return canUndo() ? m_steps[m_position - 1]->name() : std::string();
}

std::string FontHistory::redoName() const {
    return canRedo() ? m_steps[m_position]->name() : std::string();
}

void FontHistory::apply(FontStep& step, bool undo, Font& font, EditedGlyph* edited) {
    m_lastFontWide = !step.m_oneGlyph;
    if (step.m_oneGlyph) {
        const GlyphContent& content = undo ? step.m_before : step.m_after;
        if (edited != nullptr && edited->editedUnicode() == step.m_key) {
            edited->restoreEdited(content);
        } else if (font.glyphs.contains(step.m_key)) {
            font.setGlyph(step.m_key, content.width, content.pixels);
        }
        return;
    }
    // Undo and redo are the same exchange: the step holds the side not in the font.
    for (FontStep::GlyphSide& side : step.m_glyphs) {
        side.other = font.glyphs.exchange(side.key, std::move(side.other));
    }
    if (step.m_frame) {
        swapFrames(font, *step.m_frame);
    }
}

bool FontHistory::undo(Font& font, EditedGlyph* edited) {
    if (!canUndo()) {
        return false;
    }
    --m_position;
    apply(*m_steps[m_position], true, font, edited);
    return true;
}

bool FontHistory::redo(Font& font, EditedGlyph* edited) {
    if (!canRedo()) {
        return false;
    }
    apply(*m_steps[m_position], false, font, edited);
    ++m_position;
    return true;
}

void FontHistory::jumpTo(std::size_t count, Font& font, EditedGlyph* edited) {
    bool fontWide = false;
    while (m_position > count && undo(font, edited)) {
        fontWide = fontWide || m_lastFontWide;
    }
    while (m_position < count && redo(font, edited)) {
        fontWide = fontWide || m_lastFontWide;
    }
    m_lastFontWide = fontWide;
}

}  // namespace typeloom
