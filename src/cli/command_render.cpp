#include <iostream>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/font_file_loading.h"
#include "common/byte_io.h"
#include "common/ini_settings_store.h"
#include "common/text.h"
#include "model/font.h"
#include "model/font_settings.h"
#include "preview/png_file.h"
#include "preview/text_preview.h"
#include "verify/decoded_export.h"

namespace typeloom::cli {

namespace {

constexpr const char* kRenderHelp =
    "Usage: typeloom render PROJECT (--text TEXT | --text-file FILE) -o OUT.png [OPTIONS]\n"
    "\n"
    "Draws text as the firmware will: the characters side by side at their widths, lines of\n"
    "the font's height, each character's pixels taken from its encoded units (the data layout\n"
    "of the desktop program's settings and the layout options of `typeloom export`), or from\n"
    "an existing export. A character the font lacks is drawn as a red frame and listed on\n"
    "standard error.\n"
    "\n"
    "  --text TEXT            the text (UTF-8; \\n in a shell string is not a line break)\n"
    "  --text-file FILE       the text from a UTF-8 file (after --text, on a new line)\n"
    "  --scale N              draw each pixel N x N (1..16, default 1)\n"
    "  --width PX             wrap lines at PX font pixels (after the last space)\n"
    "  --from-export FILE     take the pictures from this export (any `typeloom verify` reads)\n"
    "  --format NAME          the export's format, when it cannot be told from the file\n"
    "  --strict               exit 1 when a character is missing (the picture is written)\n";

int commandRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(
        args,
        {"-o", "--output", "--text", "--text-file", "--scale", "--width", "--from-export",
         "--format", "--data-format", "--preset", "--bit-order", "--scan", "--prefer", "--unit"},
        {"--strict", "--packed", "--unpacked", "--invert", "--no-invert"});
    if (a.helpRequested()) {
        out << kRenderHelp;
        return kExitOk;
    }
    if (a.positional().size() != 1) {
        throw UsageError{"render takes one project"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"render needs an output file (-o OUT.png)"};
    }
    if (!a.has("--text") && !a.has("--text-file")) {
        throw UsageError{"render needs --text or --text-file"};
    }
    preview::PreviewOptions options;
    if (auto s = a.value("--scale")) {
        auto v = parseNumber(*s);
        if (!v || *v < 1 || *v > 16) {
            throw UsageError{"--scale takes 1 to 16"};
        }
        options.scale = static_cast<int>(*v);
    }
    if (auto w = a.value("--width")) {
        auto v = parseNumber(*w);
        if (!v || *v < 1 || *v > 100000) {
            throw UsageError{"--width takes 1 to 100000 pixels"};
        }
        options.wrapWidth = static_cast<int>(*v);
    }
    std::u32string text;
    if (auto t = a.value("--text")) {
        std::size_t bad = 0;
        auto decoded = decodeUtf8Strict(
            std::span(reinterpret_cast<const std::uint8_t*>(t->data()), t->size()), bad);
        if (!decoded) {
            err << "typeloom: --text is not UTF-8 at byte " << bad << "\n";
            return kExitFailed;
        }
        text = *decoded;
    }
    if (auto file = a.value("--text-file")) {
        std::vector<std::uint8_t> bytes;
        try {
            bytes = readWholeFile(*file, std::uint64_t{64} << 20);
        } catch (const FileError& e) {
            err << "typeloom: " << e.what() << "\n";
            return kExitFailed;
        }
        std::size_t bad = 0;
        auto decoded = decodeUtf8Strict(bytes, bad);
        if (!decoded) {
            err << "typeloom: " << *file << " is not UTF-8 text: byte offset " << bad << "\n";
            return kExitFailed;
        }
        if (!text.empty()) {
            text += U'\n';
        }
        text += *decoded;
    }

    IniSettingsStore stored(defaultSettingsPath());
    Font font;
    loadFontSettings(font, stored);
    if (!loadAnyFontFile(a.positional().front(), font, err)) {
        return kExitFailed;
    }
    font.dataFormat = applyLayoutOptions(a, font.dataFormat);
    preview::PreviewImage image;
    if (auto exportPath = a.value("--from-export")) {
        std::optional<verify::Layout> layout;
        if (auto name = a.value("--format")) {
            layout = verify::layoutOfName(*name);
            if (!layout) {
                throw UsageError{"unknown format '" + *name + "'"};
            }
        } else {
            layout = verify::detectLayout(*exportPath);
        }
        if (!layout) {
            err << "typeloom: the layout of " << *exportPath
                << " cannot be told from its contents; name it with --format\n";
            return kExitFailed;
        }
        verify::DecodeOptions decodeOptions;
        decodeOptions.dataWord = font.dataFormat;
        decodeOptions.project = &font;
        try {
            const verify::DecodedExport decoded =
                verify::decodeExport(*layout, *exportPath, decodeOptions);
            preview::ExportPictures pictures(font, decoded);
            image = preview::renderText(text, pictures, options);
        } catch (const verify::DecodeError& e) {
            err << "typeloom: cannot read " << *exportPath << ": " << e.what() << "\n";
            return kExitFailed;
        }
    } else {
        preview::EncodedPictures pictures(font);
        image = preview::renderText(text, pictures, options);
    }
    try {
        preview::writePng(image, output);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    for (const preview::MissingCharacter& m : image.missing) {
        err << "typeloom: missing " << preview::describeMissing(m) << "\n";
    }
    out << "Wrote " << output << ": " << image.width << " x " << image.height << " pixels, "
        << text.size() << " characters";
    if (!image.missing.empty()) {
        out << ", " << image.missing.size() << " missing";
    }
    out << "\n";
    return a.has("--strict") && !image.missing.empty() ? kExitFailed : kExitOk;
}

const CommandRegistration kRegistration({"render",
                                         "draw text as the firmware will, into a PNG picture",
                                         commandRender});

}  // namespace

}  // namespace typeloom::cli
