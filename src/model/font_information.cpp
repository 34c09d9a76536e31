#include "model/font_information.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "common/text.h"
#include "model/new_font.h"
#include "model/transform_dialogs.h"
#include "model/transforms.h"

namespace typeloom {

namespace {

constexpr std::array<HeaderChoice, 10> kWeights = {{{"DontCare", 0},
                                                    {"Thin", 100},
                                                    {"Extra-Light", 200},
                                                    {"Light", 300},
                                                    {"Normal", 400},
                                                    {"Medium", 500},
                                                    {"Semi-Bold", 600},
                                                    {"Bold", 700},
                                                    {"Extra-Bold", 800},
                                                    {"Heavy", 900}}};

constexpr std::array<HeaderChoice, 6> kFamilies = {{{"DontCare", 0},
                                                    {"Roman", 16},
                                                    {"Swiss", 32},
                                                    {"Modern", 48},
                                                    {"Script", 64},
                                                    {"Decorative", 80}}};

constexpr std::array<HeaderChoice, 17> kCharSets = {{{"ANSI", 0},
                                                     {"Arabic", 178},
                                                     {"Baltic", 186},
                                                     {"ChineseBig5", 136},
                                                     {"EastEurope", 238},
                                                     {"GB2312", 134},
                                                     {"Greek", 161},
                                                     {"Hangeul", 129},
                                                     {"Hebrew", 177},
                                                     {"Johab", 130},
                                                     {"OEM", 255},
                                                     {"Russian", 204},
                                                     {"ShiftJIS", 128},
                                                     {"Symbol", 2},
                                                     {"Thai", 222},
                                                     {"Turkish", 162},
                                                     {"Vietnamese", 163}}};

bool isBlank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The value of the row labelled `label`; `fallback` when no row is.
int valueOfLabel(std::span<const HeaderChoice> choices, const std::string& label, int fallback) {
    for (const HeaderChoice& c : choices) {
        if (label == c.label) {
            return c.value;
        }
    }
    return fallback;
}

std::string rangeMessage(std::uint32_t low, std::uint32_t high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

std::string lengthMessage(std::size_t max) {
    return "Please enter no more than " + std::to_string(max) + " characters.";
}

// The edited numbers as read on OK, in dialog order.
struct EditedNumbers {
    std::uint32_t defaultChar = 0;
    std::uint32_t breakChar = 0;
    std::uint32_t ascent = 0;
    std::uint32_t internalLeading = 0;
    std::uint32_t externalLeading = 0;
};

// Reads the edited numbers, refusing the first one that is not a number within its range.
bool readNumbers(const FontInfoFields& f, EditedNumbers& n, FontInfoCheck& check) {
    struct Field {
        const std::string& text;
        std::uint32_t high;
        FontInfoField field;
        std::uint32_t* target;
    };
    const Field fields[] = {
        {f.defaultChar, 255, FontInfoField::Default, &n.defaultChar},
        {f.breakChar, 255, FontInfoField::Break, &n.breakChar},
        {f.ascent, 255, FontInfoField::Ascent, &n.ascent},
        {f.internalLeading, 64, FontInfoField::Internal, &n.internalLeading},
        {f.externalLeading, 64, FontInfoField::External, &n.externalLeading},
    };
    for (const Field& field : fields) {
        std::uint32_t v = 0;
        if (!parseFieldNumber(field.text, v) || v > field.high) {
            check.message = rangeMessage(0, field.high);
            check.focus = field.field;
            return false;
        }
        *field.target = v;
    }
    return true;
}

bool sameHeader(const FontHeaderInfo& a, const FontHeaderInfo& b) {
    return a.headerFaceName == b.headerFaceName && a.headerCopyright == b.headerCopyright &&
           a.defaultChar == b.defaultChar && a.breakChar == b.breakChar &&
           a.internalLeading == b.internalLeading && a.externalLeading == b.externalLeading &&
           a.italic == b.italic && a.underline == b.underline && a.strikeOut == b.strikeOut &&
           a.charSet == b.charSet && a.weight == b.weight && a.pitchAndFamily == b.pitchAndFamily;
}

}  // namespace

std::span<const HeaderChoice> fontWeightChoices() {
    return kWeights;
}
std::span<const HeaderChoice> fontFamilyChoices() {
    return kFamilies;
}
std::span<const HeaderChoice> fontCharSetChoices() {
    return kCharSets;
}

int choiceRowOfValue(std::span<const HeaderChoice> choices, int value) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].value == value) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

