#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "model/log_font.h"

namespace typeloom {

// Largest cell height, and width, a renderer produces for one character: sizes come from
// files, and a size past any display's must not turn into gigabytes of pixels.
inline constexpr int kMaxRenderHeight = 1024;
inline constexpr int kMaxRenderWidth = 1024;

// The most pixels the characters of one font read from a file may hold together (128 Mi, a
// byte each): 65,536 characters of 64 x 32, far past any display's font. Readers refuse a
// file that would need more before they allocate it.
inline constexpr std::uint64_t kMaxFontPixels = std::uint64_t{128} << 20;

// Text metrics of a system font at the size of its LogFont.
struct RenderMetrics {
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageWidth = 0;
    int maxWidth = 0;
    int weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint16_t defaultChar = 0;
    std::uint16_t breakChar = 0;
    bool fixedPitch = false;
    bool scalable = false;  // an outline font: has Unicode ranges and A/B/C spacing
};

// Horizontal spacing of one character.
struct CharSpacing {
    int advance = 0;
    bool hasAbc = false;  // A/B/C are known (scalable fonts)
    int a = 0;
    int b = 0;
    int c = 0;
};

// What the font model needs from a system-font rasteriser: metrics, the Unicode ranges the
// font covers, per-character spacing and a 1-bit rendering of one character.
class GlyphRenderer {
  public:
    virtual ~GlyphRenderer() = default;

    virtual RenderMetrics metrics() const = 0;
    // (first value, count) ranges of the Unicode values the font supports; scalable fonts only.
    virtual std::vector<std::pair<std::uint16_t, std::uint32_t>> unicodeRanges() const = 0;
    virtual CharSpacing spacing(std::uint16_t unicode) const = 0;
    // Draws the character with its cell's left edge at x = originX and its top at y = 0 into a
    // width x height cell of one byte per pixel (1 = ink), which the caller has cleared.
    // Returns false when the character could not be drawn.
    virtual bool render(std::uint16_t unicode, int originX, int width, int height,
                        std::uint8_t* pixels) const = 0;
    // As render(), and sets `inkOutside` to whether any of the character's ink fell left or
    // right of the cell's columns and was cut off. A renderer that cannot tell says none did.
    virtual bool renderClipped(std::uint16_t unicode, int originX, int width, int height,
                               std::uint8_t* pixels, bool& inkOutside) const {
        inkOutside = false;
        return render(unicode, originX, width, height, pixels);
    }
    // An independent renderer of the same font that another thread may use while this one is
    // in use, rendering exactly as this one does; null when the renderer cannot be shared out
    // (the font is then rendered on one thread).
    virtual std::shared_ptr<GlyphRenderer> cloneForThread() const { return nullptr; }
};

// Makes a renderer for a system font description.
using RendererFactory = std::function<std::shared_ptr<GlyphRenderer>(const LogFont&)>;

// A renderer that knows no installed font: characters come out blank at the average width of
// a small font. It stands in until a real rasteriser is installed with setRendererFactory.
class BlankRenderer : public GlyphRenderer {
  public:
    explicit BlankRenderer(const LogFont& font);
    RenderMetrics metrics() const override { return m_metrics; }
    std::vector<std::pair<std::uint16_t, std::uint32_t>> unicodeRanges() const override {
        return {};
    }
    CharSpacing spacing(std::uint16_t unicode) const override;
    bool render(std::uint16_t unicode, int originX, int width, int height,
                std::uint8_t* pixels) const override;
    std::shared_ptr<GlyphRenderer> cloneForThread() const override {
        return std::make_shared<BlankRenderer>(*this);
    }

  private:
    RenderMetrics m_metrics;
};

// The factory every font uses to render from its source font (BlankRenderer by default).
void setRendererFactory(RendererFactory factory);
std::shared_ptr<GlyphRenderer> makeRenderer(const LogFont& font);

}  // namespace typeloom
