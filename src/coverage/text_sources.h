#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace typeloom::coverage {

// How the characters of a file are found: all of a plain text; the string and character
// literals of C or C++ source (escapes, \u and \U included; comments passed over); the msgstr
// strings of a gettext catalogue; the string values (not the keys) of JSON.
enum class TextForm { Plain, CSource, Gettext, Json };

// The form of a path by its extension: .c .h .cc .cpp .cxx .hpp .hh .inc → C source,
// .po .pot → gettext, .json → JSON, anything else plain text.
TextForm textFormOf(const std::string& path);

// A file that is not UTF-8 (or a literal that is broken): the file, the byte offset, why.
class TextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The code points the text uses, in order of appearance, control characters (below U+0020,
// U+007F) left out. Throws TextError naming `name` and the byte offset.
std::vector<char32_t> charactersOf(std::span<const std::uint8_t> bytes, TextForm form,
                                   const std::string& name);

// Reads a file (at most 64 MiB) and returns its characters; throws TextError.
std::vector<char32_t> charactersOfFile(const std::string& path);

}  // namespace typeloom::coverage
