#include <iostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "common/file_error.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/transform_dialogs.h"
#include "model/transforms.h"

namespace typeloom::cli {

namespace {

constexpr const char* kTransformHelp =
    "Usage: typeloom transform IN.tlf -o OUT.tlf OPERATION...\n"
    "\n"
    "Changes every character of a font as the Font menu does and writes the result (layout 3).\n"
    "Operations run in the order given, each on the font as the previous ones left it, with the\n"
    "checks and messages of the desktop program's dialogs. A refused operation writes nothing.\n"
    "\n"
    "  -o, --output FILE              the project file to write\n"
    "  --height reduce:TOP,BOTTOM     clip TOP rows at the top and BOTTOM rows at the bottom\n"
    "  --height increase:TOP,BOTTOM   add TOP blank rows at the top and BOTTOM at the bottom\n"
    "  --width reduce:LEFT,RIGHT      clip LEFT columns on the left and RIGHT on the right\n"
    "  --width increase:LEFT,RIGHT    add blank columns on the left and on the right\n"
    "  --ascent N                     rows from the top of the cell to the baseline\n"
    "  --resize PCT_H,PCT_V           scale by a horizontal and a vertical percentage\n"
    "  --resize-px W,H                scale to W x H pixels\n"
    "  --fixed                        make a variable-width font fixed-width (characters are\n"
    "                                 padded on the right to the widest one)\n"
    "  --variable                     make a fixed-width font variable-width\n"
    "  --trim                         remove blank side columns of every character\n"
    "  --center                       centre every character horizontally\n"
    "  --mirror h|v                   mirror every character horizontally or vertically\n"
    "  --invert                       invert every character\n"
    "\n"
    "Row and column counts are 0..256; a reduce must leave at least 5 rows or 4 columns and an\n"
    "increase stay below 256. The ascent must be smaller than the height. Percentages and\n"
    "pixel sizes are 0..500; the new height may not be 0. A change of height also applies to\n"
    "characters the character table leaves disabled, so every glyph keeps the font's height.\n"
    "--width, --resize-px, --variable and --center need a fixed-width font; --fixed and --trim\n"
    "a variable-width one.\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage or a refused\n"
    "operation.\n";

const std::set<std::string> kValued = {"-o",       "--output", "--height",    "--width",
                                       "--ascent", "--resize", "--resize-px", "--mirror"};
const std::set<std::string> kFlags = {"--fixed", "--variable", "--trim", "--center", "--invert"};

struct Operation {
    std::string name;
    std::string value;
};

// The operations in command-line order (the option parser keeps only the last value of each).
std::vector<Operation> operationsInOrder(const std::vector<std::string>& args) {
    std::vector<Operation> ops;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            break;
        }
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        if (kValued.count(name) != 0) {
            if (!inlineValue && i + 1 < args.size()) {
                value = args[++i];
            }
            if (name != "-o" && name != "--output") {
                ops.push_back({name, value});
            }
        } else if (kFlags.count(name) != 0) {
            ops.push_back({name, ""});
        }
    }
    return ops;
}

// "A,B" into its two parts.
std::pair<std::string, std::string> splitPair(const std::string& text, const std::string& what) {
    const auto comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos) {
        throw UsageError{what};
    }
    return {text.substr(0, comma), text.substr(comma + 1)};
}

// "reduce:A,B" or "increase:A,B" into the fields of the height or width dialog.
ChangeSizeFields sizeFields(const std::string& value, const std::string& option) {
    const std::string syntax =
        option + " takes reduce:" + (option == "--height" ? "TOP,BOTTOM" : "LEFT,RIGHT") +
        " or increase:" + (option == "--height" ? "TOP,BOTTOM" : "LEFT,RIGHT");
    const auto colon = value.find(':');
    if (colon == std::string::npos) {
        throw UsageError{syntax};
    }
    const std::string choice = value.substr(0, colon);
    if (choice != "reduce" && choice != "increase") {
        throw UsageError{syntax};
    }
    auto [before, after] = splitPair(value.substr(colon + 1), syntax);
    ChangeSizeFields fields;
    fields.increase = choice == "increase";
    (fields.increase ? fields.addBefore : fields.clipBefore) = before;
    (fields.increase ? fields.addAfter : fields.clipAfter) = after;
    return fields;
}

