#pragma once

#include <string>
#include <vector>

namespace typeloom {

class Font;

// The texts the import shows (stop icon), in this order.
inline constexpr const char* kImportFailedMessage = "Failed to loaded this file.";
inline constexpr const char* kFntImportFailedMessage = "Failed to loaded this .fnt file.";
inline constexpr const char* kImportOpenFailedMessage = "Failed to open this .fnt file";
inline constexpr const char* kImportFilter =
    "ALL Font Resources (*.fnt;*.fon;*.bdf)|*.fnt;*.fon;*.bdf|Windows Font Resource "
    "(*.fnt)|*.fnt|Windows Bitmap Font (*.fon)|*.fon|Bitmap Distribution Format (*.bdf)|*.bdf||";

struct ImportOutcome {
    enum class Status {
        Imported,
        // Not a file the import knows (extension or first bytes), or a .fnt/.fon file that
        // cannot be opened: nothing is imported and nothing is shown.
        NotRecognised,
        // A reader refused the file (or a BDF file could not be opened): the one text of
        // `messages` is shown, with the file and `detail`.
        Failed,
    };
    Status status = Status::Imported;
    std::vector<std::string> messages;
    // Why the reader gave up, with the line or byte offset, for logs and the command line.
    std::string detail;
    // An import that succeeded but repaired or left out characters (BDF): one sentence each.
    std::vector<std::string> warnings;
    // Which reader ran: "bdf", "fnt" (Windows resource), "rb" or empty.
    std::string reader;

    bool ok() const { return status == Status::Imported; }
};

// Imports a .bdf, .fnt (Windows resource, RB11 or RB12) or .fon file, chosen by the
// extension (any case) and the first bytes. The font is built in a fresh record that takes
// over what an import does not set (data format, Windows header values of a non-Windows
// import, ...) from `font`, and replaces `font` only when the whole import succeeded; a failed
// import leaves `font` exactly as it was.
ImportOutcome importFontResource(const std::string& path, Font& font);

}  // namespace typeloom
