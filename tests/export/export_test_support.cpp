#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "charset/encodings.h"
#include "export/export_driver.h"
#include "model/font_settings.h"
#include "test_support.h"

namespace typeloom::exporters::test {

namespace {

void addGlyph(Font& font, std::uint16_t code, std::uint16_t width, int index,
              int (*rule)(int x, int y, int i)) {
    Glyph g;
    g.init(code, width, font.height);
    for (int y = 0; y < font.height; ++y) {
        for (int x = 0; x < width; ++x) {
            g.pixels[static_cast<std::size_t>(y * width + x)] = rule(x, y, index) ? 1 : 0;
        }
    }
    font.glyphs.insert(code, std::move(g));
    font.insertCode(code, code);
}

std::string runCommand(const std::string& command, int& status) {
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) {
        output.append(buffer, n);
    }
    status = pclose(pipe.release());
    return output;
}

}  // namespace

Font fixedFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.faceName = "Fixed Test";
    font.height = 7;
    font.ascent = 6;
    int i = 0;
    for (std::uint16_t c : {0x41, 0x42, 0x43}) {
        addGlyph(font, c, 5, i++, [](int x, int y, int k) { return int((x + y + k) % 3 == 0); });
    }
    font.charTable.buildFromUnicodeList(font.unicodeList, 0, kEncodingAnsi);
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

Font variableFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.faceName = "Var-Test";
    font.height = 4;
    font.ascent = 3;
    const std::uint16_t codes[] = {0x20, 0x21, 0x30, 0x31};
    const std::uint16_t widths[] = {2, 1, 9, 0};
    for (int i = 0; i < 4; ++i) {
        addGlyph(font, codes[i], widths[i], i,
                 [](int x, int y, int k) { return int((x * 3 + y + k) % 4 == 0); });
    }
    font.charTable.buildFromUnicodeList(font.unicodeList, 0, kEncodingAnsi);
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

Font unicodeFont() {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.faceName = "Uni";
    font.height = 5;
    font.ascent = 4;
    int i = 0;
    for (std::uint16_t c : {0x41, 0xE9, 0x4E00}) {
        addGlyph(font, c, 3, i++,
                 [](int x, int y, int k) { return int((x + 2 * y + k) % 3 == 0); });
    }
    font.charTable.buildFromUnicodeList(font.unicodeList, 0, kEncodingUnicode);
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

MemorySettingsStore settingsWithPages(int pages) {
    MemorySettingsStore s;
    s.writeInteger(kSettingsSection, kPagesOptionKey, pages);
    return s;
}

int pixelOf(const Font& font, std::uint16_t unicode, int x, int y) {
    const Glyph* g = font.glyphs.find(unicode);
    if (g == nullptr || x >= g->width || y >= font.height) {
        return 0;
    }
    return g->pixels[static_cast<std::size_t>(y * g->width + x)];
}

CompileResult compileAndRun(const std::vector<std::pair<std::string, std::string>>& files,
                            const std::string& flags) {
    typeloom::test::TempDir dir;
    std::string sources;
    for (const auto& [name, text] : files) {
        std::ofstream out(dir.file(name), std::ios::binary);
        out << text;
        if (name.size() > 2 && name.compare(name.size() - 2, 2, ".c") == 0) {
            sources += " '" + dir.file(name) + "'";
        }
    }
    CompileResult result;
    const std::string program = dir.file("program");
    int status = 0;
    result.diagnostics = runCommand("cc -std=c99 -Wall -Werror -I'" + dir.path().string() + "' " +
                                        flags + sources + " -o '" + program + "'",
                                    status);
    if (status != 0) {
        return result;
    }
    result.compiled = true;
    result.output = runCommand("'" + program + "'", status);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ObjectResult compileObject(const std::vector<std::pair<std::string, std::string>>& files,
                           const std::string& source, const std::string& flags) {
    typeloom::test::TempDir dir;
    for (const auto& [name, text] : files) {
        std::ofstream out(dir.file(name), std::ios::binary);
        out << text;
    }
    ObjectResult result;
    const std::string compile =
        "cc -I'" + dir.path().string() + "' " + flags + " '" + dir.file(source) + "'";
    const std::string object = dir.file("object.o");
    int status = 0;
    result.diagnostics = runCommand(compile + " -c -o '" + object + "'", status);
    if (status != 0) {
        return result;
    }
    result.compiled = true;
    result.symbols =
        runCommand("nm -g --defined-only --format=just-symbols '" + object + "'", status);
    result.preprocessed = runCommand(compile + " -E -P", status);
    return result;
}

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

}  // namespace typeloom::exporters::test
