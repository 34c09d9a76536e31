#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/export_driver.h"

namespace typeloom {
class Font;
}

namespace typeloom::exporters {

// The Intel HEX image: every character of at most 16 pixels width in a 34-byte block at
// (start address & 0xFFFF) + 34 x its Unicode value, so a device finds a character by
// arithmetic alone. Block: the width W; for each column the byte of rows 8 to 15 (row 8 in
// the most significant bit); for each column the byte of rows 0 to 7; the XOR of those
// 1 + 2W bytes; zeros up to 34 bytes. Only the font's invert bit changes the bytes.

// Messages of the checks made before a HEX export is started (shown with the stop icon).
inline constexpr const char* kHexNeedsMonochrome =
    "To generate Hex File in this version\r\n\r\nFont must be \"Monochrome, 1-bpp\"\r\n";
inline constexpr const char* kHexNeedsHeight =
    "To generate Hex File in this version\r\n\r\nFont Height must be [9..16]\r\n";

// The texts of the width warning ("To generate Hex File"), asked when some characters are
// too wide.
inline constexpr const char* kHexWidthWarningCaption = "To generate Hex File";
inline constexpr const char* kHexWidthWarning =
    "Characters width must be no larger than 16 px.\nThe following characters will be not "
    "generated in the Hex File:";
inline constexpr const char* kHexWidthQuestion = "Continue to generate the Hex File?";

inline constexpr int kHexMaxWidth = 16;
inline constexpr int kHexBlockSize = 34;

// The message refusing a HEX export of the font (not monochrome, or a height outside 9 to
// 16), or an empty string when the font can be exported.
std::string hexExportProblem(const Font& font);

// The Unicode values of the characters wider than 16 pixels, in font order. A HEX export
// leaves them out when HexOptions::skipWide is set and fails otherwise, so the caller asks
// first when this list is not empty.
std::vector<std::uint16_t> hexWideCharacters(const Font& font);

// The list the width warning shows: "Character     Width   " and a blank line, then
// "  0x%04X       %d" (Unicode value, width) per wide character; lines end with CR LF, the
// last one without.
std::string hexWideCharacterList(const Font& font);

// The Intel HEX writer: refuses fonts hexExportProblem() names, takes the start
// address and the decision about wide characters from context.hex.
bool writeIntelHex(ExportContext& context);

}  // namespace typeloom::exporters