void requireFixed(const Font& font, const std::string& option, bool fixed) {
    if ((font.fixedWidth != 0) != fixed) {
        throw UsageError{option + " needs a " + (fixed ? "fixed" : "variable") +
                         "-width font; the font is " + (fixed ? "variable" : "fixed") +
                         "-width at this point"};
    }
}

void resizeBy(Font& font, const std::string& value, bool byPixels) {
    const std::string syntax =
        byPixels ? "--resize-px takes W,H in pixels" : "--resize takes PCT_H,PCT_V";
    auto [horizontal, vertical] = splitPair(value, syntax);
    ResizeFontDialog dialog(font.height, font.fixedWidth);
    if (byPixels) {
        dialog.choosePixels();
    }
    dialog.editHorizontal(horizontal);
    dialog.editVertical(vertical);
    const ResizeOutcome outcome = dialog.ok();
    if (!outcome.accepted) {
        throw UsageError{outcome.message};
    }
    const ResizeResult result =
        resize(font, outcome.vertical, outcome.horizontal, outcome.byPercentage);
    if (!result.ok) {
        throw UsageError{result.message};
    }
}

// Runs one operation; throws UsageError when the program would refuse it. Messages that the
// program shows without refusing (nothing to change) go to `out`.
void apply(Font& font, const Operation& op, std::ostream& out) {
    if (op.name == "--height" || op.name == "--width") {
        const bool height = op.name == "--height";
        if (!height) {
            requireFixed(font, op.name, true);
        }
        const ChangeSizeFields fields = sizeFields(op.value, op.name);
        const ChangeSizeOutcome outcome =
            height ? acceptChangeHeightDialog(fields, {}, font.height, font.ascent)
                   : acceptChangeWidthDialog(fields, {}, font.fixedWidth);
        if (outcome.result == DialogResult::Refused) {
            throw UsageError{outcome.message};
        }
        if (outcome.result == DialogResult::Unchanged) {
            out << outcome.message << "\n";
            return;
        }
        const bool done =
            height ? applyChangeHeight(font, outcome) : applyChangeWidth(font, outcome);
        if (!done) {
            throw UsageError{op.name + " " + op.value + " cannot be applied to this font"};
        }
    } else if (op.name == "--ascent") {
        const ChangeAscentOutcome outcome =
            acceptChangeAscentDialog(op.value, font.height, font.ascent);
        if (!outcome.accepted) {
            throw UsageError{outcome.message};
        }
        font.ascent = outcome.ascent;
    } else if (op.name == "--resize") {
        resizeBy(font, op.value, false);
    } else if (op.name == "--resize-px") {
        requireFixed(font, op.name, true);
        resizeBy(font, op.value, true);
    } else if (op.name == "--fixed") {
        requireFixed(font, op.name, false);
        makeFixedWidth(font);
    } else if (op.name == "--variable") {
        requireFixed(font, op.name, true);
        makeVariableWidth(font);
    } else if (op.name == "--trim") {
        requireFixed(font, op.name, false);
        trimAll(font);
    } else if (op.name == "--center") {
        requireFixed(font, op.name, true);
        centerAll(font);
    } else if (op.name == "--mirror") {
        if (op.value == "h") {
            mirrorHorizontal(font);
        } else if (op.value == "v") {
            mirrorVertical(font);
        } else {
            throw UsageError{"--mirror takes h or v"};
        }
    } else if (op.name == "--invert") {
        invert(font);
    }
}

int commandTransform(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, kValued, kFlags);
    if (a.helpRequested()) {
        out << kTransformHelp;
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"transform takes one input file"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"transform needs an output file (-o OUT.tlf)"};
    }
    const std::vector<Operation> ops = operationsInOrder(args);
    if (ops.empty()) {
        throw UsageError{"transform needs at least one operation"};
    }
    Font font;
    if (!loadFontFile(a.positional().front(), font, err)) {
        return kExitFailed;
    }
    if (font.count() == 0) {
        throw UsageError{"the font has no characters to transform"};
    }
    for (const Operation& op : ops) {
        apply(font, op, out);
    }
    try {
        saveProject(output, font);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    out << "Wrote " << output << ": " << font.count() << " characters, height " << font.height
        << ", ascent " << font.ascent << ", "
        << (font.fixedWidth != 0 ? "fixed width " + std::to_string(font.fixedWidth)
                                 : "variable width up to " + std::to_string(font.maxWidth))
        << "\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"transform",
                                         "change every character: height, width, size, mirror...",
                                         commandTransform});

}  // namespace

}  // namespace typeloom::cli
