#pragma once

// Helpers for the interchange tests: byte assembly written from the file layouts, glyphs as
// pictures ('#' ink, '.' background) and a font the tests can recognise after a failed import.

#include <cstdint>
#include <string>
#include <vector>

namespace typeloom {
class Font;
}

namespace typeloom::test {

class LeBytes {
  public:
    LeBytes& u8(std::uint8_t v) {
        m_b.push_back(v);
        return *this;
    }
    LeBytes& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    LeBytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    LeBytes& text(const std::string& s) {
        for (char c : s) {
            u8(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    LeBytes& zeros(std::size_t n) {
        m_b.resize(m_b.size() + n, 0);
        return *this;
    }
    LeBytes& raw(const std::vector<std::uint8_t>& b) {
        m_b.insert(m_b.end(), b.begin(), b.end());
        return *this;
    }
    void patch16(std::size_t at, std::uint16_t v) {
        m_b[at] = v & 0xFF;
        m_b[at + 1] = v >> 8;
    }
    void patch32(std::size_t at, std::uint32_t v) {
        patch16(at, v & 0xFFFF);
        patch16(at + 2, v >> 16);
    }
    std::size_t size() const { return m_b.size(); }
    const std::vector<std::uint8_t>& bytes() const { return m_b; }
    std::vector<std::uint8_t>& bytes() { return m_b; }

  private:
    std::vector<std::uint8_t> m_b;
};

// Joins lines with LF.
std::vector<std::uint8_t> lines(const std::vector<std::string>& text);

// The glyph stored under `key` as rows of '#' and '.'; empty when there is none.
std::vector<std::string> glyphArt(const Font& font, std::uint16_t key);
// Pixels (one byte each) from rows of '#' and '.'.
std::vector<std::uint8_t> pixelsOfArt(const std::vector<std::string>& art);
// Draws rows of '#' and '.' into the glyph stored under `key` (which must exist); the glyph
// takes the rows' width.
void setGlyphArt(Font& font, std::uint16_t key, const std::vector<std::string>& art);

// A small font open before an import: "Digits", 0x30-0x39, 5 x 7, one pixel set.
Font openFont();
// True (with failures reported) when `font` is still the font openFont() makes.
void expectOpenFontUnchanged(const Font& font);

}  // namespace typeloom::test
