#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "interchange/bmp_writer.h"
#include "interchange/winfont_writer.h"
#include "model/font_info.h"

namespace typeloom::cli {

namespace {

constexpr const char* kExportFontHelp =
    "Usage: typeloom export-font IN -o OUT --format fnt|fon|bmp\n"
    "\n"
    "Writes a font (a project, or any file `typeloom import` reads) as\n"
    "  fnt  a Windows font resource (version 2.0, or 3.0 for large fonts)\n"
    "  fon  a Windows bitmap font library holding that resource\n"
    "  bmp  one bitmap file per character, named charXXXX.bmp after its code, into the\n"
    "       folder OUT (made when missing)\n"
    "Windows font files need a font of encoding Ascii+ISO8859.\n";

int commandExportFont(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {"-o", "--output", "--format"}, {});
    if (a.helpRequested()) {
        out << kExportFontHelp;
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"export-font takes one font file"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"export-font needs an output (-o OUT)"};
    }
    const std::string format = a.value("--format", "");
    if (format != "fnt" && format != "fon" && format != "bmp") {
        throw UsageError{"export-font needs --format fnt, fon or bmp"};
    }
    CFontInfo font;
    if (!loadAnyFontFile(a.positional().front(), font, err)) {
        return kExitFailed;
    }
    if (font.count() == 0) {
        err << "typeloom: the font has no characters\n";
        return kExitFailed;
    }
    if (format == "bmp") {
        std::error_code ec;
        std::filesystem::create_directories(output, ec);
        const BitmapExportResult r = exportCharacterBitmaps(font, output);
        if (!r.ok) {
            err << "typeloom: " << r.message << "\n  " << r.detail << "\n";
            return kExitFailed;
        }
        out << "Wrote " << r.written << " bitmap files into " << output << "\n";
        return kExitOk;
    }
    const bool fon = format == "fon";
    if (const char* refusal = windowsFontExportRefusal(font, fon)) {
        err << "typeloom: " << refusal << "\n";
        return kExitFailed;
    }
    const FontWriteResult r = fon ? writeFon(font, output) : writeFnt(font, output);
    if (!r.ok) {
        err << "typeloom: " << (r.message.empty() ? "cannot write " + output : r.message) << "\n  "
            << r.detail << "\n";
        return kExitFailed;
    }
    out << "Wrote " << output << ": " << font.count() << " characters\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"export-font",
                                         "write a font as .fnt, .fon or one .bmp per character",
                                         commandExportFont});

}  // namespace

}  // namespace typeloom::cli
