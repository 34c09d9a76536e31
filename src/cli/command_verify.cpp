#include <iostream>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "common/ini_settings_store.h"
#include "model/font.h"
#include "model/font_settings.h"
#include "verify/verify_export.h"

namespace typeloom::cli {

namespace {

constexpr const char* kVerifyHelp =
    "Usage: typeloom verify PROJECT EXPORT [--format NAME] [LAYOUT OPTIONS]\n"
    "\n"
    "Reads an export back into characters and compares them with the project: the same\n"
    "codes, widths and pixels. EXPORT is a file any `typeloom export` format writes, or the\n"
    "folder of a bmp export. Prints what was verified and exits 0, or the first characters\n"
    "that differ, the project's picture beside the export's, and exits 1.\n"
    "\n"
    "  --format NAME          the export's format (as `typeloom export` names them); without\n"
    "                         it the layout is told from the file where it can be\n"
    "  --start-address HEX    the start address of a HEX export (default 0)\n"
    "  --show N               how many differing characters to show (default 5)\n"
    "The table-based and General C and assembler files state their data layout in their\n"
    "header comment. For the other formats the layout comes from the desktop program's\n"
    "settings, changed by the layout options of `typeloom export` (--data-format, --preset,\n"
    "--bit-order, --scan, --prefer, --packed, --unpacked, --unit, --invert, --no-invert);\n"
    "given, they also override a header comment.\n";

int commandVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args,
                {"--format", "--data-format", "--preset", "--bit-order", "--scan", "--prefer",
                 "--unit", "--start-address", "--show"},
                {"--packed", "--unpacked", "--invert", "--no-invert"});
    if (a.helpRequested()) {
        out << kVerifyHelp;
        return kExitOk;
    }
    if (a.positional().size() != 2) {
        throw UsageError{"verify takes a project and an export"};
    }
    std::optional<verify::Layout> layout;
    if (auto name = a.value("--format")) {
        layout = verify::layoutOfName(*name);
        if (!layout) {
            throw UsageError{"unknown format '" + *name + "'"};
        }
    }
    std::size_t shown = 5;
    if (auto n = a.value("--show")) {
        auto v = parseNumber(*n);
        if (!v || *v > 100000) {
            throw UsageError{"--show takes a number"};
        }
        shown = *v;
    }
    IniSettingsStore stored(defaultSettingsPath());
    Font font;
    loadFontSettings(font, stored);
    if (!loadAnyFontFile(a.positional()[0], font, err)) {
        return kExitFailed;
    }
    verify::DecodeOptions options;
    options.dataWord = applyLayoutOptions(a, font.dataFormat);
    options.dataWordGiven = a.has("--data-format") || a.has("--preset") || a.has("--bit-order") ||
                            a.has("--scan") || a.has("--prefer") || a.has("--unit") ||
                            a.has("--packed") || a.has("--unpacked") || a.has("--invert") ||
                            a.has("--no-invert");
    if (auto address = a.value("--start-address")) {
        std::string text = *address;
        if (text.rfind("0x", 0) != 0 && text.rfind("0X", 0) != 0) {
            text = "0x" + text;
        }
        options.hexStartAddress = parseWord(text, "--start-address");
    }
    const verify::VerifyReport report =
        verify::verifyExport(font, a.positional()[1], layout, options);
    if (report.ok) {
        out << report.text(shown);
        for (const std::string& note : report.assumed) {
            out << "  (" << note << ")\n";
        }
        return kExitOk;
    }
    err << report.text(shown);
    for (const std::string& note : report.assumed) {
        err << "  (" << note << ")\n";
    }
    return kExitFailed;
}

const CommandRegistration kRegistration({"verify",
                                         "check that an export holds the project's characters",
                                         commandVerify});

}  // namespace

}  // namespace typeloom::cli
