#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace typeloom {

class Font;

// Several characters on the clipboard, in a private format registered as
// "TLM_MULTICOPY_FORMAT" (MIME type application/x-typeloom-multicopy). Little-endian:
//   0  u32  magic 0x6A5D
//   4  66   font name: 33 UTF-16 units, at most 32 characters, zero-filled
//   70 u32  bits per pixel      74 u32 encoding      78 u32 height
//   82 u32  number of records N
//   86 N records in ascending code order: u16 code, u16 glyph key (Unicode value),
//      u16 width, u16 pixel count B (= width x height), B bytes of pixels (1 = ink), rows
//      from the top.
inline constexpr const char* kMultiCopyFormatName = "TLM_MULTICOPY_FORMAT";
inline constexpr const char* kMultiCopyMimeType = "application/x-typeloom-multicopy";
inline constexpr std::uint32_t kMultiCopyMagic = 0x6A5D;
inline constexpr std::size_t kMultiCopyNameUnits = 32;

struct MultiCopyRecord {
    std::uint16_t code = 0;
    std::uint16_t key = 0;
    std::uint16_t width = 0;
    std::vector<std::uint8_t> pixels;  // width x height
};

struct MultiCopyData {
    std::u16string fontName;  // up to the first zero unit
    std::uint32_t bitsPerPixel = 1;
    std::uint32_t encoding = 0;
    std::uint32_t height = 0;
    std::vector<MultiCopyRecord> records;  // ascending codes, distinct keys

    // The record of a code, or nullptr.
    const MultiCopyRecord* find(std::uint16_t code) const;
};

// The clipboard block of the font's characters whose codes are given (codes the font lacks are
// ignored; the rest go in ascending order). A character of more than 65,535 pixels cannot be
// described by the 16-bit pixel count and is left out; its code is added to `leftOut`.
std::vector<std::uint8_t> buildMultiCopyData(const Font& font, std::span<const std::uint16_t> codes,
                                             std::vector<std::uint16_t>* leftOut = nullptr);

// Reads a clipboard block; throws FileError for a block that is cut short or malformed
// (wrong magic, height 0 or above 65,535, a pixel count that is not width x height, a width
// of 0, codes not ascending, a key used twice).
MultiCopyData parseMultiCopyData(std::span<const std::uint8_t> bytes);

// "Multi Copy" is offered for fonts of more than one character.
bool multiCopyEnabled(const Font& font);

// "Multi Paste" is offered when the font has a character and the clipboard holds a readable
// block of the font's bits per pixel that does not come from this very font: a block carrying
// this font's name counts as its own unless the encoding, the height or the number of
// characters differs.
bool multiPasteEnabled(const Font& font, std::span<const std::uint8_t> clipboard);

// The question asked (Yes/No) when the pasted height differs from the font's.
std::string pasteHeightQuestion(int pastedHeight, int fontHeight);

// Rows (of 16 codes) the copy grid shows: all 16 in encoding 0, else the rows holding at least
// one character of the font, ascending.
std::vector<int> multiCopyGridRows(const Font& font);
// The code at a position of a grid showing `rows`, or -1 beyond them.
int gridPositionCode(const std::vector<int>& rows, int position);

struct MultiPasteOutcome {
    int pasted = 0;
    // Selected codes that were not pasted: outside the font's code space, or with no key that
    // another character of the font does not already have.
    std::vector<std::uint16_t> skipped;
};

// Writes the selected codes of the block into the font (the caller asked the height question
// first). Each pasted character lands on its code: it replaces the glyph of a code the font
// already has (under that code's own key), and a new code is added under the key the block
// gives it (its own code in a Unicode font). Pasted rows are centred when the heights differ:
// font row r takes pasted row r + (H - h) / 2. The table entry of each code becomes mapped and
// enabled, the code joins the table's code order and the font's lists, and the fixed and
// maximum widths are recomputed.
MultiPasteOutcome pasteCharacters(Font& font, const MultiCopyData& data,
                                  std::span<const std::uint16_t> selectedCodes);

}  // namespace typeloom
