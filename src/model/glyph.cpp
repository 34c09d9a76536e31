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
    m_slots.reserve(other.m_slots.size());
    other.forEach([&](std::uint16_t key, const Glyph& g) { insert(key, g); });
    return *this;
}

// A moved-from map is empty: its page numbers must not outlive the slots that went away.
GlyphMap::GlyphMap(GlyphMap&& other) noexcept
    : m_pageAt(std::exchange(other.m_pageAt, noPages())),
      m_slots(std::move(other.m_slots)),
      m_count(std::exchange(other.m_count, 0)) {
    other.m_slots.clear();
}

GlyphMap& GlyphMap::operator=(GlyphMap&& other) noexcept {
    if (this != &other) {
        m_pageAt = std::exchange(other.m_pageAt, noPages());
        m_slots = std::move(other.m_slots);
        other.m_slots.clear();
        m_count = std::exchange(other.m_count, 0);
    }
    return *this;
}

std::unique_ptr<Glyph>& GlyphMap::slotForWrite(std::uint16_t key) {
    std::uint16_t& page = m_pageAt[key / kPageSize];
    if (page == kNoPage) {
        page = static_cast<std::uint16_t>(m_slots.size() / kPageSize);
        m_slots.resize(m_slots.size() + kPageSize);
    }
    return m_slots[std::size_t{page} * kPageSize + key % kPageSize];
}

Glyph& GlyphMap::insert(std::uint16_t key, Glyph glyph) {
    std::unique_ptr<Glyph>& slot = slotForWrite(key);
    if (!slot) {
        ++m_count;
    }
    slot = std::make_unique<Glyph>(std::move(glyph));
    return *slot;
}

void GlyphMap::erase(std::uint16_t key) {
    if (m_pageAt[key / kPageSize] == kNoPage) {
        return;
    }
    std::unique_ptr<Glyph>& slot = slotForWrite(key);
    if (slot) {
        slot.reset();
        --m_count;
    }
}

std::unique_ptr<Glyph> GlyphMap::exchange(std::uint16_t key, std::unique_ptr<Glyph> glyph) {
    if (!glyph && m_pageAt[key / kPageSize] == kNoPage) {
        return nullptr;
    }
    std::unique_ptr<Glyph>& slot = slotForWrite(key);
    const bool had = slot != nullptr;
    std::unique_ptr<Glyph> old = std::exchange(slot, std::move(glyph));
    const bool has = slot != nullptr;
    if (had != has) {
        m_count = has ? m_count + 1 : m_count - 1;
    }
    return old;
}

void GlyphMap::clear() {
    m_pageAt = noPages();
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
