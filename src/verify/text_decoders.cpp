// Decoders of the C and assembler layouts: table-based, General C, Microchip C and version
// 2.0, each from the arrays or labelled blocks the text declares.

#include <cstdio>
#include <optional>

#include "model/font.h"
#include "verify/decoding_support.h"
#include "verify/source_text.h"

namespace typeloom::verify::detail {

namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

const SourceSection* findSection(const std::vector<SourceSection>& sections,
                                 const std::string& tail) {
    for (const SourceSection& s : sections) {
        if (endsWith(s.name, tail)) {
            return &s;
        }
    }
    return nullptr;
}

std::uint64_t numberAt(const std::vector<const SourceItem*>& items, std::size_t k,
                       const char* what) {
    if (k >= items.size()) {
        fail(std::string("the ") + what + " ends early", items.empty() ? 0 : items.back()->offset);
    }
    if (items[k]->kind != SourceItem::Kind::Number) {
        fail(std::string("the ") + what + " holds '" + items[k]->text + "', not a number",
             items[k]->offset);
    }
    return items[k]->value;
}

// The data layout a header comment states ("Data length: N bits", "Invert bits: Yes",
// "Data format: Big Endian, ..."), or the options' word when the options give one or the
// text states none.
UnitLayout statedLayout(std::span<const std::uint8_t> text, const DecodeOptions& o,
                        DecodedExport& out, bool statesInversion) {
    UnitLayout layout = UnitLayout::fromWord(o.dataWord);
    if (o.dataWordGiven) {
        out.assumed.emplace_back("data layout from the options");
        return layout;
    }
    const std::string format = lineAfter(text, "Data format: ");
    if (format.empty() || !layout.parseDescription(format)) {
        out.assumed.emplace_back("data layout from the settings (the file does not state it)");
        return UnitLayout::fromWord(o.dataWord);
    }
    const std::string length = lineAfter(text, "Data length: ");
    const int bits = std::atoi(length.c_str());
    layout.unitBits = bits == 16 ? 16 : bits == 32 ? 32 : 8;
    if (statesInversion) {
        layout.inverted = lineAfter(text, "Invert bits: ").rfind("Yes", 0) == 0;
    } else {
        out.assumed.emplace_back("inversion from the settings (the file does not state it)");
    }
    return layout;
}

// A data array's units: one number per unit, or (when the array is declared as bytes for
// wider units) the unit's bytes most significant first. `byteItems` says which.
struct Units {
    std::vector<std::uint32_t> values;
    std::vector<std::size_t> offsets;
    std::vector<std::string> bad;  // per unit: the token that is not a number, or empty
};

Units collectUnits(const std::vector<const SourceItem*>& items, int bits, bool byteItems) {
    Units u;
    const std::size_t per = byteItems ? static_cast<std::size_t>(bits / 8) : 1;
    for (std::size_t k = 0; k + per <= items.size(); k += per) {
        std::uint64_t v = 0;
        std::string bad;
        for (std::size_t b = 0; b < per; ++b) {
            const SourceItem& item = *items[k + b];
            if (item.kind != SourceItem::Kind::Number ||
                (byteItems && per > 1 && item.value > 0xFF)) {
                bad = item.text;
            }
            v = (v << 8 * (per > 1 ? 1 : 0)) | item.value;
        }
        u.values.push_back(static_cast<std::uint32_t>(v));
        u.offsets.push_back(items[k]->offset);
        u.bad.push_back(bad);
    }
    return u;
}

// The characters of a data table cut by unit offsets.
void cutCharacters(DecodedExport& out, const Units& units, const std::vector<int>& codes,
                   const std::vector<int>& widths, const std::vector<std::uint64_t>& offsets,
                   const UnitLayout& layout) {
    PixelBudget budget(units.values.size() * 4);  // a unit holds 32 pixels at most
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::uint64_t begin = offsets[i];
        const std::uint64_t end = offsets[i + 1];
        budget.take(widths[i], out.height,
                    begin < units.offsets.size() ? units.offsets[begin] : FileError::npos);
        DecodedCharacter c;
        if (begin > end || end > units.values.size()) {
            c.code = codes[i];
            c.width = widths[i];
            c.offset = begin < units.offsets.size() ? units.offsets[begin] : 0;
            c.problem = "its units " + std::to_string(begin) + ".." + std::to_string(end) +
                        " lie outside the data table of " + std::to_string(units.values.size());
            out.characters.push_back(std::move(c));
            continue;
        }
        const std::span<const std::uint32_t> span(units.values.data() + begin, end - begin);
        const std::span<const std::size_t> at(units.offsets.data() + begin, end - begin);
        c = decodeCharacter(codes[i], widths[i], out.height, layout, span,
                            begin < units.offsets.size() ? units.offsets[begin] : 0, 0, at);
        for (std::uint64_t k = begin; k < end && c.problem.empty(); ++k) {
            if (!units.bad[k].empty()) {
                c.problem = "unit " + std::to_string(k - begin) + " at offset " +
                            std::to_string(units.offsets[k]) + " reads '" + units.bad[k] +
                            "', not a unit value";
            }
        }
        out.characters.push_back(std::move(c));
    }
}

