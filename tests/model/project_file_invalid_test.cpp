// Malformed project files: each one is refused with a clear message and the open font stays
// exactly as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/glyph_renderer.h"
#include "model/project_file.h"
#include "project_bytes.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::Bytes;
using test::TempDir;

// Options for assembling a small version 3 file with one listed glyph 'A' and one unlisted
// glyph 0x100, changed one at a time by the cases below.
struct Layout {
    std::string magic = "FDCL";
    std::uint16_t version = 0x0300;
    std::uint16_t subVersion = 0x0200;
    std::uint32_t countHigh = 0;
    std::uint32_t encodingWord = 0x00010000;  // encoding 0, 1 bit per pixel
    std::uint16_t height = 2;                 // at byte 60
    std::uint16_t ascent = 1;                 // at byte 62
    std::vector<std::uint16_t> unicodes = {0x41, 0x42};
    std::vector<std::uint16_t> codes = {0x41, 0x42};
    std::uint16_t glyphCount = 3;
    std::vector<std::uint8_t> pixelsOfA = {1, 0, 0, 1};  // 2 x 2
    std::uint16_t unlistedWidth = 2;
    std::vector<std::uint8_t> pixelsOfUnlisted = {1, 1, 1, 1, 1, 1};  // 2 x 3: an older height
    std::vector<std::uint16_t> codeOrder = {0x41, 0x42};
    std::uint32_t entryOfA = 0x00410101;
};

std::vector<std::uint8_t> assemble(const Layout& l) {
    Bytes b;
    b.header(l.magic, l.version, l.subVersion, l.countHigh);
    b.logFont(-16, "Face");
    b.u16(8).u16(2).u16(l.height).u16(l.ascent);
    b.u32(l.encodingWord);
    b.words(l.unicodes).words(l.codes);
    b.u16(2).u16(l.glyphCount);
    b.u16(0x41).glyph(0x41, 2, l.pixelsOfA);
    b.u16(0x42).glyph(0x42, 2, {0, 0, 0, 0});
    b.u16(0x100).glyph(0x100, l.unlistedWidth, l.pixelsOfUnlisted);
    b.words(l.codeOrder).words({0x41, 0x42});
    b.u32(0).u32(1252).u32(2);
    b.u16(0x41).u32(l.entryOfA);
    b.u16(0x42).u32(0x00420101);
    return b.bytes();
}

// The font open before each load: anything a failed load could damage is checked afterwards.
Font openFont() {
    Font font;
    font.createFromScratch(0x30, 0x39, 5, 7, "Digits");
    font.glyphs.find(0x31)->pixels[3] = 1;
    font.dataFormat = 0x01020304;
    return font;
}

void expectUnchanged(const Font& font) {
    const Font original = openFont();
    EXPECT_EQ(font.faceName, original.faceName);
    EXPECT_EQ(font.height, original.height);
    EXPECT_EQ(font.codeList, original.codeList);
    EXPECT_EQ(font.unicodeList, original.unicodeList);
    EXPECT_TRUE(font.glyphs == original.glyphs);
    EXPECT_TRUE(font.charTable.committed == original.charTable.committed);
    EXPECT_EQ(font.dataFormat, original.dataFormat);
}

ProjectLoadResult loadBytes(const std::vector<std::uint8_t>& bytes, Font& font) {
    TempDir dir;
    test::writeFile(dir.file("t.tlf"), bytes);
    NullProgressSink progress;
    return loadProject(dir.file("t.tlf"), font, progress);
}

TEST(ProjectFileInvalid, TheBaseLayoutIsReadable) {
    Font font = openFont();
    ASSERT_TRUE(loadBytes(assemble(Layout{}), font).ok());
    EXPECT_EQ(font.faceName, "Face");
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x41, 0x42}));
    // An unlisted glyph of an older height is brought to the font's height.
    EXPECT_EQ(font.glyphs.find(0x100)->pixels, (std::vector<std::uint8_t>{1, 1, 1, 1}));
}

