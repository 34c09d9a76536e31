#include "interchange/bdf_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstring>
#include <optional>
#include <string_view>

#include "common/byte_io.h"

namespace typeloom {

namespace {

struct Line {
    std::string_view text;
    std::size_t offset = 0;  // byte offset of the line in the file
    int number = 0;          // 1-based
};

// Walks the file's lines without their line ends (LF or CR LF), one at a time, so that no
// table of lines is built. A copy of a cursor comes back to the same line later.
class LineCursor {
  public:
    explicit LineCursor(std::string_view all) : m_all(all) {}

    // The next line; false at the end of the file.
    bool next(Line& line) {
        const std::size_t size = m_all.size();
        if (m_position >= size) {
            return false;
        }
        const char* begin = m_all.data() + m_position;
        const std::size_t left = size - m_position;
        const auto* end = static_cast<const char*>(std::memchr(begin, '\n', left));
        std::size_t length = end == nullptr ? left : static_cast<std::size_t>(end - begin);
        line.offset = m_position;
        line.number = ++m_number;
        m_position += end == nullptr ? length : length + 1;
        if (length > 0 && begin[length - 1] == '\r') {
            --length;
        }
        line.text = std::string_view(begin, length);
        return true;
    }

  private:
    std::string_view m_all;
    std::size_t m_position = 0;
    int m_number = 0;
};

[[noreturn]] void failAt(const Line& line, const std::string& what) {
    throw FileError(FileError::Kind::BadFormat, "line " + std::to_string(line.number) + ": " + what,
                    line.offset);
}

[[noreturn]] void failAtEnd(std::size_t size, const std::string& what) {
    throw FileError(FileError::Kind::EndOfFile, what, size);
}

// Keyword tests with the keyword's length known at compile time, so that they compile to a
// few compares instead of library calls.
template <std::size_t N>
bool startsWith(std::string_view text, const char (&keyword)[N]) {
    return text.size() >= N - 1 && std::memcmp(text.data(), keyword, N - 1) == 0;
}

template <std::size_t N>
bool equals(std::string_view text, const char (&keyword)[N]) {
    return text.size() == N - 1 && std::memcmp(text.data(), keyword, N - 1) == 0;
}

// A decimal integer as "%d" reads it: leading blanks, an optional sign, at least one digit.
// Values beyond the int range are held at its ends.
std::optional<int> scanInt(std::string_view& rest) {
    std::size_t i = 0;
    while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t' || rest[i] == '\v' ||
                               rest[i] == '\f' || rest[i] == '\r' || rest[i] == '\n')) {
        ++i;
    }
    bool negative = false;
    if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) {
        negative = rest[i] == '-';
        ++i;
    }
    if (i >= rest.size() || rest[i] < '0' || rest[i] > '9') {
        return std::nullopt;
    }
    long long value = 0;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
        value = std::min<long long>(value * 10 + (rest[i] - '0'), 1LL << 40);
        ++i;
    }
    rest.remove_prefix(i);
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int needInt(const Line& line, std::string_view keyword) {
    std::string_view rest = line.text.substr(keyword.size());
    auto v = scanInt(rest);
    if (!v) {
        failAt(line, std::string(keyword) + "has no number");
    }
    return *v;
}

// Characters (or lines) of one kind that the reader repaired or left out: how many, and the
// lines of the first few, for the warning the import carries.
class Tally {
  public:
    void add(int lineNumber) {
        if (m_lines.size() < kShownLines) {
            m_lines.push_back(lineNumber);
        }
        ++m_count;
    }

    // "2 characters <what> (lines 5, 9)"; nothing when none was found.
    void report(std::vector<std::string>& warnings, const char* noun, const char* what) const {
        if (m_count == 0) {
            return;
        }
        std::string text = std::to_string(m_count) + " " + noun + (m_count == 1 ? " " : "s ") +
                           what + (m_lines.size() == 1 ? " (line " : " (lines ");
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            text += (i == 0 ? "" : ", ") + std::to_string(m_lines[i]);
        }
        warnings.push_back(text + (m_count > m_lines.size() ? ", ...)" : ")"));
    }

  private:
    static constexpr std::size_t kShownLines = 5;
    std::vector<int> m_lines;
    std::uint64_t m_count = 0;
};

