#include "export/table_format.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "common/file_error.h"
#include "common/progress_sink.h"
#include "export/data_format.h"
#include "export/table_dialect.h"
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
constexpr int kMostTableCharacters = 0xFFFF;

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
    // The header, the glyph set and the glyph ranges count characters in 16 bits: a font of
    // every code would be written with a count of 0, which a firmware reads as an empty font.
    if (ctx.font.count() > kMostTableCharacters) {
        throw FileError(FileError::Kind::BadFormat,
                        formatText("The font has %d characters; the table-based layout counts "
                                   "characters in 16 bits and holds at most %d. Remove a "
                                   "character or choose another layout.",
                                   ctx.font.count(), kMostTableCharacters));
    }
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

const std::string kRule1 = "/" + std::string(91, '*');
const std::string kRule2 = " " + std::string(91, '*') + "/";

// The comment columns of a character in the offset, width and ASCII index tables: the
// character ("." below 32, so that no control character reaches the file), its code in
// hexadecimal and in decimal. A character the code page lacks becomes '?' in the stream.
void appendCharacterColumns(std::string& out, std::uint16_t unicode, std::uint16_t code) {
    appendCharacterText(out, unicode, '.');
    out += "        ";
    appendHex(out, code, 4, true);
    out += "    ";
    appendDecimal(out, code, 7);
}

std::string characterColumns(std::uint16_t unicode, std::uint16_t code) {
    std::string out;
    appendCharacterColumns(out, unicode, code);
    return out;
}

// The structure of the C and assembler files: which tables and records, which rows and values
// in which order, what the comments say. The dialect writes each piece in its language.
class TableTextWriter {
  public:
    TableTextWriter(ExportContext& ctx, TableDialect& dialect)
        : m_ctx(ctx),
          m_out(ctx.out),
          m_font(ctx.font),
          m_dialect(dialect),
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
        m_dialect.fileHeader(m_font, m_ctx.now);
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

