#include "export/format_picture.h"

#include <array>

#include "export/data_format.h"
#include "export/unit_text.h"

namespace typeloom::exporters {

namespace {

// The sample letter: 9 columns (one full band of 8 and a column over) by 11 rows (one band of
// 8 and three rows over), so that bands, remainders and padding all show at 8 bits, and whole
// padded lines at 16 and 32. Not symmetric either way, so a mirrored order shows.
constexpr std::array<const char*, 11> kSample = {
    ".........",  //
    "#######..",  //
    "##....##.",  //
    "##....##.",  //
    "##....##.",  //
    "#######..",  //
    "##..##...",  //
    "##...##..",  //
    "##....##.",  //
    "##.....##",  //
    ".........",  //
};

}  // namespace

FormatPicture formatPicture(std::uint32_t word) {
    FormatPicture picture;
    picture.height = static_cast<int>(kSample.size());
    picture.width = static_cast<int>(std::char_traits<char>::length(kSample[0]));
    for (const char* row : kSample) {
        for (int c = 0; c < picture.width; ++c) {
            picture.ink.push_back(row[c] == '#' ? 1 : 0);
        }
    }
    picture.unitBits = unitBits(word);
    picture.bigEndian = isBigEndian(word);
    picture.inverted = isInverted(word);
    BitmapEncoder::encodePixels(picture.ink.data(), picture.width, picture.height, word,
                                picture.unitBits, picture.bigEndian, picture.inverted,
                                picture.units);
    picture.places = BitmapEncoder::placePixels(picture.width, picture.height, word,
                                                picture.unitBits, picture.bigEndian);
    picture.firstPixel.assign(picture.units.size(), -1);
    const int firstBit = picture.bigEndian ? picture.unitBits - 1 : 0;
    for (std::size_t i = 0; i < picture.places.size(); ++i) {
        const BitPlace place = picture.places[i];
        if (place.bit == firstBit && place.unit >= 0 &&
            static_cast<std::size_t>(place.unit) < picture.firstPixel.size()) {
            picture.firstPixel[static_cast<std::size_t>(place.unit)] = static_cast<int>(i);
        }
    }
    picture.caption = describeDataFormat(word) + formatText(", %d-bit units", picture.unitBits);
    if (picture.inverted) {
        picture.caption += ", inverted";
    }
    const std::uint32_t length = word & kLengthMask;
    if (length == kLength4) {
        picture.note = "4-bit units are written as 8-bit units.";
    } else if (length != kLength8 && length != kLength16 && length != kLength32) {
        picture.note = formatText(
            "The unit length field holds 0x%05X: the data is written in "
            "%d-bit units.",
            length, picture.unitBits);
    }
    return picture;
}

std::string pictureUnitText(std::uint32_t unit, int bits) {
    return formatText(bits == 32 ? "0x%08X" : bits == 16 ? "0x%04X" : "0x%02X", unit);
}

}  // namespace typeloom::exporters
