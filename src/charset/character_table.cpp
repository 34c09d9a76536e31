#include "charset/character_table.h"

#include <algorithm>

#include "charset/code_pages.h"
#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/bulk_data.h"

namespace typeloom {

namespace {

void disableControlCodes(CodeMap& map) {
    for (std::uint16_t c = 0; c <= 0x9F; ++c) {
        if (isControlCode(c)) {
            map.setEnabled(c, false);
        }
    }
}

bool sortedContains(std::span<const std::uint16_t> sorted, std::uint16_t value) {
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

TYPELOOM_BULK_DATA void sortUnique(std::vector<std::uint16_t>& v) {
    // Lists mostly arrive strictly ascending already (a font's code list): one walk tells.
    bool ascending = true;
    for (std::size_t i = 1; i < v.size() && ascending; ++i) {
        ascending = v[i - 1] < v[i];
    }
    if (ascending) {
        return;
    }
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

// Encoding 0: codes 0..255 of a code page, mapped and enabled when the font has the character.
void fillSingleByte(CodeMap& map, int codePage, std::span<const std::uint16_t> supported,
                    std::vector<std::uint16_t>* order) {
    for (std::uint16_t c = 0; c <= 0xFF; ++c) {
        std::uint16_t u = codeToUnicode(codePage, c);
        bool present = sortedContains(supported, u);
        map.set(c, {u, present, present});
        if (order != nullptr) {
            order->push_back(c);
        }
    }
}

// Encoding 1: every code stands for itself; the listed values are mapped and, but for the
// control codes, enabled.
TYPELOOM_BULK_DATA void fillUnicode(CodeMap& map, std::span<const std::uint16_t> present,
                                    std::vector<std::uint16_t>* order, bool enableControls) {
    map.setEveryCodeToItself();
    if (order != nullptr) {
        order->resize(0x10000);
        for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
            (*order)[c] = static_cast<std::uint16_t>(c);
        }
    }
    for (std::uint16_t u : present) {
        map.set(u, {u, true, enableControls || !isControlCode(u)});
    }
}

}  // namespace

void CharacterTable::clear() {
    committed.clear();
    editing.clear();
    supportedSet.clear();
    codeOrder.clear();
}

bool CharacterTable::isSupported(std::uint16_t unicode) const {
    return sortedContains(supportedSet, unicode);
}

std::vector<std::uint16_t> CharacterTable::supportedSetOf(
    bool scalable, std::span<const std::pair<std::uint16_t, std::uint32_t>> ranges,
    std::uint8_t charSet) {
    std::vector<std::uint16_t> set;
    if (scalable && !ranges.empty()) {
        for (auto [first, count] : ranges) {
            for (std::uint32_t k = 0; k < count && first + k <= 0xFFFF; ++k) {
                set.push_back(static_cast<std::uint16_t>(first + k));
            }
        }
        for (std::uint16_t u = 0; u <= 0xFF; ++u) {
            set.push_back(u);
        }
    } else {
        int codePage = charsetToCodePage(charSet);
        for (std::uint16_t c = 0; c <= 0xFF; ++c) {
            set.push_back(codeToUnicode(codePage, c));
        }
    }
    sortUnique(set);
    return set;
}

void CharacterTable::fillFromSupportedSet(CodeMap& map, int encoding,
                                          std::uint16_t unmappedDbcsUnicode,
                                          std::vector<std::uint16_t>* order,
                                          const DbcsTables& dbcs) const {
    if (encoding == kEncodingAnsi) {
        fillSingleByte(map, map.codePage, supportedSet, order);
        disableControlCodes(map);
    } else if (encoding == kEncodingUnicode) {
        fillUnicode(map, supportedSet, order, false);
    } else {
        // Double-byte encodings: a code exists when some supported character maps to it; when
        // two characters give the same code the later, larger one wins.
        std::span<const std::uint16_t> table = dbcs.table(encoding);
        std::vector<std::uint32_t> tiedTo(0x10000, 0xFFFFFFFFu);
        std::vector<std::uint16_t> tiedCodes;
        if (!table.empty()) {
            for (std::uint16_t u : supportedSet) {
                std::uint16_t code = table[u];
                if (code != DbcsTables::kNone) {
                    if (tiedTo[code] == 0xFFFFFFFFu) {
                        tiedCodes.push_back(code);
                    }
                    tiedTo[code] = u;
                }
            }
        }
        for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
            if (tiedTo[c] != 0xFFFFFFFFu) {
                auto u = static_cast<std::uint16_t>(tiedTo[c]);
                map.set(static_cast<std::uint16_t>(c), {u, true, true});
            } else {
                map.set(static_cast<std::uint16_t>(c), {unmappedDbcsUnicode, false, false});
            }
        }
        if (order != nullptr) {
            std::sort(tiedCodes.begin(), tiedCodes.end());
            *order = std::move(tiedCodes);
        }
    }
}

void CharacterTable::buildFromSystemFont(std::vector<std::uint16_t> supported, std::uint8_t charSet,
                                         int encoding, const DbcsTables& dbcs) {
    clear();
    supportedSet = std::move(supported);
    committed.encoding = encoding;
    committed.codePage = charsetToCodePage(charSet);
    fillFromSupportedSet(committed, encoding, 0, &codeOrder, dbcs);
    editing = committed;
}

void CharacterTable::buildFromUnicodeList(std::span<const std::uint16_t> unicodes,
                                          std::uint8_t charSet, int encoding) {
    buildFromUnicodeListInCodePage(unicodes, charsetToCodePage(charSet), encoding);
}

void CharacterTable::buildFromUnicodeListInCodePage(std::span<const std::uint16_t> unicodes,
                                                    int codePage, int encoding) {
    clear();
    supportedSet.assign(unicodes.begin(), unicodes.end());
    sortUnique(supportedSet);
    committed.encoding = encoding;
    committed.codePage = codePage;
    if (encoding == kEncodingAnsi) {
        fillSingleByte(committed, committed.codePage, supportedSet, &codeOrder);
    } else if (encoding == kEncodingUnicode) {
        fillUnicode(committed, supportedSet, &codeOrder, false);
    }
    // The imports produce encodings 0 and 1 only; other encodings leave the maps empty.
    editing = committed;
}

void CharacterTable::buildFromCodeLists(std::span<const std::uint16_t> codes,
                                        std::span<const std::uint16_t> unicodes, int encoding) {
    clear();
    supportedSet.assign(unicodes.begin(), unicodes.end());
    sortUnique(supportedSet);
    committed.encoding = encoding;
    committed.codePage = codePageForEncoding(encoding);
    if (encoding == kEncodingUnicode) {
        fillUnicode(committed, codes, &codeOrder, true);
    } else {
        const std::uint16_t last = codeSpaceLast(encoding);
        codeOrder.reserve(std::size_t{last} + 1);
        for (std::uint32_t c = 0; c <= last; ++c) {
            auto code = static_cast<std::uint16_t>(c);
            committed.set(code, {codeToUnicode(committed.codePage, code), false, false});
            codeOrder.push_back(code);
        }
        for (std::size_t j = 0; j < codes.size() && j < unicodes.size(); ++j) {
            committed.set(codes[j], {unicodes[j], true, true});
        }
    }
    editing = committed;
}

std::vector<std::uint16_t> CharacterTable::setCode(std::uint16_t code, bool enabled) {
    if (!editing.contains(code) || editing.get(code).enabled == enabled) {
        return {};
    }
    editing.setEnabled(code, enabled);
    return {code};
}

std::vector<std::uint16_t> CharacterTable::toggleCode(std::uint16_t code) {
    if (!editing.contains(code)) {
        return {};
    }
    return setCode(code, !editing.get(code).enabled);
}

std::vector<std::uint16_t> CharacterTable::setRowEnabled(int row, bool enabled) {
    if (row < 0 || row > 0xFFF) {
        return {};
    }
    auto first = static_cast<std::uint16_t>(row * 16);
    return setRangeEnabled(first, static_cast<std::uint16_t>(first + 15), enabled);
}

std::vector<std::uint16_t> CharacterTable::setRangeEnabled(std::uint16_t first, std::uint16_t last,
                                                           bool enabled) {
    std::vector<std::uint16_t> changed;
    for (std::uint32_t c = first; c <= last; ++c) {
        auto code = static_cast<std::uint16_t>(c);
        if (editing.contains(code) && editing.get(code).enabled != enabled) {
            editing.setEnabled(code, enabled);
            changed.push_back(code);
        }
    }
    return changed;
}

std::vector<std::uint16_t> CharacterTable::setAllEnabled(bool enabled) {
    return setRangeEnabled(0, codeSpaceLast(editing.encoding), enabled);
}

void CharacterTable::setEditingEncoding(int encoding, const DbcsTables& dbcs) {
    int codePage = editing.codePage;
    editing.clear();
    editing.encoding = encoding;
    editing.codePage = codePage;
    fillFromSupportedSet(editing, encoding, 0xFFFF, nullptr, dbcs);
    if (encoding != kEncodingUnicode) {
        disableControlCodes(editing);
    }
}

void CharacterTable::setEditingScript(std::uint8_t charSet) {
    const int codePage = charsetToCodePage(charSet);
    // Scripts apply to encoding 0 only; choosing the script already in use keeps the edits.
    if (editing.encoding != kEncodingAnsi || codePage == editing.codePage) {
        return;
    }
    editing.clear();
    editing.encoding = kEncodingAnsi;
    editing.codePage = codePage;
    fillSingleByte(editing, editing.codePage, supportedSet, nullptr);
    disableControlCodes(editing);
}

bool CharacterTable::isEdited() const {
    bool anyEnabled = false;
    editing.forEach([&](std::uint16_t, CodeEntry e) { anyEnabled = anyEnabled || e.enabled; });
    return anyEnabled && !(editing == committed);
}

bool CharacterTable::commitEditing() {
    std::vector<std::uint16_t> enabled;
    editing.forEach([&](std::uint16_t code, CodeEntry e) {
        if (e.enabled) {
            enabled.push_back(code);
        }
    });
    if (enabled.empty()) {
        return false;
    }
    committed = editing;
    codeOrder = std::move(enabled);
    return true;
}

std::size_t CharacterTable::enabledCount() const {
    std::size_t n = 0;
    committed.forEach([&](std::uint16_t, CodeEntry e) { n += e.enabled ? 1 : 0; });
    return n;
}

std::size_t CharacterTable::mappedCount() const {
    std::size_t n = 0;
    committed.forEach([&](std::uint16_t, CodeEntry e) { n += e.mapped ? 1 : 0; });
    return n;
}

}  // namespace typeloom
