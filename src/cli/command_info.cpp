#include <iostream>

#include "charset/encodings.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "common/file_error.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

constexpr const char* kInfoHelp =
    "Usage: typeloom info FILE.tlf|FILE.bdf|FILE.fnt|FILE.fon [--table]\n"
    "\n"
    "Shows the font's name, encoding, height, ascent, width, character count, first and last\n"
    "code, and how many codes of its characters table are enabled and mapped.\n"
    "\n"
    "  --table    also list the enabled codes of the characters table as ranges\n";

int commandInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {}, {"--table"});
    if (a.helpRequested()) {
        out << kInfoHelp;
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"info takes one file"};
    }
    const std::string& path = a.positional().front();
    Font font;
    std::string layout;
    if (!loadAnyFontFile(path, font, err, &layout)) {
        return kExitFailed;
    }
    std::string_view encodingText = encodingName(static_cast<int>(font.encoding));
    out << "File:           " << path << " (" << layout << ")\n";
    out << "Name:           " << font.faceName << "\n";
    out << "Encoding:       " << font.encoding << " " << encodingText << "\n";
    out << "Height:         " << font.height << "\n";
    out << "Ascent:         " << font.ascent << "\n";
    if (font.fixedWidth != 0) {
        out << "Width:          fixed, " << font.fixedWidth << "\n";
    } else {
        out << "Width:          variable\n";
    }
    out << "Maximum width:  " << font.maxWidth << "\n";
    out << "Characters:     " << font.count() << "\n";
    if (font.count() > 0) {
        out << "First code:     " << hex4(font.codeAt(0)) << "\n";
        out << "Last code:      " << hex4(font.codeAt(font.lastIndex())) << "\n";
    }
    out << "Glyphs:         " << font.glyphs.size() << "\n";
    out << "Table:          " << font.charTable.enabledCount() << " enabled, "
        << font.charTable.mappedCount() << " mapped of " << font.charTable.committed.size()
        << " codes\n";
    if (a.has("--table")) {
        std::vector<std::uint16_t> enabled;
        font.charTable.committed.forEach([&](std::uint16_t code, CodeEntry e) {
            if (e.enabled) {
                enabled.push_back(code);
            }
        });
        out << "Enabled codes:  " << formatCodeRanges(enabled) << "\n";
    }
    return kExitOk;
}

const CommandRegistration kRegistration({"info", "show the figures of a font", commandInfo});

}  // namespace

}  // namespace typeloom::cli
