#include <algorithm>
#include <cctype>
#include <iostream>
#include <string_view>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "cli/cli.h"
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/rasteriser.h"
#include "model/system_fonts.h"

namespace typeloom::cli {

namespace {

constexpr const char* kRasterizeHelp =
    "Usage: typeloom rasterize --family NAME [--style STYLE | --bold --italic]\n"
    "                          [--script SCRIPT] [--underline] [--strikeout]\n"
    "                          [--keep-pitch | --no-keep-pitch]\n"
    "                          --points N -o OUT.tlf\n"
    "\n"
    "Renders every character an installed font supports at a size in points into a new\n"
    "Unicode font project, as \"Import Font\" does.\n"
    "\n"
    "  --family NAME      an installed font family (see typeloom fonts)\n"
    "  --style STYLE      one of the family's styles, e.g. \"Bold Oblique\"\n"
    "  --bold, --italic   the bold or italic face instead of a named style\n"
    "  --script SCRIPT    the character set, e.g. \"Cyrillic\" (typeloom fonts --scripts\n"
    "                     lists those a face offers; default Western, or the face's\n"
    "                     first script when it has no Western)\n"
    "  --underline        underline every character\n"
    "  --strikeout        strike every character out\n"
    "  --keep-pitch       every character takes the face's advance and ink outside the\n"
    "                     cell is clipped (the default for a face of fixed pitch)\n"
    "  --no-keep-pitch    cells widen to keep every pixel of a character's ink (the\n"
    "                     default for a proportional face)\n"
    "  --points N         size in points, 4..244, at 96 dots per inch\n"
    "  -o, --output FILE  the project file to write\n";

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Passes the glyphs of the font being rasterised on to its project file.
class SaveWhileRendering : public RenderedFontSink {
  public:
    explicit SaveWhileRendering(ProjectStreamWriter& writer) : m_writer(writer) {}
    void start(const Font& font, std::size_t glyphCount) override {
        m_writer.begin(font, glyphCount);
    }
    void glyph(std::uint16_t key, const Glyph& glyph) override { m_writer.glyph(key, glyph); }

