#include "model/font_information.h"

#include <gtest/gtest.h>

#include "charset/encodings.h"
#include "model/font.h"

namespace typeloom {
namespace {

// "Tiny": codes 32..126, 8 x 12 fixed width, ascent 10.
Font tinyFont() {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.createFromScratch(32, 126, 8, 12, "Tiny");
    return font;
}

TEST(FontInfoDialog, OpensWithTheHeaderBroughtUpToDate) {
    Font font = tinyFont();
    font.fontHeader.defaultChar = 0;  // outside 32..126: moved onto the first character
    font.fontHeader.breakChar = 200;
    font.fontHeader.internalLeading = 2;
    font.fontHeader.italic = 1;
    const FontInfoFields f = openFontInfo(font);
    EXPECT_EQ(f.name, "Tiny12h");
    EXPECT_EQ(f.copyright, "Copyright (c) 2014 by ...");
    EXPECT_EQ(f.firstChar, "32");
    EXPECT_EQ(f.lastChar, "126");
    EXPECT_EQ(f.defaultChar, "32");
    EXPECT_EQ(f.breakChar, "32");
    EXPECT_EQ(f.width, "8");
    EXPECT_EQ(f.height, "12");
    EXPECT_EQ(f.points, "9");  // 12 x 72 / 96
    EXPECT_EQ(f.ascent, "10");
    EXPECT_EQ(f.internalLeading, "2");
    EXPECT_TRUE(f.italic);
    EXPECT_FALSE(f.underline);
    EXPECT_TRUE(f.fixedPitch);
    EXPECT_TRUE(f.pitchEnabled);
    EXPECT_EQ(font.fontHeader.defaultChar, 32);
}

TEST(FontInfoDialog, ListsSelectTheRowOfTheHeaderValueOrTheFirstRow) {
    struct Row {
        int weight;
        int pitchAndFamily;
        int charSet;
        const char* weightLabel;
        const char* familyLabel;
        const char* charSetLabel;
    };
    const Row rows[] = {
        {450, 0x00, 0, "DontCare", "DontCare", "ANSI"},
        {700, 0x31, 204, "Bold", "Modern", "Russian"},  // the pitch bits do not count
        {900, 0x52, 163, "Heavy", "Decorative", "Vietnamese"},
        {400, 0x90, 7, "Normal", "DontCare", "ANSI"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.weight);
        Font font = tinyFont();
        font.fontHeader.weight = static_cast<std::uint16_t>(r.weight);
        font.fontHeader.pitchAndFamily = static_cast<std::uint8_t>(r.pitchAndFamily);
        font.fontHeader.charSet = static_cast<std::uint8_t>(r.charSet);
        const FontInfoFields f = openFontInfo(font);
        EXPECT_EQ(f.weight, r.weightLabel);
        EXPECT_EQ(f.family, r.familyLabel);
        EXPECT_EQ(f.charSet, r.charSetLabel);
    }
}

TEST(FontInfoDialog, VariableWidthFontShowsVariableWithThePitchDisabled) {
    Font font = tinyFont();
    font.fixedWidth = 0;
    const FontInfoFields f = openFontInfo(font);
    EXPECT_FALSE(f.fixedPitch);
    EXPECT_FALSE(f.pitchEnabled);
    // Nothing to ask: the pitch cannot be chosen.
    const FontInfoCheck check = checkFontInfo(f);
    ASSERT_TRUE(check.accepted);
    EXPECT_FALSE(check.askVariablePitch);
}

TEST(FontInfoDialog, RefusesInTheCheckingOrderWithTheFieldToFocus) {
    struct Row {
        const char* what;
        void (*change)(FontInfoFields&);
        FontInfoField focus;
        const char* message;
    };
    const Row rows[] = {
        {"name of 33", [](FontInfoFields& f) { f.name = std::string(33, 'n'); },
         FontInfoField::Name, "Please enter no more than 32 characters."},
        {"default not a number", [](FontInfoFields& f) { f.defaultChar = "x"; },
         FontInfoField::Default, "Please enter an integer between 0 and 255."},
        {"break 256", [](FontInfoFields& f) { f.breakChar = "256"; }, FontInfoField::Break,
         "Please enter an integer between 0 and 255."},
        {"internal 65", [](FontInfoFields& f) { f.internalLeading = "65"; },
         FontInfoField::Internal, "Please enter an integer between 0 and 64."},
        {"external 65", [](FontInfoFields& f) { f.externalLeading = "65"; },
         FontInfoField::External, "Please enter an integer between 0 and 64."},
        {"copyright of 61", [](FontInfoFields& f) { f.copyright = std::string(61, 'c'); },
         FontInfoField::Copyright, "Please enter no more than 60 characters."},
        {"ascent equal to the height", [](FontInfoFields& f) { f.ascent = "12"; },
         FontInfoField::Ascent, "Font Ascent must be smaller than font Height"},
        {"default above last", [](FontInfoFields& f) { f.defaultChar = "127"; },
         FontInfoField::Default, "Default character must be not larger than Last character"},
        {"default below first", [](FontInfoFields& f) { f.defaultChar = "31"; },
         FontInfoField::Default, "Default character must be not samller than First character"},
        {"break above last", [](FontInfoFields& f) { f.breakChar = "127"; }, FontInfoField::Break,
         "Break character must be not larger than Last character"},
        {"break below first", [](FontInfoFields& f) { f.breakChar = "31"; }, FontInfoField::Break,
         "Break character must be not smaller than First character"},
        {"internal equal to the ascent", [](FontInfoFields& f) { f.internalLeading = "10"; },
         FontInfoField::Internal, "Font internal leading must be smaller than font Ascent"},
        // The ascent is checked before the default character.
        {"ascent and default both wrong",
         [](FontInfoFields& f) {
             f.ascent = "13";
             f.defaultChar = "127";
         },
         FontInfoField::Ascent, "Font Ascent must be smaller than font Height"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Font font = tinyFont();
        FontInfoFields f = openFontInfo(font);
        r.change(f);
        const FontInfoCheck check = checkFontInfo(f);
        EXPECT_FALSE(check.accepted);
        EXPECT_EQ(check.focus, r.focus);
        EXPECT_EQ(check.message, r.message);
    }
}

TEST(FontInfoDialog, AcceptsValuesJustInsideTheLimits) {
    Font font = tinyFont();
    FontInfoFields f = openFontInfo(font);
    f.ascent = "11";
    f.internalLeading = "10";
    f.defaultChar = "126";
    f.breakChar = "32";
    f.externalLeading = "64";
    EXPECT_TRUE(checkFontInfo(f).accepted);
}

TEST(FontInfoDialog, ShownOnlyValuesOutsideTheirRangesDoNotBlockOk) {
    // A 5-pixel font has 3 points and a 300-pixel-wide one a width past 255: the user cannot
    // change either in this dialog, so they must not make OK impossible.
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.createFromScratch(32, 126, 300, 5, "Small");
    FontInfoFields f = openFontInfo(font);
    EXPECT_EQ(f.points, "3");
    EXPECT_EQ(f.width, "300");
    f.internalLeading = "0";
    EXPECT_TRUE(checkFontInfo(f).accepted);
}

TEST(FontInfoDialog, AppliesTheEditedValuesToTheHeader) {
    Font font = tinyFont();
    font.fontHeader.pitchAndFamily = 0x12;  // Roman, low bits 2
    font.fontHeader.weight = 400;
    FontInfoFields f = openFontInfo(font);
    f.name = "Panel";
    f.copyright = "(c) the panel makers";
    f.defaultChar = "63";
    f.breakChar = "33";
    f.ascent = "9";  // checked, never stored
    f.internalLeading = "3";
    f.externalLeading = "1";
    f.weight = "Bold";
    f.family = "Modern";
    f.charSet = "Greek";
    f.underline = true;
    f.strikeOut = true;
    ASSERT_TRUE(checkFontInfo(f).accepted);
    EXPECT_TRUE(applyFontInfo(font, f, false));
    const FontHeaderInfo& h = font.fontHeader;
    EXPECT_EQ(h.headerFaceName, "Panel");
    EXPECT_EQ(h.headerCopyright, "(c) the panel makers");
    EXPECT_EQ(h.defaultChar, 63);
    EXPECT_EQ(h.breakChar, 33);
    EXPECT_EQ(h.internalLeading, 3);
    EXPECT_EQ(h.externalLeading, 1);
    EXPECT_EQ(h.weight, 700);
    EXPECT_EQ(h.pitchAndFamily, 0x32);
    EXPECT_EQ(h.charSet, 161);
    EXPECT_EQ(h.underline, 1);
    EXPECT_EQ(h.strikeOut, 1);
    EXPECT_EQ(h.italic, 0);
    EXPECT_EQ(h.ascent, 10);
    EXPECT_EQ(font.ascent, 10);
    EXPECT_EQ(font.fixedWidth, 8);
}

TEST(FontInfoDialog, BlankNameAndCopyrightFallBack) {
    Font font = tinyFont();
    FontInfoFields f = openFontInfo(font);
    f.name = "   ";
    f.copyright = "";
    ASSERT_TRUE(checkFontInfo(f).accepted);
    applyFontInfo(font, f, false);
    EXPECT_EQ(font.fontHeader.headerFaceName, "Tiny");
    EXPECT_EQ(font.fontHeader.headerCopyright, "Copyright (c) 2014 by ...");

    font.faceName.clear();
    applyFontInfo(font, f, false);
    EXPECT_EQ(font.fontHeader.headerFaceName, "Untitled");
}

TEST(FontInfoDialog, ApplyingTheSameValuesAgainChangesNothing) {
    Font font = tinyFont();
    const FontInfoFields f = openFontInfo(font);
    EXPECT_TRUE(applyFontInfo(font, f, false));  // the name and copyright were empty before
    const FontInfoFields again = openFontInfo(font);
    EXPECT_FALSE(applyFontInfo(font, again, false));
}

TEST(FontInfoDialog, VariableChosenForAFixedWidthFontAsksAndYesMakesItVariable) {
    Font font = tinyFont();
    FontInfoFields f = openFontInfo(font);
    f.fixedPitch = false;
    const FontInfoCheck check = checkFontInfo(f);
    ASSERT_TRUE(check.accepted);
    EXPECT_TRUE(check.askVariablePitch);

    Font kept = tinyFont();
    applyFontInfo(kept, openFontInfo(kept), false);  // No: stays fixed-width
    EXPECT_EQ(kept.fixedWidth, 8);

    EXPECT_TRUE(applyFontInfo(font, f, true));
    EXPECT_EQ(font.fixedWidth, 0);
    // Every character keeps its pixels and width.
    std::uint16_t width = 0;
    ASSERT_TRUE(font.widthOf('A', width));
    EXPECT_EQ(width, 8);
}

}  // namespace
}  // namespace typeloom
