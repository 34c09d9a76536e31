#pragma once

#include <cstdint>
#include <string>

namespace typeloom {

// Windows font (.fnt) header values kept beside the font for the font-information dialog,
// the version 2.0 project layout and the Windows font export. Each field has the width of the
// .fnt version 2 header field of the same role.
struct FontHeaderInfo {
    std::uint16_t version = 0;
    std::uint32_t size = 0;
    char copyright[60] = {};
    std::uint16_t type = 0;
    std::uint16_t points = 0;
    std::uint16_t vertRes = 0;
    std::uint16_t horizRes = 0;
    std::uint16_t ascent = 0;
    std::uint16_t internalLeading = 0;
    std::uint16_t externalLeading = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint16_t weight = 0;
    std::uint8_t charSet = 0;
    std::uint16_t pixWidth = 0;
    std::uint16_t pixHeight = 0;
    std::uint8_t pitchAndFamily = 0;
    std::uint16_t avgWidth = 0;
    std::uint16_t maxWidth = 0;
    std::uint8_t firstChar = 0;
    std::uint8_t lastChar = 0;
    std::uint8_t defaultChar = 0;
    std::uint8_t breakChar = 0;
    std::uint16_t widthBytes = 0;
    std::uint32_t device = 0;
    std::uint32_t face = 0;
    std::uint32_t bitsPointer = 0;
    std::uint32_t bitsOffset = 0;

    // The two strings the font-information dialog edits (UTF-8).
    std::string headerFaceName;
    std::string headerCopyright;
    // Set when the two strings are the font's own (read from the Windows font it was imported
    // from): the dialog then opens with them. The values carried over from an earlier font
    // are not this font's, so a new font, a BDF import and a project load clear it.
    bool textsOfThisFont = false;

    friend bool operator==(const FontHeaderInfo&, const FontHeaderInfo&) = default;
};

}  // namespace typeloom
