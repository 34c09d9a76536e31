#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <limits>
#include <optional>
#include <sstream>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_exports.h"
#include "cli/font_file_loading.h"
#include "common/cancel_flag.h"
#include "common/file_error.h"
#include "common/ini_settings_store.h"
#include "common/progress_sink.h"
#include "export/controller_presets.h"
#include "export/data_format.h"
#include "export/export_driver.h"
#include "export/intel_hex.h"
#include "export/microchip_format.h"
#include "export/shipped_headers.h"
#include "model/font.h"
#include "model/font_settings.h"

namespace typeloom::cli {

namespace {

using namespace typeloom::exporters;

// The formats whose files are text, which standard output can carry.
bool isTextFormat(ExportFormat format) {
    switch (format) {
        case ExportFormat::TableBin:
        case ExportFormat::StudioDat:
        case ExportFormat::GeneralBin:
        case ExportFormat::MicrochipBin:
        case ExportFormat::V2Dat:
            return false;
        default:
            return true;
    }
}

constexpr const char* kExportHelp =
    "Usage: typeloom export IN -o OUT --format NAME [OPTIONS]\n"
    "\n"
    "Writes a font (a project, or any file `typeloom import` reads) for firmware or other\n"
    "tools. Formats (NAME, or the numeric format id):\n"
    "  table-c, table-asm, table-bin      table-based C, assembler, binary\n"
    "  studio-c, studio-asm, studio-dat   the same layouts under their older names\n"
    "  general-c, general-bin             General C and binary\n"
    "  microchip-c, microchip-bin         Microchip C and binary\n"
    "  v2-c, v2-asm, v2-dat               version 2.0 C, assembler and binary\n"
    "  hex                                Intel HEX\n"
    "  fnt, fon                           Windows font resource / font library (fonts of\n"
    "                                     encoding Ascii+ISO8859)\n"
    "  bdf                                Glyph Bitmap Distribution Format 2.1\n"
    "  bmp                                one charXXXX.bmp per character into the folder OUT\n"
    "With -o - a text format (C, assembler, HEX) is written to standard output.\n"
    "--with-headers also writes the header the C file includes (tlmtype.h for table-c and\n"
    "studio-c, tlmfont.h for general-c) into the folder of OUT.\n"
    "\n"
    "Date of the header comment (the same project and options then give the same bytes):\n"
    "  --date YYYY-MM-DD|none       that day at 00:00 UTC, or no date at all\n"
    "  (without --date, SOURCE_DATE_EPOCH in seconds when it is set, else the local time)\n"
    "\n"
    "Data layout (defaults from the desktop program's settings, else big endian, row\n"
    "based, row preferred, unpacked, 8 bits):\n"
    "  --data-format 0xWORD         the whole data-format word\n"
    "  --bit-order msb|lsb          first pixel in the most / least significant bit\n"
    "  --scan row|column            a unit holds a row's or a column's neighbours\n"
    "  --prefer row|column          which way the bands run\n"
    "  --packed / --unpacked        run the bit stream on across rows (columns) or not\n"
    "  --unit 8|16|32               unit width in bits\n"
    "  --invert / --no-invert       complement every unit\n"
    "  --preset NAME                the layout of a kind of display controller (see\n"
    "                               Presets below); the options above may change it\n"
    "Tables (table-based and General formats):\n"
    "  --tables LIST                comma list of offset,width,ascii,extended (or none)\n"
    "  --uchar                      declare the data table as UCHAR whatever the unit\n"
    "  --c99                        extra braces in the General C file for C99 compilers\n"
    "Intel HEX:\n"
    "  --start-address HEX          address of the first byte (default 0)\n"
    "  --skip-wide                  leave out characters wider than 16 pixels (without it\n"
    "                               such characters end the export with their list)\n";

// Text broken into lines of at most 88 columns, each after `indent` blanks.
std::string wrapped(std::string_view text, std::size_t indent) {
    constexpr std::size_t kWidth = 88;
    std::string out;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string_view word = text.substr(at, end - at);
        if (!line.empty() && indent + line.size() + 1 + word.size() > kWidth) {
            out += std::string(indent, ' ') + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
        at = end + 1;
    }
    if (!line.empty()) {
        out += std::string(indent, ' ') + line + "\n";
    }
    return out;
}

// The help's list of controller presets, from the table the desktop program lists.
std::string presetsHelp() {
    std::string text = "Presets (--preset NAME):\n";
    for (const ControllerPreset& preset : controllerPresets()) {
        const std::string name = preset.name;
        text += "  " + name + std::string(name.size() < 14 ? 14 - name.size() : 1, ' ') +
                preset.title + "\n";
        text += wrapped(preset.description, 16);
        text += wrapped(preset.arrangement, 16);
    }
    return text;
}

int applyTableOptions(const Arguments& a, int pages) {
    if (auto list = a.value("--tables")) {
        pages &=
            ~(kPageOffsetTable | kPageWidthTable | kPageAsciiIndexTable | kPageExtendedIndexTable);
        std::stringstream s(*list);
        std::string item;
        while (std::getline(s, item, ',')) {
            if (item == "offset") {
                pages |= kPageOffsetTable;
            } else if (item == "width") {
                pages |= kPageWidthTable;
            } else if (item == "ascii") {
                pages |= kPageAsciiIndexTable;
            } else if (item == "extended") {
                pages |= kPageExtendedIndexTable;
            } else if (item != "none" && !item.empty()) {
                throw UsageError{"--tables takes offset, width, ascii, extended or none"};
            }
        }
    }
    if (a.has("--uchar")) {
        pages |= kPageUcharData;
    }
    if (a.has("--c99")) {
        pages |= kPageC99Braces;
    }
    return pages | kPageDataTable;
}

// The "Create time" of this run: --date, else SOURCE_DATE_EPOCH, else now (local time).
CreateTime createTimeOfRun(const Arguments& a) {
    if (auto date = a.value("--date")) {
        if (auto t = createTimeFromDate(*date)) {
            return *t;
        }
        throw UsageError{"--date takes a day as YYYY-MM-DD (1970 or later) or none"};
    }
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
        if (auto t = createTimeFromEpoch(epoch)) {
            return *t;
        }
        throw UsageError{
            "SOURCE_DATE_EPOCH must be a count of seconds since 1970 (decimal digits only)"};
    }
    return CreateTime(std::time(nullptr));
}

// A message box text on one line of a terminal.
std::string oneLine(std::string text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

int commandExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(args,
                {"-o", "--output", "--format", "--data-format", "--bit-order", "--scan", "--prefer",
                 "--unit", "--tables", "--start-address", "--preset", "--date"},
                {"--packed", "--unpacked", "--invert", "--no-invert", "--uchar", "--c99",
                 "--skip-wide", "--with-headers"});
    if (a.helpRequested()) {
        out << kExportHelp << presetsHelp();
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"export takes one input file"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"export needs an output file (-o OUT)"};
    }
    const std::string formatName = a.value("--format", "");
    // "-o -" writes the file to standard output, for the formats that are text.
    const bool toStandardOutput = output == "-";
    if (toStandardOutput && isFontFileFormat(formatName)) {
        throw UsageError{"-o - takes a text format; " + formatName + " is not one"};
    }
    if (isFontFileFormat(formatName)) {
        Font font;
        if (!loadAnyFontFile(a.positional().front(), font, err)) {
            return kExitFailed;
        }
        if (font.count() == 0) {
            err << "typeloom: the font has no characters\n";
            return kExitFailed;
        }
        return exportFontFile(font, formatName, output, out, err);
    }
    const FormatInfo* format = findFormat(formatName);
    if (format == nullptr) {
        // A number is a format id; one beyond int's range is none (cut to an int, some would
        // wrap round to a valid id).
        constexpr auto kLargestId = static_cast<unsigned long>(std::numeric_limits<int>::max());
        if (auto id = parseNumber(formatName); id && *id <= kLargestId) {
            format = findFormat(static_cast<int>(*id));
        }
    }
    if (format == nullptr) {
        throw UsageError{formatName.empty() ? "export needs --format NAME"
                                            : "unknown format '" + formatName + "'"};
    }
    if (toStandardOutput && !isTextFormat(format->id)) {
        throw UsageError{std::string("-o - takes a text format; ") + format->shortName +
                         " is binary"};
    }
    const bool withHeaders = a.has("--with-headers");
    if (withHeaders && headerIncludedBy(format->id) == nullptr) {
        throw UsageError{std::string("--with-headers: ") + format->shortName +
                         " files include no header of ours (table-c, studio-c and general-c do)"};
    }
    if (withHeaders && toStandardOutput) {
        throw UsageError{"--with-headers needs an output file, not -o -"};
    }

