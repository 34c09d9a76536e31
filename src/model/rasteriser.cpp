#include <algorithm>
#include <cstdlib>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "model/font_info.h"

namespace typeloom {

CGlyphInfo renderGlyph(std::uint16_t u, const GlyphRenderer& renderer, std::uint16_t height) {
    const RenderMetrics metrics = renderer.metrics();
    const CharSpacing spacing = renderer.spacing(u);
    int width = spacing.advance;
    if (metrics.scalable && spacing.hasAbc && std::abs(spacing.a) + spacing.b > width) {
        width = std::abs(spacing.a) + spacing.b;
    }
    if (width <= 0) {
        width = metrics.averageWidth;
    }
    width = std::clamp(width, 0, 0xFFFF);
    CGlyphInfo glyph;
    glyph.init(u, static_cast<std::uint16_t>(width), height);
    const int originX = metrics.scalable && spacing.hasAbc && spacing.a < 0 ? -spacing.a : 0;
    if (width > 0 && height > 0) {
        renderer.render(u, originX, width, height, glyph.pixels.data());
    }
    return glyph;
}

void CFontInfo::createFromSystemFont(const LogFont& font, const DbcsTables& dbcs,
                                     ProgressSink& progress) {
    clearGlyphs();
    fromSystemFont = true;
    setSourceFont(font);
    faceName = font.faceName;
    const GlyphRenderer& r = renderer();
    const RenderMetrics m = r.metrics();
    ascent = static_cast<std::int16_t>(m.ascent);
    height = static_cast<std::uint16_t>(std::max(0, m.ascent + m.descent));
    fixedWidth = m.fixedPitch ? static_cast<std::uint16_t>(std::max(0, m.averageWidth)) : 0;

    auto ranges = r.unicodeRanges();
    charTable.buildFromSystemFont(CharacterTable::supportedSetOf(m.scalable, ranges, m.charSet),
                                  m.charSet, static_cast<int>(encoding), dbcs);

    fontHeader = FontHeaderInfo{};
    fontHeader.version = 0x200;
    fontHeader.vertRes = kScreenDpi;
    fontHeader.horizRes = kScreenDpi;
    fontHeader.ascent = static_cast<std::uint16_t>(m.ascent);
    fontHeader.internalLeading = static_cast<std::uint16_t>(m.internalLeading);
    fontHeader.externalLeading = static_cast<std::uint16_t>(m.externalLeading);
    fontHeader.italic = m.italic;
    fontHeader.underline = m.underline;
    fontHeader.strikeOut = m.strikeOut;
    fontHeader.weight = static_cast<std::uint16_t>(m.weight);
    fontHeader.charSet = m.charSet;
    fontHeader.avgWidth = static_cast<std::uint16_t>(m.averageWidth);
    fontHeader.defaultChar = static_cast<std::uint8_t>(m.defaultChar & 0xFF);
    fontHeader.breakChar = static_cast<std::uint8_t>(m.breakChar & 0xFF);

    // The lists are the enabled codes; every supported value is rendered, also the disabled
    // ones, so that enabling them later needs no rendering.
    codeList.clear();
    unicodeList.clear();
    charTable.committed.forEach([&](std::uint16_t code, CodeEntry e) {
        if (e.enabled) {
            codeList.push_back(code);
            unicodeList.push_back(e.unicode);
        }
    });
    const auto& supported = charTable.supportedSet;
    ProgressRun run(progress, static_cast<int>(supported.size()));
    for (std::uint16_t u : supported) {
        glyphs.insert(u, renderGlyph(u, r, height));
        run.step();
    }
    updateFixedWidth();
    updateMaxWidth();
}

}  // namespace typeloom
