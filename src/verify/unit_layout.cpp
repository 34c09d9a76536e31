#include "verify/unit_layout.h"

#include <algorithm>

namespace typeloom::verify {

namespace {

constexpr std::uint32_t kPackedBit = 0x00000001;
constexpr std::uint32_t kRowPreferredBit = 0x00000010;
constexpr std::uint32_t kRowBasedBit = 0x00000100;
constexpr std::uint32_t kBigEndianBit = 0x00001000;
constexpr std::uint32_t kLengthField = 0x000F0000;
constexpr std::uint32_t kInvertBit = 0x02000000;

std::size_t ceilDiv(std::size_t a, std::size_t b) {
    return (a + b - 1) / b;
}

// Appends pixels of a stream cut into units of `per` pixels.
class SlotStream {
  public:
    SlotStream(std::vector<std::int32_t>& slots, std::size_t per) : m_slots(slots), m_per(per) {}
    void push(std::int32_t slot) { m_slots.push_back(slot); }
    // Pads the last unit.
    void finish() {
        while (m_slots.size() % m_per != 0) {
            m_slots.push_back(-1);
        }
    }

  private:
    std::vector<std::int32_t>& m_slots;
    std::size_t m_per;
};

}  // namespace

UnitLayout UnitLayout::fromWord(std::uint32_t word) {
    UnitLayout l;
    const std::uint32_t length = word & kLengthField;
    l.unitBits = length == 0x00040000 ? 16 : length == 0x00080000 ? 32 : 8;
    l.bigEndian = (word & kBigEndianBit) != 0;
    l.rowBased = (word & kRowBasedBit) != 0;
    l.rowPreferred = (word & kRowPreferredBit) != 0;
    l.packed = (word & kPackedBit) != 0;
    l.inverted = (word & kInvertBit) != 0;
    return l;
}

std::uint32_t UnitLayout::word() const {
    std::uint32_t w = unitBits == 16 ? 0x00040000u : unitBits == 32 ? 0x00080000u : 0x00020000u;
    w |= bigEndian ? kBigEndianBit : 0;
    w |= rowBased ? kRowBasedBit : 0;
    w |= rowPreferred ? kRowPreferredBit : 0;
    w |= packed ? kPackedBit : 0;
    w |= inverted ? kInvertBit : 0;
    return w;
}

std::string UnitLayout::describe() const {
    return std::string(bigEndian ? "Big Endian, " : "Little Endian, ") +
           (rowBased ? "Row based, " : "Column based, ") +
           (rowPreferred ? "Row preferred, " : "Column preferred, ") +
           (packed ? "Packed" : "Unpacked");
}

bool UnitLayout::parseDescription(const std::string& text) {
    for (bool be : {true, false}) {
        for (bool rb : {true, false}) {
            for (bool rp : {true, false}) {
                for (bool pk : {true, false}) {
                    UnitLayout candidate = *this;
                    candidate.bigEndian = be;
                    candidate.rowBased = rb;
                    candidate.rowPreferred = rp;
                    candidate.packed = pk;
                    if (text.rfind(candidate.describe(), 0) == 0) {
                        *this = candidate;
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

std::size_t unitCount(const UnitLayout& layout, int width, int height) {
    if (width <= 0 || height <= 0) {
        return 0;
    }
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const auto p = static_cast<std::size_t>(layout.unitBits);
    // Along the scan: the pixels a unit takes from one line; across: the lines.
    const std::size_t along = layout.rowBased ? w : h;
    const std::size_t across = layout.rowBased ? h : w;
    if (!layout.packed) {
        return across * ceilDiv(along, p);
    }
    if (layout.rowBased == layout.rowPreferred) {
        return ceilDiv(w * h, p);
    }
    // Full bands unpadded, then the rest as one packed stream.
    return across * (along / p) + ceilDiv(across * (along % p), p);
}

std::vector<std::int32_t> pixelSlots(const UnitLayout& layout, int width, int height) {
    std::vector<std::int32_t> slots;
    if (width <= 0 || height <= 0) {
        return slots;
    }
    const int p = layout.unitBits;
    slots.reserve(unitCount(layout, width, height) * static_cast<std::size_t>(p));
    SlotStream stream(slots, static_cast<std::size_t>(p));
    // Pixel index of (line, position along the line) for the scan direction.
    auto at = [&](int line, int along) -> std::int32_t {
        const int x = layout.rowBased ? along : line;
        const int y = layout.rowBased ? line : along;
        return y * width + x;
    };
    const int alongSize = layout.rowBased ? width : height;
    const int acrossSize = layout.rowBased ? height : width;
    // The direction the units run first: along the scan (each line's bands before the next
    // line) when the preferred direction is the scan's, else across (each band down every
    // line before the next band).
    const bool sameDirection = layout.rowBased == layout.rowPreferred;
    auto band = [&](int line, int b) {
        for (int k = 0; k < p; ++k) {
            const int pos = b * p + k;
            stream.push(pos < alongSize ? at(line, pos) : -1);
        }
    };
    if (!layout.packed) {
        const int bands = (alongSize + p - 1) / p;
        if (sameDirection) {
            for (int line = 0; line < acrossSize; ++line) {
                for (int b = 0; b < bands; ++b) {
                    band(line, b);
                }
            }
        } else {
            for (int b = 0; b < bands; ++b) {
                for (int line = 0; line < acrossSize; ++line) {
                    band(line, b);
                }
            }
        }
        return slots;
    }
    if (sameDirection) {
        for (int line = 0; line < acrossSize; ++line) {
            for (int pos = 0; pos < alongSize; ++pos) {
                stream.push(at(line, pos));
            }
        }
        stream.finish();
        return slots;
    }
    const int fullBands = alongSize / p;
    for (int b = 0; b < fullBands; ++b) {
        for (int line = 0; line < acrossSize; ++line) {
            band(line, b);
        }
    }
    for (int line = 0; line < acrossSize; ++line) {
        for (int pos = fullBands * p; pos < alongSize; ++pos) {
            stream.push(at(line, pos));
        }
    }
    stream.finish();
    return slots;
}

std::vector<std::uint8_t> decodeUnits(const UnitLayout& layout, int width, int height,
                                      std::span<const std::uint32_t> units,
                                      std::vector<UnitProblem>& problems) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(std::max(width, 0)) *
                                         static_cast<std::size_t>(std::max(height, 0)),
                                     0);
    const std::vector<std::int32_t> slots = pixelSlots(layout, width, height);
    const auto p = static_cast<std::size_t>(layout.unitBits);
    const std::uint32_t mask = p == 32 ? 0xFFFFFFFFu : ((1u << p) - 1u);
    const std::size_t n = std::min(units.size(), slots.size() / p);
    for (std::size_t u = 0; u < n; ++u) {
        const std::uint32_t value = (layout.inverted ? ~units[u] : units[u]) & mask;
        if (units[u] > mask) {
            problems.push_back({u, "the value does not fit in " + std::to_string(p) + " bits"});
        }
        bool paddingSet = false;
        for (std::size_t k = 0; k < p; ++k) {
            const std::size_t bit = layout.bigEndian ? p - 1 - k : k;
            const bool set = ((value >> bit) & 1u) != 0;
            const std::int32_t slot = slots[u * p + k];
            if (slot < 0) {
                paddingSet = paddingSet || set;
            } else if (set) {
                pixels[static_cast<std::size_t>(slot)] = 1;
            }
        }
        if (paddingSet) {
            problems.push_back(
                {u, layout.inverted ? "a padding bit is clear" : "a padding bit is set"});
        }
    }
    return pixels;
}

}  // namespace typeloom::verify
