#include "interchange/bdf_writer.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "charset/encodings.h"
#include "common/atomic_file.h"
#include "common/file_error.h"
#include "model/font.h"

namespace typeloom {

namespace {

// A BDF string value in quotes. An embedded quote becomes an apostrophe (readers differ on
// whether a doubled quote stands for one) and control characters become spaces, so that a
// name can never break the line structure.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += '\'';
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A field of an X logical font name: the characters that separate or match in such names
// ('-', '*', '?', ',', '"') and control characters become spaces.
std::string nameField(std::string_view text) {
    std::string out;
    for (char c : text) {
        const bool plain = static_cast<unsigned char>(c) >= 0x20 && c != 0x7F && c != '-' &&
                           c != '*' && c != '?' && c != ',' && c != '"';
        out += plain ? c : ' ';
    }
    return out;
}

const char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

BdfCharset bdfCharsetOf(const Font& font) {
    if (font.encoding == kEncodingUnicode) {
        return {"ISO10646", "1"};
    }
    int codePage = font.charTable.committed.codePage;
    if (codePage == 0) {
        codePage = codePageForEncoding(static_cast<int>(font.encoding));
    }
    return {"microsoft", "cp" + std::to_string(codePage)};
}

int bdfDefaultCode(const Font& font) {
    for (int code : {int{font.fontHeader.defaultChar}, int{'?'}, int{' '}}) {
        if (font.indexOfCode(static_cast<std::uint16_t>(code)) >= 0) {
            return code;
        }
    }
    return font.count() > 0 ? font.codeAt(0) : 0;
}

std::string bdfText(const Font& font) {
    const int height = font.height;
    const int ascent = std::clamp(int{font.ascent}, 0, height);
    const int descent = height - ascent;
    int maxWidth = 0;
    long long widthSum = 0;
    bool fixed = true;
    int firstWidth = -1;
    for (int i = 0; i < font.count(); ++i) {
        std::uint16_t w = 0;
        font.widthOf(static_cast<std::uint16_t>(font.unicodeAt(i)), w);
        maxWidth = std::max(maxWidth, int{w});
        widthSum += w;
        if (firstWidth < 0) {
            firstWidth = w;
        }
        fixed = fixed && w == firstWidth;
    }
    const int averageWidth =
        font.count() > 0 ? static_cast<int>((widthSum * 10 + font.count() / 2) / font.count()) : 0;
    const int pointSize10 = (height * 720 + kScreenDpi / 2) / kScreenDpi;
    const BdfCharset charset = bdfCharsetOf(font);
    const std::string family = font.faceName.empty() ? std::string("Untitled") : font.faceName;
    const char* spacing = fixed ? "C" : "P";

    std::string out;
    out.reserve(static_cast<std::size_t>(font.count()) *
                    (static_cast<std::size_t>(height) * (maxWidth / 4 + 2) + 80) +
                1024);
    auto line = [&out](std::string_view text) {
        out += text;
        out += '\n';
    };
    auto number = [](long long v) { return std::to_string(v); };

    line("STARTFONT 2.1");
    line("FONT -Typeloom-" + nameField(family) + "-Medium-R-Normal--" + number(height) + "-" +
         number(pointSize10) + "-96-96-" + spacing + "-" + number(averageWidth) + "-" +
         charset.registry + "-" + charset.encoding);
    line("SIZE " + number((pointSize10 + 5) / 10) + " 96 96");
    line("FONTBOUNDINGBOX " + number(maxWidth) + " " + number(height) + " 0 " + number(-descent));
    std::string copyright = font.fontHeader.headerCopyright;
    std::vector<std::string> properties = {
        "FOUNDRY \"Typeloom\"",
        "FAMILY_NAME " + quoted(family),
        "WEIGHT_NAME \"Medium\"",
        "SLANT \"R\"",
        "SETWIDTH_NAME \"Normal\"",
        "ADD_STYLE_NAME \"\"",
        "PIXEL_SIZE " + number(height),
        "POINT_SIZE " + number(pointSize10),
        "RESOLUTION_X 96",
        "RESOLUTION_Y 96",
        std::string("SPACING \"") + spacing + "\"",
        "AVERAGE_WIDTH " + number(averageWidth),
        "CHARSET_REGISTRY " + quoted(charset.registry),
        "CHARSET_ENCODING " + quoted(charset.encoding),
        "FONT_ASCENT " + number(ascent),
        "FONT_DESCENT " + number(descent),
        "DEFAULT_CHAR " + number(bdfDefaultCode(font)),
    };
    if (!copyright.empty()) {
        properties.push_back("COPYRIGHT " + quoted(copyright));
    }
    line("STARTPROPERTIES " + number(static_cast<long long>(properties.size())));
    for (const std::string& p : properties) {
        line(p);
    }
    line("ENDPROPERTIES");
    line("CHARS " + number(font.count()));

    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < font.count(); ++i) {
        const int code = font.codeAt(i);
        const auto unicode = static_cast<std::uint16_t>(font.unicodeAt(i));
        const Glyph* glyph = font.glyphs.find(unicode);
        const std::uint16_t width = glyph != nullptr ? glyph->width : 0;
        pixels = glyph != nullptr ? glyph->pixels : std::vector<std::uint8_t>{};
        // Characters are named after their code in four hexadecimal digits ("uni0041" in a
        // Unicode font, "code0041" in a code page one), which keeps the names unique.
        std::string charName = (font.encoding == kEncodingUnicode ? "uni" : "code");
        for (int shift = 12; shift >= 0; shift -= 4) {
            charName += kHexDigits[(code >> shift) & 0xF];
        }
        line("STARTCHAR " + charName);
        line("ENCODING " + number(code));
        // SWIDTH in thousandths of the point size: the advance at 96 dpi.
        const long long swidth =
            height > 0 ? (static_cast<long long>(width) * 1000 + height / 2) / height : 0;
        line("SWIDTH " + number(swidth) + " 0");
        line("DWIDTH " + number(width) + " 0");
        if (width == 0) {
            line("BBX 0 0 0 0");
            line("BITMAP");
            line("ENDCHAR");
            continue;
        }
        line("BBX " + number(width) + " " + number(height) + " 0 " + number(-descent));
        line("BITMAP");
        const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
        std::string row(rowBytes * 2, '0');
        for (int y = 0; y < height; ++y) {
            for (std::size_t b = 0; b < rowBytes; ++b) {
                unsigned v = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const std::size_t x = b * 8 + static_cast<std::size_t>(bit);
                    const std::size_t at = static_cast<std::size_t>(y) * width + x;
                    if (x < width && at < pixels.size() && pixels[at] != 0) {
                        v |= 0x80u >> bit;
                    }
                }
                row[b * 2] = kHexDigits[v >> 4];
                row[b * 2 + 1] = kHexDigits[v & 0xF];
            }
            line(row);
        }
        line("ENDCHAR");
    }
    line("ENDFONT");
    return out;
}

void writeBdf(const Font& font, const std::string& path) {
    if (font.count() == 0 || font.height == 0) {
        throw FileError(FileError::Kind::BadFormat,
                        "the font has no characters or no rows to write as BDF");
    }
    const std::string text = bdfText(font);
    writeFileAtomically(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace typeloom
