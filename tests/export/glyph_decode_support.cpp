#include "glyph_decode_support.h"

#include <cstdio>

#include "charset/encodings.h"
#include "export_test_support.h"

namespace typeloom::exporters::test {

std::uint32_t Layout::word() const {
    std::uint32_t w = traversal;
    w |= bits == 16 ? 0x00040000u : bits == 32 ? 0x00080000u : 0x00020000u;
    if (bigEndian) {
        w |= 0x00001000u;
    }
    if (invert) {
        w |= 0x02000000u;
    }
    return w;
}

std::string Layout::name() const {
    char text[64];
    std::snprintf(text, sizeof text, "traversal %03X, %d bits, %s%s", traversal, bits,
                  bigEndian ? "big endian" : "little endian", invert ? ", inverted" : "");
    return text;
}

const std::vector<Layout>& mixedLayouts() {
    static const std::vector<Layout> layouts = {
        {0x110, 8, true, false},  {0x100, 16, false, false}, {0x111, 32, true, true},
        {0x101, 8, false, false}, {0x000, 16, true, false},  {0x010, 32, false, false},
        {0x001, 8, false, true},  {0x011, 16, true, false},  {0x110, 32, false, true},
        {0x101, 32, true, false}, {0x011, 8, false, false},
    };
    return layouts;
}

Font withLayout(Font font, const Layout& layout) {
    font.dataFormat = (font.dataFormat & 0x00F00000u) | 0x01000000u | layout.word();
    return font;
}

Font tallFont() {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.faceName = "Tall";
    font.height = 35;
    font.ascent = 28;
    const std::uint16_t codes[] = {0x100, 0x101, 0x102, 0x200, 0x201, 0x3000};
    const std::uint16_t widths[] = {7, 0, 8, 17, 33, 40};
    for (int i = 0; i < 6; ++i) {
        Glyph g;
        g.init(codes[i], widths[i], font.height);
        for (int y = 0; y < font.height; ++y) {
            for (int x = 0; x < widths[i]; ++x) {
                const int v = (x * 7 + y * 13 + i * 5) ^ (x * y);
                g.pixels[static_cast<std::size_t>(y * widths[i] + x)] = v % 5 == 0 ? 1 : 0;
            }
        }
        font.glyphs.insert(codes[i], std::move(g));
        font.insertCode(codes[i], codes[i]);
    }
    font.charTable.buildFromUnicodeList(font.unicodeList, 0, kEncodingUnicode);
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

int expectedUnits(int w, int h, std::uint32_t traversal, int bits) {
    if (w == 0) {
        return 0;
    }
    auto unitsFor = [bits](int n) { return (n + bits - 1) / bits; };
    switch (traversal) {
        case 0x110:
        case 0x100:
            return h * unitsFor(w);
        case 0x111:
        case 0x001:
            return unitsFor(w * h);
        case 0x101:
            return h * (w / bits) + unitsFor(h * (w % bits));
        case 0x000:
        case 0x010:
            return w * unitsFor(h);
        case 0x011:
            return w * (h / bits) + unitsFor(w * (h % bits));
        default:
            return -1;
    }
}

namespace {

// Walks the units bit by bit in the order the layout stores pixels.
class UnitWalk {
  public:
    UnitWalk(std::span<const std::uint32_t> units, int w, int h, const Layout& layout)
        : m_units(units), m_w(w), m_h(h), m_layout(layout), m_pixels(std::size_t(w) * h, 0) {}

    void take(int r, int c) {
        int v = 0;
        if (m_unit >= m_units.size()) {
            m_bad = true;
        } else {
            const int L = m_layout.bits;
            const int pos = m_layout.bigEndian ? L - 1 - m_k : m_k;
            v = static_cast<int>((m_units[m_unit] >> pos) & 1u) ^ (m_layout.invert ? 1 : 0);
            if (++m_k == L) {
                m_k = 0;
                ++m_unit;
            }
        }
        if (r < m_h && c < m_w) {
            m_pixels[std::size_t(r) * m_w + c] = static_cast<std::uint8_t>(v);
        } else if (v != 0) {
            m_bad = true;  // padding must stay blank
        }
    }
    void endUnit() {
        if (m_k != 0) {
            m_k = 0;
            ++m_unit;
        }
    }
    std::optional<std::vector<std::uint8_t>> result() const {
        if (m_bad || m_unit != m_units.size()) {
            return std::nullopt;
        }
        return m_pixels;
    }

  private:
    std::span<const std::uint32_t> m_units;
    int m_w;
    int m_h;
    Layout m_layout;
    std::vector<std::uint8_t> m_pixels;
    std::size_t m_unit = 0;
    int m_k = 0;
    bool m_bad = false;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeUnits(std::span<const std::uint32_t> units, int w,
                                                     int h, const Layout& layout) {
    const int L = layout.bits;
    UnitWalk walk(units, w, h, layout);
    if (w == 0) {
        return walk.result();
    }
    const int bandsAcross = (w + L - 1) / L;
    const int bandsDown = (h + L - 1) / L;
    switch (layout.traversal) {
        case 0x110:
            for (int r = 0; r < h; ++r)
                for (int b = 0; b < bandsAcross; ++b)
                    for (int k = 0; k < L; ++k)
                        walk.take(r, b * L + k);
            break;
        case 0x100:
            for (int b = 0; b < bandsAcross; ++b)
                for (int r = 0; r < h; ++r)
                    for (int k = 0; k < L; ++k)
                        walk.take(r, b * L + k);
            break;
        case 0x111:
            for (int r = 0; r < h; ++r)
                for (int c = 0; c < w; ++c)
                    walk.take(r, c);
            walk.endUnit();
            break;
        case 0x101:
            for (int b = 0; b < w / L; ++b)
                for (int r = 0; r < h; ++r)
                    for (int k = 0; k < L; ++k)
                        walk.take(r, b * L + k);
            for (int r = 0; r < h; ++r)
                for (int c = w / L * L; c < w; ++c)
                    walk.take(r, c);
            walk.endUnit();
            break;
        case 0x000:
            for (int c = 0; c < w; ++c)
                for (int b = 0; b < bandsDown; ++b)
                    for (int k = 0; k < L; ++k)
                        walk.take(b * L + k, c);
            break;
        case 0x010:
            for (int b = 0; b < bandsDown; ++b)
                for (int c = 0; c < w; ++c)
                    for (int k = 0; k < L; ++k)
                        walk.take(b * L + k, c);
            break;
        case 0x001:
            for (int c = 0; c < w; ++c)
                for (int r = 0; r < h; ++r)
                    walk.take(r, c);
            walk.endUnit();
            break;
        case 0x011:
            for (int b = 0; b < h / L; ++b)
                for (int c = 0; c < w; ++c)
                    for (int k = 0; k < L; ++k)
                        walk.take(b * L + k, c);
            for (int c = 0; c < w; ++c)
                for (int r = h / L * L; r < h; ++r)
                    walk.take(r, c);
            walk.endUnit();
            break;
        default:
            return std::nullopt;
    }
    return walk.result();
}

std::string drawnPixels(const std::vector<std::uint8_t>& pixels, int w, int h) {
    std::string text;
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            text += pixels[std::size_t(r) * w + c] != 0 ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

std::string drawnGlyph(const Font& font, std::uint16_t unicode) {
    std::uint16_t w = 0;
    font.widthOf(unicode, w);
    std::string text;
    for (int r = 0; r < font.height; ++r) {
        for (int c = 0; c < w; ++c) {
            text += pixelOf(font, unicode, c, r) != 0 ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

std::string cGlyphDecoder() {
    return R"C(
typedef unsigned long (*UnitAt)(const void *data, long i);

typedef struct {
    UnitAt get;
    const void *data;
    long n, unit;
    int k, L, be, inv, W, H, bad;
    unsigned char *pix;
} Reader;

static void take(Reader *rd, int r, int c) {
    int v = 0;
    if (rd->unit >= rd->n) {
        rd->bad = 1;
    } else {
        unsigned long u = rd->get(rd->data, rd->unit);
        int pos = rd->be ? rd->L - 1 - rd->k : rd->k;
        v = (int)((u >> pos) & 1ul) ^ (rd->inv ? 1 : 0);
        if (++rd->k == rd->L) {
            rd->k = 0;
            rd->unit++;
        }
    }
    if (r < rd->H && c < rd->W)
        rd->pix[r * rd->W + c] = (unsigned char)v;
    else if (v)
        rd->bad = 1; /* padding must stay blank */
}

static void endUnit(Reader *rd) {
    if (rd->k != 0) {
        rd->k = 0;
        rd->unit++;
    }
}

/* Redraws a W x H glyph from its n units into pix; 1 when the units fit exactly. */
static int decodeGlyph(UnitAt get, const void *data, long n, int W, int H, int traversal, int L,
                       int be, int inv, unsigned char *pix) {
    Reader rd;
    int r, c, b, k;
    int across = (W + L - 1) / L, down = (H + L - 1) / L;
    rd.get = get; rd.data = data; rd.n = n; rd.unit = 0; rd.k = 0; rd.L = L; rd.be = be;
    rd.inv = inv; rd.W = W; rd.H = H; rd.bad = 0; rd.pix = pix;
    if (W == 0) return n == 0;
    switch (traversal) {
    case 0x110:
        for (r = 0; r < H; r++) for (b = 0; b < across; b++) for (k = 0; k < L; k++) take(&rd, r, b * L + k);
        break;
    case 0x100:
        for (b = 0; b < across; b++) for (r = 0; r < H; r++) for (k = 0; k < L; k++) take(&rd, r, b * L + k);
        break;
    case 0x111:
        for (r = 0; r < H; r++) for (c = 0; c < W; c++) take(&rd, r, c);
        endUnit(&rd);
        break;
    case 0x101:
        for (b = 0; b < W / L; b++) for (r = 0; r < H; r++) for (k = 0; k < L; k++) take(&rd, r, b * L + k);
        for (r = 0; r < H; r++) for (c = W / L * L; c < W; c++) take(&rd, r, c);
        endUnit(&rd);
        break;
    case 0x000:
        for (c = 0; c < W; c++) for (b = 0; b < down; b++) for (k = 0; k < L; k++) take(&rd, b * L + k, c);
        break;
    case 0x010:
        for (b = 0; b < down; b++) for (c = 0; c < W; c++) for (k = 0; k < L; k++) take(&rd, b * L + k, c);
        break;
    case 0x001:
        for (c = 0; c < W; c++) for (r = 0; r < H; r++) take(&rd, r, c);
        endUnit(&rd);
        break;
    case 0x011:
        for (b = 0; b < H / L; b++) for (c = 0; c < W; c++) for (k = 0; k < L; k++) take(&rd, b * L + k, c);
        for (c = 0; c < W; c++) for (r = H / L * L; r < H; r++) take(&rd, r, c);
        endUnit(&rd);
        break;
    default:
        return 0;
    }
    return !rd.bad && rd.unit == n;
}

static void printGlyph(const unsigned char *pix, int W, int H) {
    int r, c;
    for (r = 0; r < H; r++) {
        for (c = 0; c < W; c++) putchar(pix[r * W + c] ? '#' : '.');
        putchar('\n');
    }
}
)C";
}

std::time_t fixedExportTime() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

std::uint32_t ByteReader::read(int size) {
    if (pos + static_cast<std::size_t>(size) > bytes.size()) {
        overrun = true;
        pos = bytes.size();
        return 0;
    }
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) {
        v |= std::uint32_t{static_cast<std::uint8_t>(bytes[pos + static_cast<std::size_t>(i)])}
             << (8 * i);
    }
    pos += static_cast<std::size_t>(size);
    return v;
}

std::vector<std::uint32_t> ByteReader::units(std::size_t offset, std::size_t count, int bits) {
    pos = offset;
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < count && !overrun; ++i) {
        out.push_back(read(bits / 8));
    }
    return out;
}

}  // namespace typeloom::exporters::test
