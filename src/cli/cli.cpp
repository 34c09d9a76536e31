#include "cli/cli.h"

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>

#include "charset/encodings.h"
#include "cli/arguments.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "model/font_info.h"
#include "model/new_font.h"
#include "model/project_file.h"

namespace typeloom::cli {

namespace {

constexpr const char* kMainHelp =
    "Usage: typeloom COMMAND [OPTIONS]\n"
    "\n"
    "Typeloom Studio's command-line tool: makes and inspects bitmap font projects (.tlf).\n"
    "\n"
    "Commands:\n"
    "  new       create a font of blank characters\n"
    "  info      show the figures of a font project\n"
    "  convert   write a font project in another layout\n"
    "\n"
    "Run 'typeloom COMMAND --help' for the options of a command.\n"
    "Exit status: 0 done, 1 failed, 2 bad usage.\n";

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

constexpr const char* kInfoHelp =
    "Usage: typeloom info FILE.tlf\n"
    "\n"
    "Shows the font's name, encoding, height, ascent, width, character count, first and last\n"
    "code, and how many codes of its characters table are enabled and mapped.\n";

constexpr const char* kConvertHelp =
    "Usage: typeloom convert IN.tlf OUT.tlf [--layout 3|2.0]\n"
    "\n"
    "Writes the font of IN.tlf to OUT.tlf in the version 3 layout (default) or the older\n"
    "version 2.0 layout, which holds fonts of encoding Ascii+ISO8859 only.\n";

// Shows "%d of %d" progress on stderr while a long walk runs, only when stderr is a terminal.
class TerminalProgress : public ProgressSink {
  public:
    explicit TerminalProgress(std::ostream& err) : m_err(err) {}
    void show(bool visible) override {
        if (!visible && m_drawn) {
            m_err << "\r\033[K" << std::flush;
            m_drawn = false;
        }
    }
    void setRange(int, int upper) override { m_upper = upper; }
    void setStep(int) override {}
    void stepIt() override {}
    void setText(const std::string& text) override {
        if (text == kIdleStatusText || m_upper < 1000) {
            return;
        }
        m_err << "\r" << text << std::flush;
        m_drawn = true;
    }

  private:
    std::ostream& m_err;
    int m_upper = 0;
    bool m_drawn = false;
};

std::unique_ptr<ProgressSink> progressFor(std::ostream& err) {
    if (&err == &std::cerr && isatty(fileno(stderr))) {
        return std::make_unique<TerminalProgress>(err);
    }
    return std::make_unique<NullProgressSink>();
}

std::string decimalOrHex(const std::string& text) {
    if (auto v = parseNumber(text)) {
        return std::to_string(*v);
    }
    return text;  // let the range check report it
}

std::string hex4(int v) {
    std::ostringstream s;
    s << "0x" << std::uppercase << std::hex << std::setw(4) << std::setfill('0') << v;
    return s.str();
}

// Loads a project file for a command; prints the error and returns false on failure.
bool loadFont(const std::string& path, CFontInfo& font, std::ostream& err, std::uint16_t* version) {
    auto progress = progressFor(err);
    ProjectLoadResult result = loadProject(path, font, *progress);
    if (!result.ok()) {
        err << "typeloom: " << path << ": " << result.message << "\n";
        return false;
    }
    if (version != nullptr) {
        *version = result.version;
    }
    return true;
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
    CFontInfo font;
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

int commandInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args, {}, {});
    if (a.helpRequested()) {
        out << kInfoHelp;
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"info takes one file"};
    }
    const std::string& path = a.positional().front();
    CFontInfo font;
    std::uint16_t version = 0;
    if (!loadFont(path, font, err, &version)) {
        return kExitFailed;
    }
    std::string layout = version == kVersion20 ? "2.0" : version == kVersion2 ? "2" : "3";
    std::string_view encodingText = encodingName(static_cast<int>(font.encoding));
    out << "File:           " << path << " (layout " << layout << ")\n";
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
    return kExitOk;
}

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
    CFontInfo font;
    if (!loadFont(input, font, err, nullptr)) {
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

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kMainHelp;
        return kExitUsage;
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        out << kMainHelp;
        return kExitOk;
    }
    if (command == "--version") {
        out << "typeloom 3.5\n";
        return kExitOk;
    }
    using Handler =
        std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;
    const std::pair<const char*, Handler> commands[] = {
        {"new", commandNew}, {"info", commandInfo}, {"convert", commandConvert}};
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const auto& [name, handler] : commands) {
        if (command == name) {
            try {
                return handler(rest, out, err);
            } catch (const UsageError& e) {
                err << "typeloom " << name << ": " << e.message << "\n"
                    << "Run 'typeloom " << name << " --help' for usage.\n";
                return kExitUsage;
            }
        }
    }
    err << "typeloom: unknown command '" << command << "'\n\n" << kMainHelp;
    return kExitUsage;
}

}  // namespace typeloom::cli
