#include "export/bitmap_encoder.h"

#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "export/data_format.h"
#include "model/font.h"

namespace typeloom::exporters {

namespace {

// Collects pixels into units: pixel k of a unit goes to bit k (little endian) or to bit
// L - 1 - k (big endian). A unit ends when full or when the traversal ends a band; the
// positions not reached are padding (0, or 1 once inverted).
class UnitPacker {
  public:
    UnitPacker(int bits, bool bigEndian, bool invert, std::vector<std::uint32_t>& out)
        : m_bits(bits),
          m_bigEndian(bigEndian),
          m_invert(invert),
          m_mask(bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1),
          m_out(out) {}

    void add(std::uint8_t pixel) {
        if (pixel != 0) {
            m_unit |= m_bigEndian ? 1u << (m_bits - 1 - m_k) : 1u << m_k;
        }
        if (++m_k == m_bits) {
            emit();
        }
    }
    // Ends a unit that is partly filled (the last group of a stream).
    void finish() {
        if (m_k != 0) {
            emit();
        }
    }

  private:
    void emit() {
        std::uint32_t v = m_invert ? ~m_unit : m_unit;
        m_out.push_back(v & m_mask);
        m_unit = 0;
        m_k = 0;
    }

    int m_bits;
    bool m_bigEndian;
    bool m_invert;
    std::uint32_t m_mask;
    std::vector<std::uint32_t>& m_out;
    std::uint32_t m_unit = 0;
    int m_k = 0;
};

// Walks the unit slots of a W x H bitmap in the order of a traversal: `slot(r, c)` for each
// pixel position a unit takes in turn (positions outside the bitmap are padding), and
// `endStream()` where a packed stream ends, so that a partly filled unit is closed there. The
// encoder and the map of where each pixel lands (placePixels) both walk this one order, so the
// map cannot drift from the data.
template <typename Slot, typename EndStream>
void walkTraversal(int W, int H, std::uint32_t traversal, int P, Slot&& slot,
                   EndStream&& endStream) {
    const int rowBands = (W + P - 1) / P;     // column bands of a row
    const int columnBands = (H + P - 1) / P;  // row bands of a column
    switch (traversal & kTraversalMask) {
        case 0x110:  // row based, row preferred, unpacked
            for (int r = 0; r < H; ++r) {
                for (int b = 0; b < rowBands; ++b) {
                    for (int k = 0; k < P; ++k) {
                        slot(r, b * P + k);
                    }
                }
            }
            break;
        case 0x100:  // row based, column preferred, unpacked
            for (int b = 0; b < rowBands; ++b) {
                for (int r = 0; r < H; ++r) {
                    for (int k = 0; k < P; ++k) {
                        slot(r, b * P + k);
                    }
                }
            }
            break;
        case 0x111:  // row-major stream
            for (int r = 0; r < H; ++r) {
                for (int c = 0; c < W; ++c) {
                    slot(r, c);
                }
            }
            endStream();
            break;
        case 0x101: {  // full column bands, then the remaining columns as one stream
            const int full = W / P;
            for (int b = 0; b < full; ++b) {
                for (int r = 0; r < H; ++r) {
                    for (int k = 0; k < P; ++k) {
                        slot(r, b * P + k);
                    }
                }
            }
            for (int r = 0; r < H; ++r) {
                for (int c = full * P; c < W; ++c) {
                    slot(r, c);
                }
            }
            endStream();
            break;
        }
        case 0x000:  // column based, column preferred, unpacked
            for (int c = 0; c < W; ++c) {
                for (int b = 0; b < columnBands; ++b) {
                    for (int k = 0; k < P; ++k) {
                        slot(b * P + k, c);
                    }
                }
            }
            break;
        case 0x010:  // column based, row preferred, unpacked
            for (int b = 0; b < columnBands; ++b) {
                for (int c = 0; c < W; ++c) {
                    for (int k = 0; k < P; ++k) {
                        slot(b * P + k, c);
                    }
                }
            }
            break;
        case 0x001:  // column-major stream
            for (int c = 0; c < W; ++c) {
                for (int r = 0; r < H; ++r) {
                    slot(r, c);
                }
            }
            endStream();
            break;
        case 0x011: {  // full row bands, then the remaining rows as one stream
            const int full = H / P;
            for (int b = 0; b < full; ++b) {
                for (int c = 0; c < W; ++c) {
                    for (int k = 0; k < P; ++k) {
                        slot(b * P + k, c);
                    }
                }
            }
            for (int c = 0; c < W; ++c) {
                for (int r = full * P; r < H; ++r) {
                    slot(r, c);
                }
            }
            endStream();
            break;
        }
        default:
            break;
    }
}

}  // namespace

BitmapEncoder::BitmapEncoder(const Font& font)
    : m_font(font),
      m_height(font.height),
      m_unitBits(exporters::unitBits(font.dataFormat)),
      m_bigEndian(isBigEndian(font.dataFormat)),
      m_units(0x10000),
      m_present(0x10000, false) {}

void BitmapEncoder::encodePixels(const std::uint8_t* px, int W, int H, std::uint32_t traversal,
                                 int L, bool bigEndian, bool invert,
                                 std::vector<std::uint32_t>& out) {
    if (W <= 0) {
        return;
    }
    UnitPacker unit(L, bigEndian, invert, out);
    walkTraversal(
        W, H, traversal, L,  // one bit per pixel: L pixels fill a unit
        [&](int r, int c) {
            unit.add((r < H && c < W) ? px[static_cast<std::size_t>(r) * W + c] : 0);
        },
        [&] { unit.finish(); });
}

std::vector<BitPlace> BitmapEncoder::placePixels(int W, int H, std::uint32_t traversal, int L,
                                                 bool bigEndian) {
    std::vector<BitPlace> places;
    if (W <= 0 || H <= 0) {
        return places;
    }
    places.resize(static_cast<std::size_t>(W) * static_cast<std::size_t>(H));
    int unit = 0;
    int k = 0;
    walkTraversal(
        W, H, traversal, L,
        [&](int r, int c) {
            if (r < H && c < W) {
                places[static_cast<std::size_t>(r) * W + c] = {unit, bigEndian ? L - 1 - k : k};
            }
            if (++k == L) {
                ++unit;
                k = 0;
            }
        },
        [&] {
            if (k != 0) {
                ++unit;
                k = 0;
            }
        });
    return places;
}

int BitmapEncoder::encodeGlyph(std::uint16_t unicode, const std::uint8_t* pixels,
                               std::int64_t format) {
    const std::uint32_t traversal =
        format < 0 ? m_font.dataFormat : static_cast<std::uint32_t>(format);
    std::vector<std::uint32_t>& units = m_units[unicode];
    units.clear();
    m_present[unicode] = true;
    const Glyph* glyph = m_font.glyphs.find(unicode);
    if (glyph == nullptr || glyph->width == 0) {
        return 0;
    }
    const std::uint8_t* source = pixels != nullptr ? pixels : glyph->pixels.data();
    if (pixels == nullptr && glyph->pixels.size() < std::size_t{glyph->width} * m_height) {
        return 0;  // a glyph of another height cannot be encoded at this one
    }
    encodePixels(source, glyph->width, m_height, traversal, m_unitBits, m_bigEndian,
                 isInverted(m_font.dataFormat), units);
    return static_cast<int>(units.size());
}

bool BitmapEncoder::encodeAll(std::vector<std::uint32_t>& offsets, std::int64_t format,
                              const CancelFlag& cancel, ProgressSink& progress) {
    offsets.clear();
    offsets.reserve(static_cast<std::size_t>(m_font.count()) + 1);
    offsets.push_back(0);
    std::uint32_t total = 0;
    ProgressRun run(progress, m_font.count());
    for (int i = 0; i < m_font.count(); ++i) {
        if (cancel.cancelled()) {
            return false;
        }
        total += static_cast<std::uint32_t>(
            encodeGlyph(static_cast<std::uint16_t>(m_font.unicodeAt(i)), nullptr, format));
        offsets.push_back(total);
        run.step();
    }
    return true;
}

std::span<const std::uint32_t> BitmapEncoder::unitsOf(std::uint16_t unicode) const {
    return m_units[unicode];
}

bool BitmapEncoder::hasUnits(std::uint16_t unicode) const {
    return m_present[unicode];
}

}  // namespace typeloom::exporters
