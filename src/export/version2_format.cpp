#include "export/version2_format.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_error.h"
#include "common/progress_sink.h"
#include "export/data_format.h"
#include "export/unit_text.h"
#include "export/version2_dialect.h"
#include "model/font.h"

namespace typeloom::exporters {

namespace {

// The address in the create-time line of version 2.0 files.
constexpr const char* kMakerEmail = "fonts@typeloom.example";
// The widest character the width table (unsigned char) holds.
constexpr int kWidestTableWidth = 255;

// The structure of the version 2.0 C and assembler files: a data table and, as the export
// options say, an offset, a width and an index table; which rows and values they hold in
// which order and what the comments say. The dialect writes each piece in its language.
class Version2Writer {
  public:
    Version2Writer(ExportContext& context, Version2Dialect& dialect)
        : m_ctx(context),
          m_out(context.out),
          m_font(context.font),
          m_dialect(dialect),
          m_bits(context.encoder.unitBits()),
          m_pages(context.pages()) {}

    bool write() {
        refuseWideCharacters();
        // An empty data table is no valid C (nor anything to assemble): beginExport refuses it.
        if (!beginExport(m_ctx, m_offsets)) {
            return false;
        }
        m_total = m_offsets.back();
        if (!section([this] { writeHeader(); }) || !section([this] { writeDataHead(); })) {
            return false;
        }
        if (m_ctx.cancelled() || !writeDataBody()) {
            return false;
        }
        if (!section([this] { writeDataEnd(); })) {
            return false;
        }
        if ((m_pages & kPageOffsetTable) != 0 && !section([this] { writeOffsetTable(); })) {
            return false;
        }
        if ((m_pages & kPageWidthTable) != 0 && !section([this] { writeWidthTable(); })) {
            return false;
        }
        if ((m_pages & kPageAsciiIndexTable) != 0 && !section([this] { writeIndexTable(); })) {
            return false;
        }
        return !m_ctx.cancelled();
    }

  private:
    // A part of the file, written unless the run has been cancelled.
    template <typename F>
    bool section(F body) {
        if (m_ctx.cancelled()) {
            return false;
        }
        body();
        return true;
    }

    // A line of a comment block.
    void comment(std::string_view text = {}) { m_dialect.comment(text); }
    void openRule() { comment("/" + std::string(91, '*')); }
    // The closing rule and a blank line after the comment.
    void closeRule() {
        comment(" " + std::string(91, '*') + "/");
        m_out.line();
    }

    bool ucharData() const { return (m_pages & kPageUcharData) != 0; }
    // The unit length named in the header: 4 for the 4-bit length value (which the encoder
    // writes as 8-bit units), else the length of the units written.
    const char* dataType() const {
        if (ucharData() || m_bits == 8) {
            return "unsigned char";
        }
        return m_bits == 16 ? "unsigned short" : "unsigned long";
    }
    int widthOf(std::uint16_t unicode) const {
        const Glyph* glyph = m_font.glyphs.find(unicode);
        return glyph != nullptr ? glyph->width : 0;
    }

    void writeHeader() {
        const std::uint32_t word = m_font.dataFormat;
        openRule();
        comment("  Font name: " + commentText(m_font.faceName));
        if (m_font.fixedWidth != 0) {
            comment(formatText("  Font width: %d (monospaced font)", m_font.fixedWidth));
        } else {
            comment("  Font width: varialbe (proportional font)");
        }
        comment(formatText("  Font height: %d", m_font.height));
        // The length the units are written in: a word with the 4-bit length value is written
        // in 8-bit units, and a reader sizing its array by the header must be told 8.
        comment(formatText("  Data length: %d bits", m_bits));
        std::string format = "  Data format: ";
        format += isBigEndian(word) ? "Big Endian, " : "Little Endian, ";
        format += (word & kScanRow) != 0 ? "Row based, " : "Column based, ";
        format += (word & kPreferRow) != 0 ? "Row preferred, " : "Column preferred, ";
        if ((word & kPacked) != 0) {
            comment(format + "Packed");
            comment();
        } else {
            comment(format + "Unpacked");
        }
        comment();
        comment("  Create time: " + createTimeText(m_ctx.now) +
                "  by Typeloom Basic v3.1 (e-mail: " + kMakerEmail + ")");
        closeRule();
    }

    void writeDataHead() {
        openRule();
        comment("  Data table provides the bitmap data of each character.");
        comment();
        comment(
            "  To get the starting data offset of character 'A', you can use the following "
            "expression:");
        comment();
        comment("     const unsigned char index = index_table['A'];");
        comment("     const unsigned int offset = offset_table[index];");
        if (ucharData() || m_bits == 8) {
            comment("     const unsigned char *pData = data_table[offset];");
        } else if (m_bits == 16) {
            comment("     const unsigned short *pData = data_table[offset];");
        } else {
            comment("     const unsigned long *pData = data_table[offset];");
        }
        closeRule();
        m_dialect.openTable(dataType(), m_ctx.identifierBase + "_data_table");
    }

