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

Glyph& GlyphMap::insert(std::uint16_t key, Glyph glyph) {
    if (m_slots.empty()) {
        m_slots.resize(kSlots);
    }
    if (!m_slots[key]) {
        ++m_count;
    }
    m_slots[key] = std::make_unique<Glyph>(std::move(glyph));
    return *m_slots[key];
}

void GlyphMap::erase(std::uint16_t key) {
    if (!m_slots.empty() && m_slots[key]) {
        m_slots[key].reset();
        --m_count;
    }
}

std::unique_ptr<Glyph> GlyphMap::exchange(std::uint16_t key, std::unique_ptr<Glyph> glyph) {
    if (m_slots.empty()) {
        if (!glyph) {
            return nullptr;
        }
        m_slots.resize(kSlots);
    }
    const bool had = m_slots[key] != nullptr;
    std::unique_ptr<Glyph> old = std::exchange(m_slots[key], std::move(glyph));
    const bool has = m_slots[key] != nullptr;
    if (had != has) {
        m_count = has ? m_count + 1 : m_count - 1;
    }
    return old;
}

void GlyphMap::clear() {
    m_slots.clear();
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