    // The desktop program's settings give the defaults; options override them for this run
    // only, and nothing is written back.
    IniSettingsStore stored(defaultSettingsPath());
    MemorySettingsStore settings;
    settings.writeInteger(kSettingsSection, kPagesOptionKey,
                          applyTableOptions(a, pagesOption(stored)));

    ExportRequest request;
    request.path = output;
    request.format = format->id;
    request.now = createTimeOfRun(a);
    if (auto address = a.value("--start-address")) {
        std::string text = *address;
        if (text.rfind("0x", 0) != 0 && text.rfind("0X", 0) != 0) {
            text = "0x" + text;
        }
        request.hex.startAddress = parseWord(text, "--start-address");
    }
    request.hex.skipWide = a.has("--skip-wide");

    Font font;
    loadFontSettings(font, stored);
    if (!loadAnyFontFile(a.positional().front(), font, err)) {
        return kExitFailed;
    }
    font.dataFormat = applyLayoutOptions(a, font.dataFormat);
    if (font.count() == 0) {
        err << "typeloom: the font has no characters to export\n";
        return kExitFailed;
    }
    if (format->id == ExportFormat::Hex) {
        // The questions the desktop program asks before a HEX export, answered by options.
        if (std::string problem = hexExportProblem(font); !problem.empty()) {
            err << "typeloom: " << oneLine(problem) << "\n";
            return kExitFailed;
        }
        if (!request.hex.skipWide && !hexWideCharacters(font).empty()) {
            err << "typeloom: " << oneLine(kHexWidthWarning) << "\n"
                << hexWideCharacterList(font) << "\n"
                << "Run again with --skip-wide to leave them out.\n";
            return kExitFailed;
        }
    }

