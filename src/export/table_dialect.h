#pragma once

#include <cstdint>
#include <ctime>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "export/create_time.h"

namespace typeloom {
class Font;
}

namespace typeloom::exporters {

class ExportStream;

// The syntax of the table-based text files. The C file and the assembler file hold the same
// tables, rows, values and comments in the same order (table_format.cpp decides those); a
// dialect writes each piece in its language. Blank lines are the same in both files and are
// written by the caller.

// The tables of the text files.
enum class TableKind { Data, Offset, Width, AsciiIndex, GlyphRanges, GlyphSet };

// Lines that are C text in both files: the C file holds them as they are (as preprocessor
// lines, declarations, or inside a box of /**** and ****/ rules), the assembler file comments
// them out and sets each kind off differently after its ';'.
enum class CodeTextKind {
    Box,        // the boxes before the tables, the #ifdef guards, the header's table pointers
    HeaderBox,  // the box before the font header
    Preamble,   // the #include lines, the font's declaration and the USE_..._TABLE switches
};

// How a field of the two records, the font header and the glyph set of the extended index,
// is laid out. The files align each kind of field in their own way.
enum class FieldKind {
    HeaderMagic,      // the magic number
    HeaderWord,       // a 16-bit value in hexadecimal: the version, the first and last code
    HeaderFlags,      // the font flags, named in the comment
    HeaderNumber,     // a 16-bit value in decimal: width, height, ascent, character count
    HeaderReserved,   // the unused byte
    HeaderByte,       // an 8-bit value in decimal: the bytes per unit
    HeaderUnitCount,  // the 32-bit number of units in the data table, in hexadecimal
    HeaderPointer,    // the data table's address
    SetSize,          // cbThis: the glyph set's size in bytes
    SetCharCount,     // nChars
    SetRangeCount,    // nRanges
    SetPointer,       // pRanges: the address of the ranges
};

struct RecordField {
    FieldKind kind;
    std::int64_t value = 0;  // numbers
    std::string text;        // pointers: the C expression of the address
    std::string comment;
};

class TableDialect {
  public:
    // `unitBits` is the data table's unit length (8, 16 or 32); with `unitsAsBytes` the data
    // table is declared as bytes and every unit is written as its bytes, high byte first.
    TableDialect(ExportStream& out, int unitBits, bool unitsAsBytes)
        : m_out(out), m_unitBits(unitBits), m_unitsAsBytes(unitsAsBytes) {}
    virtual ~TableDialect() = default;
    TableDialect(const TableDialect&) = delete;
    TableDialect& operator=(const TableDialect&) = delete;

    // ---- Comments
    // The boxed comment at the top of the file.
    virtual void fileHeader(const Font& font, const CreateTime& now) = 0;
    // One line of C text (see CodeTextKind).
    virtual void cText(std::string_view text, CodeTextKind kind) = 0;
    // A comment of its own over several lines.
    virtual void blockComment(std::initializer_list<std::string_view> lines) = 0;
    // A one-line comment between declarations.
    virtual void remark(std::string_view text) = 0;

    // ---- Tables and records
    // A table's label or declaration, `cType` the C type of its entries.
    virtual void openTable(TableKind table, std::string_view cType, const std::string& name) = 0;
    // The declaration of a record of type `cType`.
    virtual void openRecord(std::string_view cType, const std::string& name) = 0;
    // The end of a table or record; with `endsGuard` also the end of the #ifdef around it.
    virtual void closeTable(bool endsGuard) = 0;
    // The comment lines naming the columns of a table's rows.
    virtual void columnHeads(TableKind table) = 0;

