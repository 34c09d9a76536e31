#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "charset/encodings.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "common/file_error.h"
#include "interchange/multicopy.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

constexpr const char* kPasteHelp =
    "Usage: typeloom paste DEST SOURCE --codes RANGES -o OUT.tlf [--yes]\n"
    "\n"
    "Copies the characters of SOURCE whose codes are in RANGES into DEST, as Multi Copy in\n"
    "one font and Multi Paste in the other do, and writes the result as a project (layout 3).\n"
    "DEST and SOURCE are projects or .bdf, .fnt or .fon files.\n"
    "\n"
    "  -o, --output FILE   the project file to write\n"
    "  --codes RANGES      codes of SOURCE to paste, e.g. 0x0410-0x044F (or \"all\")\n"
    "  --yes               paste even when the heights differ (rows are centred)\n"
    "\n"
    "Each character lands on its code: it replaces the character DEST has there, or is added\n"
    "in code order. Codes DEST's encoding cannot hold are skipped and listed. Both fonts must\n"
    "have the same bits per pixel; with different heights the paste is refused unless --yes\n"
    "answers the program's height question.\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage or a refused\n"
    "paste.\n";

int commandPaste(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {"-o", "--output", "--codes"}, {"--yes"});
    if (a.helpRequested()) {
        out << kPasteHelp;
        return kExitOk;
    }
    if (a.positional().size() != 2) {
        throw UsageError{"paste takes a destination and a source font file"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"paste needs an output file (-o OUT.tlf)"};
    }
    const auto codesText = a.value("--codes");
    if (!codesText) {
        throw UsageError{"paste needs the codes to paste (--codes RANGES)"};
    }
    Font dest;
    Font source;
    if (!loadAnyFontFile(a.positional()[0], dest, err) ||
        !loadAnyFontFile(a.positional()[1], source, err)) {
        return kExitFailed;
    }
    const std::uint16_t sourceLast = codeSpaceLast(static_cast<int>(source.encoding));
    std::vector<std::uint16_t> codes;
    for (const CodeRange& r : parseCodeRanges(*codesText, sourceLast, "--codes")) {
        for (std::uint32_t c = r.first; c <= r.last; ++c) {
            if (source.indexOfCode(static_cast<std::uint16_t>(c)) >= 0) {
                codes.push_back(static_cast<std::uint16_t>(c));
            }
        }
    }
    if (codes.empty()) {
        throw UsageError{"the source font has no character in " + *codesText};
    }
    if (dest.count() == 0) {
        throw UsageError{"the destination font has no characters to paste into"};
    }
    if (dest.bitsPerPixel != source.bitsPerPixel) {
        throw UsageError{"the source font has " + std::to_string(source.bitsPerPixel) +
                         " bits per pixel and the destination " +
                         std::to_string(dest.bitsPerPixel) + "; nothing was pasted"};
    }
    // The same block the clipboard would carry, read back as Multi Paste reads it.
    std::vector<std::uint16_t> leftOut;
    MultiCopyData data;
    try {
        data = parseMultiCopyData(buildMultiCopyData(source, codes, &leftOut));
    } catch (const FileError& e) {
        err << "typeloom: the characters of " << a.positional()[1]
            << " cannot be copied: " << e.what() << "\n";
        return kExitFailed;
    }
    if (data.height != dest.height && !a.has("--yes")) {
        err << pasteHeightQuestion(static_cast<int>(data.height), dest.height) << "\n";
        throw UsageError{"the heights differ; nothing was pasted (--yes pastes all the same)"};
    }
    std::vector<std::uint16_t> pastedCodes;
    for (const MultiCopyRecord& rec : data.records) {
        pastedCodes.push_back(rec.code);
    }
    const MultiPasteOutcome outcome = pasteCharacters(dest, data, pastedCodes);
    std::vector<std::uint16_t> skipped = outcome.skipped;
    skipped.insert(skipped.end(), leftOut.begin(), leftOut.end());
    if (outcome.pasted == 0) {
        throw UsageError{"no character could be pasted: codes " + formatCodeRanges(skipped) +
                         " have no place in the destination font"};
    }
    try {
        saveProject(output, dest);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    if (!skipped.empty()) {
        std::sort(skipped.begin(), skipped.end());
        err << "typeloom: skipped codes " << formatCodeRanges(skipped) << "\n";
    }
    out << "Wrote " << output << ": pasted " << outcome.pasted << " characters, " << dest.count()
        << " in all\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"paste", "copy characters from another font into a font",
                                         commandPaste});

}  // namespace

}  // namespace typeloom::cli
