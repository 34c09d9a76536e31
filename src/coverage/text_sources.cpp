#include "coverage/text_sources.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "common/byte_io.h"
#include "common/text.h"

namespace typeloom::coverage {

namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() &&
           std::equal(tail.rbegin(), tail.rend(), s.rbegin(), [](char t, char c) {
               return t == std::tolower(static_cast<unsigned char>(c));
           });
}

[[noreturn]] void fail(const std::string& name, std::size_t offset, const std::string& why) {
    throw TextError(name + ": " + why + " at byte offset " + std::to_string(offset));
}

// Walks decoded text, keeping the byte offset of each code point for messages.
struct Cursor {
    const std::u32string& text;
    const std::vector<std::size_t>& offsets;
    const std::string& name;
    std::size_t i = 0;

    bool atEnd() const { return i >= text.size(); }
    char32_t peek(std::size_t ahead = 0) const {
        return i + ahead < text.size() ? text[i + ahead] : 0;
    }
    std::size_t offset() const { return i < offsets.size() ? offsets[i] : offsets.back(); }
    [[noreturn]] void fail(const std::string& why) const { coverage::fail(name, offset(), why); }
};

int hexDigit(char32_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<int>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<int>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<int>(c - 'A' + 10);
    }
    return -1;
}

char32_t readHex(Cursor& c, int digits, bool exact) {
    char32_t v = 0;
    int n = 0;
    while (n < digits && hexDigit(c.peek()) >= 0) {
        v = v * 16 + static_cast<char32_t>(hexDigit(c.peek()));
        ++c.i;
        ++n;
    }
    if (n == 0 || (exact && n != digits)) {
        c.fail("a \\x, \\u or \\U escape without its hexadecimal digits");
    }
    return v;
}

void keep(std::vector<char32_t>& out, char32_t c) {
    if (c >= 0x20 && c != 0x7F) {
        out.push_back(c);
    }
}

// A C string or character literal after its opening quote, up to the closing one.
void cLiteral(Cursor& c, char32_t quote, std::vector<char32_t>& out) {
    while (true) {
        if (c.atEnd() || c.peek() == '\n') {
            c.fail("a string that does not end on its line");
        }
        const char32_t ch = c.peek();
        ++c.i;
        if (ch == quote) {
            return;
        }
        if (ch != '\\') {
            keep(out, ch);
            continue;
        }
        const char32_t e = c.peek();
        ++c.i;
        switch (e) {
            case 'n':
            case 't':
            case 'r':
            case 'a':
            case 'b':
            case 'f':
            case 'v':
            case '\n':
                break;
            case 'x':
                keep(out, readHex(c, 8, false));
                break;
            case 'u':
                keep(out, readHex(c, 4, true));
                break;
            case 'U':
                keep(out, readHex(c, 8, true));
                break;
            default:
                if (e >= '0' && e <= '7') {
                    char32_t v = e - '0';
                    for (int k = 0; k < 2 && c.peek() >= '0' && c.peek() <= '7'; ++k) {
                        v = v * 8 + (c.peek() - '0');
                        ++c.i;
                    }
                    keep(out, v);
                } else {
                    keep(out, e);  // \" \' \\ \? and the rest stand for themselves
                }
        }
    }
}

void cSource(Cursor& c, std::vector<char32_t>& out) {
    while (!c.atEnd()) {
        const char32_t ch = c.peek();
        if (ch == '/' && c.peek(1) == '/') {
            while (!c.atEnd() && c.peek() != '\n') {
                ++c.i;
            }
        } else if (ch == '/' && c.peek(1) == '*') {
            c.i += 2;
            while (!c.atEnd() && !(c.peek() == '*' && c.peek(1) == '/')) {
                ++c.i;
            }
            c.i += 2;
        } else if (ch == 'R' && c.peek(1) == '"') {
            // A raw string: R"delimiter( ... )delimiter"
            c.i += 2;
            std::u32string delimiter;
            while (!c.atEnd() && c.peek() != '(') {
                delimiter += c.peek();
                ++c.i;
            }
            ++c.i;
            const std::u32string end = U")" + delimiter + U"\"";
            while (!c.atEnd() && c.text.compare(c.i, end.size(), end) != 0) {
                keep(out, c.peek());
                ++c.i;
            }
            if (c.atEnd()) {
                c.fail("a raw string that does not end");
            }
            c.i += end.size();
        } else if (ch == '"' || ch == '\'') {
            // A quote right after a digit separates digits (1'000), not a character literal.
            const bool digitSeparator = ch == '\'' && c.i > 0 &&
                                        std::isxdigit(static_cast<int>(c.text[c.i - 1] & 0x7F)) &&
                                        c.text[c.i - 1] < 0x80 && hexDigit(c.peek(1)) >= 0;
            ++c.i;
            if (!digitSeparator) {
                cLiteral(c, ch, out);
            }
        } else {
            ++c.i;
        }
    }
}

