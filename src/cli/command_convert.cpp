#include <iostream>

#include "charset/encodings.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "common/file_error.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

constexpr const char* kConvertHelp =
    "Usage: typeloom convert IN.tlf OUT.tlf [--layout 3|2.0]\n"
    "\n"
    "Writes the font of IN.tlf to OUT.tlf in the version 3 layout (default) or the older\n"
    "version 2.0 layout, which holds fonts of encoding Ascii+ISO8859 only.\n";

int commandConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {"--layout"}, {});
    if (a.helpRequested()) {
        out << kConvertHelp;
        return kExitOk;
    }
    if (a.positional().size() != 2) {
        throw UsageError{"convert takes an input and an output file"};
    }
    const std::string layout = a.value("--layout", "3");
    if (layout != "3" && layout != "2.0") {
        throw UsageError{"--layout must be 3 or 2.0"};
    }
    const std::string& input = a.positional()[0];
    const std::string& output = a.positional()[1];
    Font font;
    if (!loadFontFile(input, font, err)) {
        return kExitFailed;
    }
    try {
        if (layout == "2.0") {
            if (font.encoding != kEncodingAnsi || font.bitsPerPixel != 1) {
                err << "typeloom: the version 2.0 layout holds fonts of encoding "
                    << encodingName(kEncodingAnsi) << " only; " << input << " is "
                    << encodingName(static_cast<int>(font.encoding)) << "\n";
                return kExitFailed;
            }
            saveProjectVer20(output, font);
        } else {
            saveProject(output, font);
        }
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    out << "Wrote " << output << " (layout " << layout << ")\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"convert", "write a font project in another layout",
                                         commandConvert});

}  // namespace

}  // namespace typeloom::cli
