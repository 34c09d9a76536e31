#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/font.h"

namespace typeloom {

class CancelFlag;

// How the characters of an installed font are sized when it is rendered.
enum class PitchRule {
    // A cell is the character's advance, widened to hold all of its ink (|A| + B when that is
    // larger): no pixel is lost, and a mark that reaches past its advance makes its character
    // wider than the others.
    WidenToInk,
    // Every character takes the face's pitch (facePitch) and is drawn at its origin; ink
    // outside the cell is clipped, as terminals draw a fixed-pitch face.
    KeepPitch,
};

// Takes a font while it is rasterised: start() once the font has its metrics, lists and
// table but no glyphs, with the number of glyphs to come; then glyph() for every glyph in
// ascending key order, on a thread of the rasteriser's own while later glyphs still render (a
// command line saves the project this way as it renders). An exception from either stops the
// rendering and comes out of rasteriseSystemFont.
class RenderedFontSink {
  public:
    virtual ~RenderedFontSink() = default;
    virtual void start(const Font& font, std::size_t glyphCount) = 0;
    virtual void glyph(std::uint16_t key, const Glyph& glyph) = 0;
};

// Font::createFromSystemFont with the characters' cells sized by `pitch` (the member function
// widens them to the ink), handing the glyphs to `sink` (when given) as they are made. Returns
// how many of the rendered characters lost ink outside their cell (always 0 when cells widen
// to the ink), the count countCharactersLosingInk gives before rendering.
int rasteriseSystemFont(Font& font, const LogFont& logFont, const DbcsTables& dbcs,
                        ProgressSink& progress, PitchRule pitch, unsigned threads = 0,
                        RenderedFontSink* sink = nullptr);

// Renders Unicode value u into a glyph `cellWidth` columns wide and `height` rows tall, drawn
// at x = 0; its ink outside the cell is clipped, and `inkOutside` (when given) says whether
// any ink left or right of the cell was.
Glyph renderGlyphInCell(std::uint16_t u, const GlyphRenderer& renderer, std::uint16_t height,
                        int cellWidth, bool* inkOutside = nullptr);

// The cell width of every character of a face that keeps its pitch: the advance of the space,
// or the face's average width when the space has none.
int facePitch(const GlyphRenderer& renderer);

// The rule rendering follows unless told otherwise: a face that declares a fixed pitch keeps
// it, any other widens its cells to the ink.
PitchRule defaultPitchRule(const GlyphRenderer& renderer);

// How many of `values` have ink outside a cell of the face's pitch at their origin, that is
// how many characters keeping the pitch clips. -1 when `cancel` was requested before the end.
int countCharactersLosingInk(const GlyphRenderer& renderer,
                             const std::vector<std::uint16_t>& values, std::uint16_t height,
                             const CancelFlag* cancel = nullptr);
// The same for every character the face supports, at its cell height: the count of the
// characters that rendering the face with its pitch kept clips.
int countCharactersLosingInk(const GlyphRenderer& renderer, const CancelFlag* cancel = nullptr);

}  // namespace typeloom
