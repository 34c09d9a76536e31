#pragma once

// Helpers the decoders of this module share (and nothing else does).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/byte_io.h"
#include "verify/decoded_export.h"

namespace typeloom::verify::detail {

[[noreturn]] void fail(const std::string& message, std::size_t offset);

// The character of `width` x `height` from its units; problems of single units are named with
// the unit's index and the file offset of that unit (`unitOffsets`, one per unit, or empty to
// count `unitBytes` per unit from `offset`).
DecodedCharacter decodeCharacter(int code, int width, int height, const UnitLayout& layout,
                                 std::span<const std::uint32_t> units, std::size_t offset,
                                 std::size_t unitBytes,
                                 std::span<const std::size_t> unitOffsets = {});

// The pixels one decoded file may give in all. Each decoder takes every character's width x
// height from it before the character's pixels are made, so that a damaged header (a width or
// height of 65,535 for characters that hold no data) is refused at `offset` instead of asking
// for gigabytes. The budget is what the importers let a font hold (kMaxFontPixels), or what the
// file's bytes can describe when that is more: every export stores a pixel in a bit or more, so
// an export of any font, however large, stays within eight pixels a byte.
class PixelBudget {
  public:
    explicit PixelBudget(std::size_t fileBytes = 0) { grow(fileBytes); }
    // Adds what `bytes` more of the export can describe (a folder's files, one by one).
    void grow(std::size_t bytes);
    void take(std::int64_t width, std::int64_t height, std::size_t offset);

  private:
    std::uint64_t m_described = 0;
    std::uint64_t m_used = 0;
};

// `count` units of `bits` bits, each least significant byte first, read from `reader`.
std::vector<std::uint32_t> readUnits(ByteReader& reader, std::size_t count, int bits);

// The project's characters in order: codes and widths (for layouts that do not carry them).
struct ProjectShape {
    std::vector<int> codes;
    std::vector<int> widths;
    int height = 0;
};
// Throws DecodeError naming `what` when the options carry no project.
ProjectShape projectShape(const DecodeOptions& options, const char* what);

// Layout decoders, one per file.
DecodedExport decodeTableBinary(std::span<const std::uint8_t> bytes, const DecodeOptions& o);
DecodedExport decodeGeneralBinary(std::span<const std::uint8_t> bytes, const DecodeOptions& o);
DecodedExport decodeMicrochipImage(std::span<const std::uint8_t> bytes, const DecodeOptions& o,
                                   std::span<const std::size_t> byteOffsets = {});
DecodedExport decodeVersion2Data(std::span<const std::uint8_t> bytes, const DecodeOptions& o);
DecodedExport decodeIntelHex(std::span<const std::uint8_t> bytes, const DecodeOptions& o);
DecodedExport decodeFnt(std::span<const std::uint8_t> bytes, std::size_t base);
DecodedExport decodeFon(std::span<const std::uint8_t> bytes);
DecodedExport decodeBmpFolder(const std::string& folder, const DecodeOptions& o);
DecodedExport decodeTableText(std::span<const std::uint8_t> bytes, bool assembler,
                              const DecodeOptions& o);
DecodedExport decodeGeneralText(std::span<const std::uint8_t> bytes, const DecodeOptions& o);
DecodedExport decodeMicrochipText(std::span<const std::uint8_t> bytes, const DecodeOptions& o);
DecodedExport decodeVersion2Text(std::span<const std::uint8_t> bytes, bool assembler,
                                 const DecodeOptions& o);

}  // namespace typeloom::verify::detail
