#include "model/rasteriser.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/cancel_flag.h"
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

// Renders u under the pitch rule that `cellWidth` stands for (0: widen to the ink) and counts
// it in `clipped` when the cell cut off some of its ink.
Glyph renderOne(std::uint16_t u, const GlyphRenderer& renderer, std::uint16_t height, int cellWidth,
                std::atomic<int>& clipped) {
    if (cellWidth <= 0) {
        return renderGlyph(u, renderer, height);
    }
    bool inkOutside = false;
    Glyph glyph = renderGlyphInCell(u, renderer, height, cellWidth, &inkOutside);
    if (inkOutside) {
        clipped.fetch_add(1, std::memory_order_relaxed);
    }
    return glyph;
}

// Renders every value and hands each glyph to deliver(i, glyph) in ascending order of i, one
// call at a time. Helper threads each use a clone of the renderer (a renderer may hold state
// that one thread at a time can use); every character is rendered independently, so the glyphs
// do not depend on which thread drew them. With helpers, a thread of its own delivers each run
// of characters as soon as it and every run before it are rendered, so that what the caller
// does with the glyphs (storing them, writing them to a file) overlaps the rendering. Progress
// is stepped from the calling thread only. Returns how many characters a cell of `cellWidth`
// cut ink off.
template <typename Deliver>
int renderAll(const std::vector<std::uint16_t>& values, const GlyphRenderer& renderer,
              std::uint16_t height, int cellWidth, unsigned threads, ProgressRun& run,
              Deliver&& deliver) {
    std::atomic<int> clipped{0};
    const std::size_t n = values.size();
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
            deliver(i, renderOne(values[i], renderer, height, cellWidth, clipped));
            run.step();
        }
        return clipped.load();
    }

    // The state of each run of kChunk characters: waiting, rendered, or abandoned because the
    // rendering stopped on an error.
    enum : std::uint8_t { kWaiting, kRendered, kAbandoned };
    const std::size_t chunks = (n + kChunk - 1) / kChunk;
    std::vector<Glyph> glyphs(n);
    std::vector<std::atomic<std::uint8_t>> state(chunks);
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::size_t stepped = 0;
    auto catchUp = [&] {
        for (const std::size_t d = done.load(); stepped < d; ++stepped) {
            run.step();
        }
    };
    auto abandon = [&] {
        next.store(n);  // the renderers stop at their next run
        for (std::atomic<std::uint8_t>& s : state) {
            std::uint8_t waiting = kWaiting;
            s.compare_exchange_strong(waiting, kAbandoned);
            s.notify_all();
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
                glyphs[i] = renderOne(values[i], r, height, cellWidth, clipped);
            }
            std::atomic<std::uint8_t>& s = state[first / kChunk];
            s.store(kRendered);
            s.notify_all();
            done.fetch_add(last - first);
            if (reports) {
                catchUp();
            }
        }
    };

    std::vector<std::exception_ptr> failures(helpers.size() + 1);
    std::exception_ptr& deliveryFailure = failures.back();
    std::thread deliverer([&] {
        try {
            for (std::size_t c = 0; c < chunks; ++c) {
                state[c].wait(kWaiting);
                if (state[c].load() != kRendered) {
                    return;
                }
                for (std::size_t i = c * kChunk; i < std::min(n, (c + 1) * kChunk); ++i) {
                    deliver(i, std::move(glyphs[i]));
                }
            }
        } catch (...) {
            deliveryFailure = std::current_exception();
            abandon();
        }
    });
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < helpers.size(); ++t) {
        workers.emplace_back([&, t] {
            try {
                work(*helpers[t], false);
            } catch (...) {
                failures[t] = std::current_exception();
                abandon();
            }
        });
    }
    std::exception_ptr failure;
    try {
        work(renderer, true);
    } catch (...) {
        failure = std::current_exception();
        abandon();
    }
    for (std::thread& w : workers) {
        w.join();
    }
    deliverer.join();
    for (const auto& f : failures) {
        if (!failure && f) {
            failure = f;
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    catchUp();
    return clipped.load();
}

// Where a character goes in its cell under the rule that widens cells to the ink.
struct InkCell {
    int width = 0;
    int originX = 0;
};

InkCell inkCellOf(std::uint16_t u, const GlyphRenderer& renderer) {
    const RenderMetrics metrics = renderer.metrics();
    const CharSpacing spacing = renderer.spacing(u);
    InkCell cell;
    cell.width = spacing.advance;
    if (metrics.scalable && spacing.hasAbc && std::abs(spacing.a) + spacing.b > cell.width) {
        cell.width = std::abs(spacing.a) + spacing.b;
    }
    if (cell.width <= 0) {
        cell.width = metrics.averageWidth;
    }
    cell.width = std::clamp(cell.width, 0, kMaxRenderWidth);
    cell.originX = metrics.scalable && spacing.hasAbc && spacing.a < 0 ? -spacing.a : 0;
    return cell;
}

}  // namespace

