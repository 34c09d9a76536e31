#pragma once

#include <cstdint>
#include <string>

namespace typeloom {

// The fields of the "New Empty Font" dialog as the user typed them.
struct NewFontFields {
    std::string name = "Untitled";
    std::string first = "32";
    std::string last = "127";
    std::string width = "12";
    std::string height = "12";
};

// Which field the dialog puts the focus on after a refusal.
enum class NewFontField { None, Name, First, Last, Width, Height };

struct NewFontParams {
    std::string name;
    std::uint16_t first = 0;
    std::uint16_t last = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// What pressing OK gives: the values to create the font with, or the message to show
// (error icon) and the field to focus with its text selected.
struct NewFontOutcome {
    bool accepted = false;
    NewFontParams params;
    std::string message;
    NewFontField focus = NewFontField::None;
};

inline constexpr const char* kLastBeforeFirstMessage =
    "Last character must be larger than First character";
inline constexpr std::size_t kNewFontNameMax = 32;

// The OK logic of the "New Empty Font" dialog: each field is checked against its range in
// dialog order (name at most 32 characters, From 0..0xFFFE, To 1..0xFFFF, Width 1..512,
// Height 4..512), then From must be smaller than To; a blank name becomes "Untitled".
NewFontOutcome acceptNewFontDialog(const NewFontFields& fields);

// Parses an unsigned decimal number as typed into a dialog field (surrounding blanks allowed).
bool parseFieldNumber(const std::string& text, std::uint32_t& value);

}  // namespace typeloom
