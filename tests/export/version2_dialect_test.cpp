// The two dialects of the version 2.0 text files, piece by piece: the places where the C and
// the assembler file differ in more than the comment mark (the blank lines after each table,
// the offset table's last row, separators and the end of the data table). The whole files are
// checked in version2_format_test.cpp.

#include "export/version2_dialect.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/export_stream.h"
#include "export_test_support.h"

namespace typeloom::exporters {
namespace {

using Lines = std::vector<std::string>;

using Write = std::function<void(Version2Dialect&)>;

// The lines one dialect writes (the stream ends every line with CR LF).
template <typename Dialect>
Lines linesOf(const Write& write, int unitBits, bool unitsAsBytes) {
    ExportStream out;
    Dialect dialect(out, unitBits, unitsAsBytes);
    write(dialect);
    return test::crlfLines(out.contents());
}

// What the dialects write, by default for a data table of 16-bit units.
Lines inC(const Write& write, int unitBits = 16, bool unitsAsBytes = false) {
    return linesOf<Version2CDialect>(write, unitBits, unitsAsBytes);
}
Lines inAsm(const Write& write, int unitBits = 16, bool unitsAsBytes = false) {
    return linesOf<Version2AsmDialect>(write, unitBits, unitsAsBytes);
}

TEST(Version2Dialect, CommentsAndTableOpenings) {
    auto write = [](Version2Dialect& d) {
        // A text ending in CR makes one line end with it, not a CR of its own.
        d.comment("  Font name: X\r");
        d.comment("");
        d.openTable("unsigned int", "f_offset_table");
        d.characterNote("note");
    };
    EXPECT_EQ(inC(write), (Lines{"  Font name: X", "",
                                 "const unsigned int f_offset_table[] = ", "{", "    /*note*/"}));
    EXPECT_EQ(inAsm(write), (Lines{";  Font name: X", ";", "f_offset_table ", "", "     ;note  "}));
}

TEST(Version2Dialect, EachTableEndsWithItsBlankLines) {
    struct Row {
        Version2Table table;
        Lines asmLines;
    };
    const Row rows[] = {
        {Version2Table::Data, {"", "", ""}},
        {Version2Table::Offset, {""}},
        {Version2Table::Width, {"", ""}},
        {Version2Table::Index, {"", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.table));
        auto write = [&](Version2Dialect& d) { d.closeTable(row.table); };
        EXPECT_EQ(inC(write), (Lines{"};", "", ""}));
        EXPECT_EQ(inAsm(write), row.asmLines);
    }
}

TEST(Version2Dialect, DataRowsSeparateUnitsAndMarkTheTablesEndInC) {
    const std::vector<std::uint32_t> two = {0x1234, 0x00A0};
    auto rows = [&](Version2Dialect& d) {
        d.pixelRow(two, true, "#.#");  // the table's last unit closes the row
        d.pixelRow(two, false, "");    // more rows follow, none drawn
        d.runOnRow(two, true);
        d.runOnRow(two, false);
    };
    EXPECT_EQ(inC(rows), (Lines{"    0x1234, 0x00A0   // #.#", "    0x1234, 0x00A0, ",
                                "    0x1234, 0x00A0", "    0x1234, 0x00A0, "}));
    EXPECT_EQ(inAsm(rows), (Lines{"    dw  1234h,   00a0h ;  #.#", "    dw  1234h,   00a0h",
                                  "    dw  1234h,  00a0h", "    dw  1234h,  00a0h"}));

    // Units written as bytes, the high one first; in assembler a byte that starts with a
    // letter gets a leading 0.
    const std::vector<std::uint32_t> one = {0xA0B1};
    auto row = [&](Version2Dialect& d) { d.runOnRow(one, true); };
    EXPECT_EQ(inC(row, 16, true), Lines{"    0xA0, 0xB1"});
    EXPECT_EQ(inAsm(row, 16, true), Lines{"    db 0a0h,  0b1h"});
}

TEST(Version2Dialect, OffsetAndEntryRows) {
    auto write = [](Version2Dialect& d) {
        d.offsetRow(0x12, 0x9FFF, false, "    -  a");
        d.offsetRow(0x34, 0x9FFF, true, "    -  b");  // no comment in assembler
        d.offsetRow(0x12, 0xA0000, false, "    -  c");
        d.entryRow(7, false, "   A        0041         65");
        d.entryRow(12, true, "   B        0042         66");
    };
    EXPECT_EQ(inC(write),
              (Lines{"    0x0012, /*    -  a */", "    0x0034  /*    -  b */",
                     "    0x0012, /*    -  c */", "     7,     /*    A        0041         65 */",
                     "    12      /*    B        0042         66 */"}));
    EXPECT_EQ(inAsm(write), (Lines{"    dw         0012h ;    -  a", "    dw         0034h",
                                   "    dd       000012h ;    -  c",
                                   "    db        7 ;    -     A        0041         65",
                                   "    db       12 ;    -     B        0042         66"}));
}

}  // namespace
}  // namespace typeloom::exporters
