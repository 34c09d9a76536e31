#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace typeloom {

// Message boxes of the clipboard exchange (error icon), and the widening question of a paste
// (Yes/No/Cancel, question icon).
inline constexpr std::string_view kClipboardOpenError = "Windows clipboard can not be opened";
inline constexpr std::string_view kPasteError = "Error pasting bitmap from clipboard";
inline constexpr std::string_view kWidenQuestion =
    "The copied bitamp is wider than the current editing character.\r\rDo you want the current "
    "editing character to become wider?";

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A picture to paste: its size and the colour of one pixel. The GUI wraps the clipboard's
// image in one; ClipboardImage is one too. Only the pixels that land in the glyph are read,
// so an image of any size costs no more than the glyph.
class ImageSource {
  public:
    virtual ~ImageSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // (x, y) lies inside the image.
    virtual Rgb colorAt(int x, int y) const = 0;
};

// An indexed image as the clipboard receives it from a copy: rows top to bottom, each padded
// to a multiple of 4 bytes, pixels packed from the most significant bits of each byte, each
// pixel value its palette index.
//
// Example: a 1-bit image 3 pixels wide whose row is ink, background, ink is the row bytes
// A0 00 00 00 (1010 0000, then padding); a 4-bit row of the values 3, 1 is 31 00 00 00.
struct ClipboardImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 1;      // 1, 4 or 8
    std::vector<Rgb> palette;  // 2^bitsPerPixel entries
    std::vector<std::uint8_t> rows;

    std::size_t stride() const {
        return width <= 0 ? 0 : (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
    }
    // The palette index of (x, y); 0 outside the image, when the rows are short or the depth
    // is not one of 1, 2, 4 and 8.
    std::uint8_t indexAt(int x, int y) const;
    // The palette colour of (x, y); black when the index lies beyond the palette.
    Rgb colorAt(int x, int y) const;
};

// Reads a ClipboardImage as a picture to paste (copy and paste within the program).
class ClipboardImageSource : public ImageSource {
  public:
    explicit ClipboardImageSource(const ClipboardImage& image) : m_image(image) {}
    int width() const override { return m_image.width; }
    int height() const override { return m_image.height; }
    Rgb colorAt(int x, int y) const override { return m_image.colorAt(x, y); }

  private:
    const ClipboardImage& m_image;
};

// The image's bits per pixel for a font's bits per pixel: 1 for 1, 4 for 2 and 4, 8 for 8.
int imageBitsFor(int fontBitsPerPixel);

// The palette of a copied glyph. A 2-bit font gets 16 entries: white, (192,192,192),
// (128,128,128), then black. Otherwise 2^bits greys from white down to black, entry k being
// (n-1-k) x 255 / (n-1) for n entries.
std::vector<Rgb> clipboardPalette(int fontBitsPerPixel);

// The cells `area` of a glyph (width x rows, one value per byte) as an indexed image. The
// area must lie inside the glyph; values beyond the image's depth are cut to its low bits.
ClipboardImage glyphToImage(std::span<const std::uint8_t> pixels, int glyphWidth, int areaX,
                            int areaY, int areaWidth, int areaHeight, int fontBitsPerPixel);

// Pure white is background; any other colour is ink when its luminance
// (77 red + 150 green + 29 blue) / 256 is below 96.
std::uint8_t colorToPixel(Rgb color);

// The values of the top-left w x h pixels of an image (w, h not beyond the image), row-major.
std::vector<std::uint8_t> imageToPixels(const ImageSource& image, int w, int h);

}  // namespace typeloom
