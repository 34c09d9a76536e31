// The two dialects of the table-based text files, piece by piece: the places where the C and
// the assembler file differ in more than the comment mark (separators, the end of the data
// table, the #endif of a guard, numbers that start with a letter, the record fields' layouts).
// The whole files are checked in table_format_test.cpp.

#include "export/table_dialect.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/export_stream.h"
#include "export_test_support.h"

namespace typeloom::exporters {
namespace {

using Lines = std::vector<std::string>;

using Write = std::function<void(TableDialect&)>;

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
    return linesOf<TableCDialect>(write, unitBits, unitsAsBytes);
}
Lines inAsm(const Write& write, int unitBits = 16, bool unitsAsBytes = false) {
    return linesOf<TableAsmDialect>(write, unitBits, unitsAsBytes);
}

TEST(TableDialect, CommentsAndCTextInBothFiles) {
    auto write = [](TableDialect& d) {
        d.cText("#define X", CodeTextKind::Preamble);
        d.cText("box", CodeTextKind::Box);
        d.cText("header box", CodeTextKind::HeaderBox);
        d.blockComment({"  first", "  second"});
        d.remark("clear");
    };
    EXPECT_EQ(inC(write), (Lines{"#define X", "box", "header box", "/*  first", "    second", "*/",
                                 "/* clear */"}));
    EXPECT_EQ(inAsm(write),
              (Lines{";  #define X", ";box", "; header box", ";  first", ";  second", "; clear "}));
}

TEST(TableDialect, OpeningAndClosingTablesAndRecords) {
    auto write = [](TableDialect& d) {
        d.openTable(TableKind::Width, "USHORT", "f_width_table");
        d.closeTable(true);
        d.openTable(TableKind::AsciiIndex, "UCHAR", "f_ascii_index_table");
        d.closeTable(false);
        d.openRecord("FONTHEADER_TLM", "f");
    };
    EXPECT_EQ(inC(write), (Lines{"const USHORT f_width_table[] = ", "{", "};", "#endif",
                                 "const UCHAR f_ascii_index_table[] = ", "{", "};",
                                 "const FONTHEADER_TLM f = ", "{"}));
    // A closed table leaves a blank line, unless its guard ends there; the ASCII index
    // table's label has two spaces after it.
    EXPECT_EQ(inAsm(write), (Lines{"f_width_table ", "", ";#endif", "f_ascii_index_table  ", "", "",
                                   "; const FONTHEADER_TLM f = {", "f = ", ""}));
}

TEST(TableDialect, DataRowsSeparateUnitsAndMarkTheTablesEndInC) {
    const std::vector<std::uint32_t> two = {0x1234, 0x00A0};
    auto rows = [&](TableDialect& d) {
        d.pixelRow(two, 1, "#.#");  // the table's last unit closes the row
        d.pixelRow(two, -1, "");    // more rows follow, none drawn
        d.runOnRow(two, 1);
        d.runOnRow(two, -1);
    };
    EXPECT_EQ(inC(rows), (Lines{"    0x1234, 0x00A0   // #.#", "    0x1234, 0x00A0, ",
                                "    0x1234, 0x00A0", "    0x1234, 0x00A0, "}));
    EXPECT_EQ(inAsm(rows), (Lines{"    dw  1234h,   00a0h ;  #.#", "    dw  1234h,   00a0h",
                                  "    dw  1234h,  00a0h", "    dw  1234h,  00a0h"}));

    // A table declared as bytes: each 16-bit unit as two bytes, the high one first; in
    // assembler a byte that starts with a letter gets a leading 0.
    const std::vector<std::uint32_t> one = {0xA0B1};
    auto row = [&](TableDialect& d) { d.runOnRow(one, -1); };
    EXPECT_EQ(inC(row, 16, true), Lines{"    0xA0, 0xB1, "});
    EXPECT_EQ(inAsm(row, 16, true), Lines{"    db 0a0h,  0b1h"});
    EXPECT_EQ(inAsm(row, 32, false), Lines{"    dd  0000a0b1h"});
}

TEST(TableDialect, AssemblerOffsetsTakeTheDigitsOfTheLargest) {
    auto row = [](std::uint32_t largest) {
        return [largest](TableDialect& d) { d.offsetRow(0x12, largest, false, " n"); };
    };
    EXPECT_EQ(inAsm(row(0x9FFF)), Lines{"    dw         0012h ; n"});
    EXPECT_EQ(inAsm(row(0xA000)), Lines{"    dw        00012h ; n"});
    EXPECT_EQ(inAsm(row(0x10000)), Lines{"    dd        00012h ; n"});
    EXPECT_EQ(inAsm(row(0xA0000000)), Lines{"    dd    000000012h ; n"});
    EXPECT_EQ(inC(row(0xA0000000)), Lines{"    0x0012, /* n */"});
    EXPECT_EQ(inC([](TableDialect& d) { d.offsetRow(0x12345, 0x12345, true, "end"); }),
              Lines{"    0x12345  /*end */"});
}

TEST(TableDialect, EntriesAndRanges) {
    auto write = [](TableDialect& d) {
        d.entryRow(7, false, "A        0041         65");
        d.entryRow(12, true, "B        0042         66");
        d.rangeRow(0xA0, 0x1234, false, "[a]");
        d.rangeRow(0x20, 0xA000, true, "[b]");
    };
    EXPECT_EQ(inC(write),
              (Lines{"     7,     /*    A        0041         65 */",
                     "    12      /*    B        0042         66 */",
                     "  {   160,     4660 },  /*[a]*/ ", "  {    32,    40960 }   /*[b]*/ "}));
    EXPECT_EQ(inAsm(write), (Lines{"    db        7 ;    -     A        0041         65",
                                   "    db       12 ;    -     B        0042         66",
                                   "     dw   0a0h,    1234h    ;[a]   ",
                                   "     dw    20h,   0a000h    ;[b]   "}));
}

TEST(TableDialect, RecordFieldsOfEachKind) {
    auto write = [](TableDialect& d) {
        d.field({FieldKind::HeaderMagic, 0x6A5D, "", "m"});
        d.field({FieldKind::HeaderWord, 0x0041, "", "w"});
        d.field({FieldKind::HeaderFlags, 0xA001, "", "font flags = X"});
        d.field({FieldKind::HeaderNumber, 12, "", "n"});
        d.field({FieldKind::HeaderNumber, -2, "", "n"});
        d.field({FieldKind::HeaderReserved, 0, "", "r"});
        d.field({FieldKind::HeaderByte, 2, "", "b"});
        d.field({FieldKind::HeaderUnitCount, 0xB60, "", "u"});
        d.field({FieldKind::HeaderUnitCount, 0x160, "", "u"});
        d.field({FieldKind::HeaderPointer, 0, "(UCHAR *)f_data_table", "p"});
        d.field({FieldKind::SetSize, 12, "", "s"});
        d.field({FieldKind::SetCharCount, 300, "", "c"});
        d.field({FieldKind::SetRangeCount, 9, "", "r"});
        d.field({FieldKind::SetRangeCount, 10, "", "r"});
        d.field({FieldKind::SetPointer, 0, "(GLYPH_RANGE *)f_glyph_ranges", "q"});
    };
    EXPECT_EQ(inC(write), (Lines{
                              "    0x6A5D, \t/* m */",
                              "    0x0041, \t/* w */",
                              "    0xA001, \t/* font flags = X */",
                              "    12, \t\t/* n */",
                              "    -2, \t\t\t/* n */",
                              "    0, \t\t\t/* r */",
                              "    2, \t\t\t/* b */",
                              "    0xB60, \t\t/* u */",
                              "    0x160, \t\t/* u */",
                              "    (UCHAR *)f_data_table, \t/*p*/",
                              "     0xc, \t/* s */",
                              "    300, \t/* c */",
                              "    9, \t\t/* r */",
                              "    10, \t/* r */",
                              "    (GLYPH_RANGE *)f_glyph_ranges  /* q */",
                          }));
    // The magic number always has its leading 0; the flags' comment has no space after it.
    EXPECT_EQ(inAsm(write), (Lines{
                                "    dw  06a5dh\t ; m ",
                                "    dw  0041h\t ; w ",
                                "    dw  0a001h\t ; font flags = X",
                                "    dw  12   \t ; n ",
                                "    dw  -2   \t ; n ",
                                "    db  0\t\t ; r ",
                                "    db  2    \t ; b ",
                                "    dd  0b60h\t ; u ",
                                "    dd  160h\t ; u ",
                                "    ;   (UCHAR *)f_data_table, \t ;p",
                                "     dw     0ch \t; s ",
                                "     dw    12ch \t; c ",
                                "     dw      9h \t; r ",
                                "     dw     0ah \t; r ",
                                "      ;(GLYPH_RANGE *)f_glyph_ranges  ; q ",
                            }));
}

}  // namespace
}  // namespace typeloom::exporters
