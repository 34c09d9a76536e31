#include "model/glyph.h"

#include <utility>

namespace typeloom {

void Glyph::init(std::uint16_t glyphCode, std::uint16_t glyphWidth, std::uint16_t height) {
    code = glyphCode;
    width = glyphWidth;
    pixels.assign(std::size_t{glyphWidth} * height, 0);
}

void Glyph::fromPackedRows(std::uint16_t glyphCode, std::uint16_t glyphWidth, std::uint16_t height,
                           std::span<const std::uint8_t> bytes) {
    if (glyphWidth == 0) {
        init(glyphCode, 1, height);
        return;
    }
    init(glyphCode, glyphWidth, height);
    const std::size_t stride = (std::size_t{glyphWidth} + 7) / 8;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < glyphWidth; ++x) {
            std::size_t index = y * stride + x / 8;
            if (index < bytes.size() && (bytes[index] & (0x80 >> (x % 8))) != 0) {
                pixels[y * glyphWidth + x] = 1;
            }
        }
    }
}

GlyphMap::GlyphMap(const GlyphMap& other) {
    *this = other;
}

GlyphMap& GlyphMap::operator=(const GlyphMap& other) {
    if (this == &other) {
        return *this;
    }
    clear();
    other.forEach([&](std::uint16_t key, const Glyph& g) { insert(key, g); });
    return *this;
}

// A moved-from map is empty.
GlyphMap::GlyphMap(GlyphMap&& other) noexcept
    : m_pages(std::move(other.m_pages)), m_count(std::exchange(other.m_count, 0)) {}

GlyphMap& GlyphMap::operator=(GlyphMap&& other) noexcept {
    if (this != &other) {
        m_pages = std::move(other.m_pages);
        m_count = std::exchange(other.m_count, 0);
    }
    return *this;
}

TYPELOOM_BULK_DATA GlyphMap::Page& GlyphMap::pageForWrite(std::uint16_t key) {
    std::unique_ptr<Page>& page = m_pages[key / kPageSize];
    if (!page) {
        page = std::make_unique<Page>();
    }
    return *page;
}

TYPELOOM_BULK_DATA Glyph& GlyphMap::insert(std::uint16_t key, Glyph glyph) {
    Page& page = pageForWrite(key);
    const std::uint32_t i = key % kPageSize;
    if (!page.has(i)) {
        page.mark(i, true);
        ++m_count;
    }
    page.glyphs[i] = std::move(glyph);
    return page.glyphs[i];
}

void GlyphMap::erase(std::uint16_t key) {
    Page* page = m_pages[key / kPageSize].get();
    const std::uint32_t i = key % kPageSize;
    if (page != nullptr && page->has(i)) {
        page->glyphs[i] = Glyph{};
        page->mark(i, false);
        --m_count;
    }
}

std::unique_ptr<Glyph> GlyphMap::exchange(std::uint16_t key, std::unique_ptr<Glyph> glyph) {
    Glyph* there = slot(key);
    if (there != nullptr && glyph) {
        // The glyph handed in becomes the one stored and its holder carries the old one out.
        std::swap(*there, *glyph);
        return glyph;
    }
    std::unique_ptr<Glyph> old;
    if (there != nullptr) {
        old = std::make_unique<Glyph>(std::move(*there));
        erase(key);
    } else if (glyph) {
        insert(key, std::move(*glyph));
    }
    return old;
}

void GlyphMap::clear() {
    for (std::unique_ptr<Page>& page : m_pages) {
        page.reset();
    }
    m_count = 0;
}

bool operator==(const GlyphMap& a, const GlyphMap& b) {
    if (a.m_count != b.m_count) {
        return false;
    }
    bool equal = true;
    a.forEach([&](std::uint16_t key, const Glyph& g) {
        const Glyph* other = b.find(key);
        equal = equal && other != nullptr && *other == g;
    });
    return equal;
}

std::uint8_t fullInkValue(std::uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
            return 1;
        case 2:
            return 3;
        case 4:
            return 15;
        case 8:
            return 255;
        default:
            return 0;
    }
}

}  // namespace typeloom
