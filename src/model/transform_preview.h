#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/font.h"

namespace typeloom {

// A few characters of a font copied into a font of their own, so that a font-wide change can
// be run on the copy to show what it would do before it is done to the font.
struct PreviewSet {
    Font font;                            // the copies, with the metrics of the font
    std::vector<std::uint16_t> unicodes;  // the characters in the order they are shown
};

// Most characters a preview shows.
inline constexpr std::size_t kPreviewCharacters = 5;

// The character at `currentIndex` (when the font lists it), then the characters of `sample`
// the font lists, each once, at most kPreviewCharacters in all; their glyphs copied into a
// font that carries the height, ascent, widths, depth, encoding and source font of `font`.
PreviewSet previewSet(const Font& font, int currentIndex, std::u16string_view sample);

}  // namespace typeloom
