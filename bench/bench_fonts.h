#pragma once

#include <string>

#include "model/font.h"

namespace typeloom::bench {

// Every value of the 16-bit range, as the largest font the editor holds.
inline constexpr std::uint16_t kFirst = 0;
inline constexpr std::uint16_t kLast = 0xFFFF;
inline constexpr std::size_t kFullCount = 0x10000;

// A Unicode font of blank 16 x 16 characters for every 16-bit value, made once and shared by
// the benchmarks that only read it.
const Font& fullUnicodeFont();

// A fresh copy of such a font, for benchmarks that change it.
Font makeFullUnicodeFont();

// A path for a temporary project file (.tlf) in TYPELOOM_BENCH_DIR or the system's temporary
// folder; the file is removed when the program ends.
const std::string& scratchProjectPath();

// Unifont as a BDF file (about 57,000 glyphs, 9 MB), made once from Debian's xfonts-unifont PCF
// with pcf2bdf beside the scratch project; empty when either is missing.
const std::string& unifontBdf();

}  // namespace typeloom::bench
