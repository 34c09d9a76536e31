#pragma once

#include <cstdint>
#include <string>

namespace typeloom {

// The description of a system font, field for field a LOGFONTW. It is what a font project
// keeps of the font its characters are rendered from (the font's `sourceFont`).
struct LogFont {
    std::int32_t height = 0;  // negative: em height in pixels; positive: cell height
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;  // UTF-8; at most 31 UTF-16 units, as the Windows record holds

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// Longest face name a LOGFONTW holds, in UTF-16 units (32 with the terminating zero).
inline constexpr std::size_t kLogFontFaceNameMax = 31;

// A name cut to the kLogFontFaceNameMax UTF-16 units a description holds.
std::string logFontFaceName(const std::string& name);

}  // namespace typeloom
