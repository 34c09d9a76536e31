#include "export/version2_format.h"

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/progress_sink.h"
#include "export/data_format.h"
#include "export/unit_text.h"
#include "model/font.h"

namespace typeloom::exporters {

namespace {

// The address in the create-time line of version 2.0 files.
constexpr const char* kMakerEmail = "fonts@typeloom.example";

constexpr const char* kIndent = "    ";

// The C and assembler text of the version 2.0 layout: a data table and, as the export
// options say, an offset, a width and an index table. The text is built section by section
// (and character by character in the data table) and handed to the stream after each, so
// memory does not grow with the font.
class Version2Text {
  public:
    Version2Text(ExportContext& context, bool assembler)
        : m_ctx(context),
          m_font(context.font),
          m_asm(assembler),
          m_bits(context.encoder.unitBits()),
          m_pages(context.pages()) {}

    bool write() {
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
    template <typename F>
    bool section(F body) {
        if (m_ctx.cancelled()) {
            return false;
        }
        body();
        flush();
        return true;
    }

    void flush() {
        m_ctx.out << m_text;
        m_text.clear();
    }

    // A line of a comment block; every one of them, blank ones too, starts with ';' in
    // assembler.
    void comment(std::string_view text = {}) {
        if (m_asm) {
            m_text += ';';
        }
        m_text += text;
        m_text += '\n';
    }
    void openRule() { comment("/" + std::string(91, '*')); }
    // The closing rule and a blank line after the comment.
    void closeRule() {
        comment(" " + std::string(91, '*') + "/");
        m_text += '\n';
    }
    // The declaration of a table: "const TYPE NAME[] = {" in C, the label in assembler.
    void declare(const char* type, const char* suffix) {
        if (m_asm) {
            m_text += m_ctx.identifierBase + suffix + " \n\n";
        } else {
            m_text +=
                std::string("const ") + type + " " + m_ctx.identifierBase + suffix + "[] = \n{\n";
        }
    }

    bool ucharData() const { return (m_pages & kPageUcharData) != 0; }
    // The unit length named in the header: 4 for the 4-bit length value (which the encoder
    // writes as 8-bit units), else the length of the units written.
    int describedBits() const { return (m_font.dataFormat & kLengthMask) == kLength4 ? 4 : m_bits; }
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
        comment("  Font name: " + m_font.faceName);
        if (m_font.fixedWidth != 0) {
            comment(formatText("  Font width: %d (monospaced font)", m_font.fixedWidth));
        } else {
            comment("  Font width: varialbe (proportional font)");
        }
        comment(formatText("  Font height: %d", m_font.height));
        comment(formatText("  Data length: %d bits", describedBits()));
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
        if (ucharData() || describedBits() <= 8) {
            comment("     const unsigned char *pData = data_table[offset];");
        } else if (m_bits == 16) {
            comment("     const unsigned short *pData = data_table[offset];");
        } else {
            comment("     const unsigned long *pData = data_table[offset];");
        }
        closeRule();
        declare(dataType(), "_data_table");
    }

    std::string unitText(std::uint32_t unit) const {
        return m_asm ? unitAsAsm(unit, m_bits, ucharData()) : unitAsC(unit, m_bits, ucharData());
    }
    bool isLastUnit(std::uint32_t position) const { return position + 1 == m_total; }

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
        const char* open = m_asm ? " ;" : "/*";
        const char* close = m_asm ? "  " : "*/";

