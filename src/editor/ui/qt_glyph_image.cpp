#include "editor/ui/qt_glyph_image.h"

#include <algorithm>
#include <cstring>

namespace typeloom::ui {

QImage toQImage(const ClipboardImage& image) {
    if (image.width <= 0 || image.height <= 0) {
        return {};
    }
    const std::size_t stride = image.stride();
    if (image.rows.size() < stride * static_cast<std::size_t>(image.height)) {
        return {};
    }
    QList<QRgb> colors;
    for (const Rgb& c : image.palette) {
        colors.append(qRgb(c.r, c.g, c.b));
    }
    if (image.bitsPerPixel == 1) {
        QImage out(image.width, image.height, QImage::Format_Mono);
        if (out.isNull()) {
            return {};
        }
        colors.resize(2, qRgb(0, 0, 0));
        out.setColorTable(colors);
        const auto rowBytes = std::min(stride, static_cast<std::size_t>(out.bytesPerLine()));
        for (int y = 0; y < image.height; ++y) {
            std::memcpy(out.scanLine(y), image.rows.data() + stride * y, rowBytes);
        }
        return out;
    }
    QImage out(image.width, image.height, QImage::Format_Indexed8);
    if (out.isNull()) {
        return {};
    }
    colors.resize(std::max<qsizetype>(colors.size(), 1), qRgb(0, 0, 0));
    out.setColorTable(colors);
    const int lastIndex = static_cast<int>(colors.size()) - 1;
    for (int y = 0; y < image.height; ++y) {
        uchar* line = out.scanLine(y);
        for (int x = 0; x < image.width; ++x) {
            line[x] = static_cast<uchar>(std::min<int>(image.indexAt(x, y), lastIndex));
        }
    }
    return out;
}

Rgb QImageSource::colorAt(int x, int y) const {
    const QRgb p = m_image.pixel(x, y);
    const int a = qAlpha(p);
    if (a == 255) {
        return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                static_cast<std::uint8_t>(qBlue(p))};
    }
    // Non-premultiplied components laid over white.
    auto over = [a](int c) { return static_cast<std::uint8_t>((c * a + 255 * (255 - a)) / 255); };
    return {over(qRed(p)), over(qGreen(p)), over(qBlue(p))};
}

std::array<QRgb, 256> pixelColorTable(int bitsPerPixel) {
    std::array<QRgb, 256> table{};
    if (bitsPerPixel != 2 && bitsPerPixel != 4 && bitsPerPixel != 8) {
        table.fill(qRgb(255, 255, 255));
        table[1] = qRgb(0, 0, 0);
        return table;
    }
    const int maxValue = (1 << bitsPerPixel) - 1;
    for (int v = 0; v < 256; ++v) {
        const int grey = (maxValue - std::min(v, maxValue)) * 255 / maxValue;
        table[static_cast<std::size_t>(v)] = qRgb(grey, grey, grey);
    }
    return table;
}

int swatchGrey(int index, int count) {
    if (count <= 1) {
        return 0;
    }
    return (count - 1 - index) * 255 / (count - 1);
}

}  // namespace typeloom::ui
