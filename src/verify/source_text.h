#pragma once

// The C and assembler texts of the exports read as what matters to a decoder: their
// declared arrays (C) or labelled data blocks (assembler), each with the numbers and names
// it holds and where each one stands in the file. Comments and preprocessor lines are
// skipped.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace typeloom::verify::detail {

struct SourceItem {
    enum class Kind { Number, Name, Bad };
    Kind kind = Kind::Number;
    std::uint64_t value = 0;
    std::string text;        // names and bad tokens
    std::size_t offset = 0;  // byte offset in the file
    int directiveBits = 0;   // assembler: 8, 16 or 32 from db/dw/dd; 0 in C
};

struct SourceSection {
    std::string name;
    std::vector<std::string> typeWords;  // C: the words before the name ("const", "UCHAR")
    std::size_t offset = 0;
    std::vector<SourceItem> items;

    std::vector<const SourceItem*> numbers() const;
};

// C: every `... NAME[...] = { ... };` at file level, nested braces included.
std::vector<SourceSection> readCSections(std::span<const std::uint8_t> text);
// Assembler: every label line (a name in the first column) and the db/dw/dd lines after it.
std::vector<SourceSection> readAsmSections(std::span<const std::uint8_t> text);

// The rest of the line after the first occurrence of `key` (trailing blanks, '*' and CR
// removed); empty when the key does not occur.
std::string lineAfter(std::span<const std::uint8_t> text, const std::string& key);

}  // namespace typeloom::verify::detail
