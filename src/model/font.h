#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "charset/character_table.h"
#include "model/font_header.h"
#include "model/glyph.h"
#include "model/glyph_renderer.h"
#include "model/log_font.h"

namespace typeloom {

class DbcsTables;
class ProgressSink;

// The data-format word a font starts with when no setting says otherwise.
inline constexpr std::uint32_t kDefaultDataFormat = 0x01121110;
// Screen resolution used to turn pixel heights into points.
inline constexpr int kScreenDpi = 96;

// The one font being edited: its ordered characters, a glyph per character, the font-wide
// metrics, the encoding and character table, the system font it is rendered from and the
// data-format word the exporters use.
//
// Invariants kept by the operations:
//  - unicodeList and codeList have the same length; index i of both names one character.
//    For encoding 1 both lists are equal.
//  - codeList is ascending (lookups binary-search it).
//  - the glyph of every listed character holds width x height pixels.
//  - fixedWidth is not 0 only when every listed character has that width; maxWidth is
//    fixedWidth for a fixed-width font, else the largest listed width, after updateMaxWidth.
//  - glyphs may hold glyphs of values that are not listed (characters the table leaves
//    disabled); they are kept, saved and loaded with the rest.
class Font {
  public:
    GlyphMap glyphs;
    LogFont sourceFont;
    bool hasSourceFont = false;
    CharacterTable charTable;
    std::uint32_t dataFormat = kDefaultDataFormat;
    std::uint16_t fixedWidth = 0;  // 0: variable width
    std::uint16_t height = 0;
    std::int16_t ascent = 0;
    std::int16_t pointSize = 0;
    std::uint16_t maxWidth = 0;
    std::string faceName;  // UTF-8
    std::vector<std::uint16_t> unicodeList;
    std::vector<std::uint16_t> codeList;
    std::uint32_t encoding = 1;
    std::uint32_t bitsPerPixel = 1;
    std::uint8_t charSet = 0;
    bool fromSystemFont = false;
    // The Windows font header values (one per program, kept across New Font and project
    // loads, so it travels with the font record).
    FontHeaderInfo fontHeader;

    // --- Lookups
    int count() const { return static_cast<int>(codeList.size()); }
    int unicodeAt(int i) const;
    int codeAt(int i) const;
    int lastIndex() const { return count() - 1; }
    int indexOfCode(std::uint16_t code) const;
    // The character the editor starts on: the letter A, else the first character; -1 when empty.
    int initialIndex() const;
    bool widthOf(std::uint16_t unicode, std::uint16_t& width) const;
    // Reports the font's height and ascent in every case; with a glyph copies its width and
    // pixels and returns u, otherwise returns 0.
    std::uint16_t getGlyph(std::uint16_t u, std::uint16_t& width, std::uint16_t& glyphHeight,
                           std::int16_t& glyphAscent, std::vector<std::uint8_t>& pixels) const;
    // Replaces the glyph's width and pixels when it exists; raises maxWidth in every case.
    void setGlyph(std::uint16_t u, std::uint16_t width, std::vector<std::uint8_t> pixels);
    bool getPixels(std::uint16_t u, std::vector<std::uint8_t>& pixels) const;

    // --- List maintenance
    // -1 when the code is listed, else the index just after the last smaller code.
    int insertPosition(std::uint16_t code) const;
    void insertCode(std::uint16_t code, std::uint16_t unicode);
    void clearGlyphs();
    void addBlankGlyph(std::uint16_t u, std::uint16_t width);
    void addRenderedGlyph(std::uint16_t u);
    std::uint16_t updateFixedWidth();
    void updateMaxWidth();
    // Rebuilds both lists from the character table, creating the characters of entries that
    // are enabled but not yet mapped.
    void rebuildFromTable();
    void setEncoding(std::int64_t encoding);
    void setBitsPerPixel(std::uint32_t bits) { bitsPerPixel = bits; }
    void setSourceCharSet(std::uint8_t charSet);
    void setSourceFont(const LogFont& font);
    // Copies first/last character, points, pixel height, widths and ascent into fontHeader.
    void syncHeaderInfo();

    // Commits the characters table dialog's editing map (when it was edited): the table, the
    // source font's character set (encoding 0), the encoding and the character lists. Returns
    // false when nothing was committed.
    bool commitCharacterTable(std::uint8_t scriptCharSet);

    // --- Whole-font builds
    // A fixed-width font of blank characters for the values first..last.
    void createFromScratch(std::uint16_t first, std::uint16_t last, std::uint16_t width,
                           std::uint16_t glyphHeight, const std::string& name);
    // Renders every character a system font supports (encoding 1). A large font is rendered
    // on `threads` threads (0: one per core, at most two) when its renderer can be cloned for
    // other threads; the result is the same on any number of threads.
    void createFromSystemFont(const LogFont& font, const DbcsTables& dbcs, ProgressSink& progress,
                              unsigned threads = 0);

    // The renderer of the current source font (made on first use).
    const GlyphRenderer& renderer() const;

    // Copies what a project file does not store (data format, character set, how new
    // characters are made, the Windows header values, the encoding and source font used when
    // the file names none) from the font being replaced into this fresh record.
    void inheritUnsavedState(const Font& previous);

  private:
    mutable std::shared_ptr<GlyphRenderer> m_renderer;
    mutable LogFont m_rendererFont;
};

// Renders Unicode value u with a renderer into a glyph of the given height: the width is the
// advance (or |A| + B when larger for scalable fonts, or the average width when 0), and the
// character is drawn at x = -A when A is negative.
Glyph renderGlyph(std::uint16_t u, const GlyphRenderer& renderer, std::uint16_t height);

}  // namespace typeloom
