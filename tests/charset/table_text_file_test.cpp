#include "charset/table_text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <vector>

#include "charset/character_table.h"
#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "test_support.h"

using namespace typeloom;
using Codes = std::vector<std::uint16_t>;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Encoding 0 in windows-1252 for a font that has every character 0x00-0xFF: codes
// 0x20-0x7F and 0xA0-0xFF enabled.
CharacterTable ansiTable() {
    Codes all;
    for (int u = 0; u <= 0xFF; ++u) {
        all.push_back(static_cast<std::uint16_t>(u));
    }
    CharacterTable t;
    t.buildFromSystemFont(all, 0, kEncodingAnsi, DbcsTables::program());
    return t;
}

Codes enabledCodes(const CodeMap& map) {
    Codes codes;
    map.forEach([&](std::uint16_t code, CodeEntry e) {
        if (e.enabled) {
            codes.push_back(code);
        }
    });
    return codes;
}

}  // namespace

TEST(TableTextFile, TextWithLineBreakEnablesExactlyItsCharacters) {
    test::TempDir dir;
    test::writeFile(dir.file("t.txt"), {'A', 'B', '\r', '\n'});
    CharacterTable t = ansiTable();
    const Codes before = enabledCodes(t.editing);

    TableTextLoadResult r = loadTableText(t, dir.file("t.txt"));
    EXPECT_EQ(r.status, TableTextLoadResult::Status::Applied);
    EXPECT_FALSE(r.someUnmapped);
    EXPECT_TRUE(r.message.empty());
    const Codes after = {0x0A, 0x0D, 0x41, 0x42};
    EXPECT_EQ(enabledCodes(t.editing), after);
    Codes changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                  std::back_inserter(changed));
    EXPECT_EQ(r.changed, changed);
    EXPECT_EQ(test::readFile(dir.file("t.txt")), (Bytes{'A', 'B', '\r', '\n'}));
}

TEST(TableTextFile, EmptyOrMissingFileLeavesTheTable) {
    test::TempDir dir;
    test::writeFile(dir.file("empty.txt"), {});
    CharacterTable t = ansiTable();
    t.disableCode(0x41);
    const CodeMap before = t.editing;

    TableTextLoadResult empty = loadTableText(t, dir.file("empty.txt"));
    EXPECT_EQ(empty.status, TableTextLoadResult::Status::Empty);
    EXPECT_TRUE(empty.message.empty());
    EXPECT_TRUE(empty.changed.empty());
    EXPECT_TRUE(t.editing == before);

    TableTextLoadResult missing = loadTableText(t, dir.file("missing.txt"));
    EXPECT_EQ(missing.status, TableTextLoadResult::Status::Failed);
    EXPECT_EQ(missing.message, "File could not be opened.");
    EXPECT_TRUE(t.editing == before);

    // A folder is not a file that could be read.
    TableTextLoadResult folder = loadTableText(t, dir.path().string());
    EXPECT_EQ(folder.status, TableTextLoadResult::Status::Failed);
    EXPECT_FALSE(folder.message.empty());
    EXPECT_TRUE(t.editing == before);
}

TEST(TableTextFile, SaveWritesTheMarkThenEachEnabledCodesCharacterInCodeOrder) {
    test::TempDir dir;
    CharacterTable t;
    t.buildFromCodeLists(Codes{0x30, 0x31, 0x32}, Codes{0x42, 0x41, 0x4E00}, kEncodingAnsi);
    EXPECT_EQ(saveTableText(t, dir.file("t.txt")), "");
    EXPECT_EQ(test::readFile(dir.file("t.txt")),
              (Bytes{0xFF, 0xFE, 0x42, 0x00, 0x41, 0x00, 0x00, 0x4E}));
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"t.txt"});

    const std::string nowhere = dir.file("no-such-folder/t.txt");
    EXPECT_EQ(saveTableText(t, nowhere), "Failed to save document.");
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST(TableTextFile, SaveThenLoadReproducesTheEnabledCodes) {
    test::TempDir dir;
    CharacterTable t;
    t.buildFromSystemFont({0x0A, 0x41, 0x3042, 0xFF71}, 0, kEncodingUnicode, DbcsTables::program());
    t.enableCode(0x0A);
    t.enableCode(0x20);
    t.disableCode(0x41);
    const Codes saved = enabledCodes(t.editing);
    ASSERT_EQ(saved, (Codes{0x0A, 0x20, 0x3042, 0xFF71}));
    ASSERT_EQ(saveTableText(t, dir.file("t.txt")), "");
    t.setAllEnabled(false);
    EXPECT_EQ(loadTableText(t, dir.file("t.txt")).status, TableTextLoadResult::Status::Applied);
    EXPECT_EQ(enabledCodes(t.editing), saved);
}

