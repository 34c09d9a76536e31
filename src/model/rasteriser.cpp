#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "model/font.h"

namespace typeloom {

namespace {

// Below this many characters a font renders on the calling thread alone: starting threads
// would cost more than it saves.
constexpr std::size_t kParallelMinimum = 512;
// Characters a thread takes at a time from the shared list.
constexpr std::size_t kChunk = 64;

unsigned defaultThreadCount() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
}

// Renders every value into its own slot. Helper threads each use a clone of the renderer
// (a renderer may hold state that one thread at a time can use); every character is rendered
// independently, so the glyphs do not depend on which thread drew them. Progress is stepped
// from the calling thread only.
std::vector<Glyph> renderAll(const std::vector<std::uint16_t>& values,
                             const GlyphRenderer& renderer, std::uint16_t height, unsigned threads,
                             ProgressRun& run) {
    const std::size_t n = values.size();
    std::vector<Glyph> glyphs(n);
    std::vector<std::shared_ptr<GlyphRenderer>> helpers;
    if (n >= kParallelMinimum) {
        for (unsigned t = 1; t < threads; ++t) {
            auto clone = renderer.cloneForThread();
            if (!clone) {
                break;
            }
            helpers.push_back(std::move(clone));
        }
    }
    if (helpers.empty()) {
        for (std::size_t i = 0; i < n; ++i) {
            glyphs[i] = renderGlyph(values[i], renderer, height);
            run.step();
        }
        return glyphs;
    }

    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::size_t stepped = 0;
    auto catchUp = [&] {
        for (const std::size_t d = done.load(); stepped < d; ++stepped) {
            run.step();
        }
    };
    auto work = [&](const GlyphRenderer& r, bool reports) {
        for (;;) {
            const std::size_t first = next.fetch_add(kChunk);
            if (first >= n) {
                return;
            }
            const std::size_t last = std::min(n, first + kChunk);
            for (std::size_t i = first; i < last; ++i) {
                glyphs[i] = renderGlyph(values[i], r, height);
            }
            done.fetch_add(last - first);
            if (reports) {
                catchUp();
            }
        }
    };

    std::vector<std::exception_ptr> failures(helpers.size());
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < helpers.size(); ++t) {
        workers.emplace_back([&, t] {
            try {
                work(*helpers[t], false);
            } catch (...) {
                failures[t] = std::current_exception();
                next.store(n);  // the others stop at their next chunk
            }
        });
    }
    std::exception_ptr failure;
    try {
        work(renderer, true);
    } catch (...) {
        failure = std::current_exception();
        next.store(n);
    }
    for (std::thread& w : workers) {
        w.join();
    }
    for (const auto& f : failures) {
        if (!failure && f) {
            failure = f;
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    catchUp();
    return glyphs;
}

}  // namespace

Glyph renderGlyph(std::uint16_t u, const GlyphRenderer& renderer, std::uint16_t height) {
    const RenderMetrics metrics = renderer.metrics();
    const CharSpacing spacing = renderer.spacing(u);
    int width = spacing.advance;
    if (metrics.scalable && spacing.hasAbc && std::abs(spacing.a) + spacing.b > width) {
        width = std::abs(spacing.a) + spacing.b;
    }
    if (width <= 0) {
        width = metrics.averageWidth;
    }
    width = std::clamp(width, 0, kMaxRenderWidth);
    Glyph glyph;
    glyph.init(u, static_cast<std::uint16_t>(width), height);
    const int originX = metrics.scalable && spacing.hasAbc && spacing.a < 0 ? -spacing.a : 0;
    if (width > 0 && height > 0) {
        renderer.render(u, originX, width, height, glyph.pixels.data());
    }
    return glyph;
}

void Font::createFromSystemFont(const LogFont& font, const DbcsTables& dbcs, ProgressSink& progress,
                                unsigned threads) {
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
    std::vector<Glyph> rendered =
        renderAll(supported, r, height, threads == 0 ? defaultThreadCount() : threads, run);
    for (std::size_t i = 0; i < supported.size(); ++i) {
        glyphs.insert(supported[i], std::move(rendered[i]));
    }
    updateFixedWidth();
    updateMaxWidth();
}

}  // namespace typeloom
