// The firmware demo (examples/firmware-demo), built through typeloom_add_font by the fixture
// test firmware_demo.build, draws strings as text art. Its picture must equal the one laid out
// here straight from the project's glyphs, read through the core: the glyphs of the string side
// by side, each as wide as its own width, '#' for ink and '.' for background.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/progress_sink.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom {
namespace {

std::string runDemo(const std::string& text) {
    std::string command = std::string("'") + TYPELOOM_FIRMWARE_DEMO + "'";
    if (!text.empty()) {
        command += " '" + text + "'";
    }
    std::string out;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        EXPECT_EQ(::pclose(pipe), 0) << command;
    }
    return out;
}

// The text art of `text` in an Ascii+ISO8859 font, from its glyphs.
std::string picture(const Font& font, const std::string& text) {
    std::string art;
    for (int y = 0; y < font.height; ++y) {
        for (unsigned char c : text) {
            const Glyph* glyph = font.glyphs.find(c);
            if (glyph == nullptr) {
                continue;
            }
            for (int x = 0; x < glyph->width; ++x) {
                art +=
                    glyph->pixels[static_cast<std::size_t>(y * glyph->width + x)] != 0 ? '#' : '.';
            }
        }
        art += '\n';
    }
    return art;
}

TEST(FirmwareDemo, TextArtEqualsTheProjectsGlyphs) {
    Font font;
    NullProgressSink progress;
    ASSERT_TRUE(
        loadProject(TYPELOOM_SOURCE_DIR "/examples/firmware-demo/demo_font.tlf", font, progress)
            .ok());
    ASSERT_EQ(font.encoding, 0);
    // The default string, a string of every printable ASCII character (the width and offset
    // tables walked across the whole font) and one with a character the font lacks.
    std::string ascii;
    for (char c = ' '; c <= '~'; ++c) {
        if (c != '\'') {  // the shell's quote
            ascii += c;
        }
    }
    const struct {
        std::string argument;
        std::string drawn;
    } rows[] = {{"", "Typeloom 3.5!"}, {ascii, ascii}, {"a\x01z", "az"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.drawn);
        const std::string art = runDemo(row.argument);
        EXPECT_EQ(art, picture(font, row.drawn));
        EXPECT_NE(art.find('#'), std::string::npos);  // something was drawn
    }
}

}  // namespace
}  // namespace typeloom