  private:
    ProjectStreamWriter& m_writer;
};

int commandRasterize(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments a(
        args, {"--family", "--style", "--script", "--points", "-o", "--output"},
        {"--bold", "--italic", "--underline", "--strikeout", "--keep-pitch", "--no-keep-pitch"});
    if (a.helpRequested()) {
        out << kRasterizeHelp;
        return kExitOk;
    }
    if (!a.positional().empty()) {
        throw UsageError{"unexpected argument " + a.positional().front()};
    }
    const std::string family = a.value("--family", "");
    if (family.empty()) {
        throw UsageError{"rasterize needs a font family (--family NAME)"};
    }
    const std::string output = a.value("-o", a.value("--output", ""));
    if (output.empty()) {
        throw UsageError{"rasterize needs an output file (-o OUT.tlf)"};
    }
    const auto points = parseNumber(a.value("--points", ""));
    if (!points || *points < static_cast<unsigned long>(kMinChooserPoints) ||
        *points > static_cast<unsigned long>(kMaxChooserPoints)) {
        throw UsageError{"--points must be a size between 4 and 244"};
    }
    const auto style = a.value("--style");
    if (style && (a.has("--bold") || a.has("--italic"))) {
        throw UsageError{"--style cannot be combined with --bold or --italic"};
    }
    if (a.has("--keep-pitch") && a.has("--no-keep-pitch")) {
        throw UsageError{"--keep-pitch cannot be combined with --no-keep-pitch"};
    }

    std::vector<SystemFace> faces = listSystemFaces(family);
    std::erase_if(faces, [&](const SystemFace& f) { return !equalIgnoringCase(f.family, family); });
    if (faces.empty()) {
        err << "typeloom: no installed font family \"" << family
            << "\" (typeloom fonts lists them)\n";
        return kExitFailed;
    }
    // 12 points give -16: the em height in pixels at 96 dots per inch.
    const int height = heightForPointTenths(static_cast<int>(*points) * 10);
    LogFont logFont;
    std::string styleName;
    if (style) {
        auto face = findSystemFace(faces.front().family, *style);
        if (!face) {
            err << "typeloom: \"" << faces.front().family << "\" has no style \"" << *style
                << "\"; its styles are:";
            for (const SystemFace& f : faces) {
                err << " \"" << f.style << "\"";
            }
            err << "\n";
            return kExitFailed;
        }
        logFont = logFontForFace(*face, height);
        styleName = face->style;
    } else {
        logFont.faceName = faces.front().family;
        logFont.height = height;
        logFont.weight = a.has("--bold") ? 700 : 400;
        logFont.italic = a.has("--italic") ? 1 : 0;
    }
    logFont.underline = a.has("--underline") ? 1 : 0;
    logFont.strikeOut = a.has("--strikeout") ? 1 : 0;
    if (auto script = a.value("--script")) {
        // Only a script the chosen face offers, as the chooser's Script list shows.
        auto location = resolveLogFont(logFont);
        std::vector<FontScript> offered =
            location ? scriptsOfFace(*location) : std::vector<FontScript>{};
        auto it = std::find_if(offered.begin(), offered.end(), [&](const FontScript& s) {
            return equalIgnoringCase(s.name, *script);
        });
        if (it == offered.end()) {
            err << "typeloom: the face offers no script \"" << *script << "\"; it offers:";
            for (const FontScript& s : offered) {
                err << " \"" << s.name << "\"";
            }
            err << "\n";
            return kExitFailed;
        }
        logFont.charSet = it->charSet;
    }

    Font font;
    font.setBitsPerPixel(1);
    font.setEncoding(kEncodingUnicode);
    // The face decides the pitch rule unless the command line does; the renderer made here is
    // the one the font renders with.
    font.setSourceFont(logFont);
    PitchRule pitch = defaultPitchRule(font.renderer());
    if (a.has("--keep-pitch")) {
        if (!font.renderer().metrics().fixedPitch) {
            err << "typeloom: \"" << logFont.faceName
                << "\" is a proportional face; it has no pitch to keep\n";
            return kExitFailed;
        }
        pitch = PitchRule::KeepPitch;
    } else if (a.has("--no-keep-pitch")) {
        pitch = PitchRule::WidenToInk;
    }
    // The project is written while the font renders, each glyph as soon as it and those before
    // it are drawn, so that the file is ready soon after the last one. A destination that cannot
    // be written is refused here, before any rendering.
    int clipped = 0;
    try {
        ProjectStreamWriter writer(output);
        SaveWhileRendering save(writer);
        std::unique_ptr<ProgressSink> progress = progressFor(err);
        clipped =
            rasteriseSystemFont(font, logFont, DbcsTables::program(), *progress, pitch, 0, &save);
        writer.finish(font);
    } catch (const FileError& e) {
        err << "typeloom: " << e.what() << "\n";
        return kExitFailed;
    }
    out << "Rasterized " << font.faceName << (styleName.empty() ? "" : " " + styleName) << " at "
        << *points << " points into " << output << ": " << font.count() << " characters, height "
        << font.height;
    if (pitch == PitchRule::KeepPitch) {
        out << ", fixed pitch of " << facePitch(font.renderer()) << " pixels kept";
        // As the chooser tells before rendering: a character wider than the pitch (a double-width
        // ideograph, a mark reaching past its advance) is clipped, which --no-keep-pitch avoids.
        if (clipped > 0) {
            out << "; " << clipped << (clipped == 1 ? " character loses" : " characters lose")
                << " ink outside the cell (--no-keep-pitch widens the cells to the ink)";
        }
    }
    out << "\n";
    return kExitOk;
}

const CommandRegistration kRegistration({"rasterize",
                                         "render an installed font into a new font project",
                                         commandRasterize});

}  // namespace

}  // namespace typeloom::cli
