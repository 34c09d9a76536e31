#include "model/transform_preview.h"

#include <algorithm>
#include <utility>

namespace typeloom {

PreviewSet previewSet(const Font& font, int currentIndex, std::u16string_view sample) {
    // The indices to copy: the current character first, then the sample's.
    std::vector<int> indices;
    auto add = [&](int index) {
        if (index >= 0 && index < font.count() && indices.size() < kPreviewCharacters &&
            std::find(indices.begin(), indices.end(), index) == indices.end() &&
            font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index))) != nullptr) {
            indices.push_back(index);
        }
    };
    add(currentIndex);
    for (char16_t u : sample) {
        const auto it = std::find(font.unicodeList.begin(), font.unicodeList.end(), u);
        if (it != font.unicodeList.end()) {
            add(static_cast<int>(it - font.unicodeList.begin()));
        }
    }

    PreviewSet set;
    Font& copy = set.font;
    copy.sourceFont = font.sourceFont;
    copy.hasSourceFont = font.hasSourceFont;
    copy.dataFormat = font.dataFormat;
    copy.fixedWidth = font.fixedWidth;
    copy.height = font.height;
    copy.ascent = font.ascent;
    copy.pointSize = font.pointSize;
    copy.faceName = font.faceName;
    copy.encoding = font.encoding;
    copy.bitsPerPixel = font.bitsPerPixel;
    copy.charSet = font.charSet;

    // The copy's lists keep the font's codes in ascending order, as every font's do.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> codes;  // (code, unicode)
    for (int index : indices) {
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(index));
        codes.emplace_back(static_cast<std::uint16_t>(font.codeAt(index)), u);
        set.unicodes.push_back(u);
        copy.glyphs.insert(u, *font.glyphs.find(u));
    }
    std::sort(codes.begin(), codes.end());
    for (const auto& [code, unicode] : codes) {
        copy.codeList.push_back(code);
        copy.unicodeList.push_back(unicode);
    }
    copy.updateMaxWidth();
    return set;
}

}  // namespace typeloom