TEST(ProjectFileInvalid, EveryTruncationIsRefusedAndLeavesTheFont) {
    const auto bytes = assemble(Layout{});
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        Font font = openFont();
        ProjectLoadResult r =
            loadBytes({bytes.begin(), bytes.begin() + static_cast<long>(n)}, font);
        ASSERT_EQ(r.status, ProjectLoadResult::Status::Failed);
        EXPECT_NE(r.message.find("Failed to open t.tlf"), std::string::npos);
        EXPECT_NE(r.message.find("ends too early"), std::string::npos);
        expectUnchanged(font);
    }
}

TEST(ProjectFileInvalid, MalformedFilesAreRefusedWithAReason) {
    struct Row {
        const char* what;
        std::function<void(Layout&)> change;
        const char* messagePart;
    };
    const Row rows[] = {
        {"unknown magic and version", [](Layout& l) { l.magic = "ABCD", l.version = 0x0400; },
         "unexpected file format"},
        {"version 4", [](Layout& l) { l.version = 0x0400; }, "unexpected file format"},
        {"sub-version", [](Layout& l) { l.subVersion = 0x0300; }, "unexpected file format"},
        {"version 2.0 magic with version 3", [](Layout& l) { l.magic = "NOFW"; },
         "unexpected file format"},
        {"NOFW 0x0221",
         [](Layout& l) { l.magic = "NOFW", l.version = 0x0221, l.subVersion = 0x0221; },
         "unexpected file format"},
        {"code list out of order",
         [](Layout& l) {
             l.codes = {0x42, 0x41};
         },
         "ascending"},
        {"repeated code",
         [](Layout& l) {
             l.codes = {0x41, 0x41};
         },
         "ascending"},
        {"lists of different lengths", [](Layout& l) { l.codes = {0x41}; }, "differ in length"},
        {"listed glyph of the wrong size",
         [](Layout& l) {
             l.pixelsOfA = {1, 0, 0};
         },
         "3 pixels"},
        {"unlisted glyph not a whole number of rows",
         [](Layout& l) {
             l.pixelsOfUnlisted = {1, 1, 1};
         },
         "pixels"},
        {"unlisted glyph that would grow beyond what a font holds",
         [](Layout& l) {
             // One row of 16,384 pixels brought to 65,535 rows: a gigabyte from 16 KB.
             l.unicodes = {}, l.codes = {}, l.height = 0xFFFF;
             l.unlistedWidth = 0x4000;
             l.pixelsOfUnlisted.assign(0x4000, 1);
         },
         "beyond 134217728 pixels"},
        {"more glyphs than the file holds", [](Layout& l) { l.glyphCount = 40; }, "glyphs"},
        {"glyph count over 65536", [](Layout& l) { l.countHigh = 0x100; }, "glyphs"},
        {"code order out of order",
         [](Layout& l) {
             l.codeOrder = {0x42, 0x41};
         },
         "ascending"},
        {"table flags other than 0 and 1", [](Layout& l) { l.entryOfA = 0x00410201; }, "flags"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Layout layout;
        row.change(layout);
        Font font = openFont();
        ProjectLoadResult r = loadBytes(assemble(layout), font);
        EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
        EXPECT_NE(r.message.find(row.messagePart), std::string::npos) << r.message;
        expectUnchanged(font);
    }
}

// A cell no character fits in is refused where its field starts.
TEST(ProjectFileInvalid, ImpossibleCellsAreRefusedAtTheirField) {
    struct Row {
        const char* what;
        std::uint16_t height;
        std::uint16_t ascent;
        const char* message;
    };
    const Row rows[] = {
        {"height 0 with characters", 0, 0,
         "font height is 0 but the font has characters, at byte 60"},
        {"ascent -32768", 2, 0x8000, "ascent -32768 lies outside the height 2, at byte 62"},
        {"ascent -1", 2, 0xFFFF, "ascent -1 lies outside the height 2, at byte 62"},
        {"ascent above the height", 2, 3, "ascent 3 lies outside the height 2, at byte 62"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Layout layout;
        layout.height = row.height;
        layout.ascent = row.ascent;
        Font font = openFont();
        ProjectLoadResult r = loadBytes(assemble(layout), font);
        EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
        EXPECT_NE(r.message.find(row.message), std::string::npos) << r.message;
        expectUnchanged(font);
    }
    // The ascent may sit at either edge of the cell.
    for (std::uint16_t ascent : {0, 2}) {
        Layout layout;
        layout.ascent = ascent;
        Font font = openFont();
        EXPECT_TRUE(loadBytes(assemble(layout), font).ok()) << ascent;
    }
}

// A font without characters needs no height: a new empty font saves and opens again.
TEST(ProjectFileInvalid, AFontWithoutCharactersIsReadable) {
    Font empty;
    Font font = openFont();
    ProjectLoadResult r = loadBytes(projectBytes(empty), font);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(font.height, 0);
    EXPECT_TRUE(font.codeList.empty());
}

// A version 2.0 file with characters 0xC0 and 0xC1, pixel height at byte 70, ascent at byte
// 74, the last glyph ending at byte 122; `tail` follows it.
std::vector<std::uint8_t> version20File(std::uint16_t height, std::uint16_t ascent,
                                        const std::vector<std::uint8_t>& tail = {},
                                        std::uint8_t last = 0xC1) {
    Bytes b;
    b.header("NOFW", 0x0220, 0x0220);
    b.logFont(-11, "Old", 204);
    b.ustr("N").ustr("C");
    b.u8(0xC0).u8(last).u8(0xC0).u8(0xC0);  // first, last, default, break
    b.u16(height).u16(1).u16(ascent).u16(8);
    b.u16(0).u16(0).u8(0).u8(0).u8(0).u8(0);
    b.u16(400).u8(204).u8(0x31);
    b.u16(0x300).u16(0).u16(96).u16(96).u16(1).u16(1);
    b.u32(1251);
    for (int c = 0xC0; c <= last; ++c) {
        b.glyph(static_cast<std::uint16_t>(c), 1, std::vector<std::uint8_t>(height, 1));
    }
    for (std::uint8_t t : tail) {
        b.u8(t);
    }
    return b.bytes();
}

TEST(ProjectFileInvalid, Version20CellsAndTrailingBytesAreRefused) {
    struct Row {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* message;
    };
    const Row rows[] = {
        {"height 0 with characters", version20File(0, 0),
         "height is 0 but the font has characters, at byte 70"},
        {"ascent -32768", version20File(2, 0x8000),
         "ascent -32768 lies outside the height 2, at byte 74"},
        {"ascent above the height", version20File(2, 3),
         "ascent 3 lies outside the height 2, at byte 74"},
        {"one byte after the last glyph", version20File(2, 2, {0}),
         "after the last glyph (1 more byte(s)), at byte 122"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Font font = openFont();
        ProjectLoadResult r = loadBytes(row.bytes, font);
        EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
        EXPECT_NE(r.message.find(row.message), std::string::npos) << r.message;
        expectUnchanged(font);
    }
    Font font = openFont();
    EXPECT_TRUE(loadBytes(version20File(2, 2), font).ok());
    // First character after the last: no characters, so no height is needed.
    Font empty = openFont();
    ProjectLoadResult r = loadBytes(version20File(0, 0, {}, 0xBF), empty);
    EXPECT_TRUE(r.ok()) << r.message;
}

TEST(ProjectFileInvalid, HugeCountsFailWithoutAllocating) {
    Bytes b;
    b.header("FDCL", 0x0300, 0x0200);
    b.logFont(-16, "Face");
    b.u16(8).u16(2).u16(2).u16(1).u32(0x00010001);
    b.u16(0xFFFF).u32(0xFFFFFFF0);  // a Unicode list of four billion entries
    Font font = openFont();
    ProjectLoadResult r = loadBytes(b.bytes(), font);
    EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
    EXPECT_NE(r.message.find("larger than the rest of the file"), std::string::npos);
    expectUnchanged(font);

    Bytes s;  // a string claiming 4 GB
    s.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFF);
    ByteReader r2(s.bytes());
    EXPECT_THROW(readArchiveString(r2), FileError);
}

TEST(ProjectFileInvalid, OtherEditionsAreRefusedByTheirBitsPerPixel) {
    struct Row {
        std::uint32_t bits;
        const char* message;
    };
    for (Row row :
         {Row{4, kAntialiasedMessage}, Row{2, kAntialiasedMessage}, Row{8, kAntialiasedMessage},
          Row{3, "Unknown file format."}, Row{0, "Unknown file format."}}) {
        SCOPED_TRACE(row.bits);
        Layout layout;
        layout.encodingWord = row.bits << 16;
        Font font = openFont();
        ProjectLoadResult r = loadBytes(assemble(layout), font);
        EXPECT_EQ(r.status, ProjectLoadResult::Status::Refused);
        EXPECT_EQ(r.message, row.message);
        EXPECT_TRUE(r.closeMainWindow);
        expectUnchanged(font);
    }
    EXPECT_EQ(std::string(kAntialiasedMessage),
              "This file contains antialiased font,\r\ncreated by Typeloom Tonal.\r\n\r\n"
              "Please try Typeloom Tonal to open this document.");
}

TEST(ProjectFileInvalid, AFileOfAnotherKindWithAKnownVersionIsReadByItsVersion) {
    Layout layout;
    layout.magic = "ABCD";
    Font font = openFont();
    EXPECT_TRUE(loadBytes(assemble(layout), font).ok());
}

TEST(ProjectFileInvalid, MissingFileIsReported) {
    Font font = openFont();
    NullProgressSink progress;
    ProjectLoadResult r = loadProject("/nonexistent/folder/x.tlf", font, progress);
    EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
    EXPECT_NE(r.message.find("x.tlf"), std::string::npos);
    expectUnchanged(font);
}

}  // namespace
}  // namespace typeloom