        m_text += kIndent;
        m_text += open;
        m_text += formatText(rowMode ? " character 0x%04X ('%s'): [width=%d, offset= 0x%04X (%u) ] "
                                     : "character 0x%04X ('%s'): [width=%d, offset= 0x%04X (%u) ]",
                             m_font.codeAt(i), characterText(unicode, '.').c_str(), width, offset,
                             offset);
        m_text += close;
        m_text += '\n';

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
                m_text += kIndent;
                if (m_asm) {
                    m_text += asmDirective(m_bits, ucharData());
                }
                for (std::size_t k = 0; k < perRow; ++k) {
                    const std::size_t index = static_cast<std::size_t>(r) * perRow + k;
                    if (m_asm && k > 0) {
                        m_text += ",  ";
                    }
                    m_text += unitText(units[index]);
                    if (!m_asm) {
                        m_text +=
                            isLastUnit(offset + static_cast<std::uint32_t>(index)) ? "  " : ", ";
                    }
                }
                if (draw) {
                    m_text += m_asm ? " ;  " : " // ";
                    m_text +=
                        drawRow(units.subspan(static_cast<std::size_t>(r) * perRow, perRow), width);
                }
                m_text += '\n';
            }
        } else {
            const std::size_t perLine = static_cast<std::size_t>(128 / m_bits);
            for (std::size_t k = 0; k < units.size(); ++k) {
                if (k % perLine == 0) {
                    m_text += kIndent;
                    if (m_asm) {
                        m_text += asmDirective(m_bits, ucharData());
                    }
                } else if (m_asm) {
                    m_text += ", ";
                }
                m_text += unitText(units[k]);
                if (!m_asm && !isLastUnit(offset + static_cast<std::uint32_t>(k))) {
                    m_text += ", ";
                }
                if (k % perLine == perLine - 1 || k + 1 == units.size()) {
                    m_text += '\n';
                }
            }
        }
        if (i != m_font.lastIndex()) {
            m_text += '\n';
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
            flush();
            run.step();
        }
        return true;
    }

    void writeDataEnd() { m_text += m_asm ? "\n\n\n" : "};\n\n\n"; }

    // "   A" (the %4c of the tables' comments): the character right-aligned in four columns,
    // '.' for control characters.
    static std::string charColumn(std::uint16_t unicode) {
        return "   " + characterText(unicode, '.');
    }
    std::string entryComment(std::uint16_t unicode, int code) const {
        return formatText("    -  %s        %04X    %7d", charColumn(unicode).c_str(), code, code);
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
        declare("unsigned int", "_offset_table");
        if (m_asm) {
            m_text += kIndent;
            m_text += " ;       offset       -  char     hexcode    decimal\n";
            m_text += kIndent;
            m_text += " ;     ========       -  ====     =======    =======\n";
        } else {
            m_text += kIndent;
            m_text += "/*            -  char     hexcode    decimal */\n";
            m_text += kIndent;
            m_text += "/*            -  ====     =======    ======= */\n";
        }
        // Assembler entries: "dw" while the total fits four digits, "dd" above; every entry
        // as wide as the total, with a leading 0 when the total starts with a letter.
        int digits = 8;
        for (int n = 4; n < 8; ++n) {
            if (m_total < (1u << (4 * n))) {
                digits = n;
                break;
            }
        }
        const bool leadingZero = (m_total >> (4 * (digits - 1))) >= 0xA;
        const std::string pad(static_cast<std::size_t>(8 - digits + (leadingZero ? 0 : 1)), ' ');
        const int last = m_font.lastIndex();
        for (int i = 0; i <= last; ++i) {
            const auto unicode = static_cast<std::uint16_t>(m_font.unicodeAt(i));
            const std::uint32_t offset = m_offsets[static_cast<std::size_t>(i)];
            m_text += kIndent;
            if (m_asm) {
                m_text += m_total <= 0xFFFF ? "dw" : "dd";
                m_text += "    " + pad + (leadingZero ? "0" : "");
                m_text += formatText("%0*xh", digits, offset);
                if (i != last) {
                    m_text += " ;" + entryComment(unicode, m_font.codeAt(i)) + "\n";
                }
            } else {
                m_text += formatText("0x%04X%s /*", offset, i != last ? "," : " ");
                m_text += entryComment(unicode, m_font.codeAt(i)) + " */\n";
            }
        }
        m_text += m_asm ? "\n\n" : "};\n\n\n";
    }

    // A width or index table entry: the value, then the character it belongs to.
    void smallEntry(int value, bool last, std::uint16_t unicode, int code) {
        m_text += kIndent;
        const std::string tail =
            formatText("%s        %04X    %7d", charColumn(unicode).c_str(), code, code);
        if (m_asm) {
            m_text += formatText("db    %5d ;    -  ", value) + tail + "\n";
        } else {
            m_text += formatText("%2d%c     /* ", value, last ? ' ' : ',') + tail + " */\n";
        }
    }

    void smallHeads(const char* word) {
        m_text += kIndent;
        if (m_asm) {
            m_text += formatText(" ;    %s      -  char     hexcode    decimal\n", word);
            m_text += kIndent;
            m_text += " ;    =====      -  ====     =======    =======\n";
        } else {
            m_text += "/*      -  char     hexcode    decimal */\n";
            m_text += kIndent;
            m_text += "/*      -  ====     =======    ======= */\n";
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
        declare("unsigned char", "_width_table");
        smallHeads("width");
        const int last = m_font.lastIndex();
        for (int i = 0; i <= last; ++i) {
            const auto unicode = static_cast<std::uint16_t>(m_font.unicodeAt(i));
            smallEntry(widthOf(unicode), i == last, unicode, m_font.codeAt(i));
        }
        m_text += m_asm ? "\n\n" : "};\n\n\n";
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
        declare("unsigned char", "_index_table");
        smallHeads("index");
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
            smallEntry(index[c], c == 255, static_cast<std::uint16_t>(c), c);
        }
        m_text += m_asm ? "\n\n" : "};\n\n\n";
    }

    ExportContext& m_ctx;
    const Font& m_font;
    bool m_asm;
    int m_bits;
    int m_pages;
    std::vector<std::uint32_t> m_offsets;
    std::uint32_t m_total = 0;
    std::string m_text;
};

}  // namespace

bool writeVersion2C(ExportContext& context) {
    return Version2Text(context, false).write();
}

bool writeVersion2Asm(ExportContext& context) {
    return Version2Text(context, true).write();
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
