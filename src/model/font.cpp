#include "model/font.h"

#include <algorithm>
#include <cstdlib>

#include "charset/encodings.h"
#include "common/bulk_data.h"
#include "common/text.h"

namespace typeloom {

int Font::unicodeAt(int i) const {
    return i >= 0 && i < count() ? unicodeList[static_cast<std::size_t>(i)] : -1;
}

int Font::codeAt(int i) const {
    return i >= 0 && i < count() ? codeList[static_cast<std::size_t>(i)] : -1;
}

int Font::indexOfCode(std::uint16_t code) const {
    auto it = std::lower_bound(codeList.begin(), codeList.end(), code);
    if (it == codeList.end() || *it != code) {
        return -1;
    }
    return static_cast<int>(it - codeList.begin());
}

int Font::initialIndex() const {
    int index = indexOfCode(65);
    if (index >= 0) {
        return index;
    }
    return count() > 0 ? 0 : -1;
}

bool Font::widthOf(std::uint16_t unicode, std::uint16_t& width) const {
    const Glyph* g = glyphs.find(unicode);
    if (g == nullptr) {
        return false;
    }
    width = g->width;
    return true;
}

std::uint16_t Font::getGlyph(std::uint16_t u, std::uint16_t& width, std::uint16_t& glyphHeight,
                             std::int16_t& glyphAscent, std::vector<std::uint8_t>& pixels) const {
    glyphHeight = height;
    glyphAscent = ascent;
    const Glyph* g = glyphs.find(u);
    if (g == nullptr) {
        return 0;
    }
    width = g->width;
    pixels = g->pixels;
    return u;
}

void Font::setGlyph(std::uint16_t u, std::uint16_t width, std::vector<std::uint8_t> pixels) {
    if (Glyph* g = glyphs.find(u)) {
        g->width = width;
        g->pixels = std::move(pixels);
    }
    maxWidth = std::max(maxWidth, width);
}

bool Font::getPixels(std::uint16_t u, std::vector<std::uint8_t>& pixels) const {
    const Glyph* g = glyphs.find(u);
    if (g == nullptr) {
        return false;
    }
    pixels = g->pixels;
    return true;
}

int Font::insertPosition(std::uint16_t code) const {
    int position = 0;
    for (std::size_t i = 0; i < codeList.size(); ++i) {
        if (codeList[i] == code) {
            return -1;
        }
        if (codeList[i] < code) {
            position = static_cast<int>(i) + 1;
        }
    }
    return position;
}

void Font::insertCode(std::uint16_t code, std::uint16_t unicode) {
    int position = insertPosition(code);
    if (position < 0) {
        return;
    }
    codeList.insert(codeList.begin() + position, code);
    unicodeList.insert(unicodeList.begin() + position, unicode);
}

void Font::clearGlyphs() {
    glyphs.clear();
    unicodeList.clear();
    codeList.clear();
}

void Font::addBlankGlyph(std::uint16_t u, std::uint16_t width) {
    Glyph g;
    g.init(u, width, height);
    glyphs.insert(u, std::move(g));
}

void Font::addRenderedGlyph(std::uint16_t u) {
    glyphs.insert(u, renderGlyph(u, renderer(), height));
}

std::uint16_t Font::updateFixedWidth() {
    std::uint16_t common = 0;
    bool first = true;
    for (std::uint16_t u : unicodeList) {
        std::uint16_t w = 0;
        if (!widthOf(u, w)) {
            w = 0;
        }
        if (first) {
            common = w;
            first = false;
        } else if (w != common) {
            common = 0;
            break;
        }
    }
    fixedWidth = unicodeList.empty() ? 0 : common;
    return fixedWidth;
}

TYPELOOM_BULK_DATA void Font::updateMaxWidth() {
    if (fixedWidth != 0) {
        maxWidth = fixedWidth;
        return;
    }
    std::uint16_t widest = 0;
    for (std::uint16_t u : unicodeList) {
        std::uint16_t w = 0;
        if (widthOf(u, w)) {
            widest = std::max(widest, w);
        }
    }
    maxWidth = widest;
}

void Font::rebuildFromTable() {
    setEncoding(charTable.encoding());
    unicodeList.clear();
    codeList.clear();
    CodeMap& map = charTable.committed;
    for (std::uint16_t code : charTable.codeOrder) {
        if (!map.contains(code)) {
            continue;
        }
        CodeEntry entry = map.get(code);
        if (!entry.enabled) {
            continue;
        }
        if (!entry.mapped) {
            // A character kept from before (disabled earlier, or pasted) is used as it is;
            // only a value without one gets a new character.
            if (glyphs.contains(entry.unicode)) {
                // nothing to make
            } else if (fromSystemFont) {
                addRenderedGlyph(entry.unicode);
            } else {
                addBlankGlyph(entry.unicode, fixedWidth != 0 ? fixedWidth : maxWidth);
            }
            entry.mapped = true;
            entry.enabled = true;
            map.set(code, entry);
        }
        codeList.push_back(code);
        unicodeList.push_back(entry.unicode);
    }
    if (codeList.empty()) {
        codeList = charTable.supportedSet;
        unicodeList = charTable.supportedSet;
    }
    updateFixedWidth();
    updateMaxWidth();
}

void Font::setEncoding(std::int64_t n) {
    if (isValidEncoding(n)) {
        encoding = static_cast<std::uint32_t>(n);
    }
    charTable.setEncoding(static_cast<int>(encoding));
}

std::string logFontFaceName(const std::string& name) {
    std::u16string units = utf8ToUtf16(name);
    if (units.size() <= kLogFontFaceNameMax) {
        return name;
    }
    units.resize(kLogFontFaceNameMax);
    if (units.back() >= 0xD800 && units.back() < 0xDC00) {
        units.pop_back();  // half a surrogate pair is no character
    }
    return utf16ToUtf8(units);
}

void Font::setSourceFont(const LogFont& font) {
    sourceFont = font;
    hasSourceFont = true;
}

void Font::setSourceCharSet(std::uint8_t cs) {
    if (sourceFont.charSet != cs) {
        sourceFont.charSet = cs;
    }
}

void Font::syncHeaderInfo() {
    if (count() == 0) {
        return;
    }
    fontHeader.firstChar = static_cast<std::uint8_t>(codeAt(0) & 0xFF);
    fontHeader.lastChar = static_cast<std::uint8_t>(codeAt(count() - 1) & 0xFF);
    fontHeader.points = static_cast<std::uint16_t>(std::abs(int{height}) * 72 / kScreenDpi);
    fontHeader.pixHeight = height;
    fontHeader.maxWidth = maxWidth;
    fontHeader.ascent = static_cast<std::uint16_t>(ascent);
    fontHeader.pixWidth = fixedWidth;
    auto outside = [&](std::uint8_t c) {
        return c < fontHeader.firstChar || c > fontHeader.lastChar;
    };
    if (outside(fontHeader.defaultChar)) {
        fontHeader.defaultChar = fontHeader.firstChar;
    }
    if (outside(fontHeader.breakChar)) {
        fontHeader.breakChar = fontHeader.firstChar;
    }
}

bool Font::commitCharacterTable(std::uint8_t scriptCharSet) {
    if (!charTable.isEdited()) {
        return false;
    }
    const int editingEncoding = charTable.editing.encoding;
    if (!charTable.commitEditing()) {
        return false;
    }
    if (editingEncoding == kEncodingAnsi) {
        setSourceCharSet(scriptCharSet);
    }
    setEncoding(editingEncoding);
    rebuildFromTable();
    return true;
}

const GlyphRenderer& Font::renderer() const {
    if (!m_renderer || !(m_rendererFont == sourceFont)) {
        m_renderer = makeRenderer(sourceFont);
        m_rendererFont = sourceFont;
    }
    return *m_renderer;
}

void Font::inheritUnsavedState(const Font& previous) {
    dataFormat = previous.dataFormat;
    charSet = previous.charSet;
    fromSystemFont = previous.fromSystemFont;
    fontHeader = previous.fontHeader;
    fontHeader.textsOfThisFont = false;
    encoding = previous.encoding;
    bitsPerPixel = previous.bitsPerPixel;
    charTable.setEncoding(previous.charTable.encoding());
    sourceFont = previous.sourceFont;
    hasSourceFont = previous.hasSourceFont;
}

}  // namespace typeloom
