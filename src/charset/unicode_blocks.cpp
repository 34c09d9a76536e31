#include "charset/unicode_blocks.h"

#include <array>

namespace typeloom {

namespace {

struct Block {
    std::uint16_t first;
    std::uint16_t last;
    const char* label;
};
// The Unicode blocks shown beside the rows of the characters table, in code order; they
// cover 0x0000-0xFFFF without gaps, each a whole number of 16-code rows.
constexpr std::array<Block, 163> kBlocks = {{
    {0x0000, 0x001F, "Control"},
    {0x0020, 0x007F, "Basic Latin"},
    {0x0080, 0x009F, "Control"},
    {0x00A0, 0x00FF, "Latin-1 Supplement"},
    {0x0100, 0x017F, "Latin Extended-A"},
    {0x0180, 0x024F, "Latin Extended-B"},
    {0x0250, 0x02AF, "IPA Extensions"},
    {0x02B0, 0x02FF, "Spacing Modifier Letters"},
    {0x0300, 0x036F, "Combining Diacritical Marks"},
    {0x0370, 0x03CF, "Basic Greek"},
    {0x03D0, 0x03FF, "Greek Symbol and Coptic"},
    {0x0400, 0x04FF, "Cyrillic"},
    {0x0500, 0x052F, "Cyrillic Supplement"},
    {0x0530, 0x058F, "Armenian"},
    {0x0590, 0x05FF, "Hebrew"},
    {0x0600, 0x06FF, "Arabic"},
    {0x0700, 0x074F, "Syriac"},
    {0x0750, 0x077F, "Arabic Supplement"},
    {0x0780, 0x07BF, "Thaana"},
    {0x07C0, 0x07FF, "NKo"},
    {0x0800, 0x083F, "Samaritan"},
    {0x0840, 0x085F, "Mandaic"},
    {0x0860, 0x08FF, "Unassigned"},
    {0x0900, 0x097F, "[Indic scripts] Devanagari"},
    {0x0980, 0x09FF, "[Indic scripts] Bengali"},
    {0x0A00, 0x0A7F, "[Indic scripts] Gurmukhi"},
    {0x0A80, 0x0AFF, "[Indic scripts] Gujarati"},
    {0x0B00, 0x0B7F, "[Indic scripts] Oriya"},
    {0x0B80, 0x0BFF, "[Indic scripts] Tamil"},
    {0x0C00, 0x0C7F, "[Indic scripts] Telugu"},
    {0x0C80, 0x0CFF, "[Indic scripts] Kannada"},
    {0x0D00, 0x0D7F, "[Indic scripts] Malayalam"},
    {0x0D80, 0x0DFF, "[Indic scripts] Sinhala"},
    {0x0E00, 0x0E7F, "Thai"},
    {0x0E80, 0x0EFF, "Lao"},
    {0x0F00, 0x0FFF, "Tibetan"},
    {0x1000, 0x109F, "Myanmar"},
    {0x10A0, 0x10FF, "Georgian"},
    {0x1100, 0x11FF, "Hangul Jamo"},
    {0x1200, 0x137F, "Ethiopic"},
    {0x1380, 0x139F, "Ethiopic Supplement"},
    {0x13A0, 0x13FF, "Cherokee"},
    {0x1400, 0x167F, "Unified Canadian Aboriginal Syllabics"},
    {0x1680, 0x169F, "Ogham"},
    {0x16A0, 0x16FF, "Runic"},
    {0x1700, 0x171F, "[Philippine scripts] Tagalog"},
    {0x1720, 0x173F, "[Philippine scripts] Hanunoo"},
    {0x1740, 0x175F, "[Philippine scripts] Buhid"},
    {0x1760, 0x177F, "[Philippine scripts] Tagbanwa"},
    {0x1780, 0x17FF, "Khmer"},
    {0x1800, 0x18AF, "Mongolian"},
    {0x18B0, 0x18FF, "Unified Canadian Aboriginal Syllabics Extended"},
    {0x1900, 0x194F, "Limbu"},
    {0x1950, 0x197F, "Tai Le"},
    {0x1980, 0x19DF, "Tai Lue"},
    {0x19E0, 0x19FF, "Khmer Symbols"},
    {0x1A00, 0x1A1F, "Buginese"},
    {0x1A20, 0x1AAF, "Tai Tham"},
    {0x1AB0, 0x1AFF, "Unassigned"},
    {0x1B00, 0x1B7F, "Balinese"},
    {0x1B80, 0x1BBF, "Sundanese"},
    {0x1BC0, 0x1BFF, "Batak"},
    {0x1C00, 0x1C4F, "Lepcha"},
    {0x1C50, 0x1C7F, "Ol Chiki"},
    {0x1C80, 0x1CCF, "Unassigned"},
    {0x1CD0, 0x1CFF, "Vedic Extensions"},
    {0x1D00, 0x1D7F, "Phonetic Extensions"},
    {0x1D80, 0x1DBF, "Phonetic Extensions Supplement"},
    {0x1DC0, 0x1DFF, "Combining Diacritical Marks Supplement"},
    {0x1E00, 0x1EFF, "Latin Extended Additional"},
    {0x1F00, 0x1FFF, "Greek Extended"},
    {0x2000, 0x206F, "[Symbols] General Punctuation"},
    {0x2070, 0x209F, "[Symbols] Superscripts and Subscripts"},
    {0x20A0, 0x20CF, "[Symbols] Currency Symbols"},
    {0x20D0, 0x20FF, "[Symbols] Combining Diacritical Marks"},
    {0x2100, 0x214F, "[Symbols] Letterlike Symbols"},
    {0x2150, 0x218F, "[Symbols] Number Forms"},
    {0x2190, 0x21FF, "[Symbols] Arrows"},
    {0x2200, 0x22FF, "[Symbols] Mathematical Operators"},
    {0x2300, 0x23FF, "[Symbols] Miscellaneous Technical"},
    {0x2400, 0x243F, "[Symbols] Control Pictures"},
    {0x2440, 0x245F, "[Symbols] Optical Character Recognition"},
    {0x2460, 0x24FF, "[Symbols] Enclosed Alphanumerics"},
    {0x2500, 0x257F, "[Symbols] Box Drawing"},
    {0x2580, 0x259F, "[Symbols] Block Elements"},
    {0x25A0, 0x25FF, "[Symbols] Geometric Shapes"},
    {0x2600, 0x26FF, "[Symbols] Miscellaneous Symbols"},
    {0x2700, 0x27BF, "[Symbols] Dingbats"},
    {0x27C0, 0x27EF, "[Symbols] Miscellaneous Mathematical Symbols-A"},
    {0x27F0, 0x27FF, "[Symbols] Supplemental Arrows-A"},
    {0x2800, 0x28FF, "[Symbols] Braille Patterns"},
    {0x2900, 0x297F, "[Symbols] Supplemental Arrows-B"},
    {0x2980, 0x29FF, "[Symbols] Miscellaneous Mathematical Symbols-B"},
    {0x2A00, 0x2AFF, "[Symbols] Supplemental Mathematical Operators"},
    {0x2B00, 0x2BFF, "[Symbols] Miscellaneous Symbols and Arrows"},
    {0x2C00, 0x2C5F, "Glagolitic"},
    {0x2C60, 0x2C7F, "Latin Extended-C"},
    {0x2C80, 0x2CFF, "Coptic"},
    {0x2D00, 0x2D2F, "Georgian Supplement"},
    {0x2D30, 0x2D7F, "Tifinagh"},
    {0x2D80, 0x2DDF, "Ethiopic Extended"},
    {0x2DE0, 0x2DFF, "Cyrillic Extended-A"},
    {0x2E00, 0x2E7F, "Supplemental Punctuation"},
    {0x2E80, 0x2EFF, "[East Asian] CJK Radicals Supplement"},
    {0x2F00, 0x2FDF, "[East Asian] Kangxi Radicals"},
    {0x2FE0, 0x2FEF, "[East Asian] Unassigned"},
    {0x2FF0, 0x2FFF, "[East Asian] Ideographic Description Characters"},
    {0x3000, 0x303F, "[East Asian] CJK Symbols and Punctuation"},
    {0x3040, 0x309F, "[East Asian] Hiragana"},
    {0x30A0, 0x30FF, "[East Asian] Katakana"},
    {0x3100, 0x312F, "[East Asian] Bopomofo"},
    {0x3130, 0x318F, "[East Asian] Hangul Compatibility Jamo"},
    {0x3190, 0x319F, "[East Asian] Kanbun"},
    {0x31A0, 0x31BF, "[East Asian] Bopomofo Extended"},
    {0x31C0, 0x31EF, "[East Asian] CJK Strokes"},
    {0x31F0, 0x31FF, "[East Asian] Katakana Phonetic Extensions"},
    {0x3200, 0x32FF, "[East Asian] Enclosed CJK Letters and Months"},
    {0x3300, 0x33FF, "[East Asian] CJK Compatibility"},
    {0x3400, 0x4DBF, "[East Asian] CJK Unified Ideographs Extension-A"},
    {0x4DC0, 0x4DFF, "[East Asian] Yijing Hexagram Symbols"},
    {0x4E00, 0x9FFF, "[East Asian] CJK Unified Ideographs"},
    {0xA000, 0xA48F, "Yi Syllables"},
    {0xA490, 0xA4CF, "Yi Radicals"},
    {0xA4D0, 0xA4FF, "Lisu"},
    {0xA500, 0xA63F, "Vai"},
    {0xA640, 0xA69F, "Cyrillic Extended-B"},
    {0xA6A0, 0xA6FF, "Bamum"},
    {0xA700, 0xA71F, "Modifier Tone Letters"},
    {0xA720, 0xA7FF, "Latin Extended-D"},
    {0xA800, 0xA82F, "Syloti Nagri"},
    {0xA830, 0xA83F, "Common Indic Number Forms"},
    {0xA840, 0xA87F, "Phags-pa"},
    {0xA880, 0xA8DF, "Saurashtra"},
    {0xA8E0, 0xA8FF, "Devanagari Extended"},
    {0xA900, 0xA92F, "Kayah Li"},
    {0xA930, 0xA95F, "Rejang"},
    {0xA960, 0xA97F, "Hangul Jamo Extended-A"},
    {0xA980, 0xA9DF, "Javanese"},
    {0xA9E0, 0xA9FF, "Unassigned"},
    {0xAA00, 0xAA5F, "Cham"},
    {0xAA60, 0xAA7F, "Myanmar Extended-A"},
    {0xAA80, 0xAADF, "Tai Viet"},
    {0xAAE0, 0xAAFF, "Unassigned"},
    {0xAB00, 0xAB2F, "Ethiopic Extended-A"},
    {0xAB30, 0xABBF, "Unassigned"},
    {0xABC0, 0xABFF, "Meetei Mayek"},
    {0xAC00, 0xD7AF, "Hangul Syllables"},
    {0xD7B0, 0xD7FF, "Hangul Jamo Extended-B"},
    {0xD800, 0xDB7F, "[Surrogates] High Surrogates"},
    {0xDB80, 0xDBFF, "[Surrogates] High Private Use Surrogates"},
    {0xDC00, 0xDFFF, "[Surrogates] Low Surrogates"},
    {0xE000, 0xF8FF, "Private Use Area"},
    {0xF900, 0xFAFF, "CJK Compatibility Ideographs"},
    {0xFB00, 0xFB4F, "Alphabetic Presentation Forms"},
    {0xFB50, 0xFDFF, "Arabic Presentation Forms-A"},
    {0xFE00, 0xFE0F, "Variation Selectors"},
    {0xFE10, 0xFE1F, "Vertical Forms"},
    {0xFE20, 0xFE2F, "Combining Half Marks"},
    {0xFE30, 0xFE4F, "CJK Compatibility Forms"},
    {0xFE50, 0xFE6F, "Small Form Variants"},
    {0xFE70, 0xFEFF, "Arabic Presentation Forms-B"},
    {0xFF00, 0xFFEF, "Halfwidth and Fullwidth Forms"},
    {0xFFF0, 0xFFFF, "Specials"},
}};

}  // namespace

std::string_view unicodeRowLabel(int row) {
    if (row < 0 || row > 0xFFF) {
        return {};
    }
    const unsigned code = static_cast<unsigned>(row) * 16;
    // Binary search for the block holding the row's first code.
    std::size_t lo = 0;
    std::size_t hi = kBlocks.size();
    while (hi - lo > 1) {
        std::size_t mid = (lo + hi) / 2;
        if (kBlocks[mid].first <= code) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return kBlocks[lo].label;
}

}  // namespace typeloom