    // A line of the boxes before the tables, of their #ifdef guards and so on.
    void comment(const std::string& text) { m_dialect.cText(text, CodeTextKind::Box); }
    void rule1() { comment(kRule1); }
    void rule2() { comment(kRule2); }
    // A line of the box before the font header.
    void headerComment(const std::string& text) { m_dialect.cText(text, CodeTextKind::HeaderBox); }

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
        m_dialect.cText("#include <stdio.h>", CodeTextKind::Preamble);
        m_dialect.cText("#include \"tlmtype.h\" ", CodeTextKind::Preamble);
        m_out.line();
        m_dialect.blockComment(
            {"  The following line needs to be included in any file selecting the", "  font."});
        m_dialect.cText("extern const FONTHEADER_TLM " + m_base + ";", CodeTextKind::Preamble);
        m_out.line();
        static const std::pair<int, const char*> kSwitches[] = {
            {kPageOffsetTable, "USE_OFFSET_TABLE"},
            {kPageWidthTable, "USE_WIDTH_TABLE"},
            {kPageAsciiIndexTable, "USE_ASCII_INDEX_TABLE"},
            {kPageExtendedIndexTable, "USE_EXTENDED_INDEX_TABLE"},
        };
        for (const auto& [bit, name] : kSwitches) {
            const std::string define = std::string("#define ") + name;
            m_dialect.cText(on(bit) ? define : "/*" + define + "*/", CodeTextKind::Preamble);
        }
        m_out.line();
        m_out.line();
    }

    // ---- 3. Data table head
    // The data table's entries: bytes when declared so ("Pages option") or of 8-bit units.
    const char* dataType() const {
        if (on(kPageUcharData) || m_bits == 8) {
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
        m_dialect.openTable(TableKind::Data, dataType(), m_base + "_data_table");
    }

    // ---- 4. Data table body
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
            writeCharacterNote(i, offset, rowMode);
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

    // "character 0x%04X ('%s'): [width=%d, offset= 0x%04X (%u) ]", between spaces in row mode.
    void writeCharacterNote(int i, std::uint32_t offset, bool rowMode) {
        std::string& note = m_text;
        note.clear();
        if (rowMode) {
            note += ' ';
        }
        note += "character 0x";
        appendHex(note, codeAt(m_font, i), 4, true);
        note += " ('";
        appendCharacterText(note, unicodeAt(m_font, i), '.');
        note += "'): [width=";
        appendDecimal(note, glyphWidth(m_font, i));
        note += ", offset= 0x";
        appendHex(note, offset, 4, true);
        note += " (";
        appendDecimal(note, offset);
        note += ") ]";
        if (rowMode) {
            note += ' ';
        }
        m_dialect.characterNote(note);
    }

    // Where among `n` units from table position `first` the data table's last unit is (-1:
    // not among them).
    int tableEndIn(std::uint32_t first, std::size_t n) const {
        for (std::size_t k = 0; k < n; ++k) {
            if (first + static_cast<std::uint32_t>(k) + 1 == m_data.total) {
                return static_cast<int>(k);
            }
        }
        return -1;
    }

    // Row mode: one line per pixel row, with the row drawn beside its units for 1 and 2 bits
    // per pixel.
    void writeRows(int i, std::span<const std::uint32_t> units, std::uint32_t offset) {
        const int width = glyphWidth(m_font, i);
        const int perRow = m_ctx.encoder.unitsFor(width);
        if (perRow == 0) {
            return;  // a zero-width character has no units and no rows to draw
        }
        const bool drawn = m_font.bitsPerPixel == 1 || m_font.bitsPerPixel == 2;
        std::vector<std::uint32_t>& row = m_row;
        row.assign(static_cast<std::size_t>(perRow), 0);
        std::string& drawing = m_text;
        for (int r = 0; r < m_font.height; ++r) {
            const std::size_t first = static_cast<std::size_t>(r) * perRow;
            for (std::size_t b = 0; b < row.size(); ++b) {
                row[b] = first + b < units.size() ? units[first + b] : 0;
            }
            drawing.clear();
            if (drawn) {
                for (int c = 0; c < width; ++c) {
                    const std::uint32_t unit = row[static_cast<std::size_t>(c / m_bits)];
                    const int bit =
                        m_ctx.encoder.bigEndian() ? m_bits - 1 - c % m_bits : c % m_bits;
                    drawing += ((unit >> bit) & 1) != 0 ? '#' : '.';
                }
            }
            m_dialect.pixelRow(
                row, tableEndIn(offset + static_cast<std::uint32_t>(first), row.size()), drawing);
        }
    }

    // Other traversals: the units run on, 128 / L to a line.
    void writeRunOn(std::span<const std::uint32_t> units, std::uint32_t offset) {
        const std::size_t perLine = static_cast<std::size_t>(128 / m_bits);
        for (std::size_t first = 0; first < units.size(); first += perLine) {
            const std::span<const std::uint32_t> line =
                units.subspan(first, std::min(perLine, units.size() - first));
            m_dialect.runOnRow(line,
                               tableEndIn(offset + static_cast<std::uint32_t>(first), line.size()));
        }
    }

    // ---- 5. Data table end
    void writeDataEnd() {
        m_dialect.closeTable(false);
        m_out << "\n\n";
    }

    // End of the offset, width and ASCII index tables, and of their guards.
    void writeTableEnd() {
        m_dialect.closeTable(true);
        m_out << "\n\n";
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
        m_dialect.openTable(TableKind::Offset, "ULONG", m_base + "_offset_table");
        m_dialect.columnHeads(TableKind::Offset);
        ProgressRun run(m_ctx.progress, count, count > 1000);
        for (int i = 0; i <= count; ++i) {
            if (i < count && cancelled()) {
                return false;
            }
            const std::uint32_t offset = m_data.offsets[static_cast<std::size_t>(i)];
            if (i < count) {
                m_text.assign("    -     ");
                appendCharacterColumns(m_text, unicodeAt(m_font, i), codeAt(m_font, i));
                m_dialect.offsetRow(offset, m_data.total, false, m_text);
                run.step();
            } else {
                m_dialect.offsetRow(
                    offset, m_data.total, true,
                    "    -  extra address: the end of the last character's imagebits data.");
            }
        }
        writeTableEnd();
        return true;
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
        m_dialect.openTable(TableKind::Width, "USHORT", m_base + "_width_table");
        m_dialect.columnHeads(TableKind::Width);
        ProgressRun run(m_ctx.progress, count, count > 1000);
        for (int i = 0; i < count; ++i) {
            if (cancelled()) {
                return false;
            }
            m_text.clear();
            appendCharacterColumns(m_text, unicodeAt(m_font, i), codeAt(m_font, i));
            m_dialect.entryRow(tableWidth(m_font, i), i == count - 1, m_text);
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
        m_dialect.openTable(TableKind::AsciiIndex, "UCHAR", m_base + "_ascii_index_table");
        m_dialect.columnHeads(TableKind::AsciiIndex);
        for (int c = 0; c < 256; ++c) {
            m_dialect.entryRow(
                m_data.asciiIndex[static_cast<std::size_t>(c)], c == 255,
                characterColumns(static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(c)));
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
            "\t\t\t  return 0;  //  not found, return the first glyph index * //",
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
            "        return 0;   //  not found, return the first glyph index * //",
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
        m_dialect.openTable(TableKind::GlyphRanges, "GLYPH_RANGE", m_base + "_glyph_ranges");
        m_dialect.columnHeads(TableKind::GlyphRanges);
        for (std::size_t r = 0; r < nRanges; ++r) {
            const GlyphRange& range = m_data.ranges[r];
            const unsigned last = range.charLow + range.nGlyphs - 1u;
            m_dialect.rangeRow(range.charLow, range.nGlyphs, r + 1 == nRanges,
                               formatText("[0x%04X - 0x%04X]", range.charLow, last));
        }
        m_dialect.closeTable(false);
        m_out << "\n";

        m_dialect.openTable(TableKind::GlyphSet, "GLYPH_SET", m_base + "_glyph_set");
        const RecordField fields[] = {
            {FieldKind::SetSize, static_cast<std::int64_t>(12 + 4 * nRanges), "",
             "cbThis = sizeof(GLYPH_SET) + sizeof(GLYPH_RANGE)*nRanges"},
            {FieldKind::SetCharCount, m_font.count(), "", "nChars: total # characters in font"},
            {FieldKind::SetRangeCount, static_cast<std::int64_t>(nRanges), "", "nRanges: # ranges"},
            {FieldKind::SetPointer, 0, "(GLYPH_RANGE *)" + m_base + "_glyph_ranges",
             "pRanges: pointer to the first range"},
        };
        for (const RecordField& f : fields) {
            m_dialect.field(f);
        }
        m_dialect.closeTable(true);
        m_out << "\n\n";
    }

    // ---- 10. Font header
    void writeFontHeader() {
        const Font& f = m_font;
        const int count = f.count();
        headerComment(kRule1);
        headerComment("  Font Header Definition");
        headerComment("");
        headerComment("  To use this font, you should declare it in other .h file first.");
        headerComment("");
        headerComment("  Declare:");
        headerComment("      1. include \"tlmtype.h\" ");
        headerComment("      2. extern const FONTHEADER_TLM " + m_base + "; ");
        headerComment("");
        headerComment(kRule2);
        m_dialect.openRecord("FONTHEADER_TLM", m_base);
        // The fields in groups, each followed by a blank line.
        const std::vector<std::vector<RecordField>> groups = {
            {
                {FieldKind::HeaderMagic, kMagic, "", "magic number = 0x6A5D, created by Typeloom"},
                {FieldKind::HeaderWord, kVersion, "",
                 "version: 0x0100 for version 1.00, 0x0210 for 2.10"},
                {FieldKind::HeaderFlags, fontFlags(f), "", "font flags = " + fontFlagNames(f)},
                {FieldKind::HeaderNumber, f.fixedWidth, "",
                 "font width in pixels. 0 for variable width font"},
                {FieldKind::HeaderNumber, f.height, "", "font height in pixels"},
                {FieldKind::HeaderNumber, f.ascent, "", "font ascent (baseline) in pixels"},
            },
            {
                {FieldKind::HeaderWord, codeAt(f, 0), "", "first character code defined in font"},
                {FieldKind::HeaderWord, codeAt(f, count - 1), "",
                 "last character code defined in font"},
                {FieldKind::HeaderNumber, count, "",
                 "# characters in font, maybe not equal to (lastchar-firstchar+1)"},
            },
            {
                {FieldKind::HeaderReserved, 0, "", "1 byte reserved, not used"},
            },
            {
                {FieldKind::HeaderByte, m_bits / 8, "",
                 "1, 2, 4 bytes per unit in imagebits data table, see data length when export "
                 "font data"},
                {FieldKind::HeaderUnitCount, m_data.total, "",
                 "# bytes/words/dwords(based bitsPerUnit) imagebits data in data table"},
                {FieldKind::HeaderPointer, 0, "(UCHAR *)" + m_base + "_data_table",
                 "pointer to the imagebits data table"},
            },
        };
        for (const std::vector<RecordField>& group : groups) {
            for (const RecordField& field : group) {
                m_dialect.field(field);
            }
            m_out.line();
        }
        // The optional table pointers: C text, left as comments in assembler.
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
        m_dialect.closeTable(false);
        m_out << "\n\n";
        m_dialect.remark("clear pre-defines");
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
    TableDialect& m_dialect;
    int m_pages;
    int m_bits;
    std::string m_base;
    TableData m_data;
    // Reused for the text of each row and the units of each pixel row: a font's rows are
    // built without an allocation each.
    std::string m_text;
    std::vector<std::uint32_t> m_row;
};

}  // namespace

bool writeTableC(ExportContext& context) {
    TableCDialect dialect(context.out, context.encoder.unitBits(),
                          (context.pages() & kPageUcharData) != 0);
    return TableTextWriter(context, dialect).write();
}

bool writeTableAsm(ExportContext& context) {
    TableAsmDialect dialect(context.out, context.encoder.unitBits(),
                            (context.pages() & kPageUcharData) != 0);
    return TableTextWriter(context, dialect).write();
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
