#include "charset/code_pages.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <array>
#include <optional>
#include <set>
#include <string>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "test_support.h"

using namespace typeloom;

namespace {

// ICU's own decoding of a byte string (lead byte first): the first UTF-16 unit, or nothing
// when the converter stops on an undefined or illegal sequence.
class IcuDecoder {
  public:
    explicit IcuDecoder(const char* name) {
        UErrorCode status = U_ZERO_ERROR;
        m_conv = ucnv_open(name, &status);
        EXPECT_TRUE(U_SUCCESS(status)) << name;
        ucnv_setToUCallBack(m_conv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    ~IcuDecoder() { ucnv_close(m_conv); }

    std::optional<char16_t> firstUnit(std::uint16_t code) {
        std::string bytes;
        if (code > 0xFF) {
            bytes.push_back(static_cast<char>(code >> 8));
        }
        bytes.push_back(static_cast<char>(code & 0xFF));
        UChar out[8];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(m_conv);
        int32_t n = ucnv_toUChars(m_conv, out, 8, bytes.data(), static_cast<int32_t>(bytes.size()),
                                  &status);
        if (U_FAILURE(status) || n < 1) {
            return std::nullopt;
        }
        return out[0];
    }

  private:
    UConverter* m_conv = nullptr;
};

struct Page {
    int codePage;
    const char* icuName;
};

constexpr std::array<Page, 12> kSingleBytePages = {{
    {1252, "ibm-5348_P100-1997"},
    {0, "windows-1252"},
    {1, "ibm-437"},
    {874, "windows-874"},
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {1258, "windows-1258"},
}};

constexpr std::array<Page, 4> kDoubleBytePages = {{
    {932, "ibm-943_P15A-2003"},
    {950, "windows-950-2000"},
    {936, "windows-936-2000"},
    {949, "windows-949-2000"},
}};

}  // namespace

TEST(CodePages, CharacterSetsMapToTheirCodePages) {
    const std::array<std::pair<int, int>, 22> rows = {{
        {0, 1252},   {77, 2},     {128, 932},  {129, 949},  {130, 949},  {134, 936},
        {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 1},    {1, 0},
        {2, 0},      {76, 0},     {135, 0},    {254, 0},
    }};
    for (auto [charset, page] : rows) {
        EXPECT_EQ(charsetToCodePage(static_cast<std::uint8_t>(charset)), page)
            << "character set " << charset;
    }
}

TEST(CodePages, KnownCharactersDecode) {
    struct Case {
        int page;
        std::uint16_t code;
        std::uint16_t unicode;
    };
    // The last row: a single-byte page reads the lead byte; bytes left undefined.
    const Case cases[] = {
        {1252, 0x80, 0x20AC},  {1252, 0x41, 0x0041},  {1251, 0xC0, 0x0410}, {932, 0x829F, 0x3041},
        {932, 0x82A0, 0x3042}, {932, 0xB1, 0xFF71},   {932, 0x41, 0x0041},  {950, 0xA440, 0x4E00},
        {936, 0xB0A1, 0x554A}, {949, 0xB0A1, 0xAC00}, {1252, 0x4142, 0x41}, {1252, 0x81, 0x0081},
        {1257, 0xA1, 0xF7A1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << " code " << std::hex << c.code);
        EXPECT_EQ(codeToUnicode(c.page, c.code), c.unicode);
    }
}

TEST(CodePages, CodeZeroAndUnknownPagesGiveZero) {
    for (int page : {0, 1252, 1251, 932, 950, 936, 949}) {
        EXPECT_EQ(codeToUnicode(page, 0), 0) << page;
    }
    EXPECT_FALSE(isKnownCodePage(12345));
    EXPECT_EQ(codeToUnicode(12345, 0x41), 0);
    EXPECT_EQ(codeToUnicode(-1, 0x82A0), 0);
}

TEST(CodePages, SingleBytePagesAgreeWithIcuAndFillTheirGaps) {
    for (const Page& p : kSingleBytePages) {
        SCOPED_TRACE(p.icuName);
        IcuDecoder icu(p.icuName);
        std::set<std::uint16_t> seen;
        for (std::uint16_t b = 1; b <= 0xFF; ++b) {
            std::uint16_t expected = 0;
            if (auto unit = icu.firstUnit(b)) {
                expected = *unit;
            } else {
                expected = b >= 0x80 && b <= 0x9F ? b : static_cast<std::uint16_t>(0xF700 + b);
            }
            std::uint16_t got = codeToUnicode(p.codePage, b);
            EXPECT_EQ(got, expected) << "byte " << std::hex << b;
            EXPECT_TRUE(seen.insert(got).second)
                << "byte " << std::hex << b << " repeats U+" << got;
        }
    }
}

TEST(CodePages, DoubleBytePagesAgreeWithIcu) {
    for (const Page& p : kDoubleBytePages) {
        SCOPED_TRACE(p.icuName);
        IcuDecoder icu(p.icuName);
        int failures = 0;
        for (std::uint32_t c = 1; c <= 0xFFFF && failures < 10; ++c) {
            auto code = static_cast<std::uint16_t>(c);
            // Sequences ICU refuses come out as U+FFFD.
            std::uint16_t expected = icu.firstUnit(code).value_or(u'\uFFFD');
            std::uint16_t got = codeToUnicode(p.codePage, code);
            if (got != expected) {
                ++failures;
                ADD_FAILURE() << "code " << std::hex << c << ": U+" << got << ", ICU U+"
                              << expected;
            }
        }
    }
}

namespace {

struct KnownDbcs {
    int encoding;
    int codePage;
    std::uint16_t unicode;
    std::uint16_t code;
};
constexpr std::array<KnownDbcs, 4> kKnownDbcs = {{{kEncodingShiftJis, 932, 0x3042, 0x82A0},
                                                  {kEncodingBig5, 950, 0x4E00, 0xA440},
                                                  {kEncodingGbk, 936, 0x554A, 0xB0A1},
                                                  {kEncodingHangul, 949, 0xAC00, 0xB0A1}}};

}  // namespace

TEST(DbcsTables, ProgramTablesHoldTheUsualCodes) {
    const DbcsTables& dbcs = DbcsTables::program();
    ASSERT_TRUE(dbcs.loaded());
    EXPECT_TRUE(dbcs.table(kEncodingAnsi).empty());
    EXPECT_TRUE(dbcs.table(kEncodingUnicode).empty());
    EXPECT_TRUE(dbcs.table(6).empty());
    for (const KnownDbcs& k : kKnownDbcs) {
        SCOPED_TRACE(testing::Message() << "encoding " << k.encoding);
        auto table = dbcs.table(k.encoding);
        ASSERT_EQ(table.size(), DbcsTables::kEntries);
        EXPECT_EQ(table[k.unicode], k.code);
        EXPECT_EQ(table[0x41], 0x41);
        EXPECT_EQ(table[0xD800], DbcsTables::kNone);
        EXPECT_EQ(table[0x0E3F], DbcsTables::kNone);  // Thai baht sign
    }
}

// Every code the tables give for a character must decode back to that character, or a font
// built through the tables shows other characters than it was built from (ICU's Shift_JIS
// converter maps private-use U+F86F to 0x8782, which decodes to U+2116, as a fallback even with
// fallbacks turned off).
TEST(DbcsTables, ProgramTablesRoundTripThroughCodeToUnicode) {
    const DbcsTables& dbcs = DbcsTables::program();
    ASSERT_TRUE(dbcs.loaded());
    for (const KnownDbcs& k : kKnownDbcs) {
        SCOPED_TRACE(testing::Message() << "encoding " << k.encoding);
        auto table = dbcs.table(k.encoding);
        ASSERT_EQ(table.size(), DbcsTables::kEntries);
        int doubleByte = 0;
        int failures = 0;
        for (std::uint32_t u = 0; u < DbcsTables::kEntries && failures < 10; ++u) {
            std::uint16_t code = table[u];
            if (code == DbcsTables::kNone || code <= 0xFF) {
                continue;
            }
            ++doubleByte;
            if (codeToUnicode(k.codePage, code) != u) {
                ++failures;
                ADD_FAILURE() << std::hex << "U+" << u << " -> code " << code << " -> U+"
                              << codeToUnicode(k.codePage, code);
            }
        }
        EXPECT_GT(doubleByte, 7000);  // JIS X 0208 alone has about 6,900 characters
    }
}

TEST(DbcsTables, LoadRefusesDamagedFilesAndKeepsTheLoadedTables) {
    test::TempDir dir;
    std::array<std::vector<std::uint16_t>, 4> tables;
    tables[0] = std::vector<std::uint16_t>(DbcsTables::kEntries, DbcsTables::kNone);
    tables[0][0x3042] = 0x82A0;
    const std::vector<std::uint8_t> good = DbcsTables::serialize(tables);
    test::writeFile(dir.file("good.dat"), good);

    DbcsTables dbcs;
    ASSERT_FALSE(dbcs.loaded());
    ASSERT_EQ(dbcs.load(dir.file("good.dat")), std::nullopt);
    ASSERT_EQ(dbcs.table(kEncodingShiftJis)[0x3042], 0x82A0);
    EXPECT_EQ(dbcs.table(kEncodingBig5)[0x4E00], DbcsTables::kNone);

    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);
    std::vector<std::uint8_t> dataFlipped = good;
    dataFlipped[100] ^= 0x01;
    std::vector<std::uint8_t> crcFlipped = good;
    crcFlipped.back() ^= 0x80;
    test::writeFile(dir.file("truncated.dat"), truncated);
    test::writeFile(dir.file("data.dat"), dataFlipped);
    test::writeFile(dir.file("crc.dat"), crcFlipped);
    test::writeFile(dir.file("empty.dat"), {});

    for (const char* name : {"missing.dat", "truncated.dat", "data.dat", "crc.dat", "empty.dat"}) {
        SCOPED_TRACE(name);
        auto problem = dbcs.load(dir.file(name));
        ASSERT_TRUE(problem.has_value());
        EXPECT_NE(problem->find(name), std::string::npos) << *problem;
        EXPECT_TRUE(dbcs.loaded());
        EXPECT_EQ(dbcs.table(kEncodingShiftJis)[0x3042], 0x82A0);

        DbcsTables fresh;
        EXPECT_TRUE(fresh.load(dir.file(name)).has_value());
        EXPECT_FALSE(fresh.loaded());
        EXPECT_TRUE(fresh.table(kEncodingShiftJis).empty());
    }
}
