#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/font.h"

namespace typeloom {

// The logic of the "Font Info" dialog, which shows the font's metrics and edits the Windows
// font header values kept in `fontHeader` (name and copyright, default and break characters,
// leadings, effects, character set, weight, family and pitch). It serves the "Font
// Information..." command and the Windows font exports, which show it before they write.

// One row of the Weight, Family or Charset list: the label shown and the header value.
struct HeaderChoice {
    const char* label;
    int value;
};

// The lists in their order: weights "DontCare" 0 .. "Heavy" 900, families "DontCare" 0 ..
// "Decorative" 80, character sets "ANSI" 0 .. "Vietnamese" 163.
std::span<const HeaderChoice> fontWeightChoices();
std::span<const HeaderChoice> fontFamilyChoices();
std::span<const HeaderChoice> fontCharSetChoices();
// The row whose value is `value`; the first row when none is.
int choiceRowOfValue(std::span<const HeaderChoice> choices, int value);

inline constexpr const char* kFontInfoTitle = "Font Info";
inline constexpr const char* kFontInfoHelpTopic = "changeinfo.htm";
inline constexpr const char* kFontInfoCopyrightPlaceholder = "Copyright (c) 2014 by ...";
inline constexpr std::size_t kFontInfoNameMax = 32;
inline constexpr std::size_t kFontInfoCopyrightMax = 60;

inline constexpr const char* kDefaultAboveLastMessage =
    "Default character must be not larger than Last character";
inline constexpr const char* kDefaultBelowFirstMessage =
    "Default character must be not samller than First character";
inline constexpr const char* kBreakAboveLastMessage =
    "Break character must be not larger than Last character";
inline constexpr const char* kBreakBelowFirstMessage =
    "Break character must be not smaller than First character";
inline constexpr const char* kInternalLeadingTooLargeMessage =
    "Font internal leading must be smaller than font Ascent";
inline constexpr const char* kFixedToVariableQuestion =
    "This is a fixed-width font. All the characters' width is the same. \n\nTo change the font "
    "width, please select Font > Change Width command. \nOr you can change the fixed-width font "
    "to be variable-width font first, \nthen change one character's width individually.\n\nDo "
    "you want to change the fixed-width font to be variable-width font?";

// The fields the user can edit and put the focus on after a refusal.
enum class FontInfoField { None, Name, Default, Break, Ascent, Internal, External, Copyright };

// What the dialog shows, as text where the dialog shows an edit box.
struct FontInfoFields {
    std::string name;
    std::string copyright;
    // Shown only: the character range, the pixel size and the points.
    std::string firstChar;
    std::string lastChar;
    std::string width;
    std::string height;
    std::string points;
    // Edited.
    std::string defaultChar;
    std::string breakChar;
    std::string ascent;
    std::string internalLeading;
    std::string externalLeading;
    std::string weight;  // the label of the selected row of each list
    std::string family;
    std::string charSet;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool fixedPitch = false;
    // The pitch can be chosen only for a fixed-width font.
    bool pitchEnabled = false;
    // The numbers of the shown-only character range and height, which the checks and the spin
    // ranges use (default and break characters first..last, ascent and internal leading
    // 0..height, external leading 0..64).
    int first = 0;
    int last = 0;
    int pixelHeight = 0;
};

// Opening the dialog: brings `fontHeader` up to date with the font (syncHeaderInfo) and
// returns what the controls show. The name is the font's name followed by its height and "h"
// ("Tiny8h"); the copyright text is the placeholder.
FontInfoFields openFontInfo(Font& font);

struct FontInfoCheck {
    bool accepted = false;
    std::string message;  // refused: shown with the error icon
    FontInfoField focus = FontInfoField::None;
    // Accepted with "Variable" chosen for a fixed-width font: ask kFixedToVariableQuestion
    // (Yes/No) and pass the answer to applyFontInfo.
    bool askVariablePitch = false;
};

// The OK checks in order: each edited number within its range (the range message names the
// limits), then ascent below the height, the default and break characters within
// first..last, the internal leading below the ascent. The fields that are shown only are not
// checked: the user cannot change them and they are not stored.
FontInfoCheck checkFontInfo(const FontInfoFields& fields);

// Applies accepted fields to `fontHeader`: name (blank: the font's name, or "Untitled"),
// copyright (blank: the placeholder), default and break characters, leadings, effects, the
// character set and weight of the rows named, the family of its row with the low four bits
// of the old pitch-and-family kept. With `makeVariablePitch` (the user answered Yes to the
// question) a fixed-width font becomes variable-width. Returns whether anything changed.
bool applyFontInfo(Font& font, const FontInfoFields& fields, bool makeVariablePitch);

}  // namespace typeloom
