#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/export_driver.h"

namespace typeloom::exporters {

// The C headers that the generated files include, shipped with the program (include/typeloom/
// in the source tree, installed under include/typeloom and share/typeloom-studio/headers).
struct ShippedHeader {
    const char* name;       // "tlmtype.h", "tlmfont.h"
    std::string_view text;  // the file as installed
};

const std::vector<ShippedHeader>& shippedHeaders();

// The header a format's C file includes: "tlmtype.h" for the table-based C files, "tlmfont.h"
// for the General C file; nullptr for every other format (assembler, binary, HEX, the
// version 2.0 files, which use plain C types, and the Microchip file, whose types come from
// the graphics library that reads it).
const ShippedHeader* headerIncludedBy(ExportFormat format);

// The header's text as written beside an export made with the export options `pages`: a
// General C file written without the C99 braces gets a copy that declares that form
// (TLMFONT_NO_C99_BRACES defined at its top), so the pair compiles as it stands; every other
// copy is the shipped text.
std::string headerTextFor(const ShippedHeader& header, int pages);

// Writes the header of `format`'s C file into the folder of `exportPath`, atomically,
// replacing an earlier copy. Returns the path written, or an empty string when the format
// includes none of ours. Throws FileError.
std::string writeHeaderBeside(const std::string& exportPath, ExportFormat format, int pages);

}  // namespace typeloom::exporters