Glyph renderGlyph(std::uint16_t u, const GlyphRenderer& renderer, std::uint16_t height) {
    const InkCell cell = inkCellOf(u, renderer);
    Glyph glyph;
    glyph.init(u, static_cast<std::uint16_t>(cell.width), height);
    if (cell.width > 0 && height > 0) {
        renderer.render(u, cell.originX, cell.width, height, glyph.pixels.data());
    }
    return glyph;
}

Glyph renderGlyphInCell(std::uint16_t u, const GlyphRenderer& renderer, std::uint16_t height,
                        int cellWidth, bool* inkOutside) {
    const int width = std::clamp(cellWidth, 0, kMaxRenderWidth);
    Glyph glyph;
    glyph.init(u, static_cast<std::uint16_t>(width), height);
    bool outside = false;
    if (width > 0 && height > 0) {
        renderer.renderClipped(u, 0, width, height, glyph.pixels.data(), outside);
    }
    if (inkOutside != nullptr) {
        *inkOutside = outside;
    }
    return glyph;
}

int facePitch(const GlyphRenderer& renderer) {
    const int space = renderer.spacing(' ').advance;
    const int pitch = space > 0 ? space : renderer.metrics().averageWidth;
    return std::clamp(pitch, 1, kMaxRenderWidth);
}

PitchRule defaultPitchRule(const GlyphRenderer& renderer) {
    return renderer.metrics().fixedPitch ? PitchRule::KeepPitch : PitchRule::WidenToInk;
}

int countCharactersLosingInk(const GlyphRenderer& renderer,
                             const std::vector<std::uint16_t>& values, std::uint16_t height,
                             const CancelFlag* cancel) {
    // Each character is drawn whole, as the widening rule draws it, and its ink is looked for
    // outside the columns a cell of the pitch at its origin keeps.
    const int pitch = facePitch(renderer);
    int losing = 0;
    std::vector<std::uint8_t> pixels;
    for (std::uint16_t u : values) {
        if (cancel != nullptr && cancel->cancelled()) {
            return -1;
        }
        const InkCell cell = inkCellOf(u, renderer);
        if (cell.width <= 0 || height == 0) {
            continue;
        }
        pixels.assign(static_cast<std::size_t>(cell.width) * height, 0);
        renderer.render(u, cell.originX, cell.width, height, pixels.data());
        const int keptFirst = cell.originX;
        const int keptLast = cell.originX + pitch;  // one past the last kept column
        bool lost = false;
        for (int y = 0; y < height && !lost; ++y) {
            const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * cell.width;
            for (int x = 0; x < cell.width; ++x) {
                if (row[x] != 0 && (x < keptFirst || x >= keptLast)) {
                    lost = true;
                    break;
                }
            }
        }
        losing += lost ? 1 : 0;
    }
    return losing;
}

