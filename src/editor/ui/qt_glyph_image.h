#pragma once

#include <QImage>
#include <QRgb>
#include <QString>
#include <array>
#include <string_view>

#include "editor/clipboard_image.h"

// Every conversion between the editor core's types and Qt's: images for the clipboard, the
// screen colours of pixel values, the core's message texts.

namespace typeloom::ui {

// The copied glyph as a QImage: 1-bit images as Format_Mono (most significant bit first, as the
// core packs them), deeper ones as Format_Indexed8, each pixel value its palette index. A null
// image for an empty area.
QImage toQImage(const ClipboardImage& image);

// A QImage read as a picture to paste. Transparent pixels count as laid over white, so the
// empty parts of an image with an alpha channel paste as background rather than ink.
class QImageSource : public ImageSource {
  public:
    explicit QImageSource(const QImage& image) : m_image(image) {}
    int width() const override { return m_image.width(); }
    int height() const override { return m_image.height(); }
    Rgb colorAt(int x, int y) const override;

  private:
    const QImage& m_image;
};

// The screen colour of each pixel value in a font of that many bits per pixel: a 1-bit font
// shows 1 black and everything else white; grey fonts show value v of maxValue as the grey
// (maxValue - v) x 255 / maxValue, rounded down (2 bits: 255, 170, 85, 0). Values above
// maxValue show as full ink.
std::array<QRgb, 256> pixelColorTable(int bitsPerPixel);

// The grey a colour swatch shows: swatch i of n is (n - 1 - i) x 255 / (n - 1), rounded down,
// white first and black last.
int swatchGrey(int index, int count);

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace typeloom::ui
