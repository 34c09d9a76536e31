// Feeds arbitrary bytes to the characters table text loader. The first byte picks the table
// the file is applied to (see kTables); the rest is the file.
//
// Besides sanitizer reports, the harness checks the result against a direct reading of the
// rules: the decoded text, which codes end up enabled (for each distinct character of the
// file the lowest code standing for it, nothing else), that only enabled flags change and
// that the reported changed codes are exactly those whose flag changed.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "charset/character_table.h"
#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "charset/table_text_file.h"
#include "common/bulk_data.h"
#include "common/text.h"

namespace {

using namespace typeloom;

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "fuzz_table_text_reader: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok) {
        fault(what);
    }
}

std::vector<std::uint16_t> range(std::uint16_t first, std::uint16_t last) {
    std::vector<std::uint16_t> v;
    for (std::uint32_t c = first; c <= last; ++c) {
        v.push_back(static_cast<std::uint16_t>(c));
    }
    return v;
}

void append(std::vector<std::uint16_t>& to, const std::vector<std::uint16_t>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// The tables a file is applied to, each as the characters table dialog would hold it:
//  0  encoding 0, a new font of A-Z (codes 0-255 of windows-1252, A-Z enabled)
//  1  encoding 1, a new font of ASCII, kana and some CJK ideographs
//  2  encoding 2 (Shift_JIS) from a system font's supported set
//  3  a Unicode table whose editing map was switched to Hangul (encoding 5)
//  4  encoding 0 where several codes stand for the same character (the lowest must win)
constexpr std::size_t kTableCount = 5;

std::array<CharacterTable, kTableCount> makeTables() {
    std::array<CharacterTable, kTableCount> tables;
    const DbcsTables& dbcs = DbcsTables::program();

    std::vector<std::uint16_t> letters = range('A', 'Z');
    tables[0].buildFromCodeLists(letters, letters, kEncodingAnsi);

    std::vector<std::uint16_t> unicodeFont = range(0x20, 0x7E);
    append(unicodeFont, range(0x3040, 0x30FF));
    append(unicodeFont, range(0x4E00, 0x4EFF));
    tables[1].buildFromCodeLists(unicodeFont, unicodeFont, kEncodingUnicode);

    std::vector<std::uint16_t> supported = range(0x00, 0xFF);
    append(supported, range(0x3000, 0x30FF));
    append(supported, range(0x4E00, 0x4FFF));
    append(supported, range(0xFF00, 0xFFEF));
    tables[2].buildFromSystemFont(supported, 128, kEncodingShiftJis, dbcs);

    std::vector<std::uint16_t> hangulFont = range(0x20, 0x7E);
    append(hangulFont, range(0xAC00, 0xAD00));
    tables[3].buildFromSystemFont(hangulFont, 129, kEncodingUnicode, dbcs);
    tables[3].setEditingEncoding(kEncodingHangul, dbcs);

    const std::vector<std::uint16_t> codes = {0x41, 0x42, 0x43, 0xC0, 0xC1};
    const std::vector<std::uint16_t> unicodes = {0x41, 0x42, 0x41, 0x42, 0xC1};
    tables[4].buildFromCodeLists(codes, unicodes, kEncodingAnsi);
    return tables;
}

const std::array<CharacterTable, kTableCount>& tables() {
    static const std::array<CharacterTable, kTableCount> built = makeTables();
    return built;
}

TYPELOOM_BULK_DATA void checkDecoding(std::span<const std::uint8_t> file,
                                      const std::u16string& text) {
    const bool bom = file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE;
    const bool hasZero = std::find(file.begin(), file.end(), 0) != file.end();
    if (file.size() >= 2 && hasZero) {
        check(looksLikeUtf16(file), "text holding a zero byte was not taken for UTF-16");
    }
    if (bom || looksLikeUtf16(file)) {
        const std::size_t start = bom ? 2 : 0;
        check(text.size() == (file.size() - start) / 2, "UTF-16 text has the wrong length");
        for (std::size_t i = 0; i < text.size(); ++i) {
            const std::size_t at = start + 2 * i;
            check(text[i] == (file[at] | (file[at + 1] << 8)), "a UTF-16 unit decoded wrongly");
        }
        return;
    }
    const auto end = std::find(file.begin(), file.end(), 0);
    const auto n = static_cast<std::size_t>(end - file.begin());
    check(text.size() == n, "8-bit text has the wrong length");
    for (std::size_t i = 0; i < n; ++i) {
        check(text[i] == ansiToUnicode(file[i]), "an 8-bit character decoded wrongly");
    }
}

// The checks run uninstrumented: coverage feedback is to come from the code under test, and
// the walks over all 65,536 codes would otherwise dominate the time of every run.
TYPELOOM_BULK_DATA void checkResult(const CharacterTable& original, const CharacterTable& table,
                                    std::span<const std::uint8_t> file,
                                    const TableTextLoadResult& result) {
    const CodeMap& before = original.editing;
    check(table.committed == original.committed, "loading a table text changed the committed map");
    check(table.editing.encoding == before.encoding && table.editing.codePage == before.codePage,
          "loading a table text changed the editing encoding");
    if (file.empty()) {
        check(result.status == TableTextLoadResult::Status::Empty, "an empty file was applied");
        check(table.editing == before, "an empty file changed the editing map");
        check(result.changed.empty(), "an empty file reported changed codes");
        return;
    }
    check(result.status == TableTextLoadResult::Status::Applied, "a file was not applied");

    const std::u16string text = decodeTableText(file);
    checkDecoding(file, text);

    // Expected: walking the candidate codes upwards, the first code of each wanted character.
    static std::array<bool, 0x10000> wanted;
    static std::array<bool, 0x10000> found;
    std::memset(wanted.data(), 0, wanted.size());
    std::memset(found.data(), 0, found.size());
    for (char16_t u : text) {
        wanted[u] = true;
    }
    // The entries of both maps in code order, gathered into fixed arrays.
    struct Entries {
        std::array<std::uint16_t, 0x10000> codes;
        std::array<CodeEntry, 0x10000> entries;
        std::size_t count = 0;
        TYPELOOM_BULK_DATA void gather(const CodeMap& map) {
            count = 0;
            map.forEach([this](std::uint16_t code, CodeEntry e) {
                codes[count] = code;
                entries[count] = e;
                ++count;
            });
        }
    };
    static Entries was;
    static Entries now;
    was.gather(before);
    now.gather(table.editing);
    check(was.count == now.count &&
              std::equal(was.codes.begin(), was.codes.begin() + was.count, now.codes.begin()),
          "loading a table text added or removed an entry");

    const std::uint32_t last = codeSpaceLast(before.encoding);
    std::vector<std::uint16_t> flipped;
    for (std::size_t k = 0; k < was.count; ++k) {
        const std::uint16_t code = was.codes[k];
        const CodeEntry a = was.entries[k];
        const CodeEntry b = now.entries[k];
        bool expectEnabled = false;
        if (code <= last && wanted[a.unicode] && !found[a.unicode]) {
            found[a.unicode] = true;
            expectEnabled = true;
        }
        check(b.unicode == a.unicode && b.mapped == a.mapped,
              "loading a table text changed more than enabled flags");
        check(b.enabled == expectEnabled, "a code's enabled flag is wrong after loading");
        if (b.enabled != a.enabled) {
            flipped.push_back(code);
        }
    }
    check(result.changed == flipped, "the changed codes reported are not those that changed");

    bool unmapped = false;
    for (char16_t u : text) {
        unmapped = unmapped || !found[u];
    }
    check(result.someUnmapped == unmapped, "the unmapped-characters warning is wrong");
    check(!unmapped || result.message == kSomeCharactersUnmapped,
          "the unmapped-characters warning has no message");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Tables 2 and 3 are built from the double-byte tables the program loads at start.
    if (auto problem = loadProgramDbcsTables()) {
        std::fprintf(stderr, "fuzz_table_text_reader: %s\n", problem->c_str());
        std::exit(1);
    }
    tables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The working copy is assigned, not built: its 65,536-entry maps keep their storage from
    // one input to the next instead of being allocated and released for every run.
    static std::array<CharacterTable, kTableCount> working;
    const std::size_t which = data[0] % kTableCount;
    CharacterTable& table = working[which];
    table = tables()[which];
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    const TableTextLoadResult result = applyTableText(table, file);
    checkResult(tables()[which], table, file, result);
    return 0;
}