bool declaredAsBytes(const SourceSection& data, bool assembler, int bits) {
    if (bits == 8) {
        return false;
    }
    if (assembler) {
        for (const SourceItem& item : data.items) {
            if (item.kind != SourceItem::Kind::Name) {
                return item.directiveBits == 8;
            }
        }
        return false;
    }
    for (const std::string& w : data.typeWords) {
        if (w == "UCHAR" || w == "char") {
            return true;
        }
    }
    return false;
}

std::vector<SourceSection> sectionsOf(std::span<const std::uint8_t> bytes, bool assembler) {
    return assembler ? readAsmSections(bytes) : readCSections(bytes);
}

const SourceSection& required(const std::vector<SourceSection>& sections, const std::string& tail,
                              const char* what) {
    const SourceSection* s = findSection(sections, tail);
    if (s == nullptr) {
        fail(std::string("no ") + what + " (an array named ..." + tail + ")", 0);
    }
    return *s;
}

std::vector<std::uint64_t> readNumbers(const SourceSection& s, std::size_t count,
                                       const char* what) {
    const std::vector<const SourceItem*> items = s.numbers();
    if (items.size() < count) {
        fail(std::string("the ") + what + " holds " + std::to_string(items.size()) +
                 " entries, not " + std::to_string(count),
             s.offset);
    }
    std::vector<std::uint64_t> out;
    for (std::size_t k = 0; k < count; ++k) {
        out.push_back(numberAt(items, k, what));
    }
    return out;
}

}  // namespace

