#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

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
// into 256 pages of 256 slots; a page's slots are allocated (in one pool) with the first glyph
// of that page, so a font of a few characters holds a few pages, not a table of every key.
// Lookups are two indexes, and enumeration runs in ascending key order.
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
    // either: the undo history swaps whole glyphs this way.
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
    // The number of a page that has no slots yet.
    static constexpr std::uint16_t kNoPage = 0xFFFF;

    Glyph* slot(std::uint16_t key) const {
        const std::uint16_t page = m_pageAt[key / kPageSize];
        return page == kNoPage ? nullptr : m_slots[page * kPageSize + key % kPageSize].get();
    }
    // The slot of key, with its page allocated.
    std::unique_ptr<Glyph>& slotForWrite(std::uint16_t key);

    template <typename Self, typename F>
    static void walk(Self& self, F& f) {
        if (self.m_count == 0) {
            return;
        }
        for (std::uint32_t p = 0; p < kPages; ++p) {
            if (self.m_pageAt[p] == kNoPage) {
                continue;
            }
            const std::size_t start = std::size_t{self.m_pageAt[p]} * kPageSize;
            for (std::uint32_t i = 0; i < kPageSize; ++i) {
                if (const auto& g = self.m_slots[start + i]) {
                    f(static_cast<std::uint16_t>(p * kPageSize + i), *g);
                }
            }
        }
    }

    static constexpr std::array<std::uint16_t, kPages> noPages() {
        std::array<std::uint16_t, kPages> pages{};
        pages.fill(kNoPage);
        return pages;
    }

    // For each page of 256 keys, where its slots lie in m_slots: page number n holds slots
    // n * 256 to n * 256 + 255. Pages are numbered in the order they were first used.
    std::array<std::uint16_t, kPages> m_pageAt = noPages();
    std::vector<std::unique_ptr<Glyph>> m_slots;
    std::size_t m_count = 0;
};

// The largest pixel value of a pixel depth: 1, 3, 15 or 255 for 1, 2, 4 or 8 bits per pixel,
// 0 for any other depth.
std::uint8_t fullInkValue(std::uint32_t bitsPerPixel);

}  // namespace typeloom
