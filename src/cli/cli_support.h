#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace typeloom {
class Font;
class ProgressSink;
}  // namespace typeloom

namespace typeloom::cli {

// A progress sink drawing "N of M" on `err` when it is the terminal's standard error;
// otherwise one that shows nothing.
std::unique_ptr<ProgressSink> progressFor(std::ostream& err);

// Loads a font file for a command; prints the reason and returns false on failure.
// `layoutVersion` receives the project layout read, when not null.
bool loadFontFile(const std::string& path, Font& font, std::ostream& err,
                  std::uint16_t* layoutVersion = nullptr);

// A 32-bit number option (decimal or 0x...); UsageError naming `option` otherwise.
std::uint32_t parseWord(const std::string& text, const char* option);
// The data-format word with the layout options of a command applied: --data-format, then
// --preset, then --bit-order, --scan, --prefer, --packed/--unpacked, --invert/--no-invert,
// --unit.
std::uint32_t applyLayoutOptions(const Arguments& a, std::uint32_t word);

// "0x0041".
std::string hex4(int value);

}  // namespace typeloom::cli

namespace typeloom::cli {

// An inclusive range of codes.
struct CodeRange {
    std::uint16_t first = 0;
    std::uint16_t last = 0;
};

// Reads "0x20-0x7E,0xA0-0xFF" (decimal or 0x-prefixed numbers; a single code is a range of
// one; "all" is 0..maxCode). Throws UsageError for a malformed list, a range whose first code
// is above its last, or a code above maxCode (`option` names the option in the message).
std::vector<CodeRange> parseCodeRanges(const std::string& text, std::uint16_t maxCode,
                                       const std::string& option);

// Ranges of consecutive codes written compactly: "0x0020-0x007E, 0x00A0".
std::string formatCodeRanges(const std::vector<std::uint16_t>& ascendingCodes);

}  // namespace typeloom::cli