DecodedExport decodeTableText(std::span<const std::uint8_t> bytes, bool assembler,
                              const DecodeOptions& o) {
    DecodedExport out;
    out.layout = assembler ? Layout::TableAsm : Layout::TableC;
    const std::vector<SourceSection> sections = sectionsOf(bytes, assembler);
    // The header record: the block whose first number is the magic number.
    const SourceSection* header = nullptr;
    for (const SourceSection& s : sections) {
        const auto items = s.numbers();
        if (!items.empty() && items[0]->kind == SourceItem::Kind::Number &&
            items[0]->value == 0x6A5D && !endsWith(s.name, "_data_table")) {
            header = &s;
        }
    }
    if (header == nullptr) {
        fail("no font header (a record starting with the magic number 0x6A5D)", 0);
    }
    const std::vector<std::uint64_t> h = readNumbers(*header, 12, "font header");
    out.height = static_cast<int>(h[4]);
    const auto count = static_cast<std::size_t>(h[8]);
    const int bytesPerUnit = static_cast<int>(h[10]);
    if (bytesPerUnit != 1 && bytesPerUnit != 2 && bytesPerUnit != 4) {
        fail("the header gives " + std::to_string(bytesPerUnit) + " bytes per unit",
             header->offset);
    }
    UnitLayout layout = statedLayout(bytes, o, out, true);
    if (layout.unitBits != bytesPerUnit * 8) {
        fail("the header gives " + std::to_string(bytesPerUnit) +
                 " bytes per unit, the data format " + std::to_string(layout.unitBits) + " bits",
             header->offset);
    }
    out.units = layout;
    const SourceSection& data = required(sections, "_data_table", "data table");
    const Units units = collectUnits(data.numbers(), layout.unitBits,
                                     declaredAsBytes(data, assembler, layout.unitBits));
    if (units.values.size() != h[11]) {
        fail("the data table holds " + std::to_string(units.values.size()) +
                 " units, the header says " + std::to_string(h[11]),
             data.offset);
    }
    // Codes from the glyph ranges (pairs of first code and length).
    const SourceSection& ranges = required(sections, "_glyph_ranges", "extended index");
    const std::vector<const SourceItem*> pairs = ranges.numbers();
    std::vector<int> codes;
    for (std::size_t k = 0; k + 1 < pairs.size(); k += 2) {
        const std::uint64_t low = numberAt(pairs, k, "glyph ranges");
        const std::uint64_t n = numberAt(pairs, k + 1, "glyph ranges");
        if (low + n > 0x10000 || codes.size() + n > count) {
            fail("a glyph range runs past the characters", pairs[k]->offset);
        }
        for (std::uint64_t c = low; c < low + n; ++c) {
            codes.push_back(static_cast<int>(c));
        }
    }
    if (codes.size() != count) {
        fail("the glyph ranges hold " + std::to_string(codes.size()) + " characters, the header " +
                 std::to_string(count),
             ranges.offset);
    }
    std::vector<int> widths;
    for (std::uint64_t w :
         readNumbers(required(sections, "_width_table", "width table"), count, "width table")) {
        widths.push_back(static_cast<int>(w));
    }
    const std::vector<std::uint64_t> offsets =
        readNumbers(required(sections, "_offset_table", "offset table"), count + 1, "offset table");
    cutCharacters(out, units, codes, widths, offsets, layout);
    return out;
}

DecodedExport decodeGeneralText(std::span<const std::uint8_t> bytes, const DecodeOptions& o) {
    DecodedExport out;
    out.layout = Layout::GeneralC;
    const std::vector<SourceSection> sections = readCSections(bytes);
    const SourceSection* record = nullptr;
    for (const SourceSection& s : sections) {
        if (!s.typeWords.empty() && s.typeWords.back() == "TLM_FONT") {
            record = &s;
        }
    }
    if (record == nullptr) {
        fail("no font record (a TLM_FONT)", 0);
    }
    int bits = 0;
    for (const SourceItem& item : record->items) {
        if (item.kind == SourceItem::Kind::Name) {
            bits = item.text == "DATALENGTH_8"    ? 8
                   : item.text == "DATALENGTH_16" ? 16
                   : item.text == "DATALENGTH_32" ? 32
                                                  : bits;
        }
    }
    if (bits == 0) {
        fail("the font type names no data length", record->offset);
    }
    out.height = static_cast<int>(readNumbers(*record, 1, "font record")[0]);
    UnitLayout layout = statedLayout(bytes, o, out, true);
    layout.unitBits = bits;
    out.units = layout;
    const SourceSection& info = required(sections, "_CharInfo", "character information");
    const std::vector<const SourceItem*> infoItems = info.numbers();
    std::size_t index = 0;
    for (const SourceSection& s : sections) {
        if (s.name.rfind("abc_", 0) != 0) {
            continue;
        }
        const std::string tail = s.name.size() >= 4 ? s.name.substr(s.name.size() - 4) : "";
        char* end = nullptr;
        const long code = std::strtol(tail.c_str(), &end, 16);
        if (tail.size() != 4 || end != tail.c_str() + 4) {
            fail("the array " + s.name + " does not end in a four-digit code", s.offset);
        }
        const int width = static_cast<int>(numberAt(infoItems, 2 * index, "character information"));
        const std::uint64_t declared = numberAt(infoItems, 2 * index + 1, "character information");
        Units units = collectUnits(s.numbers(), bits, false);
        // C has no empty arrays: a character without units holds one placeholder 0.
        if (declared == 0 && width == 0 && units.values.size() == 1 && units.values[0] == 0 &&
            units.bad[0].empty()) {
            units = Units{};
        }
        std::vector<int> codes{static_cast<int>(code)};
        std::vector<int> widths{width};
        cutCharacters(out, units, codes, widths, {0, units.values.size()}, layout);
        if (out.characters.back().problem.empty() && declared != units.values.size()) {
            out.characters.back().problem = "its entry counts " + std::to_string(declared) +
                                            " units, its array holds " +
                                            std::to_string(units.values.size());
        }
        ++index;
    }
    if (2 * index != infoItems.size()) {
        fail("the character information has " + std::to_string(infoItems.size() / 2) +
                 " entries for " + std::to_string(index) + " arrays",
             info.offset);
    }
    return out;
}

