#pragma once

#include <cstdint>
#include <string_view>

namespace typeloom {

// The font's encoding numbers.
enum Encoding : int {
    kEncodingAnsi = 0,     // "Ascii+ISO8859": codes 0x00-0xFF in a Windows code page
    kEncodingUnicode = 1,  // "Unicode": a code is its own Unicode value
    kEncodingShiftJis = 2,
    kEncodingBig5 = 3,
    kEncodingGbk = 4,
    kEncodingHangul = 5,
};

inline constexpr int kEncodingCount = 6;

inline bool isValidEncoding(std::int64_t e) {
    return e >= 0 && e < kEncodingCount;
}
inline bool isDoubleByteEncoding(int e) {
    return e >= kEncodingShiftJis && e <= kEncodingHangul;
}

// The name written wherever the encoding appears as words (status bar, exported files):
// "Ascii+ISO8859", "Unicode", "Shift_JIS", "Big5", "GBK", "Hangul". Empty for other values.
std::string_view encodingName(int encoding);

// The label of the encoding's radio button in the characters table dialog.
std::string_view encodingButtonLabel(int encoding);

// Last code of the code space enumerated for the encoding: 0xFF for encoding 0, else 0xFFFF.
inline std::uint16_t codeSpaceLast(int encoding) {
    return encoding == kEncodingAnsi ? 0xFF : 0xFFFF;
}

// Code page used to convert codes of an encoding built from code lists (new fonts):
// 2 -> 932, 3 -> 950, 4 -> 936, 5 -> 949, any other -> 1252.
int codePageForEncoding(int encoding);

}  // namespace typeloom
