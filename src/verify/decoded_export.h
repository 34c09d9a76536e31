#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "verify/unit_layout.h"

namespace typeloom {
class Font;
}

namespace typeloom::verify {

// The layouts an export can be decoded from, by their command-line names.
enum class Layout {
    TableC,    // table-c, studio-c
    TableAsm,  // table-asm, studio-asm
    TableBin,  // table-bin, studio-dat
    GeneralC,
    GeneralBin,
    MicrochipC,
    MicrochipBin,
    V2C,
    V2Asm,
    V2Dat,
    Hex,
    Fnt,
    Fon,
    BmpFolder,
};

// The layout of a command-line format name ("table-c", "studio-dat", "fnt", "bmp", ...).
std::optional<Layout> layoutOfName(const std::string& name);
const char* layoutName(Layout layout);
// True for the layouts whose units follow a data-format word.
bool usesDataWord(Layout layout);

// One character read back from an export.
struct DecodedCharacter {
    int code = -1;
    int width = 0;
    // width x height, 1 = ink, row by row; none when its data could not be read (a character
    // with a problem), which draws as blank.
    std::vector<std::uint8_t> pixels;
    std::size_t offset = 0;  // where its data starts in the file
    std::string problem;     // what is wrong with its data; empty when nothing
};

struct DecodedExport {
    Layout layout = Layout::TableC;
    int height = 0;
    std::optional<UnitLayout> units;  // the data layout used (layouts with a data word)
    std::vector<DecodedCharacter> characters;
    // What the file does not say and was taken from the project or the options.
    std::vector<std::string> assumed;
};

// A file that cannot be decoded at all: a damaged header, a table out of the file, another
// layout than named. `offset` is the byte offset where decoding stopped (npos: none).
class DecodeError : public std::runtime_error {
  public:
    DecodeError(const std::string& message, std::size_t offset)
        : std::runtime_error(message), m_offset(offset) {}
    std::size_t offset() const { return m_offset; }

  private:
    std::size_t m_offset;
};

// What the decoders get besides the file.
struct DecodeOptions {
    // The data-format word for the layouts whose file does not state it (all but the
    // table-based and General C texts, which state it in their header comment).
    std::uint32_t dataWord = 0x01121110;
    bool dataWordGiven = false;  // true: the word also overrides a header comment
    std::uint32_t hexStartAddress = 0;
    // The project, for what a layout does not carry (codes of a version 2.0 file, widths of a
    // bare data file, the height of binaries without a header). Never its pixels.
    const Font* project = nullptr;
};

// Guesses the layout of a file from its first bytes or text; nullopt when it cannot tell
// (a bare data file, for instance).
std::optional<Layout> detectLayout(const std::string& path);

// Decodes an export file (or, for BmpFolder, a folder). Throws DecodeError.
DecodedExport decodeExport(Layout layout, const std::string& path, const DecodeOptions& options);
// The same over bytes in memory (not for BmpFolder).
DecodedExport decodeExportBytes(Layout layout, const std::vector<std::uint8_t>& bytes,
                                const DecodeOptions& options);

}  // namespace typeloom::verify
