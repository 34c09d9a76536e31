#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "verify/decoded_export.h"

namespace typeloom {
class Font;
}

namespace typeloom::verify {

struct CharacterDifference {
    int code = -1;
    std::size_t offset = 0;  // where the character's data starts in the export
    std::string what;
    // The project's picture and the export's, row by row side by side ('#' ink, '.' blank).
    std::vector<std::string> pictures;
};

struct VerifyReport {
    bool ok = false;
    std::string fileName;
    std::string layoutText;  // "table-c, Big Endian, Row based, Row preferred, Unpacked, 8 bits"
    std::size_t verified = 0;
    std::string failure;  // the file could not be decoded at all: why and where
    std::vector<CharacterDifference> differences;
    std::vector<std::string> assumed;

    // "Verified 3260 characters of Font12h.c (table-c, ...)" or the failure with the first
    // `shown` differing characters.
    std::string text(std::size_t shown = 5) const;
};

// Compares what was decoded with the project's characters: the same codes, widths and
// pixels. Layouts that fill gaps of the code range (Windows fonts) may hold codes the project
// lacks; HEX files hold no character wider than 16 pixels and key characters by Unicode value.
VerifyReport compareWithProject(const Font& project, const DecodedExport& decoded,
                                const std::string& fileName);

// Decodes the export at `path` (detecting its layout when none is given) and compares it.
VerifyReport verifyExport(const Font& project, const std::string& path,
                          std::optional<Layout> layout, DecodeOptions options);

}  // namespace typeloom::verify
