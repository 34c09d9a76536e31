#include "interchange/multicopy.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "charset/encodings.h"
#include "common/byte_io.h"
#include "common/text.h"
#include "model/font.h"

namespace typeloom {

namespace {

constexpr std::size_t kNameField = kMultiCopyNameUnits + 1;

std::u16string cutName(const std::string& utf8) {
    std::u16string name = utf8ToUtf16(utf8);
    if (name.size() > kMultiCopyNameUnits) {
        name.resize(kMultiCopyNameUnits);
    }
    return name;
}

std::vector<std::uint16_t> sortedUnique(std::span<const std::uint16_t> codes) {
    std::vector<std::uint16_t> out(codes.begin(), codes.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

const MultiCopyRecord* MultiCopyData::find(std::uint16_t code) const {
    auto it =
        std::lower_bound(records.begin(), records.end(), code,
                         [](const MultiCopyRecord& r, std::uint16_t c) { return r.code < c; });
    return it != records.end() && it->code == code ? &*it : nullptr;
}

std::vector<std::uint8_t> buildMultiCopyData(const Font& font, std::span<const std::uint16_t> codes,
                                             std::vector<std::uint16_t>* leftOut) {
    ByteWriter w;
    w.u32(kMultiCopyMagic);
    const std::u16string name = cutName(font.faceName);
    for (std::size_t i = 0; i < kNameField; ++i) {
        w.u16(i < name.size() ? name[i] : 0);
    }
    w.u32(font.bitsPerPixel);
    w.u32(font.encoding);
    w.u32(font.height);
    const std::size_t countAt = w.size();
    w.u32(0);
    std::uint32_t count = 0;
    for (std::uint16_t code : sortedUnique(codes)) {
        const int index = font.indexOfCode(code);
        if (index < 0) {
            continue;
        }
        const auto key = static_cast<std::uint16_t>(font.unicodeAt(index));
        const Glyph* g = font.glyphs.find(key);
        if (g == nullptr) {
            continue;
        }
        const std::size_t pixels = std::size_t{g->width} * font.height;
        if (pixels > 0xFFFF || g->pixels.size() != pixels || g->width == 0) {
            if (leftOut != nullptr) {
                leftOut->push_back(code);
            }
            continue;
        }
        w.u16(code);
        w.u16(key);
        w.u16(g->width);
        w.u16(static_cast<std::uint16_t>(pixels));
        w.bytes(g->pixels);
        ++count;
    }
    w.patchU32(countAt, count);
    return w.take();
}

MultiCopyData parseMultiCopyData(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    if (r.u32() != kMultiCopyMagic) {
        r.fail("the clipboard data does not begin with the multi-copy magic");
    }
    MultiCopyData data;
    bool ended = false;
    for (std::size_t i = 0; i < kNameField; ++i) {
        const char16_t unit = r.u16();
        ended = ended || unit == 0;
        if (!ended) {
            data.fontName.push_back(unit);
        }
    }
    data.bitsPerPixel = r.u32();
    data.encoding = r.u32();
    data.height = r.u32();
    if (data.height == 0 || data.height > 0xFFFF) {
        r.fail("the height " + std::to_string(data.height) + " is not usable");
    }
    const std::uint32_t n = r.u32();
    r.requireItems(n, 8, "character records");
    data.records.reserve(n);
    std::vector<bool> keys(0x10000, false);
    for (std::uint32_t i = 0; i < n; ++i) {
        MultiCopyRecord rec;
        rec.code = r.u16();
        rec.key = r.u16();
        rec.width = r.u16();
        const std::uint16_t count = r.u16();
        if (rec.width == 0 || std::uint64_t{rec.width} * data.height != count) {
            r.fail("the record of code " + std::to_string(rec.code) + " holds " +
                   std::to_string(count) + " pixels for width " + std::to_string(rec.width));
        }
        if (!data.records.empty() && rec.code <= data.records.back().code) {
            r.fail("the codes are not in ascending order");
        }
        if (keys[rec.key]) {
            r.fail("the key " + std::to_string(rec.key) + " is used twice");
        }
        keys[rec.key] = true;
        const auto px = r.bytes(count);
        rec.pixels.resize(count);
        for (std::size_t k = 0; k < count; ++k) {
            rec.pixels[k] = px[k] != 0 ? 1 : 0;
        }
        data.records.push_back(std::move(rec));
    }
    return data;
}

bool multiCopyEnabled(const Font& font) {
    return font.count() > 1;
}

bool multiPasteEnabled(const Font& font, std::span<const std::uint8_t> clipboard) {
    if (font.count() < 1) {
        return false;
    }
    MultiCopyData data;
    try {
        data = parseMultiCopyData(clipboard);
    } catch (const FileError&) {
        return false;
    }
    if (data.bitsPerPixel != font.bitsPerPixel) {
        return false;
    }
    if (data.fontName == utf8ToUtf16(font.faceName)) {
        return data.encoding != font.encoding || data.height != font.height ||
               data.records.size() != static_cast<std::size_t>(font.count());
    }
    return true;
}

std::string pasteHeightQuestion(int pastedHeight, int fontHeight) {
    const char* how = std::abs(pastedHeight - fontHeight) < 4 ? "a little" : "very";
    const char* direction = pastedHeight > fontHeight ? "larger" : "smaller";
    char text[512];
    std::snprintf(text, sizeof text,
                  "The height of pasted characters is %s %s \r\nthan the height of this "
                  "font.\r\n\r\nHeight (pasted characters)\t=  %d\r\nHeight (this font)\t\t=  "
                  "%d\r\n\r\nAfter pasted, you maybe need to modify these characters.\r\nDo you "
                  "still want to paste these characters?",
                  how, direction, pastedHeight, fontHeight);
    return text;
}

std::vector<int> multiCopyGridRows(const Font& font) {
    std::vector<int> rows;
    if (font.encoding == kEncodingAnsi) {
        for (int row = 0; row < 16; ++row) {
            rows.push_back(row);
        }
        return rows;
    }
    for (std::uint16_t code : font.codeList) {
        const int row = code / 16;
        if (rows.empty() || rows.back() != row) {
            rows.push_back(row);
        }
    }
    return rows;
}

int gridPositionCode(const std::vector<int>& rows, int position) {
    if (position < 0 || static_cast<std::size_t>(position / 16) >= rows.size()) {
        return -1;
    }
    return position % 16 + 16 * rows[static_cast<std::size_t>(position / 16)];
}

MultiPasteOutcome pasteCharacters(Font& font, const MultiCopyData& data,
                                  std::span<const std::uint16_t> selectedCodes) {
    MultiPasteOutcome outcome;
    const int h = font.height;
    const int pastedHeight = static_cast<int>(data.height);
    const int shift = (pastedHeight - h) / 2;  // rounded toward zero
    const std::uint16_t lastCode = codeSpaceLast(static_cast<int>(font.encoding));

    std::vector<bool> usedKeys(0x10000, false);
    for (std::uint16_t u : font.unicodeList) {
        usedKeys[u] = true;
    }
    std::vector<std::pair<std::uint16_t, std::uint16_t>> added;  // code, key
    CodeMap& table = font.charTable.committed;
    for (std::uint16_t code : sortedUnique(selectedCodes)) {
        const MultiCopyRecord* rec = data.find(code);
        if (rec == nullptr) {
            continue;
        }
        if (code > lastCode) {
            outcome.skipped.push_back(code);
            continue;
        }
        // The key the pasted character is stored under. A code the font has keeps its own key,
        // so the character shown is the one replaced; a Unicode font keys a code by itself;
        // otherwise the block's key, unless another character already has it, when the key
        // the table gives the code serves if it is free.
        std::uint16_t key = 0;
        const int index = font.indexOfCode(code);
        if (index >= 0) {
            key = static_cast<std::uint16_t>(font.unicodeAt(index));
        } else if (font.encoding == kEncodingUnicode) {
            key = code;
        } else if (!usedKeys[rec->key]) {
            key = rec->key;
        } else {
            const CodeEntry entry = table.get(code);
            const bool usable = table.contains(code) && entry.unicode != 0 &&
                                entry.unicode != 0xFFFD && entry.unicode != 0xFFFF &&
                                !usedKeys[entry.unicode];
            if (!usable) {
                outcome.skipped.push_back(code);
                continue;
            }
            key = entry.unicode;
        }
        usedKeys[key] = true;

        Glyph glyph;
        glyph.init(key, rec->width, font.height);
        for (int row = 0; row < h; ++row) {
            const int from = row + shift;
            if (from < 0 || from >= pastedHeight) {
                continue;
            }
            std::copy_n(rec->pixels.begin() + static_cast<std::ptrdiff_t>(from) * rec->width,
                        rec->width,
                        glyph.pixels.begin() + static_cast<std::ptrdiff_t>(row) * rec->width);
        }
        font.glyphs.insert(key, std::move(glyph));
        table.set(code, {key, true, true});
        auto& order = font.charTable.codeOrder;
        auto at = std::lower_bound(order.begin(), order.end(), code);
        if (at == order.end() || *at != code) {
            order.insert(at, code);
        }
        added.emplace_back(code, key);
        ++outcome.pasted;
    }
    for (const auto& [code, key] : added) {
        font.insertCode(code, key);
    }
    font.updateFixedWidth();
    font.updateMaxWidth();
    return outcome;
}

}  // namespace typeloom
