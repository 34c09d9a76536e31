#include "model/transforms.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace typeloom {

namespace {

constexpr std::size_t kMaxSide = 0xFFFF;  // widths and heights are 16-bit

// Calls f(glyph) once for every glyph of a listed character. The lists may name one Unicode
// value twice (two codes of a double-byte encoding that both stand for U+FFFD); its glyph is
// still changed once, or a mirror or an inversion would undo itself.
template <typename FontT, typename F>
void forEachListedGlyph(FontT& font, F&& f) {
    std::vector<bool> seen(0x10000, false);
    for (std::uint16_t u : font.unicodeList) {
        if (seen[u]) {
            continue;
        }
        seen[u] = true;
        if (auto* glyph = font.glyphs.find(u)) {
            f(*glyph);
        }
    }
}

// For each destination index of one direction, the source indices [begin, end) it shows.
struct SourceRun {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Enlarging: destination d shows source floor(d x source / destination), so every source pixel
// is replicated. Shrinking (or keeping the size): source s goes to destination
// floor(s x destination / source); the sources of destination d are then
// ceil(d x source / destination) .. ceil((d + 1) x source / destination) - 1, a run that is
// never empty, so no source pixel is lost.
std::vector<SourceRun> sourceRuns(std::size_t source, std::size_t destination) {
    std::vector<SourceRun> runs(destination);
    if (source == 0) {
        return runs;
    }
    for (std::size_t d = 0; d < destination; ++d) {
        if (destination > source) {
            const std::size_t s = d * source / destination;
            runs[d] = {s, s + 1};
        } else {
            runs[d] = {(d * source + destination - 1) / destination,
                       ((d + 1) * source + destination - 1) / destination};
        }
    }
    return runs;
}

std::int16_t clampToInt16(std::int64_t v) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

// --- Glyph operations

void changeGlyphRows(Glyph& glyph, bool remove, std::uint16_t top, std::uint16_t bottom) {
    const std::size_t width = glyph.width;
    const std::size_t rows = glyph.rowCount();
    if (remove) {
        if (std::size_t{top} + bottom >= rows) {
            glyph.pixels.clear();
            return;
        }
        std::vector<std::uint8_t> kept(
            glyph.pixels.begin() + static_cast<std::ptrdiff_t>(top * width),
            glyph.pixels.begin() + static_cast<std::ptrdiff_t>((rows - bottom) * width));
        glyph.pixels = std::move(kept);
        return;
    }
    if (width == 0) {
        return;
    }
    std::vector<std::uint8_t> grown(width * (rows + top + bottom), 0);
    std::copy_n(glyph.pixels.begin(), rows * width,
                grown.begin() + static_cast<std::ptrdiff_t>(top * width));
    glyph.pixels = std::move(grown);
}

void changeGlyphColumns(Glyph& glyph, bool remove, std::uint16_t left, std::uint16_t right) {
    const std::size_t width = glyph.width;
    const std::size_t rows = glyph.rowCount();
    const std::size_t change = std::size_t{left} + right;
    if (!remove && width + change > kMaxSide) {
        return;
    }
    const std::size_t newWidth = remove ? (change >= width ? 0 : width - change) : width + change;
    std::vector<std::uint8_t> out(newWidth * rows, 0);
    if (newWidth != 0) {
        for (std::size_t y = 0; y < rows; ++y) {
            const auto* from = glyph.pixels.data() + y * width;
            auto* to = out.data() + y * newWidth;
            if (remove) {
                std::copy_n(from + left, newWidth, to);
            } else {
                std::copy_n(from, width, to + left);
            }
        }
    }
    glyph.width = static_cast<std::uint16_t>(newWidth);
    glyph.pixels = std::move(out);
}

InkColumns inkColumns(const Glyph& glyph) {
    const std::size_t width = glyph.width;
    const std::size_t rows = glyph.rowCount();
    std::size_t first = width;
    std::size_t last = 0;
    bool ink = false;
    for (std::size_t y = 0; y < rows; ++y) {
        const auto* row = glyph.pixels.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            if (row[x] != 0) {
                first = std::min(first, x);
                last = std::max(last, x);
                ink = true;
            }
        }
    }
    if (!ink) {
        return {glyph.width, glyph.width};
    }
    return {static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(last)};
}

void trimBlankColumns(Glyph& glyph) {
    const InkColumns ink = inkColumns(glyph);
    if (ink.first == glyph.width) {
        return;  // no ink: a space keeps its width
    }
    const auto right = static_cast<std::uint16_t>(glyph.width - 1 - ink.last);
    if (ink.first > 0 || right > 0) {
        changeGlyphColumns(glyph, true, ink.first, right);
    }
}

void centerHorizontally(Glyph& glyph) {
    const InkColumns ink = inkColumns(glyph);
    const std::size_t width = glyph.width;
    if (ink.first == width) {
        return;
    }
    const std::size_t leftMargin = ink.first;
    const std::size_t rightMargin = width - 1 - ink.last;
    const std::size_t difference =
        leftMargin > rightMargin ? leftMargin - rightMargin : rightMargin - leftMargin;
    if (difference < 2) {
        return;
    }
    const std::size_t shift = difference / 2;
    const bool toTheRight = rightMargin > leftMargin;
    const std::size_t rows = glyph.rowCount();
    std::vector<std::uint8_t> out(glyph.pixels.size(), 0);
    // The margins are blank, so moving whole rows moves just the ink.
    for (std::size_t y = 0; y < rows; ++y) {
        const auto* from = glyph.pixels.data() + y * width;
        auto* to = out.data() + y * width;
        if (toTheRight) {
            std::copy_n(from, width - shift, to + shift);
        } else {
            std::copy_n(from + shift, width - shift, to);
        }
    }
    glyph.pixels = std::move(out);
}

void mirrorHorizontal(Glyph& glyph) {
    const std::size_t width = glyph.width;
    const std::size_t rows = glyph.rowCount();
    for (std::size_t y = 0; y < rows; ++y) {
        auto row = glyph.pixels.begin() + static_cast<std::ptrdiff_t>(y * width);
        std::reverse(row, row + static_cast<std::ptrdiff_t>(width));
    }
}

void mirrorVertical(Glyph& glyph, std::uint16_t rows) {
    const std::size_t width = glyph.width;
    const std::size_t count = std::min<std::size_t>(rows, glyph.rowCount());
    for (std::size_t y = 0; y < count / 2; ++y) {
        auto upper = glyph.pixels.begin() + static_cast<std::ptrdiff_t>(y * width);
        auto lower = glyph.pixels.begin() + static_cast<std::ptrdiff_t>((count - 1 - y) * width);
        std::swap_ranges(upper, upper + static_cast<std::ptrdiff_t>(width), lower);
    }
}

void invert(Glyph& glyph, std::uint32_t bitsPerPixel) {
    const std::uint8_t full = fullInkValue(bitsPerPixel);
    if (full == 0) {
        return;
    }
    for (std::uint8_t& v : glyph.pixels) {
        v = v >= full ? 0 : static_cast<std::uint8_t>(full - v);
    }
}

namespace {

// Scales with the source runs of both directions worked out beforehand (a whole-font resize
// shares them between glyphs of equal size); `across` is scratch room reused between glyphs.
void scaleWithRuns(Glyph& glyph, const std::vector<SourceRun>& rowRuns,
                   const std::vector<SourceRun>& columnRuns, std::vector<std::uint8_t>& across) {
    const std::size_t width = glyph.width;
    const std::size_t rows = glyph.rowCount();
    const std::size_t newWidth = columnRuns.size();
    const std::size_t newHeight = rowRuns.size();
    // Horizontally first, every source row to the new width; then vertically.
    across.assign(rows * newWidth, 0);
    const bool enlarging = newWidth > width;  // every run is one source column
    for (std::size_t y = 0; y < rows; ++y) {
        const auto* from = glyph.pixels.data() + y * width;
        auto* to = across.data() + y * newWidth;
        if (enlarging) {
            for (std::size_t x = 0; x < newWidth; ++x) {
                to[x] = from[columnRuns[x].begin] != 0 ? 1 : 0;
            }
            continue;
        }
        for (std::size_t x = 0; x < newWidth; ++x) {
            std::uint8_t ink = 0;
            for (std::size_t s = columnRuns[x].begin; s < columnRuns[x].end; ++s) {
                ink |= from[s] != 0 ? 1 : 0;
            }
            to[x] = ink;
        }
    }
    std::vector<std::uint8_t> out(newHeight * newWidth, 0);
    for (std::size_t y = 0; y < newHeight; ++y) {
        auto* to = out.data() + y * newWidth;
        for (std::size_t s = rowRuns[y].begin; s < rowRuns[y].end; ++s) {
            const auto* from = across.data() + s * newWidth;
            for (std::size_t x = 0; x < newWidth; ++x) {
                to[x] |= from[x];
            }
        }
    }
    glyph.width = static_cast<std::uint16_t>(newWidth);
    glyph.pixels = std::move(out);
}

}  // namespace

void scaleTo(Glyph& glyph, std::uint16_t newHeight, std::uint16_t newWidth) {
    std::vector<std::uint8_t> across;
    scaleWithRuns(glyph, sourceRuns(glyph.rowCount(), newHeight), sourceRuns(glyph.width, newWidth),
                  across);
}

void fitToRows(Glyph& glyph, std::uint16_t rows) {
    glyph.pixels.resize(std::size_t{glyph.width} * rows, 0);
}

// --- Font operations

bool changeRows(Font& font, bool remove, std::uint16_t top, std::uint16_t bottom) {
    const std::size_t change = std::size_t{top} + bottom;
    if (remove ? change >= font.height : font.height + change > kMaxSide) {
        return false;
    }
    const auto newHeight =
        static_cast<std::uint16_t>(remove ? font.height - change : font.height + change);
    // Glyphs outside the lists are changed too: every glyph keeps the font's height, so a
    // character enabled again later fits without further work.
    font.glyphs.forEachMutable([&](std::uint16_t, Glyph& glyph) {
        changeGlyphRows(glyph, remove, top, bottom);
        fitToRows(glyph, newHeight);
    });
    font.height = newHeight;
    return true;
}

bool changeColumns(Font& font, bool remove, std::uint16_t left, std::uint16_t right) {
    const std::size_t change = std::size_t{left} + right;
    auto fits = [&](std::size_t width) {
        return remove ? change == 0 || width > change : width + change <= kMaxSide;
    };
    bool possible = font.fixedWidth == 0 || fits(font.fixedWidth);
    forEachListedGlyph(std::as_const(font),
                       [&](const Glyph& glyph) { possible = possible && fits(glyph.width); });
    if (!possible) {
        return false;
    }
    forEachListedGlyph(font, [&](Glyph& glyph) {
        changeGlyphColumns(glyph, remove, left, right);
        fitToRows(glyph, font.height);
    });
    if (font.fixedWidth != 0) {
        font.fixedWidth = static_cast<std::uint16_t>(remove ? font.fixedWidth - change
                                                            : font.fixedWidth + change);
    }
    font.updateMaxWidth();
    return true;
}

ResizeResult resize(Font& font, std::uint32_t vertical, std::uint32_t horizontal,
                    bool byPercentage) {
    // The factor is the double-precision 0.01 and results are truncated, so 16 x 50 % is 8.
    constexpr double kPercent = 0.01;
    auto percentOf = [&](std::uint64_t size, std::uint32_t percent) {
        return static_cast<std::uint64_t>(static_cast<double>(size) * percent * kPercent);
    };
    auto newWidthOf = [&](std::uint16_t width) -> std::uint64_t {
        const std::uint64_t w = byPercentage ? percentOf(width, horizontal) : horizontal;
        return std::max<std::uint64_t>(w, 1);
    };

    const std::uint64_t newHeight = byPercentage ? percentOf(font.height, vertical) : vertical;
    if (newHeight == 0) {
        return {false, kResizeZeroHeightMessage};
    }
    bool tooLarge = newHeight > kMaxSide;
    std::uint64_t total = 0;
    font.glyphs.forEach([&](std::uint16_t, const Glyph& glyph) {
        const std::uint64_t w = newWidthOf(glyph.width);
        tooLarge = tooLarge || w > kMaxSide;
        if (!tooLarge) {
            total += w * newHeight;  // at most 65,536 x 65,535 x 65,535: no overflow
        }
    });
    if (tooLarge || total > kResizeMaxPixels) {
        return {false, kResizeTooLargeMessage};
    }

    // Glyphs of one size share their source runs: usually every glyph has the font's height
    // and a fixed-width font has one width.
    std::unordered_map<std::size_t, std::vector<SourceRun>> rowRuns;
    std::unordered_map<std::uint16_t, std::vector<SourceRun>> columnRuns;
    std::vector<std::uint8_t> across;
    font.glyphs.forEachMutable([&](std::uint16_t, Glyph& glyph) {
        const std::size_t rows = glyph.rowCount();
        auto r = rowRuns.try_emplace(rows);
        if (r.second) {
            r.first->second = sourceRuns(rows, newHeight);
        }
        auto c = columnRuns.try_emplace(glyph.width);
        if (c.second) {
            c.first->second = sourceRuns(glyph.width, newWidthOf(glyph.width));
        }
        scaleWithRuns(glyph, r.first->second, c.first->second, across);
    });
    const std::uint16_t oldHeight = font.height;
    if (byPercentage) {
        font.ascent = clampToInt16(
            static_cast<std::int64_t>(static_cast<double>(font.ascent) * vertical * kPercent));
        if (font.fixedWidth != 0) {
            // Raised to 1 like the glyphs' widths, so a fixed-width font stays fixed-width.
            font.fixedWidth = static_cast<std::uint16_t>(newWidthOf(font.fixedWidth));
        }
    } else {
        font.ascent =
            oldHeight == 0 ? 0 : clampToInt16(std::int64_t{font.ascent} * vertical / oldHeight);
        font.fixedWidth = static_cast<std::uint16_t>(newWidthOf(0));
    }
    font.height = static_cast<std::uint16_t>(newHeight);
    font.sourceFont.height = font.height;
    font.updateMaxWidth();
    return {true, {}};
}

void makeFixedWidth(Font& font) {
    font.fixedWidth = 0;
    font.updateMaxWidth();  // the widest listed character
    const std::uint16_t widest = font.maxWidth;
    forEachListedGlyph(font, [&](Glyph& glyph) {
        if (glyph.width < widest) {
            changeGlyphColumns(glyph, false, 0, static_cast<std::uint16_t>(widest - glyph.width));
            fitToRows(glyph, font.height);
        }
    });
    font.fixedWidth = widest;
    font.updateMaxWidth();
}

void makeVariableWidth(Font& font) {
    font.fixedWidth = 0;
}

void trimAll(Font& font) {
    if (font.fixedWidth != 0) {
        return;
    }
    forEachListedGlyph(font, [](Glyph& glyph) { trimBlankColumns(glyph); });
    font.updateMaxWidth();
}

void centerAll(Font& font) {
    if (font.fixedWidth == 0) {
        return;
    }
    forEachListedGlyph(font, [](Glyph& glyph) { centerHorizontally(glyph); });
}

void mirrorHorizontal(Font& font) {
    forEachListedGlyph(font, [](Glyph& glyph) { mirrorHorizontal(glyph); });
}

void mirrorVertical(Font& font) {
    forEachListedGlyph(font, [&](Glyph& glyph) { mirrorVertical(glyph, font.height); });
}

void invert(Font& font) {
    forEachListedGlyph(font, [&](Glyph& glyph) { invert(glyph, font.bitsPerPixel); });
}

}  // namespace typeloom
