#pragma once

#include <cstdint>

namespace typeloom {

// Windows character-set number (lfCharSet / tmCharSet) -> code page. 77 (Macintosh) gives 2,
// 255 (OEM) gives 1 and unknown sets give 0, the platform's Macintosh, OEM and ANSI pages;
// codeToUnicode resolves those to Mac Roman, code page 437 and windows-1252.
int charsetToCodePage(std::uint8_t charset);

// Converts a character code of a code page to its Unicode value. A code up to 0xFF is one
// byte; a larger code is two bytes with the lead byte in the high byte (Shift_JIS 0x82A0 is
// the bytes 82 A0). The first UTF-16 unit of the decoded text is returned; code 0 gives 0
// and so does an unknown code page.
//
// Single-byte pages decode bytes they leave undefined the way Windows does: bytes
// 0x80-0x9F to the C1 control of the same value, other bytes to the private-use value
// U+F700 + byte, so that no two bytes of a page share a Unicode value. Double-byte pages
// give U+FFFD for byte sequences they do not define.
//
// Conversions go through ICU and are cached per code page; the function is thread-safe.
std::uint16_t codeToUnicode(int codePage, std::uint16_t code);

// True for the code pages codeToUnicode knows.
bool isKnownCodePage(int codePage);

}  // namespace typeloom