DecodedExport decodeMicrochipText(std::span<const std::uint8_t> bytes, const DecodeOptions& o) {
    const std::vector<SourceSection> sections = readCSections(bytes);
    const SourceSection* image = nullptr;
    for (const SourceSection& s : sections) {
        if (s.name.rfind("__", 0) == 0) {
            image = &s;
        }
    }
    if (image == nullptr) {
        fail("no font image (an array named __...)", 0);
    }
    std::vector<std::uint8_t> data;
    std::vector<std::size_t> offsets;
    for (const SourceItem* item : image->numbers()) {
        if (item->kind != SourceItem::Kind::Number || item->value > 0xFF) {
            fail("the font image holds '" + item->text + "', not a byte", item->offset);
        }
        data.push_back(static_cast<std::uint8_t>(item->value));
        offsets.push_back(item->offset);
    }
    return decodeMicrochipImage(data, o, offsets);
}

DecodedExport decodeVersion2Text(std::span<const std::uint8_t> bytes, bool assembler,
                                 const DecodeOptions& o) {
    DecodedExport out;
    out.layout = assembler ? Layout::V2Asm : Layout::V2C;
    const std::vector<SourceSection> sections = sectionsOf(bytes, assembler);
    const ProjectShape shape = projectShape(o, "the character codes");
    out.assumed.emplace_back("character codes from the project");
    out.height = std::atoi(lineAfter(bytes, "Font height: ").c_str());
    if (out.height <= 0) {
        fail("no 'Font height' line", 0);
    }
    const UnitLayout layout = statedLayout(bytes, o, out, false);
    out.units = layout;
    const SourceSection& data = required(sections, "_data_table", "data table");
    const Units units = collectUnits(data.numbers(), layout.unitBits,
                                     declaredAsBytes(data, assembler, layout.unitBits));
    const std::size_t count = shape.codes.size();
    std::vector<int> widths;
    if (const SourceSection* w = findSection(sections, "_width_table")) {
        for (std::uint64_t v : readNumbers(*w, count, "width table")) {
            widths.push_back(static_cast<int>(v));
        }
    } else if (const int fixed = std::atoi(lineAfter(bytes, "Font width: ").c_str()); fixed > 0) {
        widths.assign(count, fixed);
    } else {
        widths = shape.widths;
        out.assumed.emplace_back("character widths from the project");
    }
    std::vector<std::uint64_t> offsets;
    if (const SourceSection* t = findSection(sections, "_offset_table")) {
        offsets = readNumbers(*t, count, "offset table");
        offsets.push_back(units.values.size());
    } else {
        offsets.push_back(0);
        for (int w : widths) {
            offsets.push_back(offsets.back() + unitCount(layout, w, out.height));
        }
    }
    cutCharacters(out, units, shape.codes, widths, offsets, layout);
    return out;
}

}  // namespace typeloom::verify::detail
