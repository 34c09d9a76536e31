#include "common/text.h"

#include <array>

namespace typeloom {

namespace {

// Unicode values of windows-1252 bytes 0x80..0x9F; the five undefined bytes keep their C1
// value (what Windows returns for them).
constexpr std::array<char16_t, 32> kAnsiHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one code point from UTF-8 at text[i], advancing i; malformed input gives U+FFFD
// and consumes one byte.
char32_t nextUtf8(std::string_view text, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, c = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, c = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, c = b0 & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + extra >= text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += extra + 1;
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kReplacement;
    }
    return c;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = nextUtf8(text, i);
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    return out;
}

char16_t ansiToUnicode(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kAnsiHigh[byte - 0x80];
    }
    return byte;
}

std::uint8_t unicodeToAnsi(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<std::uint8_t>(unit);
    }
    for (std::size_t k = 0; k < kAnsiHigh.size(); ++k) {
        if (kAnsiHigh[k] == unit) {
            return static_cast<std::uint8_t>(0x80 + k);
        }
    }
    return '?';
}

std::u16string ansiToUtf16(std::span<const std::uint8_t> bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        out.push_back(ansiToUnicode(b));
    }
    return out;
}

AnsiTextSink& AnsiTextSink::operator<<(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        // ASCII other than the line-end characters is its own windows-1252 byte: a run of it,
        // most generated text, is copied whole.
        std::size_t plain = i;
        while (plain < utf8.size()) {
            const auto b = static_cast<unsigned char>(utf8[plain]);
            if (b >= 0x80 || b == '\n' || b == '\r') {
                break;
            }
            ++plain;
        }
        if (plain != i) {
            m_bytes.append(utf8.data() + i, plain - i);
            i = plain;
            continue;
        }
        char32_t c = nextUtf8(utf8, i);
        if (c == '\r' && i < utf8.size() && utf8[i] == '\n') {
            continue;  // "\r\n" in the text is one line end, like "\n"
        }
        if (c == '\n') {
            m_bytes += "\r\n";
        } else {
            m_bytes.push_back(
                static_cast<char>(c > 0xFFFF ? '?' : unicodeToAnsi(static_cast<char16_t>(c))));
        }
    }
    return *this;
}

void AnsiTextSink::line(std::string_view utf8) {
    *this << utf8;
    m_bytes += "\r\n";
}

std::optional<std::u32string> decodeUtf8Strict(std::span<const std::uint8_t> bytes,
                                               std::size_t& badOffset) {
    std::u32string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        i = 3;
    }
    while (i < bytes.size()) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t value = 0;
        char32_t smallest = 0;
        if ((b & 0xE0) == 0xC0) {
            length = 2;
            value = b & 0x1F;
            smallest = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            value = b & 0x0F;
            smallest = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            value = b & 0x07;
            smallest = 0x10000;
        } else {
            badOffset = i;
            return std::nullopt;
        }
        if (bytes.size() - i < length) {
            badOffset = i;
            return std::nullopt;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const std::uint8_t c = bytes[i + k];
            if ((c & 0xC0) != 0x80) {
                badOffset = i;
                return std::nullopt;
            }
            value = (value << 6) | (c & 0x3F);
        }
        if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            badOffset = i;
            return std::nullopt;
        }
        out.push_back(value);
        i += length;
    }
    return out;
}

std::string utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

}  // namespace typeloom
