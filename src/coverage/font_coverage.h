#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace typeloom {
class Font;
}

namespace typeloom::coverage {

// The characters texts use that the font lacks, grouped by Unicode block in code order.
struct MissingBlock {
    std::string block;  // "Latin-1 Supplement"; "Beyond U+FFFF" for values a font cannot hold
    std::vector<char32_t> characters;
};

struct CoverageReport {
    std::size_t used = 0;  // distinct characters the texts use
    std::vector<MissingBlock> missing;
    std::size_t missingCount() const;
    // "  Latin-1 Supplement (1): ° U+00B0" lines, or nothing.
    std::string text() const;
};

// Which of the used characters (any order, repeats allowed) the font has by Unicode value.
CoverageReport coverageOf(const Font& font, const std::vector<char32_t>& used);

// Unicode ranges as the command line gives them: "0x20-0x7E,0xB0,65" (hexadecimal with 0x,
// else decimal). False on a malformed list.
bool parseRanges(const std::string& text, std::vector<std::pair<char32_t, char32_t>>& ranges);

// Keeps only the characters whose Unicode value is used, the space, the default character
// (the Windows header's, when the font has it) and the kept ranges; the others leave the
// character list, the character table and the glyphs. Returns how many characters stay.
int keepOnly(Font& font, const std::vector<char32_t>& used,
             const std::vector<std::pair<char32_t, char32_t>>& keepRanges = {});

}  // namespace typeloom::coverage
