#include "export/version2_dialect.h"

#include "export/export_stream.h"
#include "export/unit_text.h"

namespace typeloom::exporters {

namespace {

const std::string kIndent = "    ";

std::string str(std::string_view text) {
    return std::string(text);
}

}  // namespace

void Version2Dialect::put(std::string text) {
    text += '\n';
    m_out << text;
}

// ---------------------------------------------------------------------------------------------
// C

void CVersion2Dialect::comment(std::string_view text) {
    put(str(text));
}

void CVersion2Dialect::openTable(std::string_view cType, const std::string& name) {
    put("const " + str(cType) + " " + name + "[] = ");
    put("{");
}

// The closing brace and two blank lines.
void CVersion2Dialect::closeTable(Version2Table) {
    put("};");
    put("");
    put("");
}

void CVersion2Dialect::columnHeads(Version2Table table) {
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

void CVersion2Dialect::characterNote(std::string_view text) {
    put(kIndent + "/*" + str(text) + "*/");
}

std::string CVersion2Dialect::unitText(std::uint32_t unit) const {
    return unitAsC(unit, m_unitBits, m_unitsAsBytes);
}

// Every unit is followed by ", " but the table's last, followed by two spaces.
void CVersion2Dialect::pixelRow(std::span<const std::uint32_t> units, bool endsTable,
                                std::string_view drawing) {
    std::string line = kIndent;
    for (std::size_t k = 0; k < units.size(); ++k) {
        line += unitText(units[k]) + (endsTable && k + 1 == units.size() ? "  " : ", ");
    }
    if (!drawing.empty()) {
        line += " // " + str(drawing);
    }
    put(line);
}

// Every unit is followed by ", " but the table's last, followed by nothing.
void CVersion2Dialect::runOnRow(std::span<const std::uint32_t> units, bool endsTable) {
    std::string line = kIndent;
    for (std::size_t k = 0; k < units.size(); ++k) {
        line += unitText(units[k]);
        if (!endsTable || k + 1 != units.size()) {
            line += ", ";
        }
    }
    put(line);
}

void CVersion2Dialect::offsetRow(std::uint32_t offset, std::uint32_t, bool last,
                                 std::string_view note) {
    put(kIndent + formatText("0x%04X%c /*", offset, last ? ' ' : ',') + str(note) + " */");
}

void CVersion2Dialect::entryRow(int value, bool last, std::string_view note) {
    put(kIndent + formatText("%2d%c     /* ", value, last ? ' ' : ',') + str(note) + " */");
}

// ---------------------------------------------------------------------------------------------
// Assembler

// Every line of a comment block starts with ';', blank ones too.
void AsmVersion2Dialect::comment(std::string_view text) {
    put(";" + str(text));
}

// The label on a line of its own, then a blank line.
void AsmVersion2Dialect::openTable(std::string_view, const std::string& name) {
    put(name + " ");
    put("");
}

// Blank lines only: three after the data table, one after the offset table (whose last row
// has no comment), two after the others.
void AsmVersion2Dialect::closeTable(Version2Table table) {
    const int blankLines = table == Version2Table::Data     ? 3
                           : table == Version2Table::Offset ? 1
                                                            : 2;
    for (int k = 0; k < blankLines; ++k) {
        put("");
    }
}

void AsmVersion2Dialect::columnHeads(Version2Table table) {
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

void AsmVersion2Dialect::characterNote(std::string_view text) {
    put(kIndent + " ;" + str(text) + "  ");
}

std::string AsmVersion2Dialect::unitText(std::uint32_t unit) const {
    return unitAsAsm(unit, m_unitBits, m_unitsAsBytes);
}

std::string AsmVersion2Dialect::dataLine(std::span<const std::uint32_t> units,
                                         std::string_view separator) const {
    std::string line = kIndent + asmDirective(m_unitBits, m_unitsAsBytes);
    for (std::size_t k = 0; k < units.size(); ++k) {
        if (k != 0) {
            line += separator;
        }
        line += unitText(units[k]);
    }
    return line;
}

// The units separated by ",  "; the end of the table needs no mark.
void AsmVersion2Dialect::pixelRow(std::span<const std::uint32_t> units, bool,
                                  std::string_view drawing) {
    std::string line = dataLine(units, ",  ");
    if (!drawing.empty()) {
        line += " ;  " + str(drawing);
    }
    put(line);
}

// The units separated by ", ".
void AsmVersion2Dialect::runOnRow(std::span<const std::uint32_t> units, bool) {
    put(dataLine(units, ", "));
}

// The table's last row has no comment.
void AsmVersion2Dialect::offsetRow(std::uint32_t offset, std::uint32_t largest, bool last,
                                   std::string_view note) {
    put(kIndent + asmOffsetEntry(offset, largest) + (last ? "" : " ;" + str(note)));
}

void AsmVersion2Dialect::entryRow(int value, bool, std::string_view note) {
    put(kIndent + formatText("db    %5d ;    -  ", value) + str(note));
}

}  // namespace typeloom::exporters
