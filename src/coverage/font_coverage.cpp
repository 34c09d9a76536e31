#include "coverage/font_coverage.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "charset/unicode_blocks.h"
#include "common/text.h"
#include "model/font.h"

namespace typeloom::coverage {

namespace {

std::vector<std::uint8_t> fontHas(const Font& font) {
    std::vector<std::uint8_t> has(0x10000, 0);
    for (int i = 0; i < font.count(); ++i) {
        has[static_cast<std::size_t>(font.unicodeAt(i))] = 1;
    }
    return has;
}

}  // namespace

std::size_t CoverageReport::missingCount() const {
    std::size_t n = 0;
    for (const MissingBlock& b : missing) {
        n += b.characters.size();
    }
    return n;
}

std::string CoverageReport::text() const {
    std::string out;
    for (const MissingBlock& b : missing) {
        out += "  " + b.block + " (" + std::to_string(b.characters.size()) + "):";
        for (char32_t c : b.characters) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            out += " " + utf8Of(c) + " " + code;
        }
        out += "\n";
    }
    return out;
}

CoverageReport coverageOf(const Font& font, const std::vector<char32_t>& used) {
    CoverageReport report;
    const std::vector<std::uint8_t> has = fontHas(font);
    std::vector<char32_t> distinct = used;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    report.used = distinct.size();
    for (char32_t c : distinct) {
        if (c <= 0xFFFF && has[c] != 0) {
            continue;
        }
        const std::string block = c > 0xFFFF
                                      ? std::string("Beyond U+FFFF")
                                      : std::string(unicodeRowLabel(static_cast<int>(c >> 4)));
        if (report.missing.empty() || report.missing.back().block != block) {
            report.missing.push_back({block.empty() ? std::string("Unassigned") : block, {}});
        }
        report.missing.back().characters.push_back(c);
    }
    return report;
}

bool parseRanges(const std::string& text, std::vector<std::pair<char32_t, char32_t>>& ranges) {
    std::stringstream s(text);
    std::string item;
    auto number = [](const std::string& t, char32_t& v) {
        if (t.empty()) {
            return false;
        }
        char* end = nullptr;
        const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
        const unsigned long n = std::strtoul(t.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
        if (*end != '\0' || n > 0x10FFFF ||
            (!hex && !std::isdigit(static_cast<unsigned char>(t[0])))) {
            return false;
        }
        v = static_cast<char32_t>(n);
        return true;
    };
    while (std::getline(s, item, ',')) {
        const std::size_t dash = item.find('-');
        char32_t low = 0;
        char32_t high = 0;
        if (dash == std::string::npos) {
            if (!number(item, low)) {
                return false;
            }
            high = low;
        } else if (!number(item.substr(0, dash), low) || !number(item.substr(dash + 1), high) ||
                   high < low) {
            return false;
        }
        ranges.emplace_back(low, high);
    }
    return !ranges.empty();
}

int keepOnly(Font& font, const std::vector<char32_t>& used,
             const std::vector<std::pair<char32_t, char32_t>>& keepRanges) {
    std::vector<std::uint8_t> keep(0x10000, 0);
    for (char32_t c : used) {
        if (c <= 0xFFFF) {
            keep[c] = 1;
        }
    }
    keep[0x20] = 1;
    for (const auto& [low, high] : keepRanges) {
        for (char32_t c = low; c <= high && c <= 0xFFFF; ++c) {
            keep[c] = 1;
        }
    }
    // The default character, by its code.
    const int defaultIndex = font.indexOfCode(font.fontHeader.defaultChar);
    if (defaultIndex >= 0) {
        keep[static_cast<std::size_t>(font.unicodeAt(defaultIndex))] = 1;
    }
    // The character table loses the codes that go; the lists are rebuilt from it.
    font.charTable.beginEditing();
    std::vector<std::uint16_t> codes;
    std::vector<std::uint16_t> unicodes;
    for (int i = 0; i < font.count(); ++i) {
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
        if (keep[u] != 0) {
            codes.push_back(static_cast<std::uint16_t>(font.codeAt(i)));
            unicodes.push_back(u);
        } else {
            font.charTable.editing.setEnabled(static_cast<std::uint16_t>(font.codeAt(i)), false);
        }
    }
    if (codes.empty()) {
        font.charTable.beginEditing();  // nothing would be left: keep the font as it is
        return 0;
    }
    if (codes.size() != font.codeList.size()) {
        font.charTable.commitEditing();
    }
    font.codeList = std::move(codes);
    font.unicodeList = std::move(unicodes);
    // Glyphs of characters that left go with them.
    std::vector<std::uint8_t> listed(0x10000, 0);
    for (std::uint16_t u : font.unicodeList) {
        listed[u] = 1;
    }
    for (std::size_t u = 0; u < listed.size(); ++u) {
        if (listed[u] == 0 && font.glyphs.contains(static_cast<std::uint16_t>(u))) {
            font.glyphs.erase(static_cast<std::uint16_t>(u));
        }
    }
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font.count();
}

}  // namespace typeloom::coverage
