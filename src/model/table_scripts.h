#pragma once

#include <vector>

#include "model/system_fonts.h"

namespace typeloom {

class Font;

// The scripts the characters table dialog's Script list offers for a font: those of the
// installed face its source font resolves to ("Courier New", fixed pitch, when it has none),
// each name once, in list order. Empty when no face is installed.
std::vector<FontScript> tableScriptsOf(const Font& font);

// The index of the script to select in that list: the one of the font's character set, else
// the first. -1 for an empty list.
int selectedTableScript(const std::vector<FontScript>& scripts, std::uint8_t charSet);

}  // namespace typeloom
