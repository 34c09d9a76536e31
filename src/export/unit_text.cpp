#include "export/unit_text.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>

#include "common/text.h"

namespace typeloom::exporters {

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}

void appendHex(std::string& out, std::uint32_t value, int digits, bool capitals) {
    static constexpr char kCapitals[] = "0123456789ABCDEF";
    static constexpr char kSmall[] = "0123456789abcdef";
    const char* const letters = capitals ? kCapitals : kSmall;
    int needed = 1;
    while (needed < 8 && (value >> (4 * needed)) != 0) {
        ++needed;
    }
    const int n = std::max(needed, digits);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n), '0');
    char* p = out.data() + at + n;
    for (int k = 0; k < needed; ++k) {
        *--p = letters[value & 0xFu];
        value >>= 4;
    }
}

void appendDecimal(std::string& out, std::int64_t value, int width) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    const auto n = static_cast<int>(end - digits);
    if (width > n) {
        out.append(static_cast<std::size_t>(width - n), ' ');
    }
    out.append(digits, end);
}

namespace {

std::uint8_t byteOf(std::uint32_t unit, int index) {
    return static_cast<std::uint8_t>(unit >> (8 * index));
}

// "0x" and two capital digits per byte: the C spelling of an 8-bit value.
void appendCByte(std::string& out, std::uint8_t b) {
    out += "0x";
    appendHex(out, b, 2, true);
}

// "%c%02xh": a leading "0" when the first digit is a letter, else a space.
void appendAsmByte(std::string& out, std::uint8_t b) {
    out += b >= 0xA0 ? '0' : ' ';
    appendHex(out, b, 2, false);
    out += 'h';
}

}  // namespace

void appendUnitAsC(std::string& out, std::uint32_t unit, int bits, bool asBytes) {
    if ((bits == 16 || bits == 32) && asBytes) {
        for (int k = bits / 8 - 1; k >= 0; --k) {
            appendCByte(out, byteOf(unit, k));
            if (k != 0) {
                out += ", ";
            }
        }
        return;
    }
    out += "0x";
    if (bits == 16) {
        appendHex(out, unit & 0xFFFFu, 4, true);
    } else if (bits == 32) {
        appendHex(out, unit, 8, true);
    } else {
        appendHex(out, unit & 0xFFu, 2, true);
    }
}

std::string unitAsC(std::uint32_t unit, int bits, bool asBytes) {
    std::string out;
    appendUnitAsC(out, unit, bits, asBytes);
    return out;
}

void appendUnitAsAsm(std::string& out, std::uint32_t unit, int bits, bool asBytes) {
    if ((bits == 16 || bits == 32) && asBytes) {
        for (int k = bits / 8 - 1; k >= 0; --k) {
            appendAsmByte(out, byteOf(unit, k));
            if (k != 0) {
                out += ",  ";
            }
        }
        return;
    }
    if (bits == 16) {
        unit &= 0xFFFFu;
        out += unit >= 0xA000u ? '0' : ' ';
        appendHex(out, unit, 4, false);
        out += 'h';
    } else if (bits == 32) {
        out += unit >= 0xA0000000u ? '0' : ' ';
        appendHex(out, unit, 8, false);
        out += 'h';
    } else {
        appendAsmByte(out, byteOf(unit, 0));
    }
}

std::string unitAsAsm(std::uint32_t unit, int bits, bool asBytes) {
    std::string out;
    appendUnitAsAsm(out, unit, bits, asBytes);
    return out;
}

const char* asmDirective(int bits, bool asBytes) {
    if (asBytes || bits == 8) {
        return "db ";
    }
    return bits == 16 ? "dw " : "dd ";
}

void appendCUnitRow(std::string& row, std::span<const std::uint32_t> units, int bits, bool asBytes,
                    int lastAt, std::string_view afterLast) {
    for (std::size_t k = 0; k < units.size(); ++k) {
        appendUnitAsC(row, units[k], bits, asBytes);
        row += static_cast<int>(k) == lastAt ? afterLast : std::string_view(", ");
    }
}

void appendAsmUnitRow(std::string& row, std::span<const std::uint32_t> units, int bits,
                      bool asBytes, std::string_view separator) {
    row += asmDirective(bits, asBytes);
    for (std::size_t k = 0; k < units.size(); ++k) {
        if (k != 0) {
            row += separator;
        }
        appendUnitAsAsm(row, units[k], bits, asBytes);
    }
}

std::string asmOffsetEntry(std::uint32_t offset, std::uint32_t largest) {
    const int digits = largest < 0x10000u      ? 4
                       : largest < 0x100000u   ? 5
                       : largest < 0x1000000u  ? 6
                       : largest < 0x10000000u ? 7
                                               : 8;
    const bool leadingZero = (largest >> (digits * 4 - 4)) >= 0xA;
    const std::string pad(static_cast<std::size_t>(8 - digits + (leadingZero ? 0 : 1)), ' ');
    return (digits == 4 ? "dw    " : "dd    ") + pad + (leadingZero ? "0" : "") +
           formatText("%0*xh", digits, offset);
}

namespace {

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

bool endsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

void appendCharacterText(std::string& out, std::uint16_t unicode, char control) {
    if (unicode < 32 || unicode == 0x7F) {
        out += control;
        return;
    }
    // The C1 controls have no character in windows-1252: the generated text shows them as
    // '?', as it shows every other character the code page lacks. Written as they are, the
    // five that share a byte the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
    // would put that byte into the file.
    if (isControl(static_cast<char16_t>(unicode))) {
        out += '?';
        return;
    }
    // UTF-8 by hand (one, two or three bytes); a lone surrogate becomes U+FFFD (written as
    // '?' in ANSI files).
    const std::uint32_t c = isSurrogate(static_cast<char16_t>(unicode)) ? 0xFFFDu : unicode;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string characterText(std::uint16_t unicode, char control) {
    std::string out;
    appendCharacterText(out, unicode, control);
    return out;
}

std::string commentText(std::string_view utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        std::string piece;
        if (isSurrogate(c)) {
            // A character beyond U+FFFF (a pair, read as one) is never in the code page.
            if (c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] <= 0xDFFF) {
                ++i;
            }
            piece = "?";
        } else if (isControl(c) || c == u'\\' || (c != u'?' && unicodeToAnsi(c) == '?')) {
            piece = "?";
        } else {
            piece = utf16ToUtf8(std::u16string(1, c));
        }
        const char first = piece.front();
        if ((first == '/' && (endsWith(out, "*") || endsWith(out, "??"))) ||
            (first == '*' && endsWith(out, "/"))) {
            out += ' ';
        }
        out += piece;
    }
    return out;
}

}  // namespace typeloom::exporters