TEST(TableTextFile, SaveThenLoadPrefersTheLowerCodeOfASharedCharacter) {
    test::TempDir dir;
    CharacterTable t;
    // Code 0x61 stands for 'A' here, as code 0x41 does in windows-1252.
    t.buildFromCodeLists(Codes{0x30, 0x61}, Codes{0x30, 0x41}, kEncodingAnsi);
    ASSERT_EQ(saveTableText(t, dir.file("t.txt")), "");
    TableTextLoadResult r = loadTableText(t, dir.file("t.txt"));
    EXPECT_FALSE(r.someUnmapped);
    EXPECT_EQ(enabledCodes(t.editing), (Codes{0x30, 0x41}));
    EXPECT_EQ(r.changed, (Codes{0x41, 0x61}));
}

TEST(TableTextFile, CharactersWithoutCodeAreReportedAndTheOthersStillEnabled) {
    CharacterTable t = ansiTable();
    TableTextLoadResult r = applyTableText(t, Bytes{0xFF, 0xFE, 0x41, 0x00, 0x00, 0x4E});
    EXPECT_EQ(r.status, TableTextLoadResult::Status::Applied);
    EXPECT_TRUE(r.someUnmapped);
    EXPECT_EQ(r.message, "Some characters are unmaped.");
    EXPECT_EQ(enabledCodes(t.editing), Codes{0x41});
}

TEST(TableTextFile, DecodesUtf16WithOrWithoutMarkAndEightBitText) {
    struct Case {
        const char* name;
        Bytes bytes;
        Codes enabled;
    };
    const Case cases[] = {
        {"UTF-16 with mark", {0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00}, {0x41, 0x42}},
        {"UTF-16 without mark", {0x41, 0x00, 0x42, 0x00}, {0x41, 0x42}},
        {"odd trailing byte", {0x41, 0x00, 0x43}, {0x41}},
        {"odd trailing byte after mark", {0xFF, 0xFE, 0x41, 0x00, 0x43}, {0x41}},
        {"mark only", {0xFF, 0xFE}, {}},
        // windows-1252: 0xE9 is e acute, 0x80 the euro sign (code 0x80 in this table).
        {"8-bit text", {0x41, 0xE9, 0x80, 0x41}, {0x41, 0x80, 0xE9}},
        {"single 8-bit character", {0x42}, {0x42}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CharacterTable t = ansiTable();
        TableTextLoadResult r = applyTableText(t, c.bytes);
        EXPECT_EQ(r.status, TableTextLoadResult::Status::Applied);
        EXPECT_FALSE(r.someUnmapped);
        EXPECT_EQ(enabledCodes(t.editing), c.enabled);
    }
}

TEST(TableTextFile, LoadInShiftJisEnablesTheCodeOfEachCharacter) {
    CharacterTable t;
    t.buildFromSystemFont({0x41, 0x3042, 0x4E00}, 128, kEncodingAnsi, DbcsTables::program());
    t.setEditingEncoding(kEncodingShiftJis, DbcsTables::program());
    // U+3042 is 0x82A0 in Shift_JIS, U+4E00 is 0x88EA.
    TableTextLoadResult r = applyTableText(t, Bytes{0xFF, 0xFE, 0x42, 0x30, 0x00, 0x4E});
    EXPECT_FALSE(r.someUnmapped);
    EXPECT_EQ(enabledCodes(t.editing), (Codes{0x82A0, 0x88EA}));
}
