#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "interchange/imported_font.h"

namespace typeloom {

// Largest font file an import reads into memory.
inline constexpr std::uint64_t kMaxImportFileBytes = std::uint64_t{256} << 20;

// Reads a Glyph Bitmap Distribution Format file: the header (metrics, covered codes) in a first
// walk over its lines, then the widths of the characters and their bitmaps in a second one,
// without keeping a table of the lines. Throws FileError(Io) when the file cannot be read and
// FileError(BadFormat) naming the line when its contents are refused.
ImportedFont readBdf(const std::string& path);
ImportedFont parseBdf(std::span<const std::uint8_t> bytes);

}  // namespace typeloom