void gettext(Cursor& c, std::vector<char32_t>& out) {
    bool inMsgstr = false;
    while (!c.atEnd()) {
        // One line at a time.
        std::size_t end = c.i;
        while (end < c.text.size() && c.text[end] != '\n') {
            ++end;
        }
        std::size_t k = c.i;
        while (k < end && (c.text[k] == ' ' || c.text[k] == '\t')) {
            ++k;
        }
        const std::u32string_view line(c.text.data() + k, end - k);
        if (line.rfind(U"msgstr", 0) == 0) {
            inMsgstr = true;
        } else if (!line.empty() && line[0] != '"') {
            inMsgstr = false;  // msgid, msgctxt, a comment or a blank line
        } else if (line.empty()) {
            inMsgstr = false;
        }
        if (inMsgstr) {
            c.i = k;
            while (c.i < end && c.peek() != '"') {
                ++c.i;
            }
            if (c.i < end) {
                ++c.i;
                cLiteral(c, '"', out);
            }
        }
        c.i = end + 1;
    }
}

void json(Cursor& c, std::vector<char32_t>& out) {
    while (!c.atEnd()) {
        if (c.peek() != '"') {
            ++c.i;
            continue;
        }
        ++c.i;
        std::vector<char32_t> value;
        while (true) {
            if (c.atEnd()) {
                c.fail("a string that does not end");
            }
            const char32_t ch = c.peek();
            ++c.i;
            if (ch == '"') {
                break;
            }
            if (ch != '\\') {
                value.push_back(ch);
                continue;
            }
            const char32_t e = c.peek();
            ++c.i;
            if (e == 'u') {
                char32_t v = readHex(c, 4, true);
                // A surrogate pair stands for one character beyond U+FFFF.
                if (v >= 0xD800 && v <= 0xDBFF && c.peek() == '\\' && c.peek(1) == 'u') {
                    c.i += 2;
                    const char32_t low = readHex(c, 4, true);
                    v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
                }
                value.push_back(v);
            } else if (e == '"' || e == '\\' || e == '/') {
                value.push_back(e);
            }  // \b \f \n \r \t are control characters
        }
        // A string followed by ':' is a key.
        std::size_t k = c.i;
        while (k < c.text.size() &&
               (c.text[k] == ' ' || c.text[k] == '\t' || c.text[k] == '\r' || c.text[k] == '\n')) {
            ++k;
        }
        if (k < c.text.size() && c.text[k] == ':') {
            continue;
        }
        for (char32_t v : value) {
            keep(out, v);
        }
    }
}

}  // namespace

TextForm textFormOf(const std::string& path) {
    for (const char* ext : {".c", ".h", ".cc", ".cpp", ".cxx", ".hpp", ".hh", ".inc"}) {
        if (endsWith(path, ext)) {
            return TextForm::CSource;
        }
    }
    if (endsWith(path, ".po") || endsWith(path, ".pot")) {
        return TextForm::Gettext;
    }
    if (endsWith(path, ".json")) {
        return TextForm::Json;
    }
    return TextForm::Plain;
}

std::vector<char32_t> charactersOf(std::span<const std::uint8_t> bytes, TextForm form,
                                   const std::string& name) {
    std::size_t bad = 0;
    const std::optional<std::u32string> text = decodeUtf8Strict(bytes, bad);
    if (!text) {
        fail(name, bad, "not UTF-8 text");
    }
    // The byte offset of every code point, for messages.
    std::vector<std::size_t> offsets;
    offsets.reserve(text->size() + 1);
    std::size_t at =
        bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    for (char32_t ch : *text) {
        offsets.push_back(at);
        at += ch < 0x80 ? 1 : ch < 0x800 ? 2 : ch < 0x10000 ? 3 : 4;
    }
    offsets.push_back(at);
    std::vector<char32_t> out;
    Cursor c{*text, offsets, name};
    switch (form) {
        case TextForm::Plain:
            for (char32_t ch : *text) {
                keep(out, ch);
            }
            break;
        case TextForm::CSource:
            cSource(c, out);
            break;
        case TextForm::Gettext:
            gettext(c, out);
            break;
        case TextForm::Json:
            json(c, out);
            break;
    }
    return out;
}

std::vector<char32_t> charactersOfFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWholeFile(path, std::uint64_t{64} << 20);
    } catch (const FileError& e) {
        throw TextError(e.what());
    }
    return charactersOf(bytes, textFormOf(path), path);
}

}  // namespace typeloom::coverage