    // Whether `count` units from table position `first` end the data table.
    bool endsTable(std::uint32_t first, std::size_t count) const {
        return first + static_cast<std::uint32_t>(count) == m_total;
    }

    // The pixels of a row as the stored units hold them ('#' set, '.' clear), so an inverted
    // export draws inverted.
    std::string drawRow(std::span<const std::uint32_t> rowUnits, int width) const {
        const bool big = m_ctx.encoder.bigEndian();
        std::string drawing;
        for (int c = 0; c < width; ++c) {
            const std::uint32_t unit = rowUnits[static_cast<std::size_t>(c / m_bits)];
            const int k = c % m_bits;
            const int bit = big ? m_bits - 1 - k : k;
            drawing += ((unit >> bit) & 1u) != 0 ? '#' : '.';
        }
        return drawing;
    }

    void writeCharacter(int i) {
        const auto unicode = static_cast<std::uint16_t>(m_font.unicodeAt(i));
        const int width = widthOf(unicode);
        const std::uint32_t offset = m_offsets[static_cast<std::size_t>(i)];
        const std::span<const std::uint32_t> units = m_ctx.encoder.unitsOf(unicode);
        const bool rowMode = (m_font.dataFormat & kTraversalMask) == 0x110;

        m_dialect.characterNote(formatText(
            rowMode ? " character 0x%04X ('%s'): [width=%d, offset= 0x%04X (%u) ] "
                    : "character 0x%04X ('%s'): [width=%d, offset= 0x%04X (%u) ]",
            m_font.codeAt(i), characterText(unicode, '.').c_str(), width, offset, offset));

        if (rowMode) {
            const int height = m_font.height;
            std::size_t perRow = static_cast<std::size_t>(m_ctx.encoder.unitsFor(width));
            if (units.size() != perRow * static_cast<std::size_t>(height)) {
                perRow = 0;  // nothing was encoded for this glyph
            }
            const bool draw = m_font.bitsPerPixel == 1 || m_font.bitsPerPixel == 2;
            // A character without units has no rows to write (in assembler a "db" without
            // operands would not even assemble).
            for (int r = 0; perRow != 0 && r < height; ++r) {
                const std::size_t first = static_cast<std::size_t>(r) * perRow;
                const std::span<const std::uint32_t> row = units.subspan(first, perRow);
                m_dialect.pixelRow(row,
                                   endsTable(offset + static_cast<std::uint32_t>(first), perRow),
                                   draw ? drawRow(row, width) : std::string());
            }
        } else {
            // The units run on, 128 / L to a line.
            const std::size_t perLine = static_cast<std::size_t>(128 / m_bits);
            for (std::size_t first = 0; first < units.size(); first += perLine) {
                const std::span<const std::uint32_t> line =
                    units.subspan(first, std::min(perLine, units.size() - first));
                m_dialect.runOnRow(
                    line, endsTable(offset + static_cast<std::uint32_t>(first), line.size()));
            }
        }
        if (i != m_font.lastIndex()) {
            m_out.line();
        }
    }

    bool writeDataBody() {
        // Large fonts show a second "%d of %d" walk while their characters are written.
        ProgressRun run(m_ctx.progress, m_font.count(),
                        m_font.count() > 500 || m_font.height > 100);
        for (int i = 0; i < m_font.count(); ++i) {
            if (m_ctx.cancelled()) {
                return false;
            }
            writeCharacter(i);
            run.step();
        }
        return true;
    }

    void writeDataEnd() { m_dialect.closeTable(Version2Table::Data); }

    // The comment columns of a character in the offset, width and index tables: the
    // character right-aligned in four columns ('.' for control characters), its code in
    // hexadecimal and in decimal.
    static std::string characterColumns(std::uint16_t unicode, int code) {
        return "   " + characterText(unicode, '.') + formatText("        %04X    %7d", code, code);
    }

    void writeOffsetTable() {
        openRule();
        comment("  Offset table provides the starting offset of each character in the data table.");
        comment();
        comment(
            "  To get the starting offset of character 'A', you can use the following "
            "expression:");
        comment();
        comment("     const unsigned char index = index_table['A'];");
        comment("     const unsigned int offset = offset_table[index];");
        comment();
        closeRule();
        m_dialect.openTable("unsigned int", m_ctx.identifierBase + "_offset_table");
        m_dialect.columnHeads(Version2Table::Offset);
        // One row per character; the end of the last character's data has none.
        const int last = m_font.lastIndex();
        for (int i = 0; i <= last; ++i) {
            const auto unicode = static_cast<std::uint16_t>(m_font.unicodeAt(i));
            m_dialect.offsetRow(m_offsets[static_cast<std::size_t>(i)], m_total, i == last,
                                "    -  " + characterColumns(unicode, m_font.codeAt(i)));
        }
        m_dialect.closeTable(Version2Table::Offset);
    }

