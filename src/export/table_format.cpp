#include "export/table_format.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "common/progress_sink.h"
#include "common/text.h"
#include "export/data_format.h"
#include "export/unit_text.h"
#include "model/font.h"

// The table-based font format ("Typeloom ver3.0 Format"): one header record and up to five
// tables (data, offset, width, ASCII index, extended index) as C source, assembler source or a
// little-endian binary file. The C and assembler texts always hold every table, each behind a
// USE_..._TABLE switch that the top of the file turns on or off from "Pages option"; the
// binary file holds only the tables that are on.

namespace typeloom::exporters {

namespace {

// ---------------------------------------------------------------------------------------------
// Values shared by the three forms

constexpr std::uint16_t kMagic = 0x6A5D;
constexpr std::uint16_t kVersion = 0x0320;
constexpr std::uint32_t kBinaryHeaderSize = 44;

struct GlyphRange {
    std::uint16_t charLow;
    std::uint16_t nGlyphs;
};

// Everything the writers derive from the font before writing.
struct TableData {
    std::vector<std::uint32_t> offsets;  // count + 1 entries, in units
    std::uint32_t total = 0;             // units in the data table
    std::vector<GlyphRange> ranges;      // runs of consecutive codes
    std::array<std::uint8_t, 256> asciiIndex{};
};

// FONT_FLAG_PROP always, the bits-per-pixel flag and the encoding flag.
std::uint16_t fontFlags(const Font& font) {
    std::uint16_t flags = 0x0001;
    switch (font.bitsPerPixel) {
        case 1:
            flags |= 0x0004;
            break;
        case 2:
            flags |= 0x0008;
            break;
        case 4:
            flags |= 0x0010;
            break;
        case 8:
            flags |= 0x0020;
            break;
        default:
            break;
    }
    if (font.encoding <= 5) {
        flags |= static_cast<std::uint16_t>(0x0040u << font.encoding);
    }
    return flags;
}

std::string fontFlagNames(const Font& font) {
    std::string names = "FONT_FLAG_PROP";
    switch (font.bitsPerPixel) {
        case 1:
            names += " | FONT_FLAG_BW";
            break;
        case 2:
            names += " | FONT_FLAG_AA2";
            break;
        case 4:
            names += " | FONT_FLAG_AA4";
            break;
        case 8:
            names += " | FONT_FLAG_AA8";
            break;
        default:
            break;
    }
    static const char* const kEncodings[] = {" | FONT_FLAG_ASCII",    " | FONT_FLAG_UNICODE",
                                             " | FONT_FLAG_SHIFTJIS", " | FONT_FLAG_BIG5",
                                             " | FONT_FLAG_GBK",      " | FONT_FLAG_JOHAB"};
    if (font.encoding <= 5) {
        names += kEncodings[font.encoding];
    }
    return names;
}

std::uint16_t codeAt(const Font& font, int i) {
    return static_cast<std::uint16_t>(font.codeAt(i));
}
std::uint16_t unicodeAt(const Font& font, int i) {
    return static_cast<std::uint16_t>(font.unicodeAt(i));
}

// The glyph's own width (what its units were encoded with).
int glyphWidth(const Font& font, int i) {
    std::uint16_t w = 0;
    return font.widthOf(unicodeAt(font, i), w) ? w : 0;
}

// The width table entry: the fixed width for every character of a fixed-width font.
int tableWidth(const Font& font, int i) {
    return font.fixedWidth != 0 ? font.fixedWidth : glyphWidth(font, i);
}

// The writers' shared opening (a font without characters has no first or last code to
// write, so it is refused), then the index tables; false when the writer must stop.
bool prepare(ExportContext& ctx, TableData& data) {
    if (!beginExport(ctx, data.offsets)) {
        return false;
    }
    const Font& font = ctx.font;
    data.total = data.offsets.empty() ? 0 : data.offsets.back();
    // ASCII index: codes up to 255 in order; 256 is passed over; stop above 256.
    int next = 0;
    for (int i = 0; i < font.count(); ++i) {
        const std::uint16_t code = codeAt(font, i);
        if (code > 256) {
            break;
        }
        if (code == 256) {
            continue;
        }
        data.asciiIndex[code] = static_cast<std::uint8_t>(next++);
    }
    // Extended index: maximal runs of consecutive codes.
    for (int i = 0; i < font.count(); ++i) {
        const std::uint16_t code = codeAt(font, i);
        if (!data.ranges.empty() &&
            std::uint32_t{data.ranges.back().charLow} + data.ranges.back().nGlyphs == code) {
            ++data.ranges.back().nGlyphs;
        } else {
            data.ranges.push_back({code, 1});
        }
    }
    return true;
}

// Puts the idle text back in the status bar when a writer that showed its sections' texts
// ends.
struct IdleText {
    ProgressSink& sink;
    ~IdleText() { sink.setText(kIdleStatusText); }
};

// ---------------------------------------------------------------------------------------------
// Text forms

const std::string kIndent = "    ";
const std::string kRule1 = "/" + std::string(91, '*');
const std::string kRule2 = " " + std::string(91, '*') + "/";

// The character itself (its Unicode value) for the comments; "." below 32 so that no control
// character reaches the file. A value the code page lacks becomes '?' in the stream.
std::string characterText(std::uint32_t unicode) {
    if (unicode < 32) {
        return ".";
    }
    if (unicode >= 0xD800 && unicode <= 0xDFFF) {
        return "?";  // a lone surrogate is no character
    }
    return utf16ToUtf8(std::u16string(1, static_cast<char16_t>(unicode)));
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

// "%s%04xh" of the ASM header: a space, or " 0" when the 4-digit number starts with a letter.
std::string asmHeaderHex4(std::uint32_t value) {
    return (value >= 0xA000 ? " 0" : " ") + formatText("%04xh", value);
}

class TableTextWriter {
  public:
    TableTextWriter(ExportContext& ctx, bool assembler)
        : m_ctx(ctx),
          m_out(ctx.out),
          m_font(ctx.font),
          m_asm(assembler),
          m_pages(ctx.pages()),
          m_bits(ctx.encoder.unitBits()),
          m_base(ctx.identifierBase) {}

    bool write() {
        if (!prepare(m_ctx, m_data)) {
            return false;
        }
        // The encoding's progress has put the idle text back already; the sections' texts
        // are replaced by it when the writer ends, whether it finished or not.
        const IdleText idle{m_ctx.progress};
        status("Export: Font Information...");
        if (cancelled()) {
            return false;
        }
        writeHeaderComment(m_out, m_asm, m_font, m_ctx.now);
        if (cancelled()) {
            return false;
        }
        writeIncludes();
        if (cancelled()) {
            return false;
        }
        writeDataHead();
        if (cancelled() || !writeDataBody()) {
            return false;
        }
        if (cancelled()) {
            return false;
        }
        writeDataEnd();
        status("Export: Offset Table...");
        if (cancelled() || !writeOffsetTable()) {
            return false;
        }
        status("Export: Font Information...");
        if (cancelled() || !writeWidthTable()) {
            return false;
        }
        status("Export: Index Table (Ascii)...");
        if (cancelled()) {
            return false;
        }
        writeAsciiIndexTable();
        status("Export: Index Table (Extended)...");
        if (cancelled()) {
            return false;
        }
        writeExtendedIndex();
        status("Export: Font Header...");
        if (cancelled()) {
            return false;
        }
        writeFontHeader();
        return true;
    }

  private:
    bool cancelled() const { return m_ctx.cancelled(); }
    void status(const char* text) { m_ctx.progress.setText(text); }
    bool on(int bit) const { return (m_pages & bit) != 0; }
    bool ucharData() const { return on(kPageUcharData); }

    // A comment or preprocessor line: ";" (or the given prefix) before it in assembler.
    void comment(const std::string& text, const char* asmPrefix = ";") {
        if (m_asm) {
            m_out << asmPrefix;
        }
        m_out.line(text);
    }
    void rule1(const char* asmPrefix = ";") { comment(kRule1, asmPrefix); }
    void rule2(const char* asmPrefix = ";") { comment(kRule2, asmPrefix); }

    // "const UCHAR index = index_table['A'];" for Ascii+ISO8859, else the extended lookup.
    std::string indexLine(const char* table) const {
        if (m_font.encoding == 0) {
            return std::string("     const ") + (table[0] == 'i' ? "UCHAR" : "USHORT") +
                   " index = " + table + "['A'];";
        }
        return "     const USHORT index = GetExtendedIndex('A');";
    }

    // ---- 2. Includes and switches
    void writeIncludes() {
        m_out.line();
        comment("#include <stdio.h>", ";  ");
        comment("#include \"tlmtype.h\" ", ";  ");
        m_out.line();
        if (m_asm) {
            m_out.line(";  The following line needs to be included in any file selecting the");
            m_out.line(";  font.");
            m_out.line(";  extern const FONTHEADER_TLM " + m_base + ";");
        } else {
            m_out.line("/*  The following line needs to be included in any file selecting the");
            m_out.line("    font.");
            m_out.line("*/");
            m_out.line("extern const FONTHEADER_TLM " + m_base + ";");
        }
        m_out.line();
        static const std::pair<int, const char*> kSwitches[] = {
            {kPageOffsetTable, "USE_OFFSET_TABLE"},
            {kPageWidthTable, "USE_WIDTH_TABLE"},
            {kPageAsciiIndexTable, "USE_ASCII_INDEX_TABLE"},
            {kPageExtendedIndexTable, "USE_EXTENDED_INDEX_TABLE"},
        };
        for (const auto& [bit, name] : kSwitches) {
            const std::string define = std::string("#define ") + name;
            comment(on(bit) ? define : "/*" + define + "*/", ";  ");
        }
        m_out.line();
        m_out.line();
    }

    // ---- 3. Data table head
    const char* dataType() const {
        if (ucharData() || m_bits == 8) {
            return "UCHAR";
        }
        return m_bits == 16 ? "USHORT" : "ULONG";
    }

    void writeDataHead() {
        rule1();
        comment("  Data table provides the bitmap data of each character.");
        comment("");
        comment(
            "  To get the starting data offset of character 'A', you can use the following "
            "expression:");
        comment("");
        comment(indexLine("index_table"));
        comment("     const ULONG offset = offset_table[index];");
        const char* pointerType = m_bits == 8 ? "UCHAR" : m_bits == 16 ? "USHORT" : "ULONG";
        comment(std::string("     const ") + pointerType + " *pData = data_table[offset];");
        comment("");
        rule2();
        if (m_asm) {
            m_out.line(m_base + "_data_table ");
            m_out.line();
        } else {
            m_out.line(std::string("const ") + dataType() + " " + m_base + "_data_table[] = ");
            m_out.line("{");
        }
    }

    // ---- 4. Data table body
    // One unit as C or assembler text.
    std::string unitText(std::uint32_t unit) const {
        const int bytes = m_bits / 8;
        if (m_asm) {
            auto number = [](std::uint32_t v, int digits) {
                const bool letter = (v >> (digits * 4 - 4)) >= 0xA;
                return (letter ? "0" : " ") + formatText("%0*xh", digits, v);
            };
            if (!ucharData() || bytes == 1) {
                return number(unit, bytes * 2);
            }
            std::string text;
            for (int b = bytes - 1; b >= 0; --b) {
                text += number((unit >> (8 * b)) & 0xFF, 2);
                if (b != 0) {
                    text += ",  ";
                }
            }
            return text;
        }
        if (!ucharData() || bytes == 1) {
            return formatText("0x%0*X", bytes * 2, unit);
        }
        std::string text;
        for (int b = bytes - 1; b >= 0; --b) {
            text += formatText("0x%02X", (unit >> (8 * b)) & 0xFF);
            if (b != 0) {
                text += ", ";
            }
        }
        return text;
    }

    // "db ", "dw " or "dd " ("db " when the table is declared as bytes).
    const char* asmDirective() const {
        if (ucharData() || m_bits == 8) {
            return "db ";
        }
        return m_bits == 16 ? "dw " : "dd ";
    }

    bool writeDataBody() {
        const int count = m_font.count();
        const bool rowMode = (m_font.dataFormat & kTraversalMask) == 0x110;
        ProgressRun run(m_ctx.progress, count, count > 500 || m_font.height > 100);
        for (int i = 0; i < count; ++i) {
            if (cancelled()) {
                return false;
            }
            const std::uint16_t unicode = unicodeAt(m_font, i);
            const std::uint32_t offset = m_data.offsets[static_cast<std::size_t>(i)];
            const std::string open = m_asm ? " ;" : "/*";
            const std::string close = m_asm ? "  " : "*/";
            const char* format = rowMode
                                     ? " character 0x%04X ('%s'): [width=%d, offset= 0x%04X (%u) ] "
                                     : "character 0x%04X ('%s'): [width=%d, offset= 0x%04X (%u) ]";
            std::string line = kIndent;
            line += open;
            line += formatText(format, codeAt(m_font, i), characterText(unicode).c_str(),
                               glyphWidth(m_font, i), offset, offset);
            line += close;
            m_out.line(line);
            const std::span<const std::uint32_t> units = m_ctx.encoder.unitsOf(unicode);
            if (rowMode) {
                writeRows(i, units, offset);
            } else {
                writeRunOn(units, offset);
            }
            if (i != count - 1) {
                m_out.line();
            }
            run.step();
        }
        return true;
    }

    bool lastOfTable(std::uint32_t unitIndex) const { return unitIndex + 1 == m_data.total; }

    // Row mode: one line per pixel row with the row drawn beside its units.
    void writeRows(int i, std::span<const std::uint32_t> units, std::uint32_t offset) {
        const int width = glyphWidth(m_font, i);
        const int perRow = m_ctx.encoder.unitsFor(width);
        if (perRow == 0) {
            return;  // a zero-width character has no units and no rows to draw
        }
        for (int r = 0; r < m_font.height; ++r) {
            std::string line = kIndent;
            if (m_asm) {
                line += asmDirective();
            }
            for (int b = 0; b < perRow; ++b) {
                const std::size_t k = static_cast<std::size_t>(r) * perRow + b;
                const std::uint32_t unit = k < units.size() ? units[k] : 0;
                if (m_asm) {
                    line += (b == 0 ? "" : ",  ") + unitText(unit);
                } else {
                    line += unitText(unit) +
                            (lastOfTable(offset + static_cast<std::uint32_t>(k)) ? "  " : ", ");
                }
            }
            if (m_font.bitsPerPixel == 1 || m_font.bitsPerPixel == 2) {
                line += m_asm ? " ;  " : " // ";
                for (int c = 0; c < width; ++c) {
                    const std::size_t k = static_cast<std::size_t>(r) * perRow + c / m_bits;
                    const std::uint32_t unit = k < units.size() ? units[k] : 0;
                    const int bit =
                        m_ctx.encoder.bigEndian() ? m_bits - 1 - c % m_bits : c % m_bits;
                    line += ((unit >> bit) & 1) != 0 ? '#' : '.';
                }
            }
            m_out.line(line);
        }
    }

    // Other traversals: the units run on, 128 / L to a line.
    void writeRunOn(std::span<const std::uint32_t> units, std::uint32_t offset) {
        const std::size_t perLine = static_cast<std::size_t>(128 / m_bits);
        std::string line;
        for (std::size_t k = 0; k < units.size(); ++k) {
            if (k % perLine == 0) {
                line = kIndent;
                if (m_asm) {
                    line += asmDirective();
                }
            } else if (m_asm) {
                line += ", ";
            }
            line += unitText(units[k]);
            if (!m_asm && !lastOfTable(offset + static_cast<std::uint32_t>(k))) {
                line += ", ";
            }
            if ((k + 1) % perLine == 0 || k + 1 == units.size()) {
                m_out.line(line);
            }
        }
    }

    // ---- 5. Data table end
    void writeDataEnd() {
        if (!m_asm) {
            m_out << "};";
        }
        m_out << "\n\n\n";
    }

    // End of the offset, width and ASCII index tables.
    void writeTableEnd() {
        if (m_asm) {
            m_out << ";";
        } else {
            m_out.line("};");
        }
        m_out.line("#endif");
        m_out << "\n\n";
    }

    void writeColumnHeads(const char* what) {
        if (m_asm) {
            m_out.line(kIndent + " ;" +
                       formatText("    %-5s      -  char     hexcode    decimal", what));
            m_out.line(kIndent + " ;    =====      -  ====     =======    =======");
        } else {
            m_out.line(kIndent + "/*      -  char     hexcode    decimal */");
            m_out.line(kIndent + "/*      -  ====     =======    ======= */");
        }
    }

    // ---- 6. Offset table
    bool writeOffsetTable() {
        const int count = m_font.count();
        comment("#ifdef USE_OFFSET_TABLE");
        rule1();
        comment("  Offset table provides the starting offset of each character in the data table.");
        comment("");
        comment("  If you can calculate the offsets by yourself, undefine USE_OFFSET_TABLE.");
        comment("");
        comment(
            "  To get the starting offset of character 'A', you can use the following "
            "expression:");
        comment("");
        comment(indexLine("index_table"));
        comment("     const ULONG offset = offset_table[index];");
        comment("");
        rule2();
        if (m_asm) {
            m_out.line(m_base + "_offset_table ");
            m_out.line();
            m_out.line(kIndent + " ;       offset       -  char     hexcode    decimal");
            m_out.line(kIndent + " ;     ========       -  ====     =======    =======");
        } else {
            m_out.line("const ULONG " + m_base + "_offset_table[] = ");
            m_out.line("{");
            m_out.line(kIndent + "/*            -  char     hexcode    decimal */");
            m_out.line(kIndent + "/*            -  ====     =======    ======= */");
        }
        // Assembler numbers: N digits for the total, a leading 0 for all when it starts with a
        // letter, right-aligned in nine columns.
        const std::uint32_t total = m_data.total;
        const int digits = total < 0x10000u      ? 4
                           : total < 0x100000u   ? 5
                           : total < 0x1000000u  ? 6
                           : total < 0x10000000u ? 7
                                                 : 8;
        const bool leadingZero = (total >> (digits * 4 - 4)) >= 0xA;
        const std::string pad(static_cast<std::size_t>(8 - digits + (leadingZero ? 0 : 1)), ' ');
        const std::string directive = digits == 4 ? "dw    " : "dd    ";
        ProgressRun run(m_ctx.progress, count, count > 1000);
        for (int i = 0; i <= count; ++i) {
            if (i < count && cancelled()) {
                return false;
            }
            const std::uint32_t offset = m_data.offsets[static_cast<std::size_t>(i)];
            std::string line = kIndent;
            if (m_asm) {
                line += directive + pad + (leadingZero ? "0" : "") +
                        formatText("%0*xh", digits, offset);
                if (i < count) {
                    line += " ;    -     " + characterText(unicodeAt(m_font, i)) +
                            formatText("        %04X    %7d", codeAt(m_font, i), codeAt(m_font, i));
                } else {
                    line +=
                        " ;    -  extra address: the end of the last character's imagebits data.";
                }
            } else if (i < count) {
                line += formatText("0x%04X, /*    -     ", offset) +
                        characterText(unicodeAt(m_font, i)) +
                        formatText("        %04X    %7d */", codeAt(m_font, i), codeAt(m_font, i));
            } else {
                line += formatText(
                    "0x%04X  /*    -  extra address: the end of the last character's "
                    "imagebits data. */",
                    offset);
            }
            m_out.line(line);
            if (i < count) {
                run.step();
            }
        }
        writeTableEnd();
        return true;
    }

    // One entry of the width and ASCII index tables.
    std::string entryLine(int value, bool last, std::uint32_t character, std::uint16_t code) const {
        if (m_asm) {
            return kIndent + "db    " + formatText("%5d ;    -     ", value) +
                   characterText(character) + formatText("        %04X    %7d", code, code);
        }
        return kIndent + formatText("%2d%c     /*    ", value, last ? ' ' : ',') +
               characterText(character) + formatText("        %04X    %7d */", code, code);
    }

    // ---- 7. Width table
    bool writeWidthTable() {
        const int count = m_font.count();
        comment("#ifdef USE_WIDTH_TABLE");
        rule1();
        comment(
            "  Width table provides the width of each character. It's useful for proportional "
            "font.");
        comment("  For monospaced font, the widths of all character are the same.");
        comment(
            "  Generally speaking, the width table is not needed for monospaced font. you can get");
        comment("  the width from the font header.");
        comment("  If you do not need the width table, undefine USE_WIDTH_TABLE.");
        comment("  To get the width of character 'A', you can use the following expression:");
        comment("");
        comment(indexLine("ascii_index_table"));
        comment("     const USHORT width = width_table[index];");
        rule2();
        if (m_asm) {
            m_out.line(m_base + "_width_table ");
            m_out.line();
        } else {
            m_out.line("const USHORT " + m_base + "_width_table[] = ");
            m_out.line("{");
        }
        writeColumnHeads("width");
        ProgressRun run(m_ctx.progress, count, count > 1000);
        for (int i = 0; i < count; ++i) {
            if (cancelled()) {
                return false;
            }
            m_out.line(entryLine(tableWidth(m_font, i), i == count - 1, unicodeAt(m_font, i),
                                 codeAt(m_font, i)));
            run.step();
        }
        writeTableEnd();
        return true;
    }

    // ---- 8. ASCII index table
    void writeAsciiIndexTable() {
        comment("#ifdef USE_ASCII_INDEX_TABLE");
        rule1();
        comment(
            "  Ascii index table is used to find the mapping index of a character in range "
            "[0-255].");
        comment("");
        comment(
            "  If you can find a simple mathematical expression for index mapping, you can use "
            "that.");
        comment(
            "  If you do not have such a mathematical expression, this index table is just for "
            "you.");
        comment("");
        comment("  To get the index of character 'A', you can use the following expression:");
        comment("");
        comment("     const UCHAR index = ascii_index_table['A'];");
        comment("");
        rule2();
        if (m_asm) {
            m_out.line(m_base + "_ascii_index_table  ");
            m_out.line();
        } else {
            m_out.line("const UCHAR " + m_base + "_ascii_index_table[] = ");
            m_out.line("{");
        }
        writeColumnHeads("index");
        for (int c = 0; c < 256; ++c) {
            m_out.line(entryLine(m_data.asciiIndex[static_cast<std::size_t>(c)], c == 255,
                                 static_cast<std::uint32_t>(c), static_cast<std::uint16_t>(c)));
        }
        writeTableEnd();
    }

    // ---- 9. Extended index
    void writeExtendedIndex() {
        // clang-format off
        static const char* const kSample[] = {
            "  Extended index table is used to find the mapping index of a character [0-65535].",
            "",
            "  If you can find a simple mathematical expression for index mapping, ",
            "  you can use that, and undefine USE_EXTENDED_INDEX_TABLE.",
            "",
            "  If you do not have such a mathematical expression, this index table is just for you.",
            "",
            "  To get the index of character 'A', you need to calculate it like the following:",
            "",
            "    // a sample function to get the character index on the extended index table.",
            "    USHORT GetExtendedIndex(USHORT glpyh, const FONTHEADER_TLM *pFontHeader)",
            "    {",
            "        if( pFontHeader == NULL )",
            "\t\t      return 0; ",
            "",
            "        USHORT firstChar = pFontHeader->firstChar;",
            "        USHORT lastChar  = pFontHeader->lastChar;",
            "",
            "        if( glyph < firstChar || glyph > lastChar )",
            "\t\t\t  return 0;  //* not found, return the first glyph index * //",
            "",
            "        USHORT index = 0;",
            "        GLYPH_SET *pGlyphSet = pFontHeader->extended_index_table;",
            "        if( pGlyphSet == NULL )",
            "\t\t\t  return 0; ",
            "",
            "        GLYPH_RANGE *pRanges = pGlyphSet->pRanges;",
            "        if( pRanges == NULL )",
            "\t\t      return 0; ",
            "",
            "        USHORT index = 0;",
            "        USHORT nRanges = pGlyphset->nRanges;",
            "        for(USHORT i=0; i<nRanges; i++)",
            "        {",
            "            USHORT charLow = pRanges[i].charLow;",
            "            USHORT nGlyphs = pRanges[i].nGlyphs;",
            "",
            "            if( glyph < charLow+nGlyphs )",
            "            {",
            "                index += (glyph - charLow); ",
            "                return index;",
            "            }",
            "            else",
            "            {",
            "                index += nGlyphs;",
            "            }",
            "        }",
            "",
            "        return 0;   //* not found, return the first glyph index * //",
            "",
            "    }",
            "",
        };
        // clang-format on
        comment("#ifdef USE_EXTENDED_INDEX_TABLE");
        rule1();
        for (const char* line : kSample) {
            comment(line);
        }
        rule2();
        const std::size_t nRanges = m_data.ranges.size();
        if (m_asm) {
            m_out.line(m_base + "_glyph_ranges ");
            m_out.line();
            m_out.line(kIndent + " ;charLow    nGlyphs     from      to");
            m_out.line(kIndent + " ;=======    =======     =======   =======");
        } else {
            m_out.line("const GLYPH_RANGE " + m_base + "_glyph_ranges[] = ");
            m_out.line("{");
            m_out.line("/*charLow    nGlyphs     from      to*/");
            m_out.line("/*=======    =======     =======   =======*/");
        }
        for (std::size_t r = 0; r < nRanges; ++r) {
            const GlyphRange& range = m_data.ranges[r];
            const unsigned last = range.charLow + range.nGlyphs - 1u;
            if (m_asm) {
                m_out.line(kIndent + " dw " + asmHex4(range.charLow) + ",   " +
                           asmHex4(range.nGlyphs) +
                           formatText("    ;[0x%04X - 0x%04X]   ", range.charLow, last));
            } else {
                m_out.line(formatText("  { %5d,    %5d }%c  /*[0x%04X - 0x%04X]*/ ", range.charLow,
                                      range.nGlyphs, r + 1 == nRanges ? ' ' : ',', range.charLow,
                                      last));
            }
        }
        const unsigned cbThis = static_cast<unsigned>(12 + 4 * nRanges);
        const int count = m_font.count();
        if (m_asm) {
            m_out << "\n\n";
            m_out.line(m_base + "_glyph_set ");
            m_out.line();
            m_out.line(kIndent + " dw  " + asmHex4(cbThis) +
                       " \t; cbThis = sizeof(GLYPH_SET) + sizeof(GLYPH_RANGE)*nRanges ");
            m_out.line(kIndent + " dw  " + asmHex4(static_cast<std::uint32_t>(count)) +
                       " \t; nChars: total # characters in font ");
            m_out.line(kIndent + " dw  " + asmHex4(static_cast<std::uint32_t>(nRanges)) +
                       " \t; nRanges: # ranges ");
            m_out.line(kIndent + "  ;(GLYPH_RANGE *)" + m_base +
                       "_glyph_ranges  ; pRanges: pointer to the first range ");
            m_out << ";";
        } else {
            m_out << "};\n\n";
            m_out.line("const GLYPH_SET " + m_base + "_glyph_set[] = ");
            m_out.line("{");
            m_out.line(
                kIndent +
                formatText("%#4x, \t/* cbThis = sizeof(GLYPH_SET) + sizeof(GLYPH_RANGE)*nRanges */",
                           cbThis));
            m_out.line(kIndent +
                       formatText("%d, \t/* nChars: total # characters in font */", count));
            m_out.line(kIndent + formatText("%d, %s/* nRanges: # ranges */",
                                            static_cast<int>(nRanges),
                                            nRanges <= 9 ? "\t\t" : "\t"));
            m_out.line(kIndent + "(GLYPH_RANGE *)" + m_base +
                       "_glyph_ranges  /* pRanges: pointer to the first range */");
            m_out.line("};");
        }
        m_out.line("#endif");
        m_out << "\n\n";
    }

    // ---- 10. Font header
    void writeFontHeader() {
        const Font& f = m_font;
        const int count = f.count();
        rule1("; ");
        comment("  Font Header Definition", "; ");
        comment("", "; ");
        comment("  To use this font, you should declare it in other .h file first.", "; ");
        comment("", "; ");
        comment("  Declare:", "; ");
        comment("      1. include \"tlmtype.h\" ", "; ");
        comment("      2. extern const FONTHEADER_TLM " + m_base + "; ", "; ");
        comment("", "; ");
        rule2("; ");
        if (m_asm) {
            m_out.line("; const FONTHEADER_TLM " + m_base + " = {");
            m_out.line(m_base + " = ");
            m_out.line();
        } else {
            m_out.line("const FONTHEADER_TLM " + m_base + " = ");
            m_out.line("{");
        }
        const std::uint16_t flags = fontFlags(f);
        const std::uint16_t first = codeAt(f, 0);
        const std::uint16_t last = codeAt(f, count - 1);
        const int bytesPerUnit = m_bits / 8;
        auto field = [&](const std::string& text) { m_out.line(kIndent + text); };
        auto tabs = [](int value) { return value > 9 ? "\t\t" : "\t\t\t"; };
        if (m_asm) {
            field(formatText("dw  0%4xh\t ; magic number = 0x6A5D, created by Typeloom ", kMagic));
            field(formatText("dw  %04xh\t ; version: 0x0100 for version 1.00, 0x0210 for 2.10 ",
                             kVersion));
            field("dw " + asmHeaderHex4(flags) + "\t ; font flags = " + fontFlagNames(f));
            field(formatText("dw  %-5d\t ; font width in pixels. 0 for variable width font ",
                             f.fixedWidth));
            field(formatText("dw  %-5d\t ; font height in pixels ", f.height));
            field(formatText("dw  %-5d\t ; font ascent (baseline) in pixels ", f.ascent));
            m_out.line();
            field("dw " + asmHeaderHex4(first) + "\t ; first character code defined in font ");
            field("dw " + asmHeaderHex4(last) + "\t ; last character code defined in font ");
            field(
                formatText("dw  %-5d\t ; # characters in font, maybe not equal to "
                           "(lastchar-firstchar+1) ",
                           count));
            m_out.line();
            field(formatText("db  %d\t\t ; 1 byte reserved, not used ", 0));
            m_out.line();
            field(
                formatText("db  %-5d\t ; 1, 2, 4 bytes per unit in imagebits data table, see data "
                           "length when export font data ",
                           bytesPerUnit));
            field(
                std::string("dd ") + (leadsWithLetter(m_data.total) ? " 0" : " ") +
                formatText("%xh\t ; # bytes/words/dwords(based bitsPerUnit) imagebits data in data "
                           "table ",
                           m_data.total));
            field(";   (UCHAR *)" + m_base +
                  "_data_table, \t ;pointer to the imagebits data table");
        } else {
            field(formatText("0x%04X, \t/* magic number = 0x6A5D, created by Typeloom */", kMagic));
            field(formatText("0x%04X, \t/* version: 0x0100 for version 1.00, 0x0210 for 2.10 */",
                             kVersion));
            field(formatText("0x%04X, \t/* font flags = %s */", flags, fontFlagNames(f).c_str()));
            field(formatText("%d, %s/* font width in pixels. 0 for variable width font */",
                             f.fixedWidth, tabs(f.fixedWidth)));
            field(formatText("%d, %s/* font height in pixels */", f.height, tabs(f.height)));
            field(formatText("%d, %s/* font ascent (baseline) in pixels */", f.ascent,
                             tabs(f.ascent)));
            m_out.line();
            field(formatText("0x%04X, \t/* first character code defined in font */", first));
            field(formatText("0x%04X, \t/* last character code defined in font */", last));
            field(
                formatText("%d, %s/* # characters in font, maybe not equal to "
                           "(lastchar-firstchar+1) */",
                           count, tabs(count)));
            m_out.line();
            field(formatText("%d, \t\t\t/* 1 byte reserved, not used */", 0));
            m_out.line();
            field(
                formatText("%d, \t\t\t/* 1, 2, 4 bytes per unit in imagebits data table, see data "
                           "length when export font data */",
                           bytesPerUnit));
            field(
                formatText("0x%X, \t\t/* # bytes/words/dwords(based bitsPerUnit) imagebits data in "
                           "data table */",
                           m_data.total));
            field("(UCHAR *)" + m_base + "_data_table, \t/*pointer to the imagebits data table*/");
        }
        m_out.line();
        // The optional table pointers; in assembler they are C text and stay commented out.
        struct Pointer {
            const char* name;
            std::string text;
        };
        const Pointer pointers[] = {
            {"USE_OFFSET_TABLE", "    (ULONG *)" + m_base + "_offset_table,"},
            {"USE_WIDTH_TABLE", "    (USHORT *)" + m_base + "_width_table,"},
            {"USE_ASCII_INDEX_TABLE", "    (UCHAR *)" + m_base + "_ascii_index_table,"},
            {"USE_EXTENDED_INDEX_TABLE", "    (GLYPH_SET *)&" + m_base + "_glyph_set"},
        };
        for (std::size_t p = 0; p < 4; ++p) {
            if (p != 0) {
                m_out.line();
            }
            comment(std::string("#ifdef ") + pointers[p].name);
            comment(pointers[p].text);
            comment("#else");
            comment(p == 3 ? "    NULL" : "    NULL,");
            comment("#endif");
        }
        if (m_asm) {
            m_out << "\n\n\n";
            m_out.line("; clear pre-defines ");
        } else {
            m_out << "};\n\n\n";
            m_out.line("/* clear pre-defines */");
        }
        m_out.line();
        for (const Pointer& p : pointers) {
            comment(std::string("#ifdef ") + p.name);
            comment(std::string("#undef ") + p.name);
            comment("#endif");
            m_out.line();
        }
    }

    ExportContext& m_ctx;
    ExportStream& m_out;
    const Font& m_font;
    bool m_asm;
    int m_pages;
    int m_bits;
    std::string m_base;
    TableData m_data;
};

}  // namespace

bool writeTableC(ExportContext& context) {
    return TableTextWriter(context, false).write();
}

bool writeTableAsm(ExportContext& context) {
    return TableTextWriter(context, true).write();
}

// The binary form: the 44-byte header, every character's units little-endian, zero bytes up
// to a multiple of 4, then the tables whose options are on, unpadded.
bool writeTableBin(ExportContext& context) {
    const Font& font = context.font;
    ExportStream& out = context.out;
    TableData data;
    if (!prepare(context, data)) {
        return false;
    }
    const IdleText idle{context.progress};
    const int pages = context.pages();
    const int count = font.count();
    const int bits = context.encoder.unitBits();
    const std::uint32_t unitBytes = static_cast<std::uint32_t>(bits / 8);
    const std::uint32_t dataBytes = data.total * unitBytes;
    const std::uint32_t padded = (dataBytes + 3) & ~3u;

    // Table positions after the padded data.
    std::uint32_t p = kBinaryHeaderSize + padded;
    auto place = [&](int bit, std::uint32_t size) -> std::uint32_t {
        if ((pages & bit) == 0) {
            return 0;
        }
        const std::uint32_t at = p;
        p += size;
        return at;
    };
    const std::uint32_t offsetAt =
        place(kPageOffsetTable, 4 * (static_cast<std::uint32_t>(count) + 1));
    const std::uint32_t widthAt = place(kPageWidthTable, 2 * static_cast<std::uint32_t>(count));
    const std::uint32_t asciiAt = place(kPageAsciiIndexTable, 256);
    const std::uint32_t extendedAt = place(kPageExtendedIndexTable, 0);

    context.progress.setText("Export: Font Header...");
    if (context.cancelled()) {
        return false;
    }
    out.u16(kMagic);
    out.u16(kVersion);
    out.u16(fontFlags(font));
    out.u16(font.fixedWidth);
    out.u16(font.height);
    out.u16(static_cast<std::uint16_t>(font.ascent));
    out.u16(codeAt(font, 0));
    out.u16(codeAt(font, count - 1));
    out.u16(static_cast<std::uint16_t>(count));
    out.u8(0);
    out.u8(static_cast<std::uint8_t>(bits));
    out.u32(data.total);
    out.u32(kBinaryHeaderSize);
    out.u32(offsetAt);
    out.u32(widthAt);
    out.u32(asciiAt);
    out.u32(extendedAt);

    {
        ProgressRun run(context.progress, count);
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < count; ++i) {
            if (context.cancelled()) {
                return false;
            }
            bytes.clear();
            for (std::uint32_t unit : context.encoder.unitsOf(unicodeAt(font, i))) {
                for (std::uint32_t b = 0; b < unitBytes; ++b) {
                    bytes.push_back(static_cast<std::uint8_t>(unit >> (8 * b)));
                }
            }
            out.bytes(bytes);
            run.step();
        }
    }
    for (std::uint32_t k = dataBytes; k < padded; ++k) {
        out.u8(0);
    }

    if (offsetAt != 0) {
        context.progress.setText("Export: Offset Table...");
        if (context.cancelled()) {
            return false;
        }
        for (std::uint32_t offset : data.offsets) {
            out.u32(offset);
        }
    }
    if (widthAt != 0) {
        context.progress.setText("Export: Font Information...");
        if (context.cancelled()) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            out.u16(static_cast<std::uint16_t>(tableWidth(font, i)));
        }
    }
    if (asciiAt != 0) {
        context.progress.setText("Export: Index Table (Ascii)...");
        if (context.cancelled()) {
            return false;
        }
        out.bytes(data.asciiIndex);
    }
    if (extendedAt != 0) {
        context.progress.setText("Export: Index Table (Extended)...");
        if (context.cancelled()) {
            return false;
        }
        out.u32(static_cast<std::uint32_t>(12 + 4 * data.ranges.size()));
        out.u16(static_cast<std::uint16_t>(count));
        out.u16(static_cast<std::uint16_t>(data.ranges.size()));
        out.u32(extendedAt + 12);
        for (const GlyphRange& range : data.ranges) {
            out.u16(range.charLow);
            out.u16(range.nGlyphs);
        }
    }
    return true;
}

}  // namespace typeloom::exporters
