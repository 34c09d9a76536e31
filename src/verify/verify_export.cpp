#include "verify/verify_export.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/file_error.h"
#include "common/text.h"
#include "model/font.h"

namespace typeloom::verify {

namespace {

std::string codeText(int code, int unicode) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(code));
    std::string out = text;
    if (unicode >= 0x21 && unicode != 0x7F && (unicode < 0x80 || unicode >= 0xA0) &&
        (unicode < 0xD800 || unicode > 0xDFFF)) {
        out += " '" + utf16ToUtf8(std::u16string(1, static_cast<char16_t>(unicode))) + "'";
    }
    return out;
}

std::vector<std::string> picture(int width, int height, const std::vector<std::uint8_t>& pixels) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width + x;
            row += at < pixels.size() && pixels[at] != 0 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// True when both pixel lists draw the same picture of width x height (a pixel beyond a
// list's end is blank, as picture() draws it).
bool samePicture(int width, int height, const std::vector<std::uint8_t>& a,
                 const std::vector<std::uint8_t>& b) {
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t at = 0; at < n; ++at) {
        const bool inkA = at < a.size() && a[at] != 0;
        const bool inkB = at < b.size() && b[at] != 0;
        if (inkA != inkB) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> sideBySide(const std::vector<std::string>& left,
                                    const std::vector<std::string>& right) {
    std::size_t width = 7;  // "project"
    for (const std::string& r : left) {
        width = std::max(width, r.size());
    }
    std::vector<std::string> out;
    auto pad = [width](std::string s) {
        s.resize(width, ' ');
        return s;
    };
    out.push_back(pad("project") + "   export");
    for (std::size_t k = 0; k < std::max(left.size(), right.size()); ++k) {
        out.push_back(pad(k < left.size() ? left[k] : "") + "   " +
                      (k < right.size() ? right[k] : ""));
    }
    return out;
}

}  // namespace

std::string VerifyReport::text(std::size_t shown) const {
    const std::string what = fileName + " (" + layoutText + ")";
    if (!failure.empty()) {
        return "Cannot verify " + what + ": " + failure + "\n";
    }
    if (ok) {
        return "Verified " + std::to_string(verified) + " characters of " + what + "\n";
    }
    std::string out = what + " differs from the project in " + std::to_string(differences.size()) +
                      " character" + (differences.size() == 1 ? "" : "s") + " (" +
                      std::to_string(verified) + " match):\n";
    for (std::size_t k = 0; k < differences.size() && k < shown; ++k) {
        const CharacterDifference& d = differences[k];
        out += "\n" + d.what + "\n";
        for (const std::string& row : d.pictures) {
            out += "  " + row + "\n";
        }
    }
    if (differences.size() > shown) {
        out += "\n... and " + std::to_string(differences.size() - shown) + " more\n";
    }
    return out;
}

