#pragma once

#include <memory>
#include <string>

#include "model/glyph_renderer.h"
#include "model/log_font.h"

namespace typeloom {

// Renders a system font with FreeType, giving the metrics and spacing the system's text
// renderer gives for the same font description:
//  - a negative height is the em height in pixels, a positive one the cell height (ascent +
//    descent); 0 stands for a cell height of 16;
//  - ascent and descent are the face's Windows ascent and descent (OS/2 usWinAscent and
//    usWinDescent, the horizontal header's when the face has no OS/2 table) scaled to the em
//    and rounded; internal leading is cell height minus em;
//  - the average width is OS/2 xAvgCharWidth scaled; fixed pitch is the face's fixed-width
//    flag;
//  - A is the left bearing of the rendered character, B its ink width, C what is left of the
//    advance.
// Characters are rendered hinted for 1-bit output; a description asking for underline or
// strike-out gets the strokes along each character's advance, at the face's own positions. A
// scalable face supports the values of its character map in the Basic Multilingual Plane; a bitmap
// face the 256 values of its code page.
//
// One renderer uses one FreeType face and must stay on one thread at a time; cloneForThread
// gives an independent renderer of the same face for another thread.
class FreeTypeRenderer : public GlyphRenderer {
  public:
    // The face fontconfig resolves the description to.
    explicit FreeTypeRenderer(const LogFont& font);
    // A given face file: `faceIndex` selects the face inside it. A file FreeType cannot open
    // gives a renderer whose characters are blank.
    FreeTypeRenderer(const LogFont& font, const std::string& file, int faceIndex);
    ~FreeTypeRenderer() override;
    FreeTypeRenderer(const FreeTypeRenderer&) = delete;
    FreeTypeRenderer& operator=(const FreeTypeRenderer&) = delete;

    // False when no face could be opened (characters are then blank).
    bool hasFace() const;
    const std::string& file() const;
    int faceIndex() const;
    // The pixels per em the face is rendered at (0 without a face).
    int pixelsPerEm() const;

    RenderMetrics metrics() const override;
    std::vector<std::pair<std::uint16_t, std::uint32_t>> unicodeRanges() const override;
    CharSpacing spacing(std::uint16_t unicode) const override;
    bool render(std::uint16_t unicode, int originX, int width, int height,
                std::uint8_t* pixels) const override;
    bool renderClipped(std::uint16_t unicode, int originX, int width, int height,
                       std::uint8_t* pixels, bool& inkOutside) const override;
    std::shared_ptr<GlyphRenderer> cloneForThread() const override;

  private:
    struct Impl;
    explicit FreeTypeRenderer(std::unique_ptr<Impl> impl);
    // render() and renderClipped(): `inkOutside`, when given, is set when ink is cut off at
    // the cell's left or right edge.
    bool draw(std::uint16_t unicode, int originX, int width, int height, std::uint8_t* pixels,
              bool* inkOutside) const;
    std::unique_ptr<Impl> m_impl;
};

// Makes every font render its system font through FreeType from now on. Programs call it at
// start; until then fonts use the blank renderer.
void installFreeTypeRenderer();

}  // namespace typeloom
