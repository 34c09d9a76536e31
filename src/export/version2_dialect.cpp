#include "export/version2_dialect.h"

#include <utility>

#include "export/export_stream.h"
#include "export/unit_text.h"

namespace typeloom::exporters {

namespace {

const std::string kIndent = "    ";

std::string str(std::string_view text) {
    return std::string(text);
}

// The index of a row's unit that ends its table: the last one when the row ends it, else none.
int lastUnitAt(std::span<const std::uint32_t> units, bool endsTable) {
    return endsTable ? static_cast<int>(units.size()) - 1 : -1;
}

}  // namespace

void Version2Dialect::put(std::string text) {
    text += '\n';
    m_out << text;
}

// ---------------------------------------------------------------------------------------------
// C

void Version2CDialect::comment(std::string_view text) {
    put(str(text));
}

void Version2CDialect::openTable(std::string_view cType, const std::string& name) {
    put("const " + str(cType) + " " + name + "[] = ");
    put("{");
}

// The closing brace and two blank lines.
void Version2CDialect::closeTable(Version2Table) {
    put("};");
    put("");
    put("");
}

void Version2CDialect::columnHeads(Version2Table table) {
    switch (table) {
        case Version2Table::Offset:
            put(kIndent + "/*            -  char     hexcode    decimal */");
            put(kIndent + "/*            -  ====     =======    ======= */");
            break;
        case Version2Table::Width:
        case Version2Table::Index:
            put(kIndent + "/*      -  char     hexcode    decimal */");
            put(kIndent + "/*      -  ====     =======    ======= */");
            break;
        case Version2Table::Data:
            break;
    }
}

void Version2CDialect::characterNote(std::string_view text) {
    put(kIndent + "/*" + str(text) + "*/");
}

// Every unit is followed by ", " but the table's last, followed by two spaces.
void Version2CDialect::pixelRow(std::span<const std::uint32_t> units, bool endsTable,
                                std::string_view drawing) {
    std::string line = kIndent;
    appendCUnitRow(line, units, m_unitBits, m_unitsAsBytes, lastUnitAt(units, endsTable), "  ");
    if (!drawing.empty()) {
        line += " // ";
        line += drawing;
    }
    put(std::move(line));
}

// Every unit is followed by ", " but the table's last, followed by nothing.
void Version2CDialect::runOnRow(std::span<const std::uint32_t> units, bool endsTable) {
    std::string line = kIndent;
    appendCUnitRow(line, units, m_unitBits, m_unitsAsBytes, lastUnitAt(units, endsTable), "");
    put(std::move(line));
}

void Version2CDialect::offsetRow(std::uint32_t offset, std::uint32_t, bool last,
                                 std::string_view note) {
    put(kIndent + formatText("0x%04X%c /*", offset, last ? ' ' : ',') + str(note) + " */");
}

void Version2CDialect::entryRow(int value, bool last, std::string_view note) {
    put(kIndent + formatText("%2d%c     /* ", value, last ? ' ' : ',') + str(note) + " */");
}

// ---------------------------------------------------------------------------------------------
// Assembler

// Every line of a comment block starts with ';', blank ones too.
void Version2AsmDialect::comment(std::string_view text) {
    put(";" + str(text));
}

// The label on a line of its own, then a blank line.
void Version2AsmDialect::openTable(std::string_view, const std::string& name) {
    put(name + " ");
    put("");
}

// Blank lines only: three after the data table, one after the offset table (whose last row
// has no comment), two after the others.
void Version2AsmDialect::closeTable(Version2Table table) {
    const int blankLines = table == Version2Table::Data     ? 3
                           : table == Version2Table::Offset ? 1
                                                            : 2;
    for (int k = 0; k < blankLines; ++k) {
        put("");
    }
}

void Version2AsmDialect::columnHeads(Version2Table table) {
    switch (table) {
        case Version2Table::Offset:
            put(kIndent + " ;       offset       -  char     hexcode    decimal");
            put(kIndent + " ;     ========       -  ====     =======    =======");
            break;
        case Version2Table::Width:
        case Version2Table::Index:
            put(kIndent + formatText(" ;    %s      -  char     hexcode    decimal",
                                     table == Version2Table::Width ? "width" : "index"));
            put(kIndent + " ;    =====      -  ====     =======    =======");
            break;
        case Version2Table::Data:
            break;
    }
}

void Version2AsmDialect::characterNote(std::string_view text) {
    put(kIndent + " ;" + str(text) + "  ");
}

// The units separated by ",  "; the end of the table needs no mark.
void Version2AsmDialect::pixelRow(std::span<const std::uint32_t> units, bool,
                                  std::string_view drawing) {
    std::string line = kIndent;
    appendAsmUnitRow(line, units, m_unitBits, m_unitsAsBytes, ",  ");
    if (!drawing.empty()) {
        line += " ;  ";
        line += drawing;
    }
    put(std::move(line));
}

// The units separated by ", ".
void Version2AsmDialect::runOnRow(std::span<const std::uint32_t> units, bool) {
    std::string line = kIndent;
    appendAsmUnitRow(line, units, m_unitBits, m_unitsAsBytes, ", ");
    put(std::move(line));
}

// The table's last row has no comment.
void Version2AsmDialect::offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                                   std::string_view note) {
    put(kIndent + asmOffsetEntry(offset, largest) + (last ? "" : " ;" + str(note)));
}

void Version2AsmDialect::entryRow(int value, bool, std::string_view note) {
    put(kIndent + formatText("db    %5d ;    -  ", value) + str(note));
}

}  // namespace typeloom::exporters