VerifyReport compareWithProject(const Font& project, const DecodedExport& decoded,
                                const std::string& fileName) {
    VerifyReport report;
    report.fileName = fileName;
    report.layoutText = layoutName(decoded.layout);
    if (decoded.units) {
        report.layoutText += ", " + decoded.units->describe() + ", " +
                             std::to_string(decoded.units->unitBits) + " bits";
        if (decoded.units->inverted) {
            report.layoutText += ", inverted";
        }
    }
    report.assumed = decoded.assumed;
    const bool byUnicode = decoded.layout == Layout::Hex;
    const bool gapsFilled = decoded.layout == Layout::Fnt || decoded.layout == Layout::Fon;
    // Decoded characters by key; the project's keys marked as they are met.
    std::vector<int> found(0x10000, -1);
    std::vector<std::uint8_t> inProject(0x10000, 0);
    for (std::size_t k = 0; k < decoded.characters.size(); ++k) {
        const int code = decoded.characters[k].code;
        if (code < 0 || code > 0xFFFF) {
            continue;
        }
        if (found[static_cast<std::size_t>(code)] >= 0) {
            report.differences.push_back(
                {code,
                 decoded.characters[k].offset,
                 "Character " + codeText(code, code) + " appears twice in the export",
                 {}});
            continue;
        }
        found[static_cast<std::size_t>(code)] = static_cast<int>(k);
    }
    for (int i = 0; i < project.count(); ++i) {
        const int code = project.codeAt(i);
        const int unicode = project.unicodeAt(i);
        const Glyph* glyph = project.glyphs.find(static_cast<std::uint16_t>(unicode));
        const std::uint16_t width = glyph != nullptr ? glyph->width : 0;
        static const std::vector<std::uint8_t> kNoPixels;
        const std::vector<std::uint8_t>& pixels = glyph != nullptr ? glyph->pixels : kNoPixels;
        if (byUnicode && width > 16) {
            continue;  // HEX files leave such characters out
        }
        const int key = byUnicode ? unicode : code;
        inProject[static_cast<std::size_t>(key)] = 1;
        // The pictures are drawn only for a character that differs.
        const auto ours = [&] { return picture(width, project.height, pixels); };
        const int at = found[static_cast<std::size_t>(key)];
        if (at < 0) {
            report.differences.push_back(
                {code, 0, "Character " + codeText(code, unicode) + " is missing from the export",
                 sideBySide(ours(), {})});
            continue;
        }
        const DecodedCharacter& d = decoded.characters[static_cast<std::size_t>(at)];
        const auto theirs = [&] { return picture(d.width, decoded.height, d.pixels); };
        if (!d.problem.empty()) {
            // Data that could not be read has no picture to show beside the project's.
            const std::string where = " (offset " + std::to_string(d.offset) + ")";
            report.differences.push_back(
                {code, d.offset, "Character " + codeText(code, unicode) + where + ": " + d.problem,
                 sideBySide(ours(), d.pixels.empty() ? std::vector<std::string>{} : theirs())});
        } else if (d.width != width || decoded.height != project.height ||
                   !samePicture(width, project.height, pixels, d.pixels)) {
            const std::string where = " (offset " + std::to_string(d.offset) + ")";
            std::string what = "Character " + codeText(code, unicode) + where + " differs";
            if (d.width != width) {
                what += ": width " + std::to_string(d.width) + " in the export, " +
                        std::to_string(width) + " in the project";
            } else if (decoded.height != project.height) {
                what += ": height " + std::to_string(decoded.height) + " in the export, " +
                        std::to_string(project.height) + " in the project";
            }
            report.differences.push_back({code, d.offset, what, sideBySide(ours(), theirs())});
        } else {
            ++report.verified;
        }
    }
    // A Microchip table indexed by code may hold empty entries for the codes in between.
    const bool emptyGaps =
        decoded.layout == Layout::MicrochipC || decoded.layout == Layout::MicrochipBin;
    if (!gapsFilled) {
        for (const DecodedCharacter& d : decoded.characters) {
            if (emptyGaps && d.width == 0 && d.problem.empty()) {
                continue;
            }
            if (d.code >= 0 && d.code <= 0xFFFF &&
                inProject[static_cast<std::size_t>(d.code)] == 0) {
                report.differences.push_back({d.code,
                                              d.offset,
                                              "Character " + codeText(d.code, -1) + " (offset " +
                                                  std::to_string(d.offset) +
                                                  ") is in the export but not in the project",
                                              {}});
            }
        }
    }
    report.ok = report.differences.empty();
    return report;
}

VerifyReport verifyExport(const Font& project, const std::string& path,
                          std::optional<Layout> layout, DecodeOptions options) {
    options.project = &project;
    const std::string fileName = std::filesystem::path(path).filename().string();
    if (!layout) {
        layout = detectLayout(path);
    }
    if (!layout) {
        VerifyReport report;
        report.fileName = fileName;
        report.layoutText = "unknown layout";
        report.failure = "its layout cannot be told from its contents; name it with --format";
        return report;
    }
    try {
        return compareWithProject(project, decodeExport(*layout, path, options), fileName);
    } catch (const DecodeError& e) {
        VerifyReport report;
        report.fileName = fileName;
        report.layoutText = layoutName(*layout);
        report.failure = e.what();
        if (e.offset() != FileError::npos) {
            report.failure += " (offset " + std::to_string(e.offset()) + ")";
        }
        return report;
    }
}

}  // namespace typeloom::verify
