#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/log_font.h"
#include "model/system_fonts.h"

namespace typeloom {

class SettingsStore;

// The logic of the system font chooser ("Font"): which face and size it starts on, the sizes
// it lists, how a typed size is read, and the font description it returns.

// The sizes the Size list offers, in points (all within 4..244).
std::vector<int> chooserSizeList();

// A typed size in tenths of a point ("12" gives 120, "10.5" gives 105), held to 4..244 points;
// nothing when the text is not a size.
std::optional<int> parseChooserSize(std::string_view text);

// The size, in tenths of a point held to 4..244, that a description's height stands for at 96
// dots per inch (an em height when negative, a cell height when positive); 12 points for 0.
int chooserPointTenths(std::int32_t height);

// The face of `faces` the chooser starts on for a description: the face fontconfig resolves
// it to when that is listed, else the face of the same family with the nearest weight and the
// same slant, else the first face. -1 when `faces` is empty.
int chooserFaceIndex(const std::vector<SystemFace>& faces, const LogFont& font);

// The description the chooser returns: the face at the size chosen (tenths of a point; the
// height is the em height of the whole points, negative), with the effects and the script's
// character set.
LogFont chooserLogFont(const SystemFace& face, int pointTenths, bool underline, bool strikeOut,
                       std::uint8_t charSet);

// The family, style and size last chosen in the chooser, kept in the section "Settings" so that
// the next chooser opens at them.
inline constexpr const char* kChooserFamilyKey = "FontChooserFamily";
inline constexpr const char* kChooserStyleKey = "FontChooserStyle";
inline constexpr const char* kChooserSizeKey = "FontChooserSize";  // tenths of a point

struct ChooserChoice {
    std::string family;
    std::string style;
    int pointTenths = 120;
};

// The choice kept in the settings; nothing when no family is kept. A kept size outside
// 4..244 points is held to the nearest limit.
std::optional<ChooserChoice> lastChooserChoice(const SettingsStore& settings);
void saveChooserChoice(SettingsStore& settings, const ChooserChoice& choice);

}  // namespace typeloom
