#include "export/data_format.h"

namespace typeloom::exporters {

int unitBits(std::uint32_t word) {
    if ((word & kLength16) != 0) {
        return 16;
    }
    if ((word & kLength32) != 0) {
        return 32;
    }
    return 8;
}

std::uint32_t withUnitBits(std::uint32_t word, int bits) {
    std::uint32_t field = bits == 32 ? kLength32 : bits == 16 ? kLength16 : kLength8;
    return (word & ~kLengthMask) | field;
}

std::string describeDataFormat(std::uint32_t word) {
    std::string s = isBigEndian(word) ? "Big Endian, " : "Little Endian, ";
    s += (word & kScanRow) != 0 ? "Row based, " : "Column based, ";
    s += (word & kPreferRow) != 0 ? "Row preferred, " : "Column preferred, ";
    s += (word & kPacked) != 0 ? "Packed" : "Unpacked";
    return s;
}

std::uint32_t applyDataFormatRadio(std::uint32_t word, DataFormatRadio radio) {
    switch (radio) {
        case DataFormatRadio::ScanRow:
            return word | kScanRow;
        case DataFormatRadio::ScanColumn:
            return word & ~0xF00u;
        case DataFormatRadio::PreferRow:
            return word | kPreferRow;
        case DataFormatRadio::PreferColumn:
            return word & ~0xF0u;
        case DataFormatRadio::PackedYes:
            return word | kPacked;
        case DataFormatRadio::PackedNo:
            return word & ~0xFu;
        case DataFormatRadio::BigEndian:
            return word | kBigEndian;
        case DataFormatRadio::LittleEndian:
            return word & ~0xF000u;
        case DataFormatRadio::Bits8:
            return withUnitBits(word, 8);
        case DataFormatRadio::Bits16:
            return withUnitBits(word, 16);
        case DataFormatRadio::Bits32:
            return withUnitBits(word, 32);
    }
    return word;
}

}  // namespace typeloom::exporters
