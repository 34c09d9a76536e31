#include "charset/encodings.h"

#include <array>

namespace typeloom {

namespace {

constexpr std::array<std::string_view, kEncodingCount> kNames = {
    "Ascii+ISO8859", "Unicode", "Shift_JIS", "Big5", "GBK", "Hangul"};
constexpr std::array<std::string_view, kEncodingCount> kButtonLabels = {
    "ASCII + ISO8859", "Unicode", "Shift_JIS", "BIG_5", "GBK", "Hangul"};

}  // namespace

std::string_view encodingName(int encoding) {
    return isValidEncoding(encoding) ? kNames[static_cast<std::size_t>(encoding)]
                                     : std::string_view();
}

std::string_view encodingButtonLabel(int encoding) {
    return isValidEncoding(encoding) ? kButtonLabels[static_cast<std::size_t>(encoding)]
                                     : std::string_view();
}

int codePageForEncoding(int encoding) {
    switch (encoding) {
        case kEncodingShiftJis:
            return 932;
        case kEncodingBig5:
            return 950;
        case kEncodingGbk:
            return 936;
        case kEncodingHangul:
            return 949;
        default:
            return 1252;
    }
}

}  // namespace typeloom