namespace typeloom {
namespace {

// A version 2 file: LOGFONT height, font height and encoding word chosen by the caller, two
// characters 'A' (Unicode) and the euro sign (code 0x80 in encoding 0, or `euroCode`).
std::vector<std::uint8_t> version2File(std::int32_t logFontHeight, std::uint16_t height,
                                       std::uint32_t encodingWord, std::uint16_t euroCode = 0x80) {
    test::Bytes b;
    b.header("FDCL", 0x0200, 0x0200);
    b.logFont(logFontHeight, "Face");
    b.u16(8).u16(1).u16(height).u16(1);
    b.u32(encodingWord);
    b.words({0x41, 0x20AC});
    if (encodingWord != 1) {
        b.words({0x41, euroCode});
    }
    std::vector<std::uint8_t> blank(height, 0);
    b.glyph(0x41, 1, blank).glyph(0x80, 1, blank);
    return b.bytes();
}

TEST(ProjectFileInvalid, Version2SizesFromTheFileAreBounded) {
    // A source font of an absurd height renders blank characters of a bounded size.
    Font font = openFont();
    EXPECT_TRUE(loadBytes(version2File(INT32_MIN, 2, 1), font).ok());
    EXPECT_LE(font.glyphs.find(0x61)->width, kMaxRenderWidth);

    // A font taller than any renderer draws would need gigabytes for its missing characters.
    Font tall = openFont();
    ProjectLoadResult r = loadBytes(version2File(-16, 60000, 1), tall);
    EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
    EXPECT_NE(r.message.find("font height 60000"), std::string::npos);
    expectUnchanged(tall);
}

// A source face that supports every Unicode value, whose characters are `drawnWidth` pixels
// wide while its metrics claim `claimedWidth`.
class EveryCharacterRenderer : public GlyphRenderer {
  public:
    EveryCharacterRenderer(int claimedWidth, int drawnWidth)
        : m_claimedWidth(claimedWidth), m_drawnWidth(drawnWidth) {}
    RenderMetrics metrics() const override {
        RenderMetrics m;
        m.ascent = 12;
        m.descent = 4;
        m.averageWidth = m_claimedWidth;
        m.maxWidth = m_claimedWidth;
        m.scalable = true;
        return m;
    }
    std::vector<std::pair<std::uint16_t, std::uint32_t>> unicodeRanges() const override {
        return {{0, 0x10000}};
    }
    CharSpacing spacing(std::uint16_t) const override { return {m_drawnWidth, false, 0, 0, 0}; }
    bool render(std::uint16_t, int, int, int, std::uint8_t*) const override { return true; }