    // The width table holds unsigned chars: a wider character would be written with its
    // width cut to 8 bits, so such a font is refused while the table is asked for.
    void refuseWideCharacters() {
        if ((m_pages & kPageWidthTable) == 0) {
            return;
        }
        for (int i = 0; i < m_font.count(); ++i) {
            const int width = widthOf(static_cast<std::uint16_t>(m_font.unicodeAt(i)));
            if (width > kWidestTableWidth) {
                throw FileError(
                    FileError::Kind::BadFormat,
                    formatText("Character 0x%04X is %d pixels wide; the width table of the "
                               "version 2.0 layout holds widths of at most %d pixels. Turn the "
                               "width table off or choose another layout.",
                               static_cast<unsigned>(m_font.codeAt(i)), width, kWidestTableWidth));
            }
        }
    }

    void writeWidthTable() {
        openRule();
        comment(
            "  Width table provides the width of each character. It's useful for proportional "
            "font.");
        comment("  For monospaced font, the widths of all characters are the same.");
        comment();
        comment("  To get the width of character 'A', you can use the following expression:");
        comment();
        comment("     const unsigned char index = index_table['A'];");
        comment("     const unsigned char width = width_table[index];");
        comment();
        closeRule();
        m_dialect.openTable("unsigned char", m_ctx.identifierBase + "_width_table");
        m_dialect.columnHeads(Version2Table::Width);
        const int last = m_font.lastIndex();
        for (int i = 0; i <= last; ++i) {
            const auto unicode = static_cast<std::uint16_t>(m_font.unicodeAt(i));
            m_dialect.entryRow(widthOf(unicode), i == last,
                               characterColumns(unicode, m_font.codeAt(i)));
        }
        m_dialect.closeTable(Version2Table::Width);
    }

    void writeIndexTable() {
        openRule();
        comment("  Index table is used to find the mapping index of a character in range [0-255].");
        comment();
        comment(
            "  If you can find a simple mathematical expression for index mapping, you can use "
            "that.");
        comment(
            "  If you do not have such a mathematical expression, this index table is just for "
            "you.");
        comment();
        comment("  To get the index of character 'A', you can use the following expression:");
        comment();
        comment("     const unsigned char index = index_table['A'];");
        comment();
        closeRule();
        m_dialect.openTable("unsigned char", m_ctx.identifierBase + "_index_table");
        m_dialect.columnHeads(Version2Table::Index);
        // Characters with codes up to 255 are numbered in font order; a code of 256 is passed
        // over and the first code above it ends the walk.
        int index[256] = {};
        int next = 0;
        for (int i = 0; i < m_font.count(); ++i) {
            const int code = m_font.codeAt(i);
            if (code > 256) {
                break;
            }
            if (code < 256) {
                index[code] = next++;
            }
        }
        for (int c = 0; c < 256; ++c) {
            m_dialect.entryRow(index[c], c == 255,
                               characterColumns(static_cast<std::uint16_t>(c), c));
        }
        m_dialect.closeTable(Version2Table::Index);
    }

    ExportContext& m_ctx;
    ExportStream& m_out;
    const Font& m_font;
    Version2Dialect& m_dialect;
    int m_bits;
    int m_pages;
    std::vector<std::uint32_t> m_offsets;
    std::uint32_t m_total = 0;
};

}  // namespace

bool writeVersion2C(ExportContext& context) {
    Version2CDialect dialect(context.out, context.encoder.unitBits(),
                             (context.pages() & kPageUcharData) != 0);
    return Version2Writer(context, dialect).write();
}

bool writeVersion2Asm(ExportContext& context) {
    Version2AsmDialect dialect(context.out, context.encoder.unitBits(),
                               (context.pages() & kPageUcharData) != 0);
    return Version2Writer(context, dialect).write();
}

bool writeVersion2Dat(ExportContext& context) {
    // As the text forms, a font without characters is not exported.
    std::vector<std::uint32_t> offsets;
    if (!beginExport(context, offsets)) {
        return false;
    }
    // Only the data table: every character's units in font order, each least significant
    // byte first.
    const int bytesPerUnit = context.encoder.unitBits() / 8;
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < context.font.count(); ++i) {
        bytes.clear();
        for (std::uint32_t unit :
             context.encoder.unitsOf(static_cast<std::uint16_t>(context.font.unicodeAt(i)))) {
            for (int b = 0; b < bytesPerUnit; ++b) {
                bytes.push_back(static_cast<std::uint8_t>(unit >> (8 * b)));
            }
        }
        context.out.bytes(bytes);
    }
    return !context.cancelled();
}

}  // namespace typeloom::exporters