struct Box {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};

Box needBox(const Line& line, std::string_view keyword) {
    std::string_view rest = line.text.substr(keyword.size());
    auto w = scanInt(rest);
    auto h = w ? scanInt(rest) : std::nullopt;
    auto x = h ? scanInt(rest) : std::nullopt;
    auto y = x ? scanInt(rest) : std::nullopt;
    if (!y) {
        failAt(line, std::string(keyword) + "needs four numbers");
    }
    return {*w, *h, *x, *y};
}

// A box with a negative width or height is read as one of size 0 there (the sizes are counts
// of pixels); true when it was repaired.
bool repairBox(Box& box) {
    const bool negative = box.width < 0 || box.height < 0;
    box.width = std::max(box.width, 0);
    box.height = std::max(box.height, 0);
    return negative;
}

// A bitmap row's hexadecimal digits: the row up to its first other character. `damaged` is set
// when anything but blanks follows them.
std::string_view hexDigits(std::string_view row, bool& damaged) {
    std::size_t n = 0;
    while (n < row.size() && std::isxdigit(static_cast<unsigned char>(row[n])) != 0) {
        ++n;
    }
    damaged = row.find_first_not_of(" \t", n) != std::string_view::npos;
    return row.substr(0, n);
}

struct Header {
    int lowest = 0xFFFF;
    int highest = -1;
    Box fontBox;
    std::uint64_t characters = 0;  // STARTCHAR lines before ENDFONT
    int charsLine = 0;             // the CHARS line, 0 when there is none
    int negativeFontBoxLine = 0;   // a FONTBOUNDINGBOX of negative size, 0 when there is none
};

// Pass 1: the header values, wherever they stand before ENDFONT, and the range of codes.
// Lines are told apart by their first character before any keyword is compared.
Header readHeader(std::string_view all, ImportedFont& font) {
    Header h;
    bool inCharacters = false;
    LineCursor cursor(all);
    Line line;
    while (cursor.next(line)) {
        const std::string_view t = line.text;
        if (t.empty()) {
            continue;
        }
        switch (t[0]) {
            case 'C':
                if (startsWith(t, "COMMENT")) {
                    continue;
                }
                if (startsWith(t, "COPYRIGHT ")) {
                    if (t.size() == 10) {
                        failAt(line, "COPYRIGHT is empty");
                    }
                    font.copyright = std::string(t.substr(10));
                } else if (startsWith(t, "CHARS ")) {
                    // Only compared with the characters found: a count from the file reserves
                    // nothing.
                    font.charsCount = needInt(line, "CHARS ");
                    h.charsLine = line.number;
                }
                break;
            case 'D':
                if (startsWith(t, "DEFAULT_CHAR ")) {
                    font.defaultCode = needInt(line, "DEFAULT_CHAR ");
                } else if (!inCharacters && startsWith(t, "DWIDTH ")) {
                    font.fontWidth = needInt(line, "DWIDTH ");
                }
                break;
            case 'E':
                if (startsWith(t, "ENCODING ")) {
                    const int e = needInt(line, "ENCODING ");
                    if (e >= 0 && e <= 0xFFFF) {
                        h.lowest = std::min(h.lowest, e);
                        h.highest = std::max(h.highest, e);
                    }
                } else if (equals(t, "ENDFONT")) {
                    if (font.ascent < 0 || font.descent < 0) {
                        failAt(line, "FONT_ASCENT or FONT_DESCENT is missing");
                    }
                    if (font.ascent > kMaxImportedAscent ||
                        std::int64_t{font.ascent} + font.descent > kMaxImportedHeight) {
                        failAt(line, "FONT_ASCENT and FONT_DESCENT are too large");
                    }
                    font.height = font.ascent + font.descent;
                    if (font.height == 0) {
                        failAt(line, "FONT_ASCENT and FONT_DESCENT give the font no rows");
                    }
                    // A file in which no character has a code of 0-65535 has nothing to import.
                    if (h.highest < 0) {
                        failAt(line, "no character has an ENCODING of 0-65535");
                    }
                    if (font.defaultCode < 0 || font.defaultCode < h.lowest ||
                        font.defaultCode > 0xFFFF || font.defaultCode > h.highest) {
                        font.defaultCode = h.lowest;
                    }
                    font.firstCode = h.lowest;
                    font.codeCount = h.highest - h.lowest + 1;
                    return h;
                }
                break;
            case 'F':
                if (startsWith(t, "FONT ")) {
                    if (t.size() == 5) {
                        failAt(line, "FONT has no name");
                    }
                    font.fontName = std::string(t.substr(5));
                } else if (startsWith(t, "FONT_DESCENT ")) {
                    font.descent = needInt(line, "FONT_DESCENT ");
                } else if (startsWith(t, "FONT_ASCENT ")) {
                    font.ascent = needInt(line, "FONT_ASCENT ");
                } else if (startsWith(t, "FONTBOUNDINGBOX ")) {
                    h.fontBox = needBox(line, "FONTBOUNDINGBOX ");
                    if (repairBox(h.fontBox)) {
                        h.negativeFontBoxLine = line.number;
                    }
                }
                break;
            case 'S':
                if (startsWith(t, "STARTCHAR")) {
                    inCharacters = true;
                    ++h.characters;
                }
                break;
            default:
                break;
        }
    }
    failAtEnd(all.size(), "the file ends before ENDFONT");
}

