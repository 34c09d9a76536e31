#include "export/table_dialect.h"

#include "export/export_driver.h"
#include "export/export_stream.h"
#include "export/unit_text.h"

namespace typeloom::exporters {

namespace {

const std::string kIndent = "    ";

// The tab stops after a decimal header field in C: one fewer for two-digit values.
const char* decimalTabs(std::int64_t value) {
    return value > 9 ? "\t\t" : "\t\t\t";
}

bool leadsWithLetter(std::uint32_t value) {
    std::uint32_t lead = value;
    while (lead > 0xF) {
        lead >>= 4;
    }
    return lead >= 0xA;
}

// An assembler "%c%4xh" field: five characters with the digits right-aligned. A leading "0"
// is needed when the number starts with a letter; it is written right before the digits
// ("  0a0h", "0a000h") so that the assembler reads a number, not a name.
std::string asmHex4(std::uint32_t value) {
    const std::string digits = formatText("%x", value);
    if (leadsWithLetter(value)) {
        return std::string(digits.size() < 4 ? 4 - digits.size() : 0, ' ') + "0" + digits + "h";
    }
    return std::string(digits.size() < 5 ? 5 - digits.size() : 0, ' ') + digits + "h";
}

// "%s%04xh" of the font header: a space, or " 0" when the 4-digit number starts with a letter.
std::string asmHeaderHex4(std::uint32_t value) {
    return (value >= 0xA000 ? " 0" : " ") + formatText("%04xh", value);
}

std::string str(std::string_view text) {
    return std::string(text);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// C

void TableCDialect::fileHeader(const Font& font, const CreateTime& now) {
    writeHeaderComment(m_out, false, font, now);
}

void TableCDialect::cText(std::string_view text, CodeTextKind) {
    m_out.line(text);
}

void TableCDialect::blockComment(std::initializer_list<std::string_view> lines) {
    bool first = true;
    for (std::string_view line : lines) {
        m_out.line((first ? "/*" : "  ") + str(line));
        first = false;
    }
    m_out.line("*/");
}

void TableCDialect::remark(std::string_view text) {
    m_out.line("/* " + str(text) + " */");
}

// The glyph set is an array of one record: its braces are doubled ("{{" ... "}};") so that
// the record's initializer is braced inside the array's.
void TableCDialect::openTable(TableKind table, std::string_view cType, const std::string& name) {
    m_inRecordArray = table == TableKind::GlyphSet;
    m_out.line("const " + str(cType) + " " + name + "[] = ");
    m_out.line(m_inRecordArray ? "{{" : "{");
}

void TableCDialect::openRecord(std::string_view cType, const std::string& name) {
    m_out.line("const " + str(cType) + " " + name + " = ");
    m_out.line("{");
}

void TableCDialect::closeTable(bool endsGuard) {
    m_out.line(m_inRecordArray ? "}};" : "};");
    m_inRecordArray = false;
    if (endsGuard) {
        m_out.line("#endif");
    }
}

void TableCDialect::columnHeads(TableKind table) {
    switch (table) {
        case TableKind::Offset:
            m_out.line(kIndent + "/*            -  char     hexcode    decimal */");
            m_out.line(kIndent + "/*            -  ====     =======    ======= */");
            break;
        case TableKind::Width:
        case TableKind::AsciiIndex:
            m_out.line(kIndent + "/*      -  char     hexcode    decimal */");
            m_out.line(kIndent + "/*      -  ====     =======    ======= */");
            break;
        case TableKind::GlyphRanges:
            m_out.line("/*charLow    nGlyphs     from      to*/");
            m_out.line("/*=======    =======     =======   =======*/");
            break;
        case TableKind::Data:
        case TableKind::GlyphSet:
            break;
    }
}

void TableCDialect::characterNote(std::string_view text) {
    std::string& line = startLine(kIndent);
    line += "/*";
    line += text;
    line += "*/";
    m_out.line(line);
}

// Every unit is followed by ", " but the table's last, followed by two spaces.
void TableCDialect::pixelRow(std::span<const std::uint32_t> units, int tableEndsAt,
                             std::string_view drawing) {
    std::string& line = startLine(kIndent);
    appendCUnitRow(line, units, m_unitBits, m_unitsAsBytes, tableEndsAt, "  ");
    if (!drawing.empty()) {
        line += " // ";
        line += drawing;
    }
    m_out.line(line);
}

// Every unit is followed by ", " but the table's last, followed by nothing.
void TableCDialect::runOnRow(std::span<const std::uint32_t> units, int tableEndsAt) {
    std::string& line = startLine(kIndent);
    appendCUnitRow(line, units, m_unitBits, m_unitsAsBytes, tableEndsAt, "");
    m_out.line(line);
}

void TableCDialect::offsetRow(std::uint32_t offset, std::uint32_t, bool last,
                              std::string_view note) {
    std::string& line = startLine(kIndent);
    line += "0x";
    appendHex(line, offset, 4, true);
    line += last ? "  /*" : ", /*";
    line += note;
    line += " */";
    m_out.line(line);
}

void TableCDialect::entryRow(int value, bool last, std::string_view columns) {
    std::string& line = startLine(kIndent);
    appendDecimal(line, value, 2);
    line += last ? "      /*    " : ",     /*    ";
    line += columns;
    line += " */";
    m_out.line(line);
}

void TableCDialect::rangeRow(std::uint16_t low, std::uint16_t count, bool last,
                             std::string_view note) {
    m_out.line(formatText("  { %5d,    %5d }%c  /*", low, count, last ? ' ' : ',') + str(note) +
               "*/ ");
}

void TableCDialect::field(const RecordField& f) {
    const std::string comment = "/* " + f.comment + " */";
    const int number = static_cast<int>(f.value);
    const auto hex = static_cast<unsigned>(f.value);
    std::string text;
    switch (f.kind) {
        case FieldKind::HeaderMagic:
        case FieldKind::HeaderWord:
        case FieldKind::HeaderFlags:
            text = formatText("0x%04X, \t", hex) + comment;
            break;
        case FieldKind::HeaderNumber:
            text = formatText("%d, %s", number, decimalTabs(f.value)) + comment;
            break;
        case FieldKind::HeaderReserved:
        case FieldKind::HeaderByte:
            text = formatText("%d, \t\t\t", number) + comment;
            break;
        case FieldKind::HeaderUnitCount:
            text = formatText("0x%X, \t\t", hex) + comment;
            break;
        case FieldKind::HeaderPointer:
            text = f.text + ", \t/*" + f.comment + "*/";
            break;
        case FieldKind::SetSize:
            text = formatText("%#4x, \t", hex) + comment;
            break;
        case FieldKind::SetCharCount:
            text = formatText("%d, \t", number) + comment;
            break;
        case FieldKind::SetRangeCount:
            text = formatText("%d, %s", number, f.value <= 9 ? "\t\t" : "\t") + comment;
            break;
        case FieldKind::SetPointer:
            text = f.text + "  " + comment;
            break;
    }
    m_out.line(kIndent + text);
}

// ---------------------------------------------------------------------------------------------
// Assembler

void TableAsmDialect::fileHeader(const Font& font, const CreateTime& now) {
    writeHeaderComment(m_out, true, font, now);
}

void TableAsmDialect::cText(std::string_view text, CodeTextKind kind) {
    switch (kind) {
        case CodeTextKind::Box:
            m_out << ";";
            break;
        case CodeTextKind::HeaderBox:
            m_out << "; ";
            break;
        case CodeTextKind::Preamble:
            m_out << ";  ";
            break;
    }
    m_out.line(text);
}

void TableAsmDialect::blockComment(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) {
        m_out.line(";" + str(line));
    }
}

void TableAsmDialect::remark(std::string_view text) {
    m_out.line("; " + str(text) + " ");
}

// A label on a line of its own, then a blank line; the ASCII index table's label is followed
// by two spaces, the others' by one.
void TableAsmDialect::openTable(TableKind table, std::string_view, const std::string& name) {
    m_out.line(name + (table == TableKind::AsciiIndex ? "  " : " "));
    m_out.line();
}

// The C declaration as a comment, then the label.
void TableAsmDialect::openRecord(std::string_view cType, const std::string& name) {
    m_out.line("; const " + str(cType) + " " + name + " = {");
    m_out.line(name + " = ");
    m_out.line();
}

void TableAsmDialect::closeTable(bool endsGuard) {
    m_out.line(endsGuard ? ";#endif" : "");
}

void TableAsmDialect::columnHeads(TableKind table) {
    switch (table) {
        case TableKind::Offset:
            m_out.line(kIndent + " ;       offset       -  char     hexcode    decimal");
            m_out.line(kIndent + " ;     ========       -  ====     =======    =======");
            break;
        case TableKind::Width:
        case TableKind::AsciiIndex:
            m_out.line(kIndent + " ;" +
                       formatText("    %-5s      -  char     hexcode    decimal",
                                  table == TableKind::Width ? "width" : "index"));
            m_out.line(kIndent + " ;    =====      -  ====     =======    =======");
            break;
        case TableKind::GlyphRanges:
            m_out.line(kIndent + " ;charLow    nGlyphs     from      to");
            m_out.line(kIndent + " ;=======    =======     =======   =======");
            break;
        case TableKind::Data:
        case TableKind::GlyphSet:
            break;
    }
}

void TableAsmDialect::characterNote(std::string_view text) {
    std::string& line = startLine(kIndent);
    line += " ;";
    line += text;
    line += "  ";
    m_out.line(line);
}

// The directive, then the units separated by ",  "; the end of the table needs no mark.
void TableAsmDialect::pixelRow(std::span<const std::uint32_t> units, int,
                               std::string_view drawing) {
    std::string& line = startLine(kIndent);
    appendAsmUnitRow(line, units, m_unitBits, m_unitsAsBytes, ",  ");
    if (!drawing.empty()) {
        line += " ;  ";
        line += drawing;
    }
    m_out.line(line);
}

// The directive, then the units separated by ", ".
void TableAsmDialect::runOnRow(std::span<const std::uint32_t> units, int) {
    std::string& line = startLine(kIndent);
    appendAsmUnitRow(line, units, m_unitBits, m_unitsAsBytes, ", ");
    m_out.line(line);
}

void TableAsmDialect::offsetRow(std::uint32_t offset, std::uint32_t largest, bool,
                                std::string_view note) {
    std::string& line = startLine(kIndent);
    line += asmOffsetEntry(offset, largest);
    line += " ;";
    line += note;
    m_out.line(line);
}

void TableAsmDialect::entryRow(int value, bool, std::string_view columns) {
    std::string& line = startLine(kIndent);
    line += "db    ";
    appendDecimal(line, value, 5);
    line += " ;    -     ";
    line += columns;
    m_out.line(line);
}

void TableAsmDialect::rangeRow(std::uint16_t low, std::uint16_t count, bool,
                               std::string_view note) {
    m_out.line(kIndent + " dw " + asmHex4(low) + ",   " + asmHex4(count) + "    ;" + str(note) +
               "   ");
}

void TableAsmDialect::field(const RecordField& f) {
    const int number = static_cast<int>(f.value);
    const auto hex = static_cast<std::uint32_t>(f.value);
    std::string text;
    switch (f.kind) {
        case FieldKind::HeaderMagic:
            text = formatText("dw  0%4xh\t ; ", hex) + f.comment + " ";
            break;
        case FieldKind::HeaderWord:
            text = "dw " + asmHeaderHex4(hex) + "\t ; " + f.comment + " ";
            break;
        case FieldKind::HeaderFlags:
            text = "dw " + asmHeaderHex4(hex) + "\t ; " + f.comment;
            break;
        case FieldKind::HeaderNumber:
            text = formatText("dw  %-5d\t ; ", number) + f.comment + " ";
            break;
        case FieldKind::HeaderReserved:
            text = formatText("db  %d\t\t ; ", number) + f.comment + " ";
            break;
        case FieldKind::HeaderByte:
            text = formatText("db  %-5d\t ; ", number) + f.comment + " ";
            break;
        case FieldKind::HeaderUnitCount:
            text = std::string("dd ") + (leadsWithLetter(hex) ? " 0" : " ") +
                   formatText("%xh\t ; ", hex) + f.comment + " ";
            break;
        case FieldKind::HeaderPointer:
            text = ";   " + f.text + ", \t ;" + f.comment;
            break;
        case FieldKind::SetSize:
        case FieldKind::SetCharCount:
        case FieldKind::SetRangeCount:
            text = " dw  " + asmHex4(hex) + " \t; " + f.comment + " ";
            break;
        case FieldKind::SetPointer:
            text = "  ;" + f.text + "  ; " + f.comment + " ";
            break;
    }
    m_out.line(kIndent + text);
}

}  // namespace typeloom::exporters
