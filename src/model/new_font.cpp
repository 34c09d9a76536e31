#include "model/new_font.h"

#include <algorithm>

#include "charset/code_pages.h"
#include "charset/encodings.h"
#include "common/text.h"
#include "model/font.h"

namespace typeloom {

namespace {

std::string rangeMessage(std::uint32_t low, std::uint32_t high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

bool isBlank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

bool parseFieldNumber(const std::string& text, std::uint32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    std::size_t digits = 0;
    std::uint64_t v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        v = v * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (v > 0xFFFFFFFFu) {
            return false;
        }
        ++i;
        ++digits;
    }
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    if (digits == 0 || i != text.size()) {
        return false;
    }
    value = static_cast<std::uint32_t>(v);
    return true;
}

NewFontOutcome acceptNewFontDialog(const NewFontFields& fields) {
    NewFontOutcome out;
    if (utf8ToUtf16(fields.name).size() > kNewFontNameMax) {
        out.message =
            "Please enter no more than " + std::to_string(kNewFontNameMax) + " characters.";
        out.focus = NewFontField::Name;
        return out;
    }
    struct Check {
        const std::string& text;
        std::uint32_t low;
        std::uint32_t high;
        NewFontField field;
        std::uint16_t* target;
    };
    const Check checks[] = {
        {fields.first, 0, 0xFFFE, NewFontField::First, &out.params.first},
        {fields.last, 1, 0xFFFF, NewFontField::Last, &out.params.last},
        {fields.width, 1, 512, NewFontField::Width, &out.params.width},
        {fields.height, 4, 512, NewFontField::Height, &out.params.height},
    };
    for (const Check& c : checks) {
        std::uint32_t v = 0;
        if (!parseFieldNumber(c.text, v) || v < c.low || v > c.high) {
            out.message = rangeMessage(c.low, c.high);
            out.focus = c.field;
            return out;
        }
        *c.target = static_cast<std::uint16_t>(v);
    }
    if (out.params.first >= out.params.last) {
        out.message = kLastBeforeFirstMessage;
        out.focus = NewFontField::Last;
        return out;
    }
    out.params.name = isBlank(fields.name) ? "Untitled" : fields.name;
    out.accepted = true;
    return out;
}

void Font::createFromScratch(std::uint16_t first, std::uint16_t last, std::uint16_t width,
                             std::uint16_t glyphHeight, const std::string& name) {
    clearGlyphs();
    fromSystemFont = false;
    fontHeader.textsOfThisFont = false;
    // A font made from no installed font keeps its own name in its description, the one name
    // a project file stores.
    LogFont font;
    font.height = 10;
    font.faceName = logFontFaceName(name);
    setSourceFont(font);
    faceName = name;
    height = glyphHeight;
    fixedWidth = width;
    ascent = static_cast<std::int16_t>(glyphHeight < 2 ? 0 : glyphHeight - 2);

    const std::size_t n = last >= first ? std::size_t{last} - first + 1 : 0;
    codeList.reserve(n);
    unicodeList.reserve(n);
    const int codePage = codePageForEncoding(static_cast<int>(encoding));
    for (std::size_t k = 0; k < n; ++k) {
        auto value = static_cast<std::uint16_t>(first + k);
        codeList.push_back(value);
        unicodeList.push_back(encoding == kEncodingUnicode ? value
                                                           : codeToUnicode(codePage, value));
    }
    for (std::uint16_t u : unicodeList) {
        Glyph g;
        g.init(u, width, height);
        glyphs.insert(u, std::move(g));
    }
    charTable.buildFromCodeLists(codeList, unicodeList, static_cast<int>(encoding));
    maxWidth = std::max(maxWidth, width);
}

}  // namespace typeloom