// What a character's lines say, as far as its width is concerned.
struct CharacterLines {
    int startLine = 0;  // the STARTCHAR line
    int negativeBoxLine = 0;
    int notHexLine = 0;
    bool hasEncoding = false;
    int code = -1;
    std::optional<int> dwidth;
    Box box;
};

// The width of a character: its DWIDTH, else the positive font-wide DWIDTH, else the width of
// the character before it; a negative x offset widens it (the bitmap then starts at column 0).
// A character of DWIDTH 0 (a combining mark, a zero width space) advances nothing, so it takes
// the width of its own ink: its bounding box's width and a positive x offset, at least one
// column, and its bitmap is placed as the box says. -1 when nothing gives a width.
std::int64_t rawWidth(const CharacterLines& c, int fontWidth, int previousWidth) {
    if (c.dwidth && *c.dwidth == 0) {
        return std::max<std::int64_t>(std::int64_t{c.box.width} + std::max(c.box.x, 0), 1);
    }
    std::int64_t width = 0;
    if (c.dwidth) {
        width = *c.dwidth;
    } else if (fontWidth > 0) {
        width = fontWidth;
    } else if (previousWidth >= 0) {
        width = previousWidth;
    } else {
        return -1;
    }
    if (c.box.x < 0) {
        width -= c.box.x;
    }
    return std::max<std::int64_t>(width, 0);
}

// The width rawWidth gives, refused when there is none or when it passes 255 pixels. The
// bitmaps are placed with this width, so no bitmap is ever wider than the room measured.
int characterWidth(const Line& line, const CharacterLines& c, int fontWidth, int previousWidth) {
    const std::int64_t width = rawWidth(c, fontWidth, previousWidth);
    if (width < 0) {
        failAt(line, "the character has no DWIDTH and nothing to take a width from");
    }
    if (width > 255) {
        failAt(line, "the character is " + std::to_string(width) +
                         " pixels wide; at most 255 can be imported");
    }
    return static_cast<int>(width);
}

