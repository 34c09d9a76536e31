#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/font_header.h"

namespace typeloom {

class Font;

inline constexpr const char* kFntEncodingMessage =
    "Windows Font Resource (*.fnt) file can ONLY be\r\nAscii+ISO8859 encoding ONLY. "
    "\r\n\r\nPlease change the Encoding to Ascii+ISO8859 by the \"Edit Characters Table...\" "
    "command first.";
inline constexpr const char* kFonEncodingMessage =
    "Windows Bitmap Font (*.fon) file can ONLY be \r\nAscii+ISO8859 encoding ONLY. "
    "\r\n\r\nPlease change the Encoding to Ascii+ISO8859 by the \"Edit Characters Table...\" "
    "command first.";
inline constexpr const char* kFntCancelledMessage =
    "Export to Windows Font Resource file (*.fnt)\r\n\r\nCancelled!";
inline constexpr const char* kFonCancelledMessage =
    "Export to Windows Bitmap Font (*.fon)\r\n\r\nCancelled!";
inline constexpr const char* kFntFilter = "Windows Font Resource (*.fnt)|*.fnt||";
inline constexpr const char* kFonFilter = "Windows Bitmap Font (*.fon)|*.fon||";
inline constexpr const char* kNotEnoughMemoryMessage = "Not enough memory available";
inline constexpr const char* kFontTooLargeMessage = "Font file too large to save";
inline constexpr const char* kTempFntFailedMessage = "Temp .fnt create failed when export FON";
// The copyright written when the font information gives none.
inline constexpr const char* kDefaultFntCopyright = "Copyright (C) 2026. All rights reserved.";

// The message refusing a Windows font export of a font whose encoding is not
// "Ascii+ISO8859" (stop icon), or nullptr when the font can be exported.
const char* windowsFontExportRefusal(const Font& font, bool fon);

// The file name the save dialog proposes: font name and height followed by "h", every blank
// and '-' replaced by '_' ("Tiny_Mono8h").
std::string suggestedWindowsFontName(const Font& font);

// The .fnt header values written for the font: the font's `fontHeader` with the face name,
// copyright, character range, default and break characters, metrics, widths and pitch
// completed from the font.
FontHeaderInfo finishedFntHeader(const Font& font);

// The .fnt image of an "Ascii+ISO8859" font: version 2.0, or 3.0 when the data outgrows
// 16-bit offsets. Codes missing between the first and last character are written as the
// default character with a frame. Throws FileError with kFontTooLargeMessage when an offset
// would not fit in 32 bits (or the font has no character or no rows), kNotEnoughMemoryMessage
// when memory runs out.
std::vector<std::uint8_t> fntBytes(const Font& font);

// The .fon image: an MZ + NE library holding one FONTDIR and one FONT resource (the .fnt
// image), with both header checksums.
std::vector<std::uint8_t> fonBytes(const Font& font);

struct FontWriteResult {
    bool ok = true;
    std::string message;  // the text to show on failure; empty when nothing is shown
    std::string detail;   // why, for the command line
};

// Write the files atomically; a failure leaves any earlier file at the path untouched.
FontWriteResult writeFnt(const Font& font, const std::string& path);
FontWriteResult writeFon(const Font& font, const std::string& path);

}  // namespace typeloom
