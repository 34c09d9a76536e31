#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/font.h"

namespace typeloom {

// A copy of a font taken quickly on the thread that edits it, to be written out on another
// thread while editing goes on. The pixels of every glyph are packed into one block (one
// allocation and a copy per glyph, where a copy of the font would allocate twice per glyph);
// the font's other values are copied as they are, without the renderer of its source font,
// which stays with the thread that uses it.
class FontSnapshot {
  public:
    explicit FontSnapshot(const Font& font);

    std::size_t glyphCount() const { return m_entries.size(); }
    // Bytes the snapshot holds.
    std::size_t bytes() const;

    // The version 3 project layout of the font as it was when the snapshot was taken. The
    // snapshot is used up: it gives its glyphs to the font it rebuilds.
    std::vector<std::uint8_t> takeProjectBytes();

  private:
    struct Entry {
        std::uint16_t key = 0;
        std::uint16_t code = 0;
        std::uint16_t width = 0;
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    Font m_frame;  // the font's values without its glyphs
    std::vector<Entry> m_entries;
    // Left uninitialised until copied into: zeroing 16 MiB first would double the cost.
    std::unique_ptr<std::uint8_t[]> m_pixels;
    std::size_t m_pixelBytes = 0;
};

}  // namespace typeloom
