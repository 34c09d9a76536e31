#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace typeloom::exporters {

class ExportStream;

// The syntax of the version 2.0 text files. The C file and the assembler file hold the same
// tables, rows, values and comments in the same order (version2_format.cpp decides those); a
// dialect writes each piece in its language. Blank lines are the same in both files and are
// written by the caller, except those after a table (see closeTable).

// The tables of the version 2.0 files.
enum class Version2Table { Data, Offset, Width, Index };

class Version2Dialect {
  public:
    // `unitBits` is the data table's unit length (8, 16 or 32); with `unitsAsBytes` every unit
    // of the data table is written as its bytes, high byte first.
    Version2Dialect(ExportStream& out, int unitBits, bool unitsAsBytes)
        : m_out(out), m_unitBits(unitBits), m_unitsAsBytes(unitsAsBytes) {}
    virtual ~Version2Dialect() = default;
    Version2Dialect(const Version2Dialect&) = delete;
    Version2Dialect& operator=(const Version2Dialect&) = delete;

    // A line of the comment blocks (the file's header and the boxes before the tables).
    virtual void comment(std::string_view text) = 0;
    // A table's declaration or label, `cType` the C type of its entries.
    virtual void openTable(std::string_view cType, const std::string& name) = 0;
    // The end of a table with the blank lines after it.
    virtual void closeTable(Version2Table table) = 0;
    // The comment lines naming the columns of the offset, width and index tables.
    virtual void columnHeads(Version2Table table) = 0;

    // The line that heads a character in the data table.
    virtual void characterNote(std::string_view text) = 0;
    // One pixel row of a character: its units and the row drawn in '#' and '.' (empty: not
    // drawn). With `endsTable` the row's last unit is the data table's last.
    virtual void pixelRow(std::span<const std::uint32_t> units, bool endsTable,
                          std::string_view drawing) = 0;
    // A line of a character's units in the traversals that run on across rows.
    virtual void runOnRow(std::span<const std::uint32_t> units, bool endsTable) = 0;
    // A row of the offset table; `largest` is the data table's length in units, `last` marks
    // the table's last row, `note` the comment after the value.
    virtual void offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                           std::string_view note) = 0;
    // A row of the width or index table; `note` is the comment after the value.
    virtual void entryRow(int value, bool last, std::string_view note) = 0;

  protected:
    // Writes a line: the text and its line end in one piece, so that a text ending in CR (a
    // font name may) makes a single CR LF with the line end.
    void put(std::string text);

    ExportStream& m_out;
    int m_unitBits;
    bool m_unitsAsBytes;
};

// The C source: tables as const arrays, comments as they are.
class Version2CDialect final : public Version2Dialect {
  public:
    using Version2Dialect::Version2Dialect;

    void comment(std::string_view text) override;
    void openTable(std::string_view cType, const std::string& name) override;
    void closeTable(Version2Table table) override;
    void columnHeads(Version2Table table) override;
    void characterNote(std::string_view text) override;
    void pixelRow(std::span<const std::uint32_t> units, bool endsTable,
                  std::string_view drawing) override;
    void runOnRow(std::span<const std::uint32_t> units, bool endsTable) override;
    void offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                   std::string_view note) override;
    void entryRow(int value, bool last, std::string_view note) override;
};

// The assembler source: labels and db / dw / dd lines, comments after ';'.
class Version2AsmDialect final : public Version2Dialect {
  public:
    using Version2Dialect::Version2Dialect;

    void comment(std::string_view text) override;
    void openTable(std::string_view cType, const std::string& name) override;
    void closeTable(Version2Table table) override;
    void columnHeads(Version2Table table) override;
    void characterNote(std::string_view text) override;
    void pixelRow(std::span<const std::uint32_t> units, bool endsTable,
                  std::string_view drawing) override;
    void runOnRow(std::span<const std::uint32_t> units, bool endsTable) override;
    void offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                   std::string_view note) override;
    void entryRow(int value, bool last, std::string_view note) override;
};

}  // namespace typeloom::exporters
