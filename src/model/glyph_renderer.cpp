#include "model/glyph_renderer.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace typeloom {

namespace {

std::mutex& factoryMutex() {
    static std::mutex m;
    return m;
}

RendererFactory& factory() {
    static RendererFactory f = [](const LogFont& font) {
        return std::make_shared<BlankRenderer>(font);
    };
    return f;
}

}  // namespace

BlankRenderer::BlankRenderer(const LogFont& font) {
    // A cell as tall as the requested height (the em height for a negative one, which a
    // real font would make about a fifth taller), four fifths above the baseline. Heights
    // come from files and are bounded here like a rasteriser bounds its sizes.
    const std::int64_t requested = font.height;
    int cell = requested == 0 ? 16
                              : static_cast<int>(std::min<std::int64_t>(
                                    requested < 0 ? -requested : requested, kMaxRenderHeight));
    if (requested < 0) {
        cell = std::min(cell + cell / 5, kMaxRenderHeight);
    }
    m_metrics.ascent = cell - cell / 5;
    m_metrics.descent = cell / 5;
    m_metrics.averageWidth = cell / 2 > 0 ? cell / 2 : 1;
    m_metrics.maxWidth = m_metrics.averageWidth;
    m_metrics.weight = font.weight == 0 ? 400 : font.weight;
    m_metrics.italic = font.italic;
    m_metrics.underline = font.underline;
    m_metrics.strikeOut = font.strikeOut;
    m_metrics.charSet = font.charSet;
    m_metrics.defaultChar = '?';
    m_metrics.breakChar = ' ';
    m_metrics.fixedPitch = true;
}

CharSpacing BlankRenderer::spacing(std::uint16_t) const {
    CharSpacing s;
    s.advance = m_metrics.averageWidth;
    return s;
}

bool BlankRenderer::render(std::uint16_t, int, int, int, std::uint8_t*) const {
    return true;
}

void setRendererFactory(RendererFactory f) {
    std::lock_guard lock(factoryMutex());
    factory() = std::move(f);
}

std::shared_ptr<GlyphRenderer> makeRenderer(const LogFont& font) {
    std::lock_guard lock(factoryMutex());
    return factory()(font);
}

}  // namespace typeloom
