#include "model/font_snapshot.h"

#include <algorithm>
#include <utility>

#include "model/project_file.h"

namespace typeloom {

FontSnapshot::FontSnapshot(const Font& font) {
    // Value by value rather than a copy of the font, so that the renderer (and the FreeType
    // face behind it) is never shared with, nor released on, the thread that writes.
    m_frame.sourceFont = font.sourceFont;
    m_frame.hasSourceFont = font.hasSourceFont;
    m_frame.charTable = font.charTable;
    m_frame.dataFormat = font.dataFormat;
    m_frame.fixedWidth = font.fixedWidth;
    m_frame.height = font.height;
    m_frame.ascent = font.ascent;
    m_frame.pointSize = font.pointSize;
    m_frame.maxWidth = font.maxWidth;
    m_frame.faceName = font.faceName;
    m_frame.unicodeList = font.unicodeList;
    m_frame.codeList = font.codeList;
    m_frame.encoding = font.encoding;
    m_frame.bitsPerPixel = font.bitsPerPixel;
    m_frame.charSet = font.charSet;
    m_frame.fromSystemFont = font.fromSystemFont;
    m_frame.fontHeader = font.fontHeader;

    std::size_t total = 0;
    font.glyphs.forEach([&](std::uint16_t, const Glyph& g) { total += g.pixels.size(); });
    m_entries.reserve(font.glyphs.size());
    m_pixels = std::make_unique_for_overwrite<std::uint8_t[]>(total);
    m_pixelBytes = total;
    std::size_t at = 0;
    font.glyphs.forEach([&](std::uint16_t key, const Glyph& g) {
        m_entries.push_back(Entry{key, g.code, g.width, at, g.pixels.size()});
        std::copy(g.pixels.begin(), g.pixels.end(), m_pixels.get() + at);
        at += g.pixels.size();
    });
}

std::size_t FontSnapshot::bytes() const {
    return sizeof(*this) + m_pixelBytes + m_entries.capacity() * sizeof(Entry) +
           (m_frame.unicodeList.capacity() + m_frame.codeList.capacity()) * 2;
}

std::vector<std::uint8_t> FontSnapshot::takeProjectBytes() {
    for (const Entry& e : m_entries) {
        const std::uint8_t* first = m_pixels.get() + e.offset;
        m_frame.glyphs.insert(
            e.key, Glyph(e.code, e.width, std::vector<std::uint8_t>(first, first + e.size)));
    }
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_pixels.reset();
    m_pixelBytes = 0;
    return projectBytes(m_frame);
}

}  // namespace typeloom
