#include "editor/clipboard_image.h"

namespace typeloom {

std::uint8_t ClipboardImage::indexAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height ||
        (bitsPerPixel != 1 && bitsPerPixel != 2 && bitsPerPixel != 4 && bitsPerPixel != 8)) {
        return 0;
    }
    const std::size_t bitOffset = static_cast<std::size_t>(x) * bitsPerPixel;
    const std::size_t at = static_cast<std::size_t>(y) * stride() + bitOffset / 8;
    if (at >= rows.size()) {
        return 0;
    }
    const int shift = 8 - bitsPerPixel - static_cast<int>(bitOffset % 8);
    return static_cast<std::uint8_t>((rows[at] >> shift) & ((1 << bitsPerPixel) - 1));
}

Rgb ClipboardImage::colorAt(int x, int y) const {
    const std::uint8_t i = indexAt(x, y);
    return i < palette.size() ? palette[i] : Rgb{};
}

int imageBitsFor(int fontBitsPerPixel) {
    switch (fontBitsPerPixel) {
        case 2:
        case 4:
            return 4;
        case 8:
            return 8;
        default:
            return 1;
    }
}

std::vector<Rgb> clipboardPalette(int fontBitsPerPixel) {
    const int n = 1 << imageBitsFor(fontBitsPerPixel);
    std::vector<Rgb> palette(static_cast<std::size_t>(n));
    if (fontBitsPerPixel == 2) {
        // Four greys of the 2-bit font, the unused rest black.
        palette[0] = {255, 255, 255};
        palette[1] = {192, 192, 192};
        palette[2] = {128, 128, 128};
        return palette;
    }
    for (int k = 0; k < n; ++k) {
        const auto grey = static_cast<std::uint8_t>((n - 1 - k) * 255 / (n - 1));
        palette[static_cast<std::size_t>(k)] = {grey, grey, grey};
    }
    return palette;
}

ClipboardImage glyphToImage(std::span<const std::uint8_t> pixels, int glyphWidth, int areaX,
                            int areaY, int areaWidth, int areaHeight, int fontBitsPerPixel) {
    ClipboardImage image;
    image.bitsPerPixel = imageBitsFor(fontBitsPerPixel);
    image.palette = clipboardPalette(fontBitsPerPixel);
    if (areaWidth <= 0 || areaHeight <= 0 || glyphWidth <= 0) {
        return image;
    }
    image.width = areaWidth;
    image.height = areaHeight;
    const int bits = image.bitsPerPixel;
    const std::size_t stride = image.stride();
    image.rows.assign(stride * static_cast<std::size_t>(areaHeight), 0);
    const int mask = (1 << bits) - 1;
    for (int y = 0; y < areaHeight; ++y) {
        for (int x = 0; x < areaWidth; ++x) {
            if (areaX + x < 0 || areaX + x >= glyphWidth || areaY + y < 0) {
                continue;
            }
            const std::size_t from = static_cast<std::size_t>(areaX + x) +
                                     static_cast<std::size_t>(areaY + y) * glyphWidth;
            if (from >= pixels.size()) {
                continue;
            }
            const int bitOffset = x * bits;
            const int shift = 8 - bits - bitOffset % 8;
            image.rows[static_cast<std::size_t>(y) * stride +
                       static_cast<std::size_t>(bitOffset / 8)] |=
                static_cast<std::uint8_t>((pixels[from] & mask) << shift);
        }
    }
    return image;
}

std::uint8_t colorToPixel(Rgb color) {
    if (color == Rgb{255, 255, 255}) {
        return 0;
    }
    const int luminance = (77 * color.r + 150 * color.g + 29 * color.b) / 256;
    return luminance < 96 ? 1 : 0;
}

std::vector<std::uint8_t> imageToPixels(const ImageSource& image, int w, int h) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    std::vector<std::uint8_t> values(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            values[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * w] =
                colorToPixel(image.colorAt(x, y));
        }
    }
    return values;
}

}  // namespace typeloom
