#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "common/bulk_data.h"

namespace typeloom {

// One character's bitmap: `width` x font height pixels, one byte per pixel (0 background,
// 1 ink), rows top to bottom, pixel (x, y) at index x + y * width. Glyphs do not store their
// height; every glyph of a font has the font's height.
class Glyph {
  public:
    std::uint16_t code = 0;  // the character value the glyph was made for
    std::uint16_t width = 0;
    std::vector<std::uint8_t> pixels;

    Glyph() = default;
    Glyph(std::uint16_t c, std::uint16_t w, std::vector<std::uint8_t> p)
        : code(c), width(w), pixels(std::move(p)) {}

    // Sets code and width and clears width x height pixels.
    void init(std::uint16_t glyphCode, std::uint16_t glyphWidth, std::uint16_t height);
    void copyPixels(std::span<const std::uint8_t> bytes) {
        pixels.assign(bytes.begin(), bytes.end());
    }
    // Builds the pixels from rows of ceil(w / 8) bytes, most significant bit first, bit set =
    // ink. Missing bytes count as blank. A width of 0 makes a blank glyph of width 1.
    void fromPackedRows(std::uint16_t glyphCode, std::uint16_t glyphWidth, std::uint16_t height,
                        std::span<const std::uint8_t> bytes);

    std::uint8_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(x + y * width)];
    }
    std::size_t rowCount() const { return width == 0 ? 0 : pixels.size() / width; }

    friend bool operator==(const Glyph&, const Glyph&) = default;
};

// The glyph of every character, keyed by its 16-bit Unicode value. The 65,536 keys are cut
// into 256 pages of 256 glyphs; a page is allocated (in one block, its glyphs inside it) with
// the first glyph of that page, so a font of a few characters holds a few pages, not a table of
// every key, and a font of many characters costs one allocation per page, not per glyph.
// Lookups are two indexes, enumeration runs in ascending key order, and a stored glyph stays
// where it is (pointers to it stay valid) until its own key is replaced or erased.
class GlyphMap {
  public:
    GlyphMap() = default;
    GlyphMap(const GlyphMap& other);
    GlyphMap& operator=(const GlyphMap& other);
    GlyphMap(GlyphMap&& other) noexcept;
    GlyphMap& operator=(GlyphMap&& other) noexcept;
    ~GlyphMap() = default;

    Glyph* find(std::uint16_t key) { return slot(key); }
    const Glyph* find(std::uint16_t key) const { return slot(key); }
    bool contains(std::uint16_t key) const { return find(key) != nullptr; }
    // Stores a glyph under key, replacing (destroying) any glyph there.
    Glyph& insert(std::uint16_t key, Glyph glyph);
    void erase(std::uint16_t key);
    // Puts `glyph` (nullptr: none) under key and hands back what was there, without copying
    // the pixels of either: the undo history swaps whole glyphs this way.
    std::unique_ptr<Glyph> exchange(std::uint16_t key, std::unique_ptr<Glyph> glyph);
    void clear();
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

    // Calls f(key, glyph) for every glyph in ascending key order.
    template <typename F>
    void forEach(F&& f) const {
        walk(*this, f);
    }
    template <typename F>
    void forEachMutable(F&& f) {
        walk(*this, f);
    }

    friend bool operator==(const GlyphMap& a, const GlyphMap& b);

  private:
    static constexpr std::uint32_t kPageSize = 0x100;
    static constexpr std::uint32_t kPages = 0x10000 / kPageSize;
    static constexpr std::uint32_t kWordBits = 64;

    // 256 glyphs and which of them are present.
    struct Page {
        std::array<Glyph, kPageSize> glyphs;
        std::array<std::uint64_t, kPageSize / kWordBits> present{};

        TYPELOOM_BULK_DATA bool has(std::uint32_t i) const {
            return (present[i / kWordBits] >> (i % kWordBits)) & 1u;
        }
        TYPELOOM_BULK_DATA void mark(std::uint32_t i, bool on) {
            const std::uint64_t bit = std::uint64_t{1} << (i % kWordBits);
            present[i / kWordBits] =
                on ? present[i / kWordBits] | bit : present[i / kWordBits] & ~bit;
        }
    };

    TYPELOOM_BULK_DATA Glyph* slot(std::uint16_t key) const {
        Page* page = m_pages[key / kPageSize].get();
        return page != nullptr && page->has(key % kPageSize) ? &page->glyphs[key % kPageSize]
                                                             : nullptr;
    }
    Page& pageForWrite(std::uint16_t key);

    template <typename Self, typename F>
    static void walk(Self& self, F& f) {
        if (self.m_count == 0) {
            return;
        }
        for (std::uint32_t p = 0; p < kPages; ++p) {
            Page* page = self.m_pages[p].get();
            if (page == nullptr) {
                continue;
            }
            for (std::uint32_t w = 0; w < page->present.size(); ++w) {
                for (std::uint64_t bits = page->present[w]; bits != 0; bits &= bits - 1) {
                    const auto i = static_cast<std::uint32_t>(
                        w * kWordBits + static_cast<std::uint32_t>(std::countr_zero(bits)));
                    f(static_cast<std::uint16_t>(p * kPageSize + i), page->glyphs[i]);
                }
            }
        }
    }

    std::array<std::unique_ptr<Page>, kPages> m_pages;
    std::size_t m_count = 0;
};

// The largest pixel value of a pixel depth: 1, 3, 15 or 255 for 1, 2, 4 or 8 bits per pixel,
// 0 for any other depth.
std::uint8_t fullInkValue(std::uint32_t bitsPerPixel);

}  // namespace typeloom