FontInfoFields openFontInfo(Font& font) {
    font.syncHeaderInfo();
    const FontHeaderInfo& h = font.fontHeader;
    FontInfoFields f;
    // A font imported from a Windows font opens with the name and copyright of that file, so
    // that a re-export keeps them; other fonts with the name and height and the placeholder.
    // A text the file left empty, or a name longer than the box holds, is not shown.
    const bool ownName = h.textsOfThisFont && !isBlank(h.headerFaceName) &&
                         utf8ToUtf16(h.headerFaceName).size() <= kFontInfoNameMax;
    const bool ownCopyright = h.textsOfThisFont && !isBlank(h.headerCopyright);
    f.name = ownName ? h.headerFaceName : font.faceName + std::to_string(h.pixHeight) + "h";
    f.copyright = ownCopyright ? h.headerCopyright : kFontInfoCopyrightPlaceholder;
    f.firstChar = std::to_string(h.firstChar);
    f.lastChar = std::to_string(h.lastChar);
    f.width = std::to_string(h.pixWidth);
    f.height = std::to_string(h.pixHeight);
    f.points = std::to_string(h.points);
    f.defaultChar = std::to_string(h.defaultChar);
    f.breakChar = std::to_string(h.breakChar);
    f.ascent = std::to_string(h.ascent);
    f.internalLeading = std::to_string(h.internalLeading);
    f.externalLeading = std::to_string(h.externalLeading);
    f.weight = kWeights[choiceRowOfValue(kWeights, h.weight)].label;
    f.family = kFamilies[choiceRowOfValue(kFamilies, h.pitchAndFamily & 0xF0)].label;
    f.charSet = kCharSets[choiceRowOfValue(kCharSets, h.charSet)].label;
    f.italic = h.italic != 0;
    f.underline = h.underline != 0;
    f.strikeOut = h.strikeOut != 0;
    f.fixedPitch = font.fixedWidth != 0;
    f.pitchEnabled = font.fixedWidth != 0;
    f.first = h.firstChar;
    f.last = h.lastChar;
    f.pixelHeight = h.pixHeight;
    return f;
}

FontInfoCheck checkFontInfo(const FontInfoFields& f) {
    FontInfoCheck check;
    if (utf8ToUtf16(f.name).size() > kFontInfoNameMax) {
        check.message = lengthMessage(kFontInfoNameMax);
        check.focus = FontInfoField::Name;
        return check;
    }
    EditedNumbers n;
    if (!readNumbers(f, n, check)) {
        return check;
    }
    if (utf8ToUtf16(f.copyright).size() > kFontInfoCopyrightMax) {
        check.message = lengthMessage(kFontInfoCopyrightMax);
        check.focus = FontInfoField::Copyright;
        return check;
    }
    auto refuse = [&](const char* message, FontInfoField field) {
        check.message = message;
        check.focus = field;
        return check;
    };
    const auto first = static_cast<std::uint32_t>(std::max(f.first, 0));
    const auto last = static_cast<std::uint32_t>(std::max(f.last, 0));
    if (n.ascent >= static_cast<std::uint32_t>(std::max(f.pixelHeight, 0))) {
        return refuse(kAscentTooLargeMessage, FontInfoField::Ascent);
    }
    if (n.defaultChar > last) {
        return refuse(kDefaultAboveLastMessage, FontInfoField::Default);
    }
    if (n.defaultChar < first) {
        return refuse(kDefaultBelowFirstMessage, FontInfoField::Default);
    }
    if (n.breakChar > last) {
        return refuse(kBreakAboveLastMessage, FontInfoField::Break);
    }
    if (n.breakChar < first) {
        return refuse(kBreakBelowFirstMessage, FontInfoField::Break);
    }
    if (n.internalLeading >= n.ascent) {
        return refuse(kInternalLeadingTooLargeMessage, FontInfoField::Internal);
    }
    check.accepted = true;
    check.askVariablePitch = f.pitchEnabled && !f.fixedPitch;
    return check;
}

bool applyFontInfo(Font& font, const FontInfoFields& f, bool makeVariablePitch) {
    EditedNumbers n;
    FontInfoCheck ignored;
    if (!readNumbers(f, n, ignored)) {
        return false;  // only accepted fields are applied
    }
    const FontHeaderInfo before = font.fontHeader;
    FontHeaderInfo& h = font.fontHeader;
    if (isBlank(f.name)) {
        h.headerFaceName = font.faceName.empty() ? "Untitled" : font.faceName;
    } else {
        h.headerFaceName = f.name;
    }
    h.headerCopyright = isBlank(f.copyright) ? kFontInfoCopyrightPlaceholder : f.copyright;
    h.defaultChar = static_cast<std::uint8_t>(n.defaultChar);
    h.breakChar = static_cast<std::uint8_t>(n.breakChar);
    h.internalLeading = static_cast<std::uint16_t>(n.internalLeading);
    h.externalLeading = static_cast<std::uint16_t>(n.externalLeading);
    h.italic = f.italic ? 1 : 0;
    h.underline = f.underline ? 1 : 0;
    h.strikeOut = f.strikeOut ? 1 : 0;
    h.charSet = static_cast<std::uint8_t>(valueOfLabel(kCharSets, f.charSet, h.charSet));
    h.weight = static_cast<std::uint16_t>(valueOfLabel(kWeights, f.weight, h.weight));
    const int family = valueOfLabel(kFamilies, f.family, h.pitchAndFamily & 0xF0);
    h.pitchAndFamily = static_cast<std::uint8_t>((family & 0xF0) | (h.pitchAndFamily & 0x0F));
    bool changed = !sameHeader(before, h);
    // The question promises the change: a Yes makes the font variable-width, as "Change to
    // Variable-Width Font" does.
    if (makeVariablePitch && font.fixedWidth != 0) {
        makeVariableWidth(font);
        changed = true;
    }
    return changed;
}

}  // namespace typeloom
