#include "export/unit_text.h"

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

namespace {

std::uint8_t byteOf(std::uint32_t unit, int index) {
    return static_cast<std::uint8_t>(unit >> (8 * index));
}

std::string asmByte(std::uint8_t b) {
    return formatText("%c%02xh", b >= 0xA0 ? '0' : ' ', b);
}

}  // namespace

std::string unitAsC(std::uint32_t unit, int bits, bool asBytes) {
    if (bits == 16) {
        if (asBytes) {
            return formatText("0x%02X, 0x%02X", byteOf(unit, 1), byteOf(unit, 0));
        }
        return formatText("0x%04X", unit & 0xFFFFu);
    }
    if (bits == 32) {
        if (asBytes) {
            return formatText("0x%02X, 0x%02X, 0x%02X, 0x%02X", byteOf(unit, 3), byteOf(unit, 2),
                              byteOf(unit, 1), byteOf(unit, 0));
        }
        return formatText("0x%08X", unit);
    }
    return formatText("0x%02X", unit & 0xFFu);
}

std::string unitAsAsm(std::uint32_t unit, int bits, bool asBytes) {
    if (bits == 16) {
        if (asBytes) {
            return asmByte(byteOf(unit, 1)) + ",  " + asmByte(byteOf(unit, 0));
        }
        unit &= 0xFFFFu;
        return formatText("%c%04xh", unit >= 0xA000u ? '0' : ' ', unit);
    }
    if (bits == 32) {
        if (asBytes) {
            return asmByte(byteOf(unit, 3)) + ",  " + asmByte(byteOf(unit, 2)) + ",  " +
                   asmByte(byteOf(unit, 1)) + ",  " + asmByte(byteOf(unit, 0));
        }
        return formatText("%c%08xh", unit >= 0xA0000000u ? '0' : ' ', unit);
    }
    return asmByte(byteOf(unit, 0));
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
        row += unitAsC(units[k], bits, asBytes);
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
        row += unitAsAsm(units[k], bits, asBytes);
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

std::string characterText(std::uint16_t unicode, char control) {
    if (unicode < 32 || unicode == 0x7F) {
        return std::string(1, control);
    }
    // The C1 controls have no character in windows-1252: the generated text shows them as
    // '?', as it shows every other character the code page lacks. Written as they are, the
    // five that share a byte the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
    // would put that byte into the file.
    if (isControl(static_cast<char16_t>(unicode))) {
        return "?";
    }
    // A lone surrogate becomes U+FFFD (written as '?' in ANSI files).
    return utf16ToUtf8(std::u16string(1, static_cast<char16_t>(unicode)));
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
