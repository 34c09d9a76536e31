#include <iostream>

#include "charset/encodings.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "common/file_error.h"
#include "model/font.h"
#include "model/new_font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

constexpr const char* kNewHelp =
    "Usage: typeloom new -o OUT.tlf [--name NAME] [--from CODE] [--to CODE]\n"
    "                    [--width PIXELS] [--height PIXELS]\n"
    "\n"
    "Creates a fixed-width Unicode font of blank characters for the values FROM..TO.\n"
    "\n"
    "  -o, --output FILE  the project file to write\n"
    "  --name NAME        font name, at most 32 characters (default Untitled)\n"
    "  --from CODE        first character value, 0..65534 (default 32)\n"
    "  --to CODE          last character value, 1..65535, larger than FROM (default 127)\n"
    "  --width PIXELS     character width, 1..512 (default 12)\n"
    "  --height PIXELS    character height, 4..512 (default 12)\n"
    "\n"
    "Codes may be written in decimal or as 0x hexadecimal.\n";

std::string decimalOrHex(const std::string& text) {
    if (auto v = parseNumber(text)) {
        return std::to_string(*v);
    }
    return text;  // let the range check report it
}

int commandNew(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {"-o", "--output", "--name", "--from", "--to", "--width", "--height"}, {});
    if (a.helpRequested()) {
        out << kNewHelp;
        return kExitOk;
    }
    if (!a.positional().empty()) {
        throw UsageError{"unexpected argument " + a.positional().front()};
    }
    std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"new needs an output file (-o OUT.tlf)"};
    }
    NewFontFields fields;
    fields.name = a.value("--name", fields.name);
    fields.first = decimalOrHex(a.value("--from", fields.first));
    fields.last = decimalOrHex(a.value("--to", fields.last));
    fields.width = decimalOrHex(a.value("--width", fields.width));
    fields.height = decimalOrHex(a.value("--height", fields.height));
    NewFontOutcome outcome = acceptNewFontDialog(fields);
    if (!outcome.accepted) {
        throw UsageError{outcome.message};
    }
    Font font;
    font.setBitsPerPixel(1);
    font.setEncoding(kEncodingUnicode);
    const NewFontParams& p = outcome.params;
    font.createFromScratch(p.first, p.last, p.width, p.height, p.name);
    try {
        saveProject(output, font);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    out << "Created " << output << ": " << font.count() << " characters, " << p.width << " x "
        << p.height << "\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"new", "create a font of blank characters", commandNew});

}  // namespace

}  // namespace typeloom::cli