int countCharactersLosingInk(const GlyphRenderer& renderer, const CancelFlag* cancel) {
    const RenderMetrics m = renderer.metrics();
    const auto height = static_cast<std::uint16_t>(
        std::clamp(m.ascent + m.descent, 0, static_cast<int>(kMaxRenderHeight)));
    return countCharactersLosingInk(
        renderer, CharacterTable::supportedSetOf(m.scalable, renderer.unicodeRanges(), m.charSet),
        height, cancel);
}

void Font::createFromSystemFont(const LogFont& font, const DbcsTables& dbcs, ProgressSink& progress,
                                unsigned threads) {
    rasteriseSystemFont(*this, font, dbcs, progress, PitchRule::WidenToInk, threads);
}

int rasteriseSystemFont(Font& target, const LogFont& font, const DbcsTables& dbcs,
                        ProgressSink& progress, PitchRule pitch, unsigned threads,
                        RenderedFontSink* sink) {
    target.clearGlyphs();
    target.fromSystemFont = true;
    target.setSourceFont(font);
    target.faceName = font.faceName;
    const GlyphRenderer& r = target.renderer();
    const RenderMetrics m = r.metrics();
    target.ascent = static_cast<std::int16_t>(m.ascent);
    target.height = static_cast<std::uint16_t>(std::max(0, m.ascent + m.descent));
    target.fixedWidth = m.fixedPitch ? static_cast<std::uint16_t>(std::max(0, m.averageWidth)) : 0;

    auto ranges = r.unicodeRanges();
    target.charTable.buildFromSystemFont(
        CharacterTable::supportedSetOf(m.scalable, ranges, m.charSet), m.charSet,
        static_cast<int>(target.encoding), dbcs);

    target.fontHeader = FontHeaderInfo{};
    target.fontHeader.version = 0x200;
    target.fontHeader.vertRes = kScreenDpi;
    target.fontHeader.horizRes = kScreenDpi;
    target.fontHeader.ascent = static_cast<std::uint16_t>(m.ascent);
    target.fontHeader.internalLeading = static_cast<std::uint16_t>(m.internalLeading);
    target.fontHeader.externalLeading = static_cast<std::uint16_t>(m.externalLeading);
    target.fontHeader.italic = m.italic;
    target.fontHeader.underline = m.underline;
    target.fontHeader.strikeOut = m.strikeOut;
    target.fontHeader.weight = static_cast<std::uint16_t>(m.weight);
    target.fontHeader.charSet = m.charSet;
    target.fontHeader.avgWidth = static_cast<std::uint16_t>(m.averageWidth);
    target.fontHeader.defaultChar = static_cast<std::uint8_t>(m.defaultChar & 0xFF);
    target.fontHeader.breakChar = static_cast<std::uint8_t>(m.breakChar & 0xFF);

    // The lists are the enabled codes; every supported value is rendered, also the disabled
    // ones, so that enabling them later needs no rendering.
    target.codeList.clear();
    target.unicodeList.clear();
    target.charTable.committed.forEach([&](std::uint16_t code, CodeEntry e) {
        if (e.enabled) {
            target.codeList.push_back(code);
            target.unicodeList.push_back(e.unicode);
        }
    });
    const auto& supported = target.charTable.supportedSet;
    if (sink != nullptr) {
        sink->start(target, supported.size());
    }
    ProgressRun run(progress, static_cast<int>(supported.size()));
    const int cellWidth = pitch == PitchRule::KeepPitch ? facePitch(r) : 0;
    const int clipped = renderAll(
        supported, r, target.height, cellWidth, threads == 0 ? defaultThreadCount() : threads, run,
        [&](std::size_t i, Glyph&& glyph) {
            Glyph& stored = target.glyphs.insert(supported[i], std::move(glyph));
            if (sink != nullptr) {
                sink->glyph(supported[i], stored);
            }
        });
    target.updateFixedWidth();
    target.updateMaxWidth();
    return clipped;
}

}  // namespace typeloom
