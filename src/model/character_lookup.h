#pragma once

#include <string>

namespace typeloom {

class Font;

// What "Go to Character..." finds for the text typed: the character typed as itself ("A",
// "é"), a code of the font's encoding in hexadecimal ("0x41") or decimal ("65"), or a
// Unicode value ("U+0041"). A single digit is the digit itself; a number needs two digits or
// a prefix.
struct CharacterLookup {
    int index = -1;       // the character's index in the font, -1 when none
    std::string message;  // why there is none
};

CharacterLookup lookUpCharacter(const Font& font, const std::string& typed);

}  // namespace typeloom
