#pragma once

#include <cstdint>
#include <memory>
#include <span>
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

// The glyph of every character, keyed by its 16-bit Unicode value. Keys are 16-bit, so the
// map is a direct table of 65,536 slots (allocated with the first glyph): lookups are one
// index, and enumeration runs in ascending key order.
class GlyphMap {
  public:
    GlyphMap() = default;
    GlyphMap(const GlyphMap& other);
    GlyphMap& operator=(const GlyphMap& other);
    GlyphMap(GlyphMap&&) noexcept = default;
    GlyphMap& operator=(GlyphMap&&) noexcept = default;

    Glyph* find(std::uint16_t key) { return m_slots.empty() ? nullptr : m_slots[key].get(); }
    const Glyph* find(std::uint16_t key) const {
        return m_slots.empty() ? nullptr : m_slots[key].get();
    }
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
        if (m_slots.empty()) {
            return;
        }
        for (std::uint32_t k = 0; k < kSlots; ++k) {
            if (m_slots[k]) {
                f(static_cast<std::uint16_t>(k), *m_slots[k]);
            }
        }
    }
    template <typename F>
    void forEachMutable(F&& f) {
        if (m_slots.empty()) {
            return;
        }
        for (std::uint32_t k = 0; k < kSlots; ++k) {
            if (m_slots[k]) {
                f(static_cast<std::uint16_t>(k), *m_slots[k]);
            }
        }
    }

    friend bool operator==(const GlyphMap& a, const GlyphMap& b);

  private:
    static constexpr std::uint32_t kSlots = 0x10000;
    std::vector<std::unique_ptr<Glyph>> m_slots;
    std::size_t m_count = 0;
};

// The largest pixel value of a pixel depth: 1, 3, 15 or 255 for 1, 2, 4 or 8 bits per pixel,
// 0 for any other depth.
std::uint8_t fullInkValue(std::uint32_t bitsPerPixel);

}  // namespace typeloom
