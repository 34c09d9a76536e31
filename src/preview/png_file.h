#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace typeloom::preview {

struct PreviewImage;

// The picture as a PNG file (8-bit RGB, no interlace). Throws FileError(Io) when libpng fails.
std::vector<std::uint8_t> pngBytes(const PreviewImage& image);
// Writes the PNG atomically; throws FileError(Io) when the file cannot be written.
void writePng(const PreviewImage& image, const std::string& path);

}  // namespace typeloom::preview
