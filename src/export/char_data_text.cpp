#include "export/char_data_text.h"

#include <vector>

#include "common/text.h"
#include "export/bitmap_encoder.h"
#include "export/data_format.h"
#include "export/export_driver.h"
#include "export/unit_text.h"
#include "model/font.h"

namespace typeloom::exporters {

namespace {

const char* dataType(int bits, bool asBytes) {
    if (asBytes || bits == 8) {
        return "unsigned char";
    }
    return bits == 16 ? "unsigned short" : "unsigned long";
}

}  // namespace

CharacterData characterData(const Font& font, int index, std::uint32_t panelWord, int pagesOption,
                            const EditedGlyph* edited) {
    CharacterData data;
    if (index < 0 || index >= font.count()) {
        return data;
    }
    const auto unicode = static_cast<std::uint16_t>(font.unicodeAt(index));
    const int code = font.codeAt(index);
    const Glyph* glyph = font.glyphs.find(unicode);
    const int height = font.height;
    int width = glyph != nullptr ? glyph->width : 0;
    const std::uint8_t* pixels = glyph != nullptr ? glyph->pixels.data() : nullptr;
    if (glyph != nullptr &&
        glyph->pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        pixels = nullptr;  // a glyph of another height cannot be encoded at this one
    }
    if (edited != nullptr && edited->width >= 0 && glyph != nullptr &&
        edited->pixels.size() ==
            static_cast<std::size_t>(edited->width) * static_cast<std::size_t>(height)) {
        width = edited->width;
        pixels = edited->pixels.data();
    }

    // The units as every export makes them: the font's own word.
    const std::uint32_t word = font.dataFormat;
    const int bits = exporters::unitBits(word);
    if (pixels != nullptr) {
        BitmapEncoder::encodePixels(pixels, width, height, word, bits, isBigEndian(word),
                                    isInverted(word), data.units);
        data.places = BitmapEncoder::placePixels(width, height, word, bits, isBigEndian(word));
    }
    data.unitBits = bits;
    data.width = width;
    data.height = height;
    const std::vector<std::uint32_t>& units = data.units;
    const auto unitCount = static_cast<int>(units.size());
    const bool asBytes = (pagesOption & kPageUcharData) != 0;
    const bool assembler = (panelWord & kPanelC) == 0;
    const bool detail = (panelWord & kPanelDetail) != 0;

    std::string& text = data.text;
    if (detail) {
        const std::string character = characterText(unicode, ' ');
        const int size = unitCount * bits / 8;
        if (assembler) {
            text += "; character = '" + character + "'  \r\n";
            text += formatText("Data%04X \r\n", code);
            text += "; ----------------------------------------\r\n";
            text += formatText(" ; hexcode: %04X\r\n", code);
            text += formatText(" ; width x height: %d x %d\r\n", width, height);
            text += formatText(" ; size: %d bytes\r\n", size);
            text += "; ----------------------------------------\r\n";
        } else {
            text += "/* character = '" + character + "' */\r\n";
            text += formatText("%s Data%04X[ ]= {\r\n", dataType(bits, asBytes), code);
            text += "/* ----------------------------------------\r\n";
            text += formatText("   hexcode: %04X\r\n", code);
            text += formatText("   width x height: %d x %d\r\n", width, height);
            text += formatText("   size: %d bytes\r\n", size);
            text += " ---------------------------------------- */\r\n";
        }
    }

    data.unitSpans.reserve(units.size());
    auto addUnit = [&](std::uint32_t unit) {
        const std::string unitText =
            assembler ? unitAsAsm(unit, bits, asBytes) : unitAsC(unit, bits, asBytes);
        // The span holds the number itself, not the blank that pads an assembler unit.
        const std::size_t lead = unitText.find_first_not_of(' ');
        const std::size_t skip = lead == std::string::npos ? 0 : lead;
        data.unitSpans.push_back({text.size() + skip, unitText.size() - skip});
        text += unitText;
    };
    auto lineStart = [&] {
        text += "    ";
        if (assembler) {
            text += asmDirective(bits, asBytes);
        }
    };
    if ((word & kTraversalMask) == 0x110) {
        // One line per pixel row.
        std::size_t perRow = static_cast<std::size_t>((width + bits - 1) / bits);
        if (units.size() != perRow * static_cast<std::size_t>(height)) {
            perRow = 0;
        }
        // A character without units has no rows to show.
        for (int r = 0; perRow != 0 && r < height; ++r) {
            lineStart();
            for (std::size_t k = 0; k < perRow; ++k) {
                const std::size_t i = static_cast<std::size_t>(r) * perRow + k;
                if (assembler) {
                    if (k > 0) {
                        text += ",  ";
                    }
                    addUnit(units[i]);
                } else {
                    addUnit(units[i]);
                    text += i + 1 == units.size() ? "  " : ", ";
                }
            }
            text += "\r\n";
        }
    } else {
        // The units run on, 64 bits of them per line.
        const std::size_t perLine = static_cast<std::size_t>(64 / bits);
        for (std::size_t i = 0; i < units.size(); ++i) {
            if (i % perLine == 0) {
                lineStart();
            } else if (assembler) {
                text += ", ";
            }
            addUnit(units[i]);
            if (!assembler && i + 1 != units.size()) {
                text += ", ";
            }
            if (i % perLine == perLine - 1 || i + 1 == units.size()) {
                text += "\r\n";
            }
        }
    }
    if (detail && !assembler) {
        text += "};";
    }
    return data;
}

std::string characterDataText(const Font& font, int index, std::uint32_t panelWord, int pagesOption,
                              std::span<const std::uint8_t> editedPixels) {
    const Glyph* glyph = index >= 0 && index < font.count()
                             ? font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index)))
                             : nullptr;
    const EditedGlyph edited{glyph != nullptr ? glyph->width : 0, editedPixels};
    return characterData(font, index, panelWord, pagesOption, &edited).text;
}

std::string characterDataFileContents(std::string_view panelText) {
    AnsiTextSink sink;
    for (std::size_t i = 0; i < panelText.size();) {
        const std::size_t end = panelText.find("\r\n", i);
        if (end == std::string_view::npos) {
            sink << panelText.substr(i);
            break;
        }
        sink.line(panelText.substr(i, end - i));
        i = end + 2;
    }
    return sink.take();
}

}  // namespace typeloom::exporters
