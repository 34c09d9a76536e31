#include "preview/text_preview.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>

#include "common/text.h"
#include "export/bitmap_encoder.h"
#include "model/font.h"
#include "verify/decoded_export.h"
#include "verify/unit_layout.h"

namespace typeloom::preview {

struct EncodedPictures::State {
    const Font& font;
    verify::UnitLayout layout;
    std::vector<int> byUnicode;  // index into pictures, -1 not made yet, -2 absent
    // A deque: the pictures handed out stay where they are while more are made.
    std::deque<CharacterPicture> pictures;
    std::map<std::uint16_t, CharacterPicture> overrides;
    std::vector<std::uint32_t> units;
};

EncodedPictures::EncodedPictures(const Font& font)
    : m_state(std::make_unique<State>(State{font,
                                            verify::UnitLayout::fromWord(font.dataFormat),
                                            std::vector<int>(0x10000, -1),
                                            {},
                                            {},
                                            {}})) {
    // Which Unicode values the font lists; the rest are absent.
    std::vector<std::uint8_t> listed(0x10000, 0);
    for (int i = 0; i < font.count(); ++i) {
        listed[static_cast<std::size_t>(font.unicodeAt(i))] = 1;
    }
    for (std::size_t u = 0; u < listed.size(); ++u) {
        if (listed[u] == 0) {
            m_state->byUnicode[u] = -2;
        }
    }
}

EncodedPictures::~EncodedPictures() = default;

int EncodedPictures::height() const {
    return m_state->font.height;
}

void EncodedPictures::overridePixels(std::uint16_t unicode, int width,
                                     std::vector<std::uint8_t> pixels) {
    m_state->overrides[unicode] = CharacterPicture{width, std::move(pixels)};
    if (m_state->byUnicode[unicode] >= 0) {
        m_state->byUnicode[unicode] = -1;
    }
}

const CharacterPicture* EncodedPictures::find(char32_t unicode) {
    if (unicode > 0xFFFF) {
        return nullptr;
    }
    State& s = *m_state;
    int& slot = s.byUnicode[unicode];
    if (slot == -2) {
        return nullptr;
    }
    if (slot >= 0) {
        return &s.pictures[static_cast<std::size_t>(slot)];
    }
    const auto u = static_cast<std::uint16_t>(unicode);
    CharacterPicture source;
    if (auto o = s.overrides.find(u); o != s.overrides.end()) {
        source = o->second;
    } else if (const Glyph* g = s.font.glyphs.find(u)) {
        source = {g->width, g->pixels};
    } else {
        slot = -2;
        return nullptr;
    }
    const int height = s.font.height;
    source.pixels.resize(static_cast<std::size_t>(source.width) * height, 0);
    // Encode as the export does, then read the units back as the firmware does.
    s.units.clear();
    exporters::BitmapEncoder::encodePixels(source.pixels.data(), source.width, height,
                                           s.layout.word() & 0x111, s.layout.unitBits,
                                           s.layout.bigEndian, s.layout.inverted, s.units);
    std::vector<verify::UnitProblem> problems;
    CharacterPicture picture{
        source.width, verify::decodeUnits(s.layout, source.width, height, s.units, problems)};
    s.pictures.push_back(std::move(picture));
    slot = static_cast<int>(s.pictures.size() - 1);
    return &s.pictures.back();
}

ExportPictures::ExportPictures(const Font& project, const verify::DecodedExport& decoded)
    : m_byUnicode(0x10000, -1), m_height(decoded.height) {
    // Codes of the export are the project's codes (Unicode values in HEX files).
    std::vector<int> unicodeOfCode(0x10000, -1);
    for (int i = 0; i < project.count(); ++i) {
        unicodeOfCode[static_cast<std::size_t>(project.codeAt(i))] = project.unicodeAt(i);
    }
    for (const verify::DecodedCharacter& c : decoded.characters) {
        if (c.code < 0 || c.code > 0xFFFF) {
            continue;
        }
        const int unicode = decoded.layout == verify::Layout::Hex
                                ? c.code
                                : unicodeOfCode[static_cast<std::size_t>(c.code)];
        if (unicode < 0 || m_byUnicode[static_cast<std::size_t>(unicode)] >= 0) {
            continue;
        }
        m_byUnicode[static_cast<std::size_t>(unicode)] = static_cast<int>(m_pictures.size());
        m_pictures.push_back({c.width, c.pixels});
    }
}

const CharacterPicture* ExportPictures::find(char32_t unicode) {
    if (unicode > 0xFFFF || m_byUnicode[unicode] < 0) {
        return nullptr;
    }
    return &m_pictures[static_cast<std::size_t>(m_byUnicode[unicode])];
}

namespace {

struct Placed {
    char32_t value;
    const CharacterPicture* picture;  // nullptr: missing
    int width;
    int column;
};

}  // namespace

PreviewImage renderText(std::u32string_view text, PictureSource& pictures,
                        const PreviewOptions& options) {
    PreviewImage image;
    const int height = std::max(pictures.height(), 1);
    const int scale = std::clamp(options.scale, 1, 16);
    const int missingWidth = std::max(3, height / 2);
    // Lines of placed characters.
    std::vector<std::vector<Placed>> lines(1);
    std::vector<int> lineWidths(1, 0);
    int lineNumber = 1;
    int column = 0;
    for (char32_t c : text) {
        if (c == U'\r') {
            continue;
        }
        if (c == U'\n') {
            lines.emplace_back();
            lineWidths.push_back(0);
            ++lineNumber;
            column = 0;
            continue;
        }
        ++column;
        const CharacterPicture* picture = pictures.find(c);
        const int width = picture != nullptr ? picture->width : missingWidth;
        if (picture == nullptr) {
            image.missing.push_back({c, lineNumber, column});
        }
        std::vector<Placed>* line = &lines.back();
        if (options.wrapWidth > 0 && lineWidths.back() + width > options.wrapWidth &&
            !line->empty()) {
            // Break after the last space of the line, else before this character.
            std::vector<Placed> carried;
            auto space = std::find_if(line->rbegin(), line->rend(),
                                      [](const Placed& p) { return p.value == U' '; });
            if (space != line->rend() && space != line->rbegin()) {
                const auto at = space.base();  // just after the space
                carried.assign(at, line->end());
                line->erase(at - 1, line->end());
            } else if (space == line->rbegin()) {
                line->pop_back();  // a trailing space ends the line
            }
            int w = 0;
            for (const Placed& p : *line) {
                w += p.width;
            }
            lineWidths.back() = w;
            lines.push_back(std::move(carried));
            w = 0;
            for (const Placed& p : lines.back()) {
                w += p.width;
            }
            lineWidths.push_back(w);
            line = &lines.back();
        }
        line->push_back({c, picture, width, column});
        lineWidths.back() += width;
    }
    int widest = options.wrapWidth > 0 ? options.wrapWidth : 0;
    for (int w : lineWidths) {
        widest = std::max(widest, w);
    }
    widest = std::max(widest, 1);
    image.width = widest * scale;
    image.height = static_cast<int>(lines.size()) * height * scale;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, kPaperColour);
    auto fill = [&](int x, int y, std::uint32_t colour) {
        if (x < 0 || x >= widest) {
            return;
        }
        for (int dy = 0; dy < scale; ++dy) {
            const std::size_t row = static_cast<std::size_t>(y * scale + dy) * image.width;
            for (int dx = 0; dx < scale; ++dx) {
                image.pixels[row + static_cast<std::size_t>(x * scale + dx)] = colour;
            }
        }
    };
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const int top = static_cast<int>(l) * height;
        int x0 = 0;
        for (const Placed& p : lines[l]) {
            if (p.picture != nullptr) {
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < p.width; ++x) {
                        const std::size_t at = static_cast<std::size_t>(y) * p.width + x;
                        if (at < p.picture->pixels.size() && p.picture->pixels[at] != 0) {
                            fill(x0 + x, top + y, kInkColour);
                        }
                    }
                }
            } else {
                for (int x = 0; x < p.width; ++x) {
                    fill(x0 + x, top, kMissingColour);
                    fill(x0 + x, top + height - 1, kMissingColour);
                }
                for (int y = 0; y < height; ++y) {
                    fill(x0, top + y, kMissingColour);
                    fill(x0 + p.width - 1, top + y, kMissingColour);
                }
            }
            x0 += p.width;
        }
    }
    return image;
}

std::string describeMissing(const MissingCharacter& missing) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(missing.value));
    std::string out = code;
    if (missing.value >= 0x20 && missing.value != 0x7F) {
        out += " '" + utf8Of(missing.value) + "'";
    }
    return out + " (line " + std::to_string(missing.line) + ", column " +
           std::to_string(missing.column) + ")";
}

}  // namespace typeloom::preview