  private:
    int m_claimedWidth;
    int m_drawnWidth;
};

TEST(ProjectFileInvalid, Version2FilesCannotMakeTheReaderRenderWithoutBound) {
    struct Row {
        const char* name;
        int claimedWidth;
        int drawnWidth;
        std::uint16_t height;
        bool accepted;
    };
    const Row rows[] = {
        // 65,534 missing characters of 8 x 16: 8 Mi pixels, rendered.
        {"within the bound", 8, 8, 16, true},
        // 65,534 x 16 x 1,024 rows: 1 Gi pixels, refused before anything is drawn.
        {"refused up front", 16, 16, 1024, false},
        // The face claims 1 pixel but draws 1,024: refused once the drawn pixels pass the bound.
        {"refused while drawing", 1, 1024, 64, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setRendererFactory([&row](const LogFont&) {
            return std::make_shared<EveryCharacterRenderer>(row.claimedWidth, row.drawnWidth);
        });
        Font font = openFont();
        const ProjectLoadResult r = loadBytes(version2File(-16, row.height, 1), font);
        setRendererFactory([](const LogFont& f) { return std::make_shared<BlankRenderer>(f); });
        if (row.accepted) {
            EXPECT_TRUE(r.ok()) << r.message;
            EXPECT_EQ(font.glyphs.size(), 0x10000u);
            continue;
        }
        EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
        EXPECT_NE(r.message.find("the source font would render 65534 characters"),
                  std::string::npos)
            << r.message;
        expectUnchanged(font);
    }
}

TEST(ProjectFileInvalid, UnknownEncodingsAreRefused) {
    Layout layout;
    layout.encodingWord = 0x00010007;
    Font font = openFont();
    ProjectLoadResult r = loadBytes(assemble(layout), font);
    EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
    EXPECT_NE(r.message.find("unknown encoding 7"), std::string::npos);
    expectUnchanged(font);

    Font font2 = openFont();
    r = loadBytes(version2File(-16, 2, 0x300), font2);
    EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
    expectUnchanged(font2);
}

TEST(ProjectFileInvalid, AVersion2UnicodeFontListsItsUnicodeValuesAsItsCodes) {
    // 0x00010001 is Unicode in its low half but not 1 as a whole, so the file carries a code
    // list: one that gives code 0x80 to U+20AC would make a Unicode font of two minds.
    Font font = openFont();
    ProjectLoadResult r = loadBytes(version2File(-16, 2, 0x00010001), font);
    EXPECT_EQ(r.status, ProjectLoadResult::Status::Failed);
    EXPECT_NE(r.message.find("code list of a Unicode font differs from its Unicode list"),
              std::string::npos)
        << r.message;
    expectUnchanged(font);

    Font same = openFont();
    ASSERT_TRUE(loadBytes(version2File(-16, 2, 0x00010001, 0x20AC), same).ok());
    EXPECT_EQ(same.encoding, kEncodingUnicode);
    EXPECT_EQ(same.codeList, (std::vector<std::uint16_t>{0x41, 0x20AC}));
}

// An encoding 0 font of version 2 lists its Unicode values in code order (U+20AC before
// U+00A0 would break it); its saved copy must open again.
TEST(ProjectFileInvalid, Version2FontOfEncodingZeroSavesAReadableCopy) {
    Font font = openFont();
    ASSERT_TRUE(loadBytes(version2File(-16, 2, 0), font).ok());
    EXPECT_EQ(font.encoding, 0u);
    const auto& order = font.charTable.codeOrder;
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    Font again = openFont();
    ProjectLoadResult r = loadBytes(projectBytes(font), again);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(again.codeList, font.codeList);
    EXPECT_EQ(again.unicodeList, font.unicodeList);
}

}  // namespace
}  // namespace typeloom
