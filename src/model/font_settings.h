#pragma once

namespace typeloom {

class Font;
class SettingsStore;

inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kDataFormatKey = "BmpDataFlag";
inline constexpr const char* kFontGenKey = "FontGen";

// At start: the data-format word from "BmpDataFlag" (default 0x01121110) and the encoding from
// "FontGen" (value >> 8; above 5, or absent, gives Unicode); 1 bit per pixel always.
void loadFontSettings(Font& font, const SettingsStore& settings);

// At exit: "BmpDataFlag" only when the data-format word differs from the stored value, and
// "FontGen" as (encoding << 8) | bits per pixel.
void saveFontSettings(const Font& font, SettingsStore& settings);

}  // namespace typeloom