// The value of each hexadecimal digit; other characters count as 0.
constexpr std::array<std::uint8_t, 256> kHexValues = [] {
    std::array<std::uint8_t, 256> values{};
    for (int c = 0; c < 10; ++c) {
        values[static_cast<std::size_t>('0') + static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>(c);
    }
    for (int c = 0; c < 6; ++c) {
        values[static_cast<std::size_t>('A') + static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>(10 + c);
        values[static_cast<std::size_t>('a') + static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>(10 + c);
    }
    return values;
}();

// Sets the pixels a bitmap row gives: hexadecimal digits, each four pixels from the left (so
// a row with an odd number of digits fills its last digit's pixels only), shifted right by
// the x offset; pixels beyond the character's width are dropped, and at most ceil(width / 16)
// words of digits are taken. Characters other than digits count as 0. The row's words are
// blank before.
void placeRow(std::string_view row, int width, int xOffset, std::uint16_t* rowWords) {
    const std::size_t perRow = static_cast<std::size_t>(width + 15) / 16;
    const std::size_t digits = std::min(row.size(), perRow * 4);
    if (xOffset == 0) {
        // Digit k is nibble 3 - k % 4 of word k / 4.
        std::size_t k = 0;
        for (std::size_t w = 0; k < digits; ++w) {
            unsigned value = 0;
            int count = 0;
            for (; count < 4 && k < digits; ++count, ++k) {
                value = (value << 4) | kHexValues[static_cast<unsigned char>(row[k])];
            }
            rowWords[w] = static_cast<std::uint16_t>(value << (4 * (4 - count)));
        }
    } else {
        for (std::size_t k = 0; k < digits; ++k) {
            const std::int64_t column = std::int64_t{xOffset} + static_cast<std::int64_t>(k) * 4;
            if (column >= width) {
                break;
            }
            const unsigned value = kHexValues[static_cast<unsigned char>(row[k])];
            if (value == 0) {
                continue;
            }
            const unsigned nibble = value << 12;  // the digit's pixels at the top of a word
            const auto word = static_cast<std::size_t>(column / 16);
            const auto shift = static_cast<unsigned>(column % 16);
            rowWords[word] = static_cast<std::uint16_t>(rowWords[word] | (nibble >> shift));
            if (shift > 12 && word + 1 < perRow) {
                rowWords[word + 1] =
                    static_cast<std::uint16_t>(rowWords[word + 1] | (nibble << (16 - shift)));
            }
        }
    }
    // Pixels at or beyond the width are dropped.
    if (width % 16 != 0) {
        rowWords[perRow - 1] = static_cast<std::uint16_t>(
            rowWords[perRow - 1] & (0xFFFF0000u >> static_cast<unsigned>(width % 16)));
    }
}

// Where the rows of one bitmap go.
struct Placement {
    bool wanted = false;
    int width = 0;
    int inkWidth = 0;  // columns rows may set: the width, or less for a zero-advance character
    std::size_t perRow = 0;
    std::size_t offset = 0;
};

// Passes 2 and 3 in one walk over the characters: each character's width (its DWIDTH, BBX and
// ENCODING lines up to ENDCHAR, rows included, with the refusals of a character) and its
// bitmap (the rows after BITMAP up to the line beginning with ENDCHAR, placed by the code,
// box and offset the character's lines give before BITMAP). A character's rows are placed
// while they are read with the width its lines before BITMAP give; when the lines among the
// rows change that width (or the code's room was not known), the rows are placed again once
// ENDCHAR settles it.
class CharacterReader {
  public:
    CharacterReader(std::string_view all, const Header& header, ImportedFont& font)
        : m_all(all), m_header(header), m_font(font) {}

    void run() {
        LineCursor cursor(m_all);
        Line line;
        bool inCharacter = false;
        bool inOrphan = false;
        while (cursor.next(line)) {
            const std::string_view t = line.text;
            if (!inCharacter) {
                if (startsWith(t, "STARTCHAR")) {
                    inCharacter = true;
                    inOrphan = false;
                    ++m_characterIndex;
                    m_c = CharacterLines{};
                    m_c.startLine = line.number;
                    m_c.box = m_header.fontBox;
                } else if (startsWith(t, "ENDFONT")) {
                    if (!equals(t, "ENDFONT")) {
                        readUnmeasured(cursor);
                    }
                    return;
                } else if (startsWith(t, "ENCODING ") || equals(t, "BITMAP") ||
                           equals(t, "BITMAP ") || startsWith(t, "ENDCHAR")) {
                    // A character's lines without its STARTCHAR: left out, up to its ENDCHAR.
                    if (!inOrphan) {
                        m_noStartchar.add(line.number);
                    }
                    inOrphan = !startsWith(t, "ENDCHAR");
                }
                continue;
            }
            if (readCharacterLine(line) == LineKind::EndChar) {
                // A character without BITMAP is kept with its width and no ink.
                const int width = finishCharacter(line);
                const int code = inRange(m_c.code) ? m_c.code : -1;
                if (reserve(code, code >= 0 && m_font.isPresent(code), width).wanted) {
                    m_noBitmap.add(m_c.startLine);
                }
                inCharacter = false;
            } else if (equals(t, "BITMAP") || equals(t, "BITMAP ")) {
                readBitmap(cursor);
                inCharacter = false;
            }
        }
        failAtEnd(m_all.size(), "the file ends before ENDFONT");
    }

  private:
    enum class LineKind { Other, EndChar };

    // A line inside a character as the width pass reads it.
    LineKind readCharacterLine(const Line& line) {
        const std::string_view t = line.text;
        if (t.empty()) {
            return LineKind::Other;
        }
        switch (t[0]) {
            case 'S':
                if (startsWith(t, "STARTCHAR")) {
                    failAt(line, "STARTCHAR before the previous character's ENDCHAR");
                }
                break;
            case 'E':
                if (startsWith(t, "ENDFONT")) {
                    failAt(line, "ENDFONT inside a character");
                } else if (startsWith(t, "ENCODING ")) {
                    m_c.code = needInt(line, "ENCODING ");
                    m_c.hasEncoding = true;
                } else if (startsWith(t, "ENDCHAR")) {
                    return LineKind::EndChar;
                }
                break;
            case 'D':
                if (startsWith(t, "DWIDTH ")) {
                    const int value = needInt(line, "DWIDTH ");
                    if (value < 0) {
                        failAt(line, "DWIDTH is negative");
                    }
                    m_c.dwidth = value;
                }
                break;
            case 'B':
                if (startsWith(t, "BBX ")) {
                    m_c.box = needBox(line, "BBX ");
                    if (repairBox(m_c.box) && m_c.negativeBoxLine == 0) {
                        m_c.negativeBoxLine = line.number;
                    }
                }
                break;
            default:
                break;
        }
        return LineKind::Other;
    }

    static bool inRange(int code) { return code >= 0 && code <= 0xFFFF; }

    // The room of a character's bitmap when its code is in range, the code is covered and not
    // yet present, and its width is known; words are reserved for it.
    Placement reserve(int code, bool codeTaken, std::int64_t width) {
        Placement p;
        if (!inRange(code) || codeTaken || width < 0 || width > 255 || !m_font.covers(code)) {
            return p;
        }
        p.wanted = true;
        p.width = static_cast<int>(width);
        p.inkWidth = p.width;
        p.perRow = static_cast<std::size_t>(p.width + 15) / 16;
        p.offset = m_font.words.size();
        const auto slot = static_cast<std::size_t>(code - m_font.firstCode);
        m_font.offsets[slot] = static_cast<std::int64_t>(p.offset);
        m_font.widths[slot] = static_cast<std::uint8_t>(p.width);
        m_font.words.resize(p.offset + p.perRow * static_cast<std::size_t>(m_font.height), 0);
        return p;
    }

    void release(int code, const Placement& p) {
        if (!p.wanted) {
            return;
        }
        const auto slot = static_cast<std::size_t>(code - m_font.firstCode);
        m_font.offsets[slot] = -1;
        m_font.widths[slot] = 0;
        m_font.words.resize(p.offset);
    }

    // Places one row (the bitmap's rows count down from the top of its box); rows outside the
    // font's cell are clipped and a character of width 0 has no pixels to set.
    void placeAt(const Placement& p, std::string_view row, int xOffset, std::int64_t y) {
        if (!p.wanted || p.perRow == 0 || y >= m_font.ascent || y < -std::int64_t{m_font.descent}) {
            return;
        }
        const auto pixelRow = static_cast<std::size_t>(m_font.ascent - 1 - y);
        placeRow(row, p.inkWidth, xOffset, &m_font.words[p.offset + pixelRow * p.perRow]);
    }

    // A character that advances nothing is as wide as its box: what its rows hold beyond the
    // box's width (padding digits) is no ink of it.
    Placement clippedToBox(Placement p, int xOffset, const Box& box) const {
        if (m_c.dwidth && *m_c.dwidth == 0) {
            p.inkWidth = static_cast<int>(
                std::min<std::int64_t>(p.width, std::int64_t{xOffset} + box.width));
        }
        return p;
    }

    // From the line after BITMAP to the line beginning with ENDCHAR.
    void readBitmap(LineCursor& cursor) {
        // The code, box and offset the bitmap is placed by are those before BITMAP.
        const int code = inRange(m_c.code) ? m_c.code : -1;
        const Box box = m_c.box;
        const int xOffset = std::max(box.x, 0);
        const std::int64_t top = std::int64_t{box.y} + box.height - 1;
        const bool codeTaken = code >= 0 && m_font.isPresent(code);

        // The width the lines so far give; used unless the rows change it.
        std::int64_t guess = -1;
        if (inRange(m_c.code)) {
            guess = rawWidth(m_c, m_font.fontWidth, m_previousWidth);
            const std::uint64_t words = std::uint64_t{static_cast<std::uint32_t>(guess + 15) / 16} *
                                        static_cast<std::uint64_t>(m_font.height);
            if (guess > 255 || m_wordsNeeded + words > kMaxImportedPixels / 16) {
                guess = -1;
            }
        }
        const Placement guessed = clippedToBox(reserve(code, codeTaken, guess), xOffset, box);

        const LineCursor rows = cursor;
        Line line;
        std::int64_t y = top;
        while (cursor.next(line)) {
            if (readCharacterLine(line) == LineKind::EndChar) {
                const int width = finishCharacter(line);
                if (width != (guessed.wanted ? guessed.width : -1)) {
                    // The rows changed the width: place them again.
                    release(code, guessed);
                    const Placement p = clippedToBox(reserve(code, codeTaken, width), xOffset, box);
                    if (p.wanted) {
                        LineCursor again = rows;
                        Line row;
                        for (std::int64_t y2 = top; again.next(row) && row.number < line.number;
                             --y2) {
                            bool damaged = false;
                            placeAt(p, hexDigits(row.text, damaged), xOffset, y2);
                        }
                    }
                }
                return;
            }
            bool damaged = false;
            placeAt(guessed, hexDigits(line.text, damaged), xOffset, y);
            if (damaged && m_c.notHexLine == 0) {
                m_c.notHexLine = line.number;
            }
            --y;
        }
        // The width pass ends here too.
        failAtEnd(m_all.size(), "the file ends before ENDFONT");
    }

    // The character's ENDCHAR line: its width, or -1 when its code is outside 0-65535.
    int finishCharacter(const Line& line) {
        if (!m_c.hasEncoding) {
            failAt(line, "the character has no ENCODING");
        }
        if (m_c.negativeBoxLine != 0) {
            m_negativeBox.add(m_c.negativeBoxLine);
        }
        if (m_c.notHexLine != 0) {
            m_notHex.add(m_c.notHexLine);
        }
        int width = -1;
        if (inRange(m_c.code)) {
            width = characterWidth(line, m_c, m_font.fontWidth, m_previousWidth);
            m_previousWidth = width;
            m_font.maxWidth = std::max(m_font.maxWidth, width);
            m_wordsNeeded += std::uint64_t{static_cast<std::uint32_t>(width + 15) / 16} *
                             static_cast<std::uint64_t>(m_font.height);
            if (m_wordsNeeded > kMaxImportedPixels / 16) {
                failAt(line, "the characters need more than " + std::to_string(kMaxImportedPixels) +
                                 " pixels");
            }
        }
        return width;
    }

    // After a line that merely begins with ENDFONT the width pass has ended; the characters up
    // to ENDFONT are read for their refusals only.
    void readUnmeasured(LineCursor& cursor) {
        Line line;
        bool inCharacter = false;
        while (cursor.next(line)) {
            const std::string_view t = line.text;
            if (!inCharacter) {
                if (equals(t, "ENDFONT")) {
                    return;
                }
                if (startsWith(t, "STARTCHAR")) {
                    inCharacter = true;
                    ++m_characterIndex;
                }
                continue;
            }
            if (startsWith(t, "ENCODING ")) {
                needInt(line, "ENCODING ");
            } else if (startsWith(t, "DWIDTH ")) {
                needInt(line, "DWIDTH ");
            } else if (startsWith(t, "BBX ")) {
                needBox(line, "BBX ");
            } else if (startsWith(t, "ENDCHAR")) {
                inCharacter = false;
            } else if (equals(t, "BITMAP") || equals(t, "BITMAP ")) {
                bool closed = false;
                while (cursor.next(line)) {
                    if (startsWith(line.text, "ENDCHAR")) {
                        closed = true;
                        break;
                    }
                }
                if (!closed) {
                    failAtEnd(m_all.size(), "the file ends inside the bitmap of character " +
                                                std::to_string(m_characterIndex + 1));
                }
                inCharacter = false;
            }
        }
        failAtEnd(m_all.size(), "the file ends before ENDFONT");
    }

  public:
    // The characters repaired or left out, one warning per kind.
    void report(std::vector<std::string>& warnings) const {
        m_noStartchar.report(warnings, "character", "without STARTCHAR left out");
        m_noBitmap.report(warnings, "character", "without BITMAP kept blank");
        m_negativeBox.report(warnings, "character", "with a negative BBX size read as size 0");
        m_notHex.report(warnings, "character",
                        "with bitmap rows that are not hexadecimal, each row read up to its "
                        "first other character");
    }

  private:
    std::string_view m_all;
    const Header& m_header;
    ImportedFont& m_font;
    CharacterLines m_c;
    int m_characterIndex = -1;
    int m_previousWidth = -1;
    std::uint64_t m_wordsNeeded = 0;
    Tally m_noStartchar;
    Tally m_noBitmap;
    Tally m_negativeBox;
    Tally m_notHex;
};

}  // namespace

ImportedFont parseBdf(std::span<const std::uint8_t> bytes) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ImportedFont font;
    font.layout = ImportedFont::BitLayout::WordRows;
    const Header header = readHeader(all, font);

    font.widths.assign(static_cast<std::size_t>(font.codeCount), 0);
    font.offsets.assign(static_cast<std::size_t>(font.codeCount), -1);
    // Room for one word per row of every character, as long as the file is large enough to
    // plausibly hold that many rows.
    font.words.reserve(static_cast<std::size_t>(
        std::min({header.characters * static_cast<std::uint64_t>(font.height),
                  std::uint64_t{bytes.size()}, kMaxImportedPixels / 16})));
    font.maxWidth = 0;
    if (header.negativeFontBoxLine != 0) {
        font.warnings.push_back("FONTBOUNDINGBOX has a negative size, read as size 0 (line " +
                                std::to_string(header.negativeFontBoxLine) + ")");
    }
    if (header.charsLine != 0 &&
        (font.charsCount < 0 || static_cast<std::uint64_t>(font.charsCount) != header.characters)) {
        font.warnings.push_back(
            "CHARS " + std::to_string(font.charsCount) + " (line " +
            std::to_string(header.charsLine) + ") does not match the number of characters, " +
            std::to_string(header.characters) + "; the characters are read as found");
    }
    CharacterReader reader(all, header, font);
    reader.run();
    reader.report(font.warnings);

    // Codes without a character take the default character's width; it counts in the
    // fixed-width decision.
    const std::uint8_t defaultWidth =
        font.widths[static_cast<std::size_t>(font.defaultCode - font.firstCode)];
    bool allMaximal = true;
    for (std::size_t k = 0; k < font.widths.size(); ++k) {
        if (font.offsets[k] < 0) {
            font.widths[k] = defaultWidth;
        }
        allMaximal = allMaximal && font.widths[k] == font.maxWidth;
    }
    font.hasWidths = !allMaximal;
    return font;
}

ImportedFont readBdf(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readWholeFile(path, kMaxImportFileBytes);
    return parseBdf(bytes);
}

}  // namespace typeloom