    if (format->id == ExportFormat::MicrochipC || format->id == ExportFormat::MicrochipBin) {
        // The table indexes by code: large gaps cost room, which the user should know of.
        if (std::string gaps = microchipGapWarning(font); !gaps.empty()) {
            err << "typeloom: warning: " << gaps << "\n";
        }
    }

    if (toStandardOutput) {
        // The symbols are named after the input file, as a file named like it would name them.
        const std::optional<std::string> text =
            exportToMemory(font, settings, format->id, identifierBase(a.positional().front()),
                           request.now, request.hex);
        if (!text) {
            err << "typeloom: export failed\n";
            return kExitFailed;
        }
        out << *text;
        return kExitOk;
    }

    const CancelFlag neverCancelled;  // a command-line export runs to its end
    auto progress = progressFor(err);
    ExportResult result = runExport(font, settings, request, neverCancelled, *progress);
    if (!result.ok()) {
        err << "typeloom: " << (result.message.empty() ? "export failed" : result.message) << "\n";
        return kExitFailed;
    }
    out << "Wrote " << output << " (" << format->shortName;
    if (format->id != ExportFormat::Hex) {  // HEX blocks have a fixed layout
        out << ", " << describeDataFormat(font.dataFormat) << ", " << unitBits(font.dataFormat)
            << " bits";
    }
    out << ")\n";
    if (withHeaders) {
        try {
            const int pages = pagesOption(settings);
            out << "Wrote " << writeHeaderBeside(output, format->id, pages) << "\n";
        } catch (const FileError& e) {
            err << "typeloom: " << e.what() << "\n";
            return kExitFailed;
        }
    }
    return kExitOk;
}

const CommandRegistration kRegistration({"export", "write a font for firmware or other tools",
                                         commandExport});

}  // namespace

}  // namespace typeloom::cli
