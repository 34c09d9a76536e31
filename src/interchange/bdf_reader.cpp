#include "interchange/bdf_reader.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <vector>

#include "common/byte_io.h"

namespace typeloom {

namespace {

struct Line {
    std::string_view text;
    std::size_t offset;  // byte offset of the line in the file
    int number;          // 1-based
};

// The file's lines without their line ends (LF or CR LF).
std::vector<Line> splitLines(std::span<const std::uint8_t> bytes) {
    std::vector<Line> lines;
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::size_t start = 0;
    int number = 1;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos) {
            end = all.size();
        }
        std::string_view text = all.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        lines.push_back({text, start, number++});
        start = next;
    }
    return lines;
}

[[noreturn]] void failAt(const Line& line, const std::string& what) {
    throw FileError(FileError::Kind::BadFormat, "line " + std::to_string(line.number) + ": " + what,
                    line.offset);
}

[[noreturn]] void failAtEnd(std::size_t size, const std::string& what) {
    throw FileError(FileError::Kind::EndOfFile, what, size);
}

bool startsWith(std::string_view text, std::string_view keyword) {
    return text.substr(0, keyword.size()) == keyword;
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

struct Header {
    int lowest = 0xFFFF;
    int highest = -1;
    Box fontBox;
};

Header readHeader(const std::vector<Line>& lines, std::size_t fileSize, ImportedFont& font) {
    Header h;
    bool inCharacters = false;
    for (const Line& line : lines) {
        const std::string_view t = line.text;
        if (startsWith(t, "COMMENT")) {
            continue;
        }
        if (startsWith(t, "FONT ")) {
            if (t.size() == 5) {
                failAt(line, "FONT has no name");
            }
            font.fontName = std::string(t.substr(5));
        } else if (startsWith(t, "COPYRIGHT ")) {
            if (t.size() == 10) {
                failAt(line, "COPYRIGHT is empty");
            }
            font.copyright = std::string(t.substr(10));
        } else if (startsWith(t, "DEFAULT_CHAR ")) {
            font.defaultCode = needInt(line, "DEFAULT_CHAR ");
        } else if (startsWith(t, "FONT_DESCENT ")) {
            font.descent = needInt(line, "FONT_DESCENT ");
        } else if (startsWith(t, "FONT_ASCENT ")) {
            font.ascent = needInt(line, "FONT_ASCENT ");
        } else if (startsWith(t, "FONTBOUNDINGBOX ")) {
            h.fontBox = needBox(line, "FONTBOUNDINGBOX ");
        } else if (startsWith(t, "CHARS ")) {
            font.charsCount = needInt(line, "CHARS ");
        } else if (startsWith(t, "STARTCHAR")) {
            inCharacters = true;
        } else if (startsWith(t, "DWIDTH ") && !inCharacters) {
            font.fontWidth = needInt(line, "DWIDTH ");
        } else if (startsWith(t, "ENCODING ")) {
            const int e = needInt(line, "ENCODING ");
            if (e >= 0 && e <= 0xFFFF) {
                h.lowest = std::min(h.lowest, e);
                h.highest = std::max(h.highest, e);
            }
        } else if (t == "ENDFONT") {
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
            if (font.defaultCode < 0 || font.defaultCode < h.lowest || font.defaultCode > 0xFFFF ||
                font.defaultCode > h.highest) {
                font.defaultCode = h.lowest;
            }
            font.firstCode = h.lowest;
            font.codeCount = h.highest - h.lowest + 1;
            return h;
        }
    }
    failAtEnd(fileSize, "the file ends before ENDFONT");
}

// What a character's lines say, as far as its width is concerned.
struct CharacterLines {
    bool hasEncoding = false;
    int code = -1;
    std::optional<int> dwidth;
    Box box;
};

// A DWIDTH of 0 or less stands for the width of the bounding box in force (the font's until
// the character's BBX line), less its x offset.
int readDwidth(const Line& line, const Box& box) {
    const int value = needInt(line, "DWIDTH ");
    if (value > 0) {
        return value;
    }
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{box.width} - box.x, 0, INT_MAX));
}

