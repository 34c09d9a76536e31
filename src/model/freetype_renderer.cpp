#include "model/freetype_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_WINFONTS_H

#include <fontconfig/fontconfig.h>
// fcfreetype.h needs fontconfig.h first.
#include <fontconfig/fcfreetype.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "charset/code_pages.h"
#include "model/system_fonts.h"

namespace typeloom {

namespace {

// Heights beyond this many pixels are rendered at this height: a font description read from
// a file may ask for any height, and a font of tens of thousands of characters must stay a
// size memory can hold. The font chooser's largest size, 244 points, is 325 pixels.
constexpr int kMaxPixelHeight = 512;
// The height a description of height 0 (the system's default size) is rendered at.
constexpr int kDefaultCellHeight = 16;

constexpr std::uint8_t kDefaultCharSet = 1;
constexpr std::uint8_t kSymbolCharSet = 2;

// The eight pixels (0 or 1, leftmost first) of each byte of a 1-bit row, most significant
// bit leftmost: every character's rows are spread into pixels through it.
constexpr std::array<std::array<std::uint8_t, 8>, 256> kPixelsOfByte = [] {
    std::array<std::array<std::uint8_t, 8>, 256> table{};
    for (std::size_t byte = 0; byte < 256; ++byte) {
        for (std::size_t bit = 0; bit < 8; ++bit) {
            table[byte][bit] = static_cast<std::uint8_t>((byte >> (7 - bit)) & 1);
        }
    }
    return table;
}();

// The bits of a byte of a 1-bit row (most significant bit leftmost) that hold its pixels
// [lo, hi); none when the range is empty.
constexpr unsigned bitsFromLeft(int lo, int hi) {
    lo = std::clamp(lo, 0, 8);
    hi = std::clamp(hi, 0, 8);
    return hi <= lo ? 0u : (0xFFu >> lo) & (0xFFu << (8 - hi));
}
static_assert(bitsFromLeft(0, 8) == 0xFF && bitsFromLeft(2, 8) == 0x3F &&
              bitsFromLeft(0, 3) == 0xE0 && bitsFromLeft(-4, 20) == 0xFF &&
              bitsFromLeft(9, 5) == 0 && bitsFromLeft(3, -2) == 0);

// num / den rounded half away from zero; den > 0.
int roundDiv(long long num, long long den) {
    return static_cast<int>(num >= 0 ? (2 * num + den) / (2 * den)
                                     : -((2 * -num + den) / (2 * den)));
}

}  // namespace

struct FreeTypeRenderer::Impl {
    LogFont font;
    std::string file;
    int index = 0;
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    RenderMetrics metrics;
    int em = 0;
    int strike = -1;   // the bitmap strike selected, for faces without outlines
    int charmap = -1;  // index of the character map used
    bool symbolCmap = false;
    // For a face whose character map is a code page rather than Unicode: the byte of each
    // Unicode value of its code page, sorted by value.
    std::vector<std::pair<std::uint16_t, std::uint8_t>> bytesOfUnicode;
    bool byteCmap = false;
    std::vector<std::pair<std::uint16_t, std::uint32_t>> ranges;
    // Rows of the underline and strike-out strokes drawn for a font that asks for them.
    int underlineTop = 0;
    int underlineRows = 0;
    int strikeTop = 0;
    int strikeRows = 0;
    BlankRenderer blank;

    // The character loaded last: spacing and rendering of one character share one load.
    mutable int loaded = -1;
    mutable bool loadedOk = false;
    mutable CharSpacing loadedSpacing;
    mutable int bitmapLeft = 0;
    mutable int bitmapTop = 0;
    mutable int bitmapWidth = 0;
    mutable int bitmapRows = 0;
    mutable int rowBytes = 0;
    mutable std::vector<std::uint8_t> bits;  // 1-bit rows, most significant bit leftmost

    explicit Impl(const LogFont& f) : font(f), blank(bounded(f)) { metrics = blank.metrics(); }

    // The description with its height within the heights rendered.
    static LogFont bounded(LogFont f) {
        f.height = std::clamp(f.height, -kMaxPixelHeight, kMaxPixelHeight);
        return f;
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    ~Impl() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }

