#include <iostream>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "common/file_error.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

constexpr const char* kImportHelp =
    "Usage: typeloom import FILE.bdf|FILE.fnt|FILE.fon -o OUT.tlf\n"
    "\n"
    "Makes a font project from a font file of another tool: a Glyph Bitmap Distribution\n"
    "Format file (.bdf), a Windows font resource (.fnt, also the RB11 and RB12 firmware\n"
    "formats) or the first font of a Windows bitmap font library (.fon).\n"
    "\n"
    "  -o, --output FILE  the project file to write\n";

int commandImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {"-o", "--output"}, {});
    if (a.helpRequested()) {
        out << kImportHelp;
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"import takes one font file"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"import needs an output file (-o OUT.tlf)"};
    }
    const std::string& input = a.positional().front();
    if (isProjectPath(input)) {
        throw UsageError{"import reads .bdf, .fnt and .fon files, not projects"};
    }
    Font font;
    if (!loadAnyFontFile(input, font, err)) {
        return kExitFailed;
    }
    try {
        saveProject(output, font);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    out << "Imported " << input << ": " << font.count() << " characters, height " << font.height
        << ", ";
    if (font.fixedWidth != 0) {
        out << "fixed width " << font.fixedWidth;
    } else {
        out << "variable width up to " << font.maxWidth;
    }
    out << " -> " << output << "\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"import", "make a project from a .bdf, .fnt or .fon file",
                                         commandImport});

}  // namespace

}  // namespace typeloom::cli
