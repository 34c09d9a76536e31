#pragma once

// Shared by the writer tests: small fonts with hand-known pixels, a settings store with the
// export options, and a way to compile generated C with the host compiler and run it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/settings_store.h"
#include "model/font_info.h"

namespace typeloom::exporters::test {

// Fixed width 5, height 7, encoding 0, codes 0x41..0x43 ('A' 'B' 'C'). Pixel (x, y) of
// character i is set when (x + y + i) % 3 == 0.
CFontInfo fixedFont();
// Variable width, height 4, encoding 0, codes 0x20, 0x21, 0x30, 0x31 (a gap after 0x21);
// widths 2, 1, 9, 0 (the last character is empty). Pixel (x, y) of character i is set when
// (x * 3 + y + i) % 4 == 0.
CFontInfo variableFont();
// Unicode font, fixed width 3, height 5, characters U+0041, U+00E9, U+4E00.
CFontInfo unicodeFont();

// The settings the writers read ("Pages option") with the given value.
MemorySettingsStore settingsWithPages(int pages);

// The pixel of a glyph of the font (0 when the character has no glyph).
int pixelOf(const CFontInfo& font, std::uint16_t unicode, int x, int y);

struct CompileResult {
    bool compiled = false;
    std::string diagnostics;  // compiler output when it failed
    int exitStatus = -1;
    std::string output;  // what the program printed
};

// Writes the files into a temporary folder, compiles every *.c file among them with the host
// C compiler (cc -std=c99 -Wall -Werror and `flags`), runs the program and returns what it
// printed.
CompileResult compileAndRun(const std::vector<std::pair<std::string, std::string>>& files,
                            const std::string& flags = "");

}  // namespace typeloom::exporters::test
