#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

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

// "0x0041".
std::string hex4(int value);

}  // namespace typeloom::cli