    // ---- Rows
    // A comment line of its own inside the data table (a character's line).
    virtual void characterNote(std::string_view text) = 0;
    // One pixel row of a character in the data table: its units, the index among them of the
    // table's last unit (-1: not in this row), and the row drawn in '#' and '.' (empty: not
    // drawn).
    virtual void pixelRow(std::span<const std::uint32_t> units, int tableEndsAt,
                          std::string_view drawing) = 0;
    // A line of a character's units in the layouts that run on across rows.
    virtual void runOnRow(std::span<const std::uint32_t> units, int tableEndsAt) = 0;
    // A row of the offset table; `largest` is the table's largest offset, `last` marks the
    // row that closes the table, `note` the comment after the value.
    virtual void offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                           std::string_view note) = 0;
    // A row of the width or ASCII index table; `columns` is the comment's character,
    // hexadecimal and decimal code.
    virtual void entryRow(int value, bool last, std::string_view columns) = 0;
    // A row of the glyph ranges: a run of `count` codes from `low`.
    virtual void rangeRow(std::uint16_t low, std::uint16_t count, bool last,
                          std::string_view note) = 0;
    // A field of the font header or the glyph set.
    virtual void field(const RecordField& field) = 0;

  protected:
    int bytesPerUnit() const { return m_unitBits / 8; }
    // Units written as their single bytes: only when the data table is declared as bytes and
    // a unit has more than one.
    bool splitsUnits() const { return m_unitsAsBytes && bytesPerUnit() != 1; }
    // The data table's entries are bytes (declared as bytes, or 8-bit units).
    bool bytesInTable() const { return m_unitsAsBytes || m_unitBits == 8; }

    // Starts the reused line of a row (the rows are written for every character and pixel
    // row of a font): cleared, then `start` (the indent).
    std::string& startLine(std::string_view start) {
        m_line.assign(start);
        return m_line;
    }

    ExportStream& m_out;
    int m_unitBits;
    bool m_unitsAsBytes;
    std::string m_line;
};

// The C source: tables as const arrays, comments in /* */.
class TableCDialect final : public TableDialect {
  public:
    using TableDialect::TableDialect;

    void fileHeader(const Font& font, const CreateTime& now) override;
    void cText(std::string_view text, CodeTextKind kind) override;
    void blockComment(std::initializer_list<std::string_view> lines) override;
    void remark(std::string_view text) override;
    void openTable(TableKind table, std::string_view cType, const std::string& name) override;
    void openRecord(std::string_view cType, const std::string& name) override;
    void closeTable(bool endsGuard) override;
    void columnHeads(TableKind table) override;
    void characterNote(std::string_view text) override;
    void pixelRow(std::span<const std::uint32_t> units, int tableEndsAt,
                  std::string_view drawing) override;
    void runOnRow(std::span<const std::uint32_t> units, int tableEndsAt) override;
    void offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                   std::string_view note) override;
    void entryRow(int value, bool last, std::string_view columns) override;
    void rangeRow(std::uint16_t low, std::uint16_t count, bool last,
                  std::string_view note) override;
    void field(const RecordField& field) override;

  private:
    // The open table is the glyph set: an array of one record, whose fields need braces of
    // their own inside the array's.
    bool m_inRecordArray = false;
};

// The assembler source: labels and db / dw / dd lines, comments after ';', and the C parts
// (preprocessor lines, declarations) kept as comments.
class TableAsmDialect final : public TableDialect {
  public:
    using TableDialect::TableDialect;

    void fileHeader(const Font& font, const CreateTime& now) override;
    void cText(std::string_view text, CodeTextKind kind) override;
    void blockComment(std::initializer_list<std::string_view> lines) override;
    void remark(std::string_view text) override;
    void openTable(TableKind table, std::string_view cType, const std::string& name) override;
    void openRecord(std::string_view cType, const std::string& name) override;
    void closeTable(bool endsGuard) override;
    void columnHeads(TableKind table) override;
    void characterNote(std::string_view text) override;
    void pixelRow(std::span<const std::uint32_t> units, int tableEndsAt,
                  std::string_view drawing) override;
    void runOnRow(std::span<const std::uint32_t> units, int tableEndsAt) override;
    void offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                   std::string_view note) override;
    void entryRow(int value, bool last, std::string_view columns) override;
    void rangeRow(std::uint16_t low, std::uint16_t count, bool last,
                  std::string_view note) override;
    void field(const RecordField& field) override;
};

}  // namespace typeloom::exporters
