#pragma once

#include <cstdint>
#include <string>

#include "model/font.h"
#include "model/glyph.h"

namespace typeloom {

// Font-wide transformations of the Font menu and the glyph operations they are made of.
//
// Glyph operations count a glyph's rows as its pixel count divided by its width (none for a
// glyph of width 0), so a glyph that holds another number of rows than the font is still
// handled within its own pixels. None of them reads or writes outside `pixels`.
//
// Font operations change the glyphs of the listed characters (each distinct Unicode value once,
// even when the lists name it twice) unless said otherwise, and either change the whole font or
// nothing: every check is made before the first glyph is touched.

// --- Glyph operations

// remove: keeps rows top .. rows - bottom - 1 (no row is left when top + bottom reaches the row
// count); otherwise adds `top` blank rows above and `bottom` below.
void changeGlyphRows(Glyph& glyph, bool remove, std::uint16_t top, std::uint16_t bottom);

// remove: keeps columns left .. width - right - 1 of every row and lowers the width by
// left + right (to 0 when they reach the width); otherwise puts `left` blank columns before and
// `right` after every row and raises the width by left + right (up to 65,535 columns: a request
// beyond that leaves the glyph unchanged).
void changeGlyphColumns(Glyph& glyph, bool remove, std::uint16_t left, std::uint16_t right);

// The first and last column that hold ink; both are the width for a glyph without ink.
struct InkColumns {
    std::uint16_t first = 0;
    std::uint16_t last = 0;
};
InkColumns inkColumns(const Glyph& glyph);

// Keeps only the columns from the first to the last ink column. A glyph without ink (a space)
// keeps its width.
void trimBlankColumns(Glyph& glyph);

// With margins L (blank columns on the left) and R (on the right) that differ by 2 or more,
// moves the ink floor(|L - R| / 2) columns towards the wider margin, within the same width.
void centerHorizontally(Glyph& glyph);

// Swaps column x with column width - 1 - x in every row.
void mirrorHorizontal(Glyph& glyph);

// Swaps row y with row rows - 1 - y, over the first `rows` rows (the font's height); a glyph
// holding fewer rows is mirrored over the rows it holds.
void mirrorVertical(Glyph& glyph, std::uint16_t rows);

// Every pixel v becomes m - v, m being fullInkValue(bitsPerPixel); a value above m counts as
// full ink and becomes 0. With an unknown depth (m = 0) the glyph is left unchanged.
void invert(Glyph& glyph, std::uint32_t bitsPerPixel);

// Scales the glyph to newWidth x newHeight, each direction on its own. Enlarging replicates:
// destination pixel d shows source pixel floor(d x source / destination). Shrinking lets ink
// win: source pixel s is merged into destination pixel floor(s x destination / source), and a
// destination pixel is ink when any pixel merged into it is. A size of 0 gives an empty glyph.
void scaleTo(Glyph& glyph, std::uint16_t newHeight, std::uint16_t newWidth);

// Brings a glyph to `rows` rows by cutting rows at the bottom or adding blank rows there.
void fitToRows(Glyph& glyph, std::uint16_t rows);

// --- Font operations

// Clips (remove) or adds `top` and `bottom` rows on every glyph of the font, listed or not, so
// that every glyph keeps the font's height, and changes the height by top + bottom. Refused
// (false, nothing changed) when no row would be left or the height would pass 65,535.
bool changeRows(Font& font, bool remove, std::uint16_t top, std::uint16_t bottom);

// Clips (remove) or adds `left` and `right` columns on every listed glyph and changes a fixed
// width by left + right; maxWidth follows. Refused (false, nothing changed) when a listed glyph
// would be left without a column or would pass 65,535 columns.
bool changeColumns(Font& font, bool remove, std::uint16_t left, std::uint16_t right);

inline constexpr const char* kResizeZeroHeightMessage =
    "Failed to resize the font.\r\nThe new font height is zero";
inline constexpr const char* kResizeTooLargeMessage =
    "Failed to resize the font.\r\nThe new font is too large";
// Most pixels a resized font may hold over all its glyphs (a 65,536-character font at
// 128 x 128); beyond it a resize is refused rather than exhausting memory.
inline constexpr std::uint64_t kResizeMaxPixels = std::uint64_t{1} << 30;

struct ResizeResult {
    bool ok = false;
    std::string message;  // the failure shown with an error icon
};

// Scales every glyph of the font (listed or not). By percentage the new height is
// truncate(height x vertical x 0.01) and each new width truncate(width x horizontal x 0.01);
// by pixels they are `vertical` and `horizontal`. A width of 0 becomes 1. Height, ascent, fixed
// width, maxWidth and the source font's height follow. Refused, with nothing changed, when the
// new height is 0, a size passes 65,535 or the font would pass kResizeMaxPixels.
ResizeResult resize(Font& font, std::uint32_t vertical, std::uint32_t horizontal,
                    bool byPercentage);

// Pads every listed glyph narrower than the widest listed one with blank columns on the right
// and makes that width the fixed width.
void makeFixedWidth(Font& font);

// Turns a fixed-width font into a variable-width one; the glyphs are not touched.
void makeVariableWidth(Font& font);

// Removes the blank side columns of every listed glyph of a variable-width font (a fixed-width
// font is left alone); maxWidth follows.
void trimAll(Font& font);

// Centres every listed glyph of a fixed-width font horizontally (a variable-width font is left
// alone).
void centerAll(Font& font);

// Mirror and invert every listed glyph.
void mirrorHorizontal(Font& font);
void mirrorVertical(Font& font);
void invert(Font& font);

}  // namespace typeloom
