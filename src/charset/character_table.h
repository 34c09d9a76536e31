#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "charset/code_map.h"

namespace typeloom {

class DbcsTables;

// Which codes a font holds, in which encoding, each tied to the Unicode character it stands
// for. The committed map is what the font uses; the editing map is the working copy the
// characters table dialog changes, committed back when the dialog closes with OK.
class CharacterTable {
  public:
    CodeMap committed;
    CodeMap editing;
    // Ascending Unicode values the source font can draw (always including 0x00-0xFF for
    // scalable fonts); searched by binary search.
    std::vector<std::uint16_t> supportedSet;
    // Ascending codes: every code of the code space after a build, the enabled codes after a
    // commit.
    std::vector<std::uint16_t> codeOrder;

    // The table's encoding is that of its committed map.
    int encoding() const { return committed.encoding; }
    void setEncoding(int encoding) { committed.encoding = encoding; }

    void clear();
    bool isSupported(std::uint16_t unicode) const;

    // The supported set of a system font: for a scalable font with Unicode ranges every value
    // of every range (first, count) plus 0x00-0xFF; otherwise the Unicode values of codes
    // 0..255 in the code page of its character set. Sorted, without repeats.
    static std::vector<std::uint16_t> supportedSetOf(
        bool scalable, std::span<const std::pair<std::uint16_t, std::uint32_t>> ranges,
        std::uint8_t charSet);

    // --- Builds. Each fills the committed map and codeOrder and copies the committed map into
    // the editing map.

    // From the source system font: its supported set and character set.
    void buildFromSystemFont(std::vector<std::uint16_t> supported, std::uint8_t charSet,
                             int encoding, const DbcsTables& dbcs);
    // From the Unicode values of an imported font.
    void buildFromUnicodeList(std::span<const std::uint16_t> unicodes, std::uint8_t charSet,
                              int encoding);
    // The same with the code page given directly (files that name their code page).
    void buildFromUnicodeListInCodePage(std::span<const std::uint16_t> unicodes, int codePage,
                                        int encoding);
    // From a new font's parallel code and Unicode lists.
    void buildFromCodeLists(std::span<const std::uint16_t> codes,
                            std::span<const std::uint16_t> unicodes, int encoding);

    // --- Editing of the editing map. Each returns the codes whose enabled flag changed, so the
    // grid redraws only those cells. Codes without an entry are left alone.
    void beginEditing() { editing = committed; }
    std::vector<std::uint16_t> enableCode(std::uint16_t code) { return setCode(code, true); }
    std::vector<std::uint16_t> disableCode(std::uint16_t code) { return setCode(code, false); }
    std::vector<std::uint16_t> toggleCode(std::uint16_t code);
    std::vector<std::uint16_t> setRowEnabled(int row, bool enabled);
    std::vector<std::uint16_t> setRangeEnabled(std::uint16_t first, std::uint16_t last,
                                               bool enabled);
    // Every code of the editing encoding's code space.
    std::vector<std::uint16_t> setAllEnabled(bool enabled);

    // Rebuilds the editing map for another encoding, discarding manual changes.
    void setEditingEncoding(int encoding, const DbcsTables& dbcs);
    // Rebuilds codes 0..255 of the editing map for another character set (encoding 0).
    void setEditingScript(std::uint8_t charSet);

    bool isEdited() const;

    // Copies the editing map into the committed map and sets codeOrder to its enabled codes.
    // Returns false, changing nothing, when no code is enabled.
    bool commitEditing();

    // Counts of entries of the committed map that are enabled / mapped.
    std::size_t enabledCount() const;
    std::size_t mappedCount() const;

  private:
    std::vector<std::uint16_t> setCode(std::uint16_t code, bool enabled);
    void fillFromSupportedSet(CodeMap& map, int encoding, std::uint16_t unmappedDbcsUnicode,
                              std::vector<std::uint16_t>* order, const DbcsTables& dbcs) const;
};

// True for the control codes 0x00-0x1F and 0x80-0x9F, which builds leave disabled.
inline bool isControlCode(std::uint16_t c) {
    return c < 0x20 || (c >= 0x80 && c <= 0x9F);
}

}  // namespace typeloom
