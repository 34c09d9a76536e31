#pragma once

// Checks shared by the interchange harnesses: an imported font must keep the model's
// invariants, and no two of its codes may share one Unicode key.

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "charset/encodings.h"
#include "common/bulk_data.h"
#include "fuzz_checks.h"
#include "model/font.h"

namespace typeloom::fuzz {

[[noreturn]] inline void fault(const char* what) {
    std::fprintf(stderr, "interchange harness: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what) {
    if (!ok) {
        fault(what);
    }
}

// Uninstrumented: coverage is to come from the reader, not from these walks.
TYPELOOM_BULK_DATA inline void checkImportedFont(const Font& font) {
    check(font.count() > 0, "an accepted import has no character");
    check(font.unicodeList.size() == font.codeList.size(), "the two lists differ in length");
    for (std::size_t i = 1; i < font.codeList.size(); ++i) {
        check(font.codeList[i - 1] < font.codeList[i], "the code list is not strictly ascending");
    }
    if (font.encoding == kEncodingUnicode) {
        check(font.codeList == font.unicodeList, "a Unicode font's two lists differ");
    }
    std::vector<bool> seen(0x10000, false);
    for (std::uint16_t u : font.unicodeList) {
        check(!seen[u], "two codes share one Unicode key");
        seen[u] = true;
        const Glyph* g = font.glyphs.find(u);
        check(g != nullptr, "a listed character has no glyph");
        check(g->pixels.size() == std::size_t{g->width} * font.height,
              "a glyph does not hold width x height pixels");
        check(allZeroOrOne(g->pixels), "a pixel is neither 0 nor 1");
    }
    if (font.fixedWidth != 0) {
        for (std::uint16_t u : font.unicodeList) {
            check(font.glyphs.find(u)->width == font.fixedWidth,
                  "the fixed width contradicts the characters");
        }
    }
}

}  // namespace typeloom::fuzz