    bool open() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            return false;
        }
        if (file.empty() || FT_New_Face(library, file.c_str(), index, &face) != 0) {
            face = nullptr;
            return false;
        }
        return true;
    }

    void closeFace() {
        if (face != nullptr) {
            FT_Done_Face(face);
            face = nullptr;
        }
    }

    // Everything a fresh face needs: character map, size, metrics, ranges.
    void setUp() {
        chooseCharmap();
        if (FT_IS_SCALABLE(face)) {
            setUpScalable();
        } else if (face->num_fixed_sizes > 0) {
            setUpBitmap();
        } else {
            closeFace();
        }
        if (face == nullptr) {
            return;
        }
        if (byteCmap || !FT_IS_SCALABLE(face)) {
            buildByteMap();
        }
        if (FT_IS_SCALABLE(face)) {
            collectRanges();
        }
    }

    // The size and character map of a face opened again for another thread.
    bool applySetUp() {
        if (charmap >= 0 && charmap < face->num_charmaps) {
            FT_Set_Charmap(face, face->charmaps[charmap]);
        }
        if (strike >= 0) {
            return strike < face->num_fixed_sizes && FT_Select_Size(face, strike) == 0;
        }
        return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) == 0;
    }

    void chooseCharmap() {
        if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
            if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0) {
                symbolCmap = true;
            } else {
                // Bitmap faces of one code page number their characters by byte, in a
                // character map FreeType does not select by itself.
                byteCmap = true;
                if (face->charmap == nullptr && face->num_charmaps > 0) {
                    FT_Set_Charmap(face, face->charmaps[0]);
                }
            }
        }
        if (face->charmap != nullptr) {
            charmap = FT_Get_Charmap_Index(face->charmap);
        }
    }

    int requestedHeight() const {
        int h = font.height == 0 ? kDefaultCellHeight : font.height;
        return std::clamp(h, -kMaxPixelHeight, kMaxPixelHeight);
    }

    void setUpScalable() {
        const long upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
        if (os2 != nullptr && os2->version == 0xFFFF) {
            os2 = nullptr;  // FreeType's mark of a missing table
        }
        long hheaAscent = hhea != nullptr ? hhea->Ascender : face->ascender;
        long hheaDescent = hhea != nullptr ? -hhea->Descender : -face->descender;
        long winAscent = os2 != nullptr ? os2->usWinAscent : hheaAscent;
        long winDescent = os2 != nullptr ? os2->usWinDescent : hheaDescent;
        if (winAscent + winDescent <= 0) {
            winAscent = upem * 4 / 5;  // no usable vertical metrics: a conventional split
            winDescent = upem - winAscent;
        }
        const long winHeight = winAscent + winDescent;

        int h = requestedHeight();
        int ascent = 0;
        int descent = 0;
        if (h < 0) {
            em = -h;
            ascent = roundDiv(winAscent * em, upem);
            descent = roundDiv(winDescent * em, upem);
            if (ascent + descent > kMaxRenderHeight) {
                h = kMaxRenderHeight;  // a face with tall Windows metrics: the tallest cell
            }
        }
        if (h > 0) {
            em = std::max(1, roundDiv(static_cast<long long>(h) * upem, winHeight));
            ascent = roundDiv(winAscent * h, winHeight);
            descent = h - ascent;
        }
        em = std::clamp(em, 1, kMaxPixelHeight);
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
            closeFace();
            return;
        }

        RenderMetrics& m = metrics;
        m.ascent = ascent;
        m.descent = descent;
        m.internalLeading = ascent + descent - em;
        // The line gap the Windows ascent and descent do not already take up.
        long lineGap = hhea != nullptr ? hhea->Line_Gap : 0;
        if (os2 != nullptr) {
            lineGap = std::max(0L, lineGap - (winHeight - (hheaAscent + hheaDescent)));
        }
        m.externalLeading = std::max(0, roundDiv(lineGap * em, upem));
        m.averageWidth = os2 != nullptr && os2->xAvgCharWidth > 0
                             ? roundDiv(static_cast<long long>(os2->xAvgCharWidth) * em, upem)
                             : 0;
        if (m.averageWidth <= 0) {
            m.averageWidth = std::max(1, advanceOf('x'));
        }
        m.maxWidth = std::max(m.averageWidth,
                              roundDiv(static_cast<long long>(face->max_advance_width) * em, upem));
        m.weight = os2 != nullptr && os2->usWeightClass > 0
                       ? os2->usWeightClass
                       : ((face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ? 700 : 400);
        m.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0 ? 1 : 0;
        m.underline = font.underline;
        m.strikeOut = font.strikeOut;
        m.defaultChar = os2 != nullptr ? os2->usDefaultChar : 0;
        m.breakChar = os2 != nullptr && os2->usBreakChar != 0 ? os2->usBreakChar : 0x20;
        m.fixedPitch = FT_IS_FIXED_WIDTH(face);
        m.scalable = true;
        m.charSet = scalableCharSet();

        // The underline's top lies the post table's underline position below the baseline;
        // the strike-out's top the OS/2 strike-out position above it. Without those tables
        // the strokes take the places a bitmap face gives them.
        const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
        if (post != nullptr && post->underlineThickness > 0) {
            underlineTop =
                ascent + roundDiv(-static_cast<long long>(post->underlinePosition) * em, upem);
            underlineRows =
                std::max(1, roundDiv(static_cast<long long>(post->underlineThickness) * em, upem));
        } else {
            underlineTop = ascent + 1;
            underlineRows = 1;
        }
        if (os2 != nullptr && os2->yStrikeoutSize > 0) {
            strikeTop =
                ascent - roundDiv(static_cast<long long>(os2->yStrikeoutPosition) * em, upem);
            strikeRows =
                std::max(1, roundDiv(static_cast<long long>(os2->yStrikeoutSize) * em, upem));
        } else {
            strikeTop = ascent - std::max(1, em / 3);
            strikeRows = 1;
        }
    }

    // The character set asked for when the face offers it, else the first one it offers.
    std::uint8_t scalableCharSet() const {
        if (symbolCmap) {
            return kSymbolCharSet;
        }
        FcCharSet* coverage = FcFreeTypeCharSet(face, nullptr);
        std::vector<FontScript> offered = scriptsOfCharSet(coverage);
        if (coverage != nullptr) {
            FcCharSetDestroy(coverage);
        }
        for (const FontScript& s : offered) {
            if (s.charSet == font.charSet) {
                return s.charSet;
            }
        }
        if (!offered.empty()) {
            return offered.front().charSet;
        }
        return font.charSet == kDefaultCharSet ? 0 : font.charSet;
    }

    void setUpBitmap() {
        const int h = requestedHeight();
        // The strike closest to the request: by em height for a negative height, by cell
        // height otherwise; the smaller one on a tie.
        int best = -1;
        int bestDistance = 0;
        for (int i = 0; i < face->num_fixed_sizes; ++i) {
            if (FT_Select_Size(face, i) != 0) {
                continue;
            }
            int cell = 0;
            int strikeEm = 0;
            strikeSize(cell, strikeEm);
            int distance = h < 0 ? std::abs(strikeEm + h) : std::abs(cell - h);
            if (best < 0 || distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        if (best < 0 || FT_Select_Size(face, best) != 0) {
            closeFace();
            return;
        }
        strike = best;
        int cell = 0;
        strikeSize(cell, em);
        if (cell <= 0 || cell > kMaxRenderHeight) {
            closeFace();  // taller than any cell the program renders: treated as unreadable
            return;
        }
        RenderMetrics& m = metrics;
        m = RenderMetrics{};
        FT_WinFNT_HeaderRec fnt;
        if (FT_Get_WinFNT_Header(face, &fnt) == 0) {
            // A damaged header may put the baseline below the cell.
            m.ascent = std::min<int>(fnt.ascent, fnt.pixel_height);
            m.descent = fnt.pixel_height - m.ascent;
            m.internalLeading = fnt.internal_leading;
            m.externalLeading = fnt.external_leading;
            m.averageWidth = fnt.avg_width;
            m.maxWidth = fnt.max_width;
            m.weight = fnt.weight;
            m.italic = fnt.italic != 0 ? 1 : 0;
            m.underline = fnt.underline != 0 || font.underline != 0 ? 1 : 0;
            m.strikeOut = fnt.strike_out != 0 || font.strikeOut != 0 ? 1 : 0;
            m.charSet = fnt.charset;
            m.defaultChar = static_cast<std::uint16_t>((fnt.first_char + fnt.default_char) & 0xFF);
            m.breakChar = static_cast<std::uint16_t>((fnt.first_char + fnt.break_char) & 0xFF);
        } else {
            const FT_Size_Metrics& sm = face->size->metrics;
            m.ascent = static_cast<int>((sm.ascender + 32) >> 6);
            m.descent = static_cast<int>((-sm.descender + 32) >> 6);
            m.internalLeading = std::max(0, m.ascent + m.descent - em);
            m.maxWidth = static_cast<int>((sm.max_advance + 32) >> 6);
            m.weight = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ? 700 : 400;
            m.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0 ? 1 : 0;
            m.underline = font.underline;
            m.strikeOut = font.strikeOut;
            m.charSet = font.charSet == kDefaultCharSet ? 0 : font.charSet;
            m.defaultChar = '?';
            m.breakChar = ' ';
        }
        m.fixedPitch = FT_IS_FIXED_WIDTH(face);
        m.scalable = false;
        if (m.averageWidth <= 0) {
            m.averageWidth = std::max(1, advanceOf('x'));
        }
        m.maxWidth = std::max(m.maxWidth, m.averageWidth);
        // Strokes of a bitmap face: the underline on the row below the baseline, the
        // strike-out a third of the em above it.
        underlineTop = m.ascent + 1 < m.ascent + m.descent ? m.ascent + 1 : m.ascent;
        underlineRows = 1;
        strikeTop = m.ascent - std::max(1, em / 3);
        strikeRows = 1;
    }

    // Cell and em height of the selected strike.
    void strikeSize(int& cell, int& strikeEm) const {
        FT_WinFNT_HeaderRec fnt;
        if (FT_Get_WinFNT_Header(face, &fnt) == 0) {
            cell = fnt.pixel_height;
            strikeEm = fnt.pixel_height - fnt.internal_leading;
            return;
        }
        const FT_Size_Metrics& sm = face->size->metrics;
        cell = static_cast<int>((sm.height + 32) >> 6);
        strikeEm = sm.y_ppem;
    }

    void buildByteMap() {
        if (!byteCmap) {
            return;
        }
        const int codePage = charsetToCodePage(metrics.charSet);
        for (int c = 0; c <= 0xFF; ++c) {
            bytesOfUnicode.emplace_back(codeToUnicode(codePage, static_cast<std::uint16_t>(c)),
                                        static_cast<std::uint8_t>(c));
        }
        // Sorted by value; a value two bytes share goes to the lower byte.
        std::stable_sort(bytesOfUnicode.begin(), bytesOfUnicode.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    void collectRanges() {
        FT_UInt gindex = 0;
        FT_ULong code = FT_Get_First_Char(face, &gindex);
        while (gindex != 0 && code <= 0xFFFF) {
            if (!ranges.empty() && ranges.back().first + ranges.back().second == code) {
                ++ranges.back().second;
            } else {
                ranges.emplace_back(static_cast<std::uint16_t>(code), 1);
            }
            code = FT_Get_Next_Char(face, code, &gindex);
        }
    }

    FT_UInt glyphIndex(std::uint16_t u) const {
        if (byteCmap) {
            auto it = std::lower_bound(bytesOfUnicode.begin(), bytesOfUnicode.end(), u,
                                       [](const auto& e, std::uint16_t v) { return e.first < v; });
            if (it == bytesOfUnicode.end() || it->first != u) {
                return 0;
            }
            return FT_Get_Char_Index(face, it->second);
        }
        FT_UInt g = FT_Get_Char_Index(face, u);
        if (g == 0 && symbolCmap && u <= 0xFF) {
            // Symbol fonts put their characters at U+F000 + byte.
            g = FT_Get_Char_Index(face, 0xF000u + u);
        }
        return g;
    }

    int advanceOf(std::uint16_t u) const {
        if (FT_Load_Glyph(face, glyphIndex(u), FT_LOAD_TARGET_MONO) != 0) {
            return 0;
        }
        return static_cast<int>((face->glyph->advance.x + 32) >> 6);
    }

    // Loads and renders character u unless it is the one loaded last.
    bool load(std::uint16_t u) const {
        if (loaded == u) {
            return loadedOk;
        }
        loaded = u;
        loadedOk = false;
        loadedSpacing = CharSpacing{};
        loadedSpacing.advance = metrics.averageWidth;
        bitmapWidth = bitmapRows = rowBytes = 0;
        if (FT_Load_Glyph(face, glyphIndex(u), FT_LOAD_TARGET_MONO | FT_LOAD_RENDER) != 0) {
            return false;
        }
        FT_GlyphSlot slot = face->glyph;
        if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
            FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
            return false;
        }
        const FT_Bitmap& bm = slot->bitmap;
        bitmapLeft = slot->bitmap_left;
        bitmapTop = slot->bitmap_top;
        bitmapWidth = static_cast<int>(bm.width);
        bitmapRows = static_cast<int>(bm.rows);
        rowBytes = (bitmapWidth + 7) / 8;
        bits.assign(static_cast<std::size_t>(rowBytes) * bitmapRows, 0);
        for (int r = 0; r < bitmapRows; ++r) {
            const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(r) * bm.pitch;
            std::uint8_t* dst = bits.data() + static_cast<std::size_t>(r) * rowBytes;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                std::copy(src, src + rowBytes, dst);
            } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                // Embedded grey bitmaps: ink where at least half covered.
                for (int x = 0; x < bitmapWidth; ++x) {
                    if (src[x] >= 128) {
                        dst[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                    }
                }
            } else {
                bitmapWidth = bitmapRows = rowBytes = 0;
                bits.clear();
                break;
            }
        }
        CharSpacing& s = loadedSpacing;
        s.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (metrics.scalable) {
            s.hasAbc = true;
            if (bitmapWidth > 0 && bitmapRows > 0) {
                s.a = bitmapLeft;
                s.b = bitmapWidth;
            }
            s.c = s.advance - s.a - s.b;
        }
        loadedOk = true;
        return true;
    }
};

FreeTypeRenderer::FreeTypeRenderer(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

FreeTypeRenderer::FreeTypeRenderer(const LogFont& font) : m_impl(std::make_unique<Impl>(font)) {
    if (auto location = resolveLogFont(font)) {
        m_impl->file = location->file;
        m_impl->index = location->index;
        if (m_impl->open()) {
            m_impl->setUp();
        }
    }
}

FreeTypeRenderer::FreeTypeRenderer(const LogFont& font, const std::string& file, int faceIndex)
    : m_impl(std::make_unique<Impl>(font)) {
    m_impl->file = file;
    m_impl->index = faceIndex;
    if (m_impl->open()) {
        m_impl->setUp();
    }
}

FreeTypeRenderer::~FreeTypeRenderer() = default;

bool FreeTypeRenderer::hasFace() const {
    return m_impl->face != nullptr;
}

const std::string& FreeTypeRenderer::file() const {
    return m_impl->file;
}

int FreeTypeRenderer::faceIndex() const {
    return m_impl->index;
}

int FreeTypeRenderer::pixelsPerEm() const {
    return hasFace() ? m_impl->em : 0;
}

RenderMetrics FreeTypeRenderer::metrics() const {
    return m_impl->metrics;
}

std::vector<std::pair<std::uint16_t, std::uint32_t>> FreeTypeRenderer::unicodeRanges() const {
    return m_impl->ranges;
}

CharSpacing FreeTypeRenderer::spacing(std::uint16_t unicode) const {
    if (!hasFace()) {
        return m_impl->blank.spacing(unicode);
    }
    m_impl->load(unicode);
    return m_impl->loadedSpacing;
}

bool FreeTypeRenderer::render(std::uint16_t unicode, int originX, int width, int height,
                              std::uint8_t* pixels) const {
    return draw(unicode, originX, width, height, pixels, nullptr);
}

bool FreeTypeRenderer::renderClipped(std::uint16_t unicode, int originX, int width, int height,
                                     std::uint8_t* pixels, bool& inkOutside) const {
    inkOutside = false;
    return draw(unicode, originX, width, height, pixels, &inkOutside);
}

bool FreeTypeRenderer::draw(std::uint16_t unicode, int originX, int width, int height,
                            std::uint8_t* pixels, bool* inkOutside) const {
    if (!hasFace()) {
        return m_impl->blank.render(unicode, originX, width, height, pixels);
    }
    const Impl& m = *m_impl;
    if (pixels == nullptr || width <= 0 || height <= 0 || !m.load(unicode)) {
        return false;
    }
    // The cell's top is the ascent above the baseline; ink outside the cell is cut off.
    const int left = originX + m.bitmapLeft;
    const int top = m.metrics.ascent - m.bitmapTop;
    for (int r = 0; r < m.bitmapRows; ++r) {
        const int y = top + r;
        if (y < 0 || y >= height) {
            continue;
        }
        const std::uint8_t* row = m.bits.data() + static_cast<std::size_t>(r) * m.rowBytes;
        std::uint8_t* out = pixels + static_cast<std::ptrdiff_t>(y) * width;
        for (int k = 0; k < m.rowBytes; ++k) {
            const std::uint8_t byte = row[k];
            if (byte == 0) {
                continue;
            }
            const int x0 = left + k * 8;
            const std::array<std::uint8_t, 8>& eight = kPixelsOfByte[byte];
            // The byte's pixels that fall inside the cell: bits [lo, hi).
            const int lo = std::max(0, -x0);
            const int hi = std::min(8, width - x0);
            if (inkOutside != nullptr && (lo > 0 || hi < 8) &&
                (byte & ~bitsFromLeft(lo, hi)) != 0u) {
                *inkOutside = true;
            }
            if (lo == 0 && hi == 8) {
                std::uint64_t cell = 0;
                std::uint64_t ink = 0;
                std::memcpy(&cell, out + x0, 8);
                std::memcpy(&ink, eight.data(), 8);
                cell |= ink;
                std::memcpy(out + x0, &cell, 8);
                continue;
            }
            for (int bit = lo; bit < hi; ++bit) {
                out[x0 + bit] |= eight[static_cast<std::size_t>(bit)];
            }
        }
    }
    // Underline and strike-out run along the character's advance, as the system draws them
    // with the text.
    auto stroke = [&](int firstRow, int rows) {
        const int x0 = std::max(0, originX);
        const int x1 = std::min(width, originX + m.loadedSpacing.advance);
        if (inkOutside != nullptr && (originX < 0 || originX + m.loadedSpacing.advance > width) &&
            std::max(0, firstRow) < std::min(height, firstRow + rows)) {
            *inkOutside = true;
        }
        for (int y = std::max(0, firstRow); y < std::min(height, firstRow + rows); ++y) {
            for (int x = x0; x < x1; ++x) {
                pixels[static_cast<std::ptrdiff_t>(y) * width + x] = 1;
            }
        }
    };
    if (m.metrics.underline != 0) {
        stroke(m.underlineTop, m.underlineRows);
    }
    if (m.metrics.strikeOut != 0) {
        stroke(m.strikeTop, m.strikeRows);
    }
    return true;
}

std::shared_ptr<GlyphRenderer> FreeTypeRenderer::cloneForThread() const {
    const Impl& m = *m_impl;
    auto copy = std::make_unique<Impl>(m.font);
    copy->file = m.file;
    copy->index = m.index;
    copy->metrics = m.metrics;
    copy->em = m.em;
    copy->strike = m.strike;
    copy->charmap = m.charmap;
    copy->symbolCmap = m.symbolCmap;
    copy->byteCmap = m.byteCmap;
    copy->bytesOfUnicode = m.bytesOfUnicode;
    copy->ranges = m.ranges;
    copy->underlineTop = m.underlineTop;
    copy->underlineRows = m.underlineRows;
    copy->strikeTop = m.strikeTop;
    copy->strikeRows = m.strikeRows;
    if (hasFace() && (!copy->open() || !copy->applySetUp())) {
        return nullptr;
    }
    return std::shared_ptr<FreeTypeRenderer>(new FreeTypeRenderer(std::move(copy)));
}

void installFreeTypeRenderer() {
    setRendererFactory(
        [](const LogFont& font) { return std::make_shared<FreeTypeRenderer>(font); });
}

}  // namespace typeloom
