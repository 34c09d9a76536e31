#include <algorithm>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "charset/table_text_file.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "common/file_error.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/table_scripts.h"

namespace typeloom::cli {

namespace {

constexpr const char* kTableHelp =
    "Usage: typeloom table FONT -o OUT.tlf [--encoding NAME] [--script NAME]\n"
    "                      [--enable RANGES] [--disable RANGES] [--load TABLE.txt]\n"
    "                      [--save TABLE.txt]\n"
    "\n"
    "Changes the font's characters table as the Edit Characters Table dialog does and writes\n"
    "the font as a project (layout 3). FONT is a project or a .bdf, .fnt or .fon file.\n"
    "\n"
    "  -o, --output FILE     the project file to write\n"
    "  --encoding NAME       ascii-iso8859, unicode, shift-jis, big5, gbk or hangul (or 0..5);\n"
    "                        rebuilds the table for that encoding: the codes of the characters\n"
    "                        the font can draw are enabled, the control codes are not\n"
    "  --script NAME         the script of an Ascii+ISO8859 font, e.g. \"Cyrillic\", among those\n"
    "                        the font's face offers\n"
    "  --enable RANGES       enable codes, e.g. 0x20-0x7E,0xA0-0xFF (or \"all\")\n"
    "  --disable RANGES      disable codes\n"
    "  --load TABLE.txt      enable exactly the characters of a table text file\n"
    "  --save TABLE.txt      write the resulting table as a table text file\n"
    "\n"
    "The encoding and the script apply first (each discards earlier changes, as in the\n"
    "dialog); --load, --enable and --disable then apply in command-line order, and --save\n"
    "writes the table they leave. Newly enabled codes get blank characters; disabled ones keep\n"
    "their characters for later. A table with no code enabled is refused and writes nothing.\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage or a refused\n"
    "change.\n";

const std::set<std::string> kValued = {"-o",       "--output",  "--encoding", "--script",
                                       "--enable", "--disable", "--load",     "--save"};

// The encodings by their command-line names, in encoding order.
constexpr const char* kEncodingNames[kEncodingCount] = {"ascii-iso8859", "unicode", "shift-jis",
                                                        "big5",          "gbk",     "hangul"};

int encodingNamed(const std::string& text) {
    std::string name = text;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::replace(name.begin(), name.end(), '_', '-');
    for (int e = 0; e < kEncodingCount; ++e) {
        if (name == kEncodingNames[e] || name == std::to_string(e)) {
            return e;
        }
    }
    throw UsageError{"--encoding takes ascii-iso8859, unicode, shift-jis, big5, gbk or hangul; \"" +
                     text + "\" is none of them"};
}

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

struct Step {
    std::string name;
    std::string value;
};

// --load, --enable and --disable in command-line order.
std::vector<Step> stepsInOrder(const std::vector<std::string>& args) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (auto eq = name.find('='); eq != std::string::npos && name.rfind("--", 0) == 0) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        if (kValued.count(name) == 0) {
            continue;
        }
        if (!inlineValue && i + 1 < args.size()) {
            value = args[++i];
        }
        if (name == "--load" || name == "--enable" || name == "--disable") {
            steps.push_back({name, value});
        }
    }
    return steps;
}

// Applies the script: only one the font's face offers, as the dialog's Script list shows.
std::uint8_t chooseScript(const Font& font, const std::string& name) {
    if (font.charTable.editing.encoding != kEncodingAnsi) {
        throw UsageError{"--script applies to Ascii+ISO8859 fonts only"};
    }
    const std::vector<FontScript> scripts = tableScriptsOf(font);
    for (const FontScript& s : scripts) {
        if (sameName(s.name, name)) {
            return s.charSet;
        }
    }
    std::string offered;
    for (const FontScript& s : scripts) {
        offered += (offered.empty() ? "" : ", ") + std::string("\"") + s.name + "\"";
    }
    throw UsageError{"the font's face offers no script \"" + name +
                     "\"; it offers: " + (offered.empty() ? "none" : offered)};
}

int commandTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, kValued, {});
    if (a.helpRequested()) {
        out << kTableHelp;
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"table takes one font file"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    const std::vector<Step> steps = stepsInOrder(args);
    const bool changes = a.has("--encoding") || a.has("--script") || !steps.empty();
    if (output.empty() && (changes || !a.has("--save"))) {
        throw UsageError{"table needs an output file (-o OUT.tlf)"};
    }
    const int encoding = a.has("--encoding") ? encodingNamed(*a.value("--encoding")) : -1;

    Font font;
    if (!loadAnyFontFile(a.positional().front(), font, err)) {
        return kExitFailed;
    }
    if (font.count() == 0) {
        throw UsageError{"the font has no characters; its table cannot be edited"};
    }
    CharacterTable& table = font.charTable;
    table.beginEditing();
    std::uint8_t charSet = font.sourceFont.charSet;
    if (encoding >= 0 && encoding != table.editing.encoding) {
        table.setEditingEncoding(encoding, DbcsTables::program());
    }
    if (auto script = a.value("--script")) {
        charSet = chooseScript(font, *script);
        table.setEditingScript(charSet);
    }
    for (const Step& step : steps) {
        if (step.name == "--load") {
            const TableTextLoadResult loaded = loadTableText(table, step.value);
            if (loaded.status == TableTextLoadResult::Status::Failed) {
                err << "typeloom: " << step.value << ": " << loaded.message << "\n";
                return kExitFailed;
            }
            if (loaded.status == TableTextLoadResult::Status::Empty) {
                throw UsageError{step.value + " holds no characters"};
            }
            if (loaded.someUnmapped) {
                err << "typeloom: " << step.value << ": " << loaded.message << "\n";
            }
            continue;
        }
        const bool enable = step.name == "--enable";
        const std::uint16_t last = codeSpaceLast(table.editing.encoding);
        for (const CodeRange& r : parseCodeRanges(step.value, last, step.name)) {
            table.setRangeEnabled(r.first, r.last, enable);
        }
    }
    if (auto save = a.value("--save")) {
        const std::string message = saveTableText(table, *save);
        if (!message.empty()) {
            err << "typeloom: " << *save << ": " << message << "\n";
            return kExitFailed;
        }
    }
    if (output.empty()) {
        return kExitOk;
    }
    if (table.isEdited()) {
        if (!font.commitCharacterTable(charSet)) {
            throw UsageError{"no code is enabled; the table is left as it was"};
        }
    } else {
        bool anyEnabled = false;
        table.editing.forEach([&](std::uint16_t, CodeEntry e) { anyEnabled |= e.enabled; });
        if (!anyEnabled) {
            throw UsageError{"no code is enabled; the table is left as it was"};
        }
        out << "The characters table is unchanged\n";
    }
    try {
        saveProject(output, font);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    out << "Wrote " << output << ": " << encodingName(static_cast<int>(font.encoding)) << ", "
        << font.count() << " characters\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"table",
                                         "change the characters table: encoding, script, codes",
                                         commandTable});

}  // namespace

}  // namespace typeloom::cli