// The width of a character: its DWIDTH, else the positive font-wide DWIDTH, else the width of
// the character before it; a negative x offset widens it (the bitmap then starts at column 0).
// Both the width pass and the bitmap pass use this, so that no bitmap is ever wider than the
// room the width pass measured.
int characterWidth(const Line& line, const CharacterLines& c, int fontWidth, int previousWidth) {
    std::int64_t width = 0;
    if (c.dwidth) {
        width = *c.dwidth;
    } else if (fontWidth > 0) {
        width = fontWidth;
    } else if (previousWidth >= 0) {
        width = previousWidth;
    } else {
        failAt(line, "the character has no DWIDTH and nothing to take a width from");
    }
    if (c.box.x < 0) {
        width -= c.box.x;
    }
    if (width > 255) {
        failAt(line, "the character is " + std::to_string(width) +
                         " pixels wide; at most 255 can be imported");
    }
    return static_cast<int>(std::max<std::int64_t>(width, 0));
}

// Pass 2: the width of every character (by its position in the file; -1 for characters whose
// code is outside 0-65535) and the widest of them.
std::vector<int> measureCharacters(const std::vector<Line>& lines, std::size_t fileSize,
                                   const Header& header, ImportedFont& font,
                                   std::uint64_t& wordsNeeded) {
    std::vector<int> widths;
    font.maxWidth = 0;
    wordsNeeded = 0;
    bool inCharacter = false;
    int previousWidth = -1;
    CharacterLines c;
    for (const Line& line : lines) {
        const std::string_view t = line.text;
        if (startsWith(t, "STARTCHAR")) {
            if (inCharacter) {
                failAt(line, "STARTCHAR before the previous character's ENDCHAR");
            }
            inCharacter = true;
            c = CharacterLines{};
            c.box = header.fontBox;
        } else if (startsWith(t, "ENDFONT")) {
            if (inCharacter) {
                failAt(line, "ENDFONT inside a character");
            }
            return widths;
        } else if (!inCharacter) {
            continue;
        } else if (startsWith(t, "ENCODING ")) {
            c.code = needInt(line, "ENCODING ");
            c.hasEncoding = true;
        } else if (startsWith(t, "DWIDTH ")) {
            if (needInt(line, "DWIDTH ") < 0) {
                failAt(line, "DWIDTH is negative");
            }
            c.dwidth = readDwidth(line, c.box);
        } else if (startsWith(t, "BBX ")) {
            c.box = needBox(line, "BBX ");
        } else if (startsWith(t, "ENDCHAR")) {
            if (!c.hasEncoding) {
                failAt(line, "the character has no ENCODING");
            }
            int width = -1;
            if (c.code >= 0 && c.code <= 0xFFFF) {
                width = characterWidth(line, c, font.fontWidth, previousWidth);
                previousWidth = width;
                font.maxWidth = std::max(font.maxWidth, width);
                wordsNeeded += std::uint64_t{static_cast<std::uint32_t>(width + 15) / 16} *
                               static_cast<std::uint64_t>(font.height);
                if (wordsNeeded > kMaxImportedPixels / 16) {
                    failAt(line, "the characters need more than " +
                                     std::to_string(kMaxImportedPixels) + " pixels");
                }
            }
            widths.push_back(width);
            inCharacter = false;
        }
    }
    failAtEnd(fileSize, "the file ends before ENDFONT");
}

// Sets the pixels a bitmap row gives: hexadecimal digits, each four pixels from the left (so
// a row with an odd number of digits fills its last digit's pixels only), shifted right by
// the x offset; pixels beyond the character's width are dropped, and at most ceil(width / 16)
// words of digits are taken. Characters other than digits count as 0.
void placeRow(std::string_view row, int width, int xOffset, std::uint16_t* rowWords) {
    const std::size_t maxDigits = static_cast<std::size_t>((width + 15) / 16) * 4;
    for (std::size_t k = 0; k < row.size() && k < maxDigits; ++k) {
        const char ch = row[k];
        int v = 0;
        if (ch >= '0' && ch <= '9') {
            v = ch - '0';
        } else if (ch >= 'A' && ch <= 'F') {
            v = ch - 'A' + 10;
        } else if (ch >= 'a' && ch <= 'f') {
            v = ch - 'a' + 10;
        }
        for (int j = 0; j < 4; ++j) {
            if ((v & (8 >> j)) == 0) {
                continue;
            }
            const std::int64_t column =
                std::int64_t{xOffset} + static_cast<std::int64_t>(k) * 4 + j;
            if (column < width) {
                rowWords[column / 16] |= static_cast<std::uint16_t>(0x8000u >> (column % 16));
            }
        }
    }
}

