#include "model/character_lookup.h"

#include <cstdio>

#include "common/text.h"
#include "model/font.h"

namespace typeloom {

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value of 1 to `maxDigits` digits of the base; -1 for anything else.
long digitsValue(const std::string& digits, int base, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return -1;
    }
    long value = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return -1;
        }
        value = value * base + digit;
    }
    return value;
}

std::string hex4(long value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04lX", value);
    return text;
}

CharacterLookup byUnicode(const Font& font, long unicode) {
    for (int i = 0; i < font.count(); ++i) {
        if (font.unicodeAt(i) == unicode) {
            return {i, {}};
        }
    }
    return {-1, "The font has no character U+" + hex4(unicode) + "."};
}

CharacterLookup byCode(const Font& font, long code) {
    if (code > 0xFFFF) {
        return {-1, "Codes run from 0 to 65535 (0xFFFF)."};
    }
    const int index = font.indexOfCode(static_cast<std::uint16_t>(code));
    if (index < 0) {
        return {-1, "The font has no character of code 0x" + hex4(code) + "."};
    }
    return {index, {}};
}

}  // namespace

CharacterLookup lookUpCharacter(const Font& font, const std::string& typed) {
    const std::string text = trimmed(typed);
    const std::u16string units = utf8ToUtf16(text);
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const bool unicode = text.size() > 2 && (text[0] == 'U' || text[0] == 'u') && text[1] == '+';
    if (unicode || prefixed) {
        const long value = digitsValue(text.substr(2), 16, 4);
        if (value >= 0) {
            return unicode ? byUnicode(font, value) : byCode(font, value);
        }
    } else if (units.size() == 1 && (units[0] < 0xD800 || units[0] > 0xDFFF)) {
        return byUnicode(font, units[0]);
    } else if (const long value = digitsValue(text, 10, 5); value >= 0) {
        return byCode(font, value);
    }
    return {-1, "Type a character, its code (65 or 0x41) or its Unicode value (U+0041)."};
}

}  // namespace typeloom
