// The C and assembler text every writer generates, whatever the font's name: a hostile name
// stays inside its comment, and the C files compile without a warning as C and as C++.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charset/encodings.h"
#include "export/export_driver.h"
#include "export/shipped_headers.h"
#include "export/unit_text.h"
#include "export_test_support.h"
#include "test_support.h"

namespace typeloom::exporters {
namespace {

using typeloom::test::readShippedHeader;
using typeloom::test::readTestData;

// ---------------------------------------------------------------------------------------------
// commentText, rule by rule

TEST(CommentText, MakesFreeTextSafeForAComment) {
    struct Case {
        const char* what;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"plain", "Small Font 12", "Small Font 12"},
        {"code page letters", "Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},
        {"a question mark alone", "Why?", "Why?"},
        {"comment end", "a*/b", "a* /b"},
        {"comment start", "a/*b", "a/ *b"},
        {"both, injected", "*/ int x; /*", "* / int x; / *"},
        {"a run of stars and slashes", "*/*/", "* / * /"},
        {"line comment start stays", "a//b", "a//b"},
        {"line feed", "a\nb", "a?b"},
        {"carriage return", "a\rb", "a?b"},
        {"tab and escape", "a\tb\x1B", "a?b?"},
        {"delete", "a\x7F", "a?"},
        {"C1 control", "a\xC2\x85", "a?"},
        {"backslash", "a\\", "a?"},
        {"trigraph backslash", "a?\?/", "a?\? /"},
        {"backslash after two question marks", "??\\/", "??? /"},
        {"broken UTF-8", "a\xFF\xC3", "a??"},
        {"outside the code page", "\xE4\xB8\x80", "?"},
        {"line separator", "a\xE2\x80\xA8", "a?"},
        {"beyond U+FFFF, one character", "\xF0\x9F\x98\x80!", "?!"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commentText(c.in), c.out) << c.what;
    }
}

// ---------------------------------------------------------------------------------------------
// Hostile names through every text format

// Names that would put code, or a line of their own, into a file that wrote them as they are.
// Each one that escaped its comment would show the word "injected" to the compiler.
std::vector<std::string> hostileNames() {
    return {
        "*/ int injected = 1; /*",
        "A\nint injected = 2;",
        "A\r\nint injected = 3;",
        "A\rint injected = 4;",
        "x\n#define fontHostile_data_table injected",
        "tab\there\x01\x02\x1B\x7F injected",
        "// injected",
        "name ends */",
        "*/",
        "/*",
        "\xFF\xFE broken \xC3 injected",
        "\xE2\x80\xA8 injected \xE2\x80\xA9",
        "\xC2\x85 injected",
        std::string(290, 'N') + " ends \\",
        std::string(290, 'T') + " ends ?\?/",
        std::string(300, '*') + "/",
    };
}

constexpr ExportFormat kTextFormats[] = {
    ExportFormat::TableC, ExportFormat::TableAsm, ExportFormat::GeneralC,
    ExportFormat::V2C,    ExportFormat::V2Asm,    ExportFormat::MicrochipC,
};

bool isC(ExportFormat f) {
    return f != ExportFormat::TableAsm && f != ExportFormat::V2Asm;
}

std::string exportWithName(ExportFormat format, const std::string& name, int pages = 0x6F,
                           std::uint32_t word = 0) {
    Font font = test::fixedFont();
    font.faceName = name;
    if (word != 0) {
        font.dataFormat = word;
    }
    const auto text =
        exportToMemory(font, test::settingsWithPages(pages), format, "fontHostile", 1000000000);
    return text.value_or("");
}

// The header a C file includes, under the name it includes: ours as installed, and a stand-in
// for the graphics library's.
std::vector<std::pair<std::string, std::string>> headersFor(ExportFormat format) {
    switch (format) {
        case ExportFormat::TableC:
            return {{"tlmtype.h", readShippedHeader("tlmtype.h")}};
        case ExportFormat::GeneralC:
            return {{"tlmfont.h", readShippedHeader("tlmfont.h")}};
        case ExportFormat::MicrochipC:
            return {{"graphics.h", readTestData("export/headers/graphics.h")}};
        default:
            return {};
    }
}

// The flags of a C file: the Microchip one declares no include of its own; a General file
// written without the C99 braces tells the installed tlmfont.h so, as its comment says.
std::string flagsFor(ExportFormat format, int pages = 0x6F) {
    if (format == ExportFormat::MicrochipC) {
        return " -include graphics.h";
    }
    if (format == ExportFormat::GeneralC && (pages & kPageC99Braces) == 0) {
        return " -DTLMFONT_NO_C99_BRACES";
    }
    return "";
}

std::size_t lineCount(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++n;
    }
    return n;
}

// No byte below 32 but tab, and CR only as the first half of a line end.
bool onlyLineEndsAndTabs(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool lineEnd = (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ||
                             (c == '\n' && i > 0 && text[i - 1] == '\r');
        if (c < 32 && c != '\t' && !lineEnd) {
            return false;
        }
    }
    return true;
}

TEST(GeneratedCode, HostileNameStaysInsideItsComment) {
    for (ExportFormat format : kTextFormats) {
        const std::string plain = exportWithName(format, "Plain");
        ASSERT_FALSE(plain.empty()) << format;
        for (const std::string& name : hostileNames()) {
            SCOPED_TRACE(testing::Message() << format << " name " << testing::PrintToString(name));
            const std::string text = exportWithName(format, name);
            // The name adds no line and no control byte.
            EXPECT_EQ(lineCount(text), lineCount(plain));
            EXPECT_TRUE(onlyLineEndsAndTabs(text));
            if (!isC(format)) {
                // The assembler line that names the font is still a comment.
                const std::size_t at = text.find("Font name:");
                ASSERT_NE(at, std::string::npos);
                const std::size_t start = text.rfind("\r\n", at);
                EXPECT_EQ(text[start == std::string::npos ? 0 : start + 2], ';');
                continue;
            }
            std::vector<std::pair<std::string, std::string>> files = headersFor(format);
            files.emplace_back("font.c", text);
            const test::ObjectResult r =
                test::compileObject(files, "font.c", "-std=c99" + flagsFor(format));
            if (!r.compiled) {
                ADD_FAILURE() << r.diagnostics;
                continue;
            }
            EXPECT_EQ(r.preprocessed.find("injected"), std::string::npos) << r.preprocessed;
            // Every symbol the object defines is one the writer named.
            std::size_t from = 0;
            for (std::size_t end = r.symbols.find('\n'); end != std::string::npos;
                 from = end + 1, end = r.symbols.find('\n', from)) {
                const std::string symbol = r.symbols.substr(from, end - from);
                EXPECT_NE(symbol.find("fontHostile"), std::string::npos) << symbol;
            }
        }
    }
}

// Characters whose own text is a control character: DEL, C1 controls and the five bytes
// windows-1252 leaves undefined. Their comments name them by '.', never by the byte itself.
TEST(GeneratedCode, ControlCharactersNeverReachTheCommentsAsBytes) {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.faceName = "Controls";
    font.height = 3;
    font.ascent = 2;
    for (std::uint16_t c : {0x09, 0x7E, 0x7F, 0x80, 0x81, 0x85, 0x8D, 0x8F, 0x90, 0x9D, 0x9F}) {
        Glyph g;
        g.init(c, 2, font.height);
        g.pixels[0] = 1;
        font.glyphs.insert(c, std::move(g));
        font.insertCode(c, c);
    }
    font.charTable.buildFromUnicodeList(font.unicodeList, 0, kEncodingUnicode);
    font.updateFixedWidth();
    font.updateMaxWidth();
    for (ExportFormat format : kTextFormats) {
        SCOPED_TRACE(testing::Message() << format);
        const auto text =
            exportToMemory(font, test::settingsWithPages(0x6F), format, "fontControls", 1000000000);
        ASSERT_TRUE(text.has_value());
        EXPECT_TRUE(onlyLineEndsAndTabs(*text));
        for (unsigned char b : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
            EXPECT_EQ(text->find(static_cast<char>(b)), std::string::npos) << int{b};
        }
        // '~' is no control and keeps its own character where characters are named.
        if (format != ExportFormat::GeneralC) {
            EXPECT_NE(text->find("('~')"), std::string::npos);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Every C export compiles with every warning on, as C and as C++

struct WarningCase {
    ExportFormat format;
    int pages;
    std::uint32_t word;  // 0: the font's own
    // Also compiled as C++. The Microchip file is not: its bytes fill a `char` array, and a
    // byte above 0x7F in it is a narrowing error in C++, while C takes it.
    bool asCpp = true;
};

const WarningCase kWarningCases[] = {
    {ExportFormat::TableC, 0x6F, 0},
    {ExportFormat::TableC, 0x7F, 0x01121110},
    {ExportFormat::TableC, 0x01, 0x00000000},
    {ExportFormat::TableC, 0x43, 0x02020202},
    {ExportFormat::TableC, 0x5D, 0x04040404},
    {ExportFormat::TableC, 0x6F, 0x11111111},
    {ExportFormat::GeneralC, 0x0F, 0},
    {ExportFormat::GeneralC, 0x2F, 0x01121110},
    {ExportFormat::GeneralC, 0x0F, 0x04040404},
    {ExportFormat::MicrochipC, 0x6F, 0, false},
    {ExportFormat::MicrochipC, 0x6F, 0x02020202, false},
    {ExportFormat::V2C, 0x6F, 0},
    {ExportFormat::V2C, 0x7F, 0x01121110},
    {ExportFormat::V2C, 0x6F, 0x04040404},
};

TEST(GeneratedCode, CompilesWithoutWarningsAsCAndCpp) {
    const std::string languages[] = {"-std=c99", "-x c++ -std=c++17"};
    for (const WarningCase& c : kWarningCases) {
        const std::string text = exportWithName(c.format, "Warn Test", c.pages, c.word);
        ASSERT_FALSE(text.empty()) << c.format;
        std::vector<std::pair<std::string, std::string>> files = headersFor(c.format);
        files.emplace_back("font.c", text);
        for (const std::string& language : languages) {
            if (!c.asCpp && language != languages[0]) {
                continue;
            }
            const test::ObjectResult r = test::compileObject(
                files, "font.c", language + " -Wall -Wextra -Werror" + flagsFor(c.format, c.pages));
            EXPECT_TRUE(r.compiled)
                << c.format << " pages " << c.pages << " word " << c.word << " " << language << "\n"
                << r.diagnostics;
        }
    }
}

// The program writes beside an export the very headers it installs, and the copy that goes
// with a General file without braces compiles with that file as it stands.
TEST(ShippedHeaders, CopiesBesideAnExportAreTheInstalledFiles) {
    for (const ShippedHeader& header : shippedHeaders()) {
        EXPECT_EQ(header.text, readShippedHeader(header.name)) << header.name;
    }
    EXPECT_EQ(headerIncludedBy(ExportFormat::StudioC)->name, std::string("tlmtype.h"));
    EXPECT_EQ(headerIncludedBy(ExportFormat::TableAsm), nullptr);
    const ShippedHeader& font = *headerIncludedBy(ExportFormat::GeneralC);
    for (int pages : {0x0F, 0x2F}) {
        const std::vector<std::pair<std::string, std::string>> files = {
            {"tlmfont.h", headerTextFor(font, pages)},
            {"font.c", exportWithName(ExportFormat::GeneralC, "Beside", pages)}};
        const test::ObjectResult r =
            test::compileObject(files, "font.c", "-std=c99 -Wall -Wextra -Werror");
        EXPECT_TRUE(r.compiled) << pages << "\n" << r.diagnostics;
    }
}

}  // namespace
}  // namespace typeloom::exporters