// Pass 3: the bitmaps.
void readBitmaps(const std::vector<Line>& lines, std::size_t fileSize, const Header& header,
                 const std::vector<int>& widths, ImportedFont& font) {
    int characterIndex = -1;
    bool inCharacter = false;
    CharacterLines c;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const std::string_view t = line.text;
        if (!inCharacter) {
            if (t == "ENDFONT") {
                return;
            }
            if (startsWith(t, "STARTCHAR")) {
                inCharacter = true;
                ++characterIndex;
                c = CharacterLines{};
                c.box = header.fontBox;
            }
            continue;
        }
        if (startsWith(t, "ENCODING ")) {
            c.code = needInt(line, "ENCODING ");
            if (c.code < 0 || c.code > 0xFFFF) {
                c.code = -1;
            }
        } else if (startsWith(t, "DWIDTH ")) {
            c.dwidth = readDwidth(line, c.box);
        } else if (startsWith(t, "BBX ")) {
            c.box = needBox(line, "BBX ");
        } else if (startsWith(t, "ENDCHAR")) {
            inCharacter = false;
        } else if (t == "BITMAP" || t == "BITMAP ") {
            // Characters the width pass did not see (after a line that merely begins with
            // ENDFONT) are skipped like characters without a code.
            const bool measured = characterIndex < static_cast<int>(widths.size()) &&
                                  widths[static_cast<std::size_t>(characterIndex)] >= 0;
            const bool wanted =
                c.code >= 0 && measured && font.covers(c.code) && !font.isPresent(c.code);
            const std::size_t slot = wanted ? static_cast<std::size_t>(c.code - font.firstCode) : 0;
            int width = 0;
            std::size_t perRow = 0;
            std::size_t offset = 0;
            if (wanted) {
                width = widths[static_cast<std::size_t>(characterIndex)];
                perRow = static_cast<std::size_t>(width + 15) / 16;
                offset = font.words.size();
                font.offsets[slot] = static_cast<std::int64_t>(offset);
                font.widths[slot] = static_cast<std::uint8_t>(width);
                font.words.resize(offset + perRow * static_cast<std::size_t>(font.height), 0);
            }
            const int xOffset = std::max(c.box.x, 0);
            std::int64_t y = std::int64_t{c.box.y} + c.box.height - 1;
            bool closed = false;
            for (++i; i < lines.size(); ++i, --y) {
                const std::string_view row = lines[i].text;
                if (startsWith(row, "ENDCHAR")) {
                    closed = true;
                    break;
                }
                // Rows outside the font's cell are clipped; a character of width 0 has no
                // pixels to set.
                if (!wanted || perRow == 0 || y >= font.ascent || y < -std::int64_t{font.descent}) {
                    continue;
                }
                const auto pixelRow = static_cast<std::size_t>(font.ascent - 1 - y);
                placeRow(row, width, xOffset, &font.words[offset + pixelRow * perRow]);
            }
            if (!closed) {
                failAtEnd(fileSize, "the file ends inside the bitmap of character " +
                                        std::to_string(characterIndex + 1));
            }
            inCharacter = false;
        }
    }
    failAtEnd(fileSize, "the file ends before ENDFONT");
}

}  // namespace

ImportedFont parseBdf(std::span<const std::uint8_t> bytes) {
    const std::vector<Line> lines = splitLines(bytes);
    ImportedFont font;
    font.layout = ImportedFont::BitLayout::WordRows;
    const Header header = readHeader(lines, bytes.size(), font);
    std::uint64_t wordsNeeded = 0;
    const std::vector<int> widths =
        measureCharacters(lines, bytes.size(), header, font, wordsNeeded);

    font.widths.assign(static_cast<std::size_t>(font.codeCount), 0);
    font.offsets.assign(static_cast<std::size_t>(font.codeCount), -1);
    font.words.reserve(static_cast<std::size_t>(wordsNeeded));
    readBitmaps(lines, bytes.size(), header, widths, font);

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
