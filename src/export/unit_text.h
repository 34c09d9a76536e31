#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace typeloom::exporters {

// How data units, offsets and characters are spelled in generated C and assembler text. Shared
// by the dialects of the text writers and the character data panel.

// printf into a std::string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends `value` in hexadecimal with at least `digits` digits (leading zeros), in capitals or
// small letters: "%0*X" or "%0*x". Faster than printf: the text writers spell every unit of a
// font with it.
void appendHex(std::string& out, std::uint32_t value, int digits, bool capitals);

// Appends `value` in decimal, right-aligned in `width` columns: "%*d" (and "%d" for 0).
void appendDecimal(std::string& out, std::int64_t value, int width = 0);

// A unit in C: "0x%02X", "0x%04X" or "0x%08X" for 8, 16 and 32 bits; with `asBytes` (the
// UCHAR data type) a wider unit is written as its bytes, most significant first:
// "0x12, 0x34".
std::string unitAsC(std::uint32_t unit, int bits, bool asBytes);

// Appends unitAsC(unit, bits, asBytes) to `out`.
void appendUnitAsC(std::string& out, std::uint32_t unit, int bits, bool asBytes);

// A unit in assembler: "%02xh", "%04xh" or "%08xh", preceded by "0" when the first digit would
// be a letter (so the assembler reads a number) and by a space otherwise; with `asBytes` each
// byte, most significant first, with its own prefix, the bytes separated by ",  ".
std::string unitAsAsm(std::uint32_t unit, int bits, bool asBytes);

// Appends unitAsAsm(unit, bits, asBytes) to `out`.
void appendUnitAsAsm(std::string& out, std::uint32_t unit, int bits, bool asBytes);

// The assembler directive of a data line: "db ", "dw " or "dd " ("db " for bytes).
const char* asmDirective(int bits, bool asBytes);

// Appends the units of a C data row to `row`: each one followed by ", " except the unit at
// `lastAt` (the table's last unit, or -1 when the row does not end the table), followed by
// `afterLast`. Rows are written for every character of a font: they are built in place.
void appendCUnitRow(std::string& row, std::span<const std::uint32_t> units, int bits, bool asBytes,
                    int lastAt, std::string_view afterLast);

// Appends an assembler data row to `row`: the directive, then the units separated by
// `separator`.
void appendAsmUnitRow(std::string& row, std::span<const std::uint32_t> units, int bits,
                      bool asBytes, std::string_view separator);

// An entry of an assembler offset table: "dw" while `largest` (the table's largest offset)
// fits four hexadecimal digits, "dd" above; then the offset with as many digits as the
// largest needs, right-aligned in nine columns, with a leading 0 in every entry when the
// largest starts with a letter: "dw         0012h", "dd    000000012h".
std::string asmOffsetEntry(std::uint32_t offset, std::uint32_t largest);

// The character of a Unicode value as UTF-8: `control` for values below 32 and DEL (a control
// character would break the line or comment it is written in), '?' for the C1 controls
// U+0080-U+009F, which windows-1252 lacks.
std::string characterText(std::uint16_t unicode, char control);

// Appends characterText(unicode, control) to `out`.
void appendCharacterText(std::string& out, std::uint16_t unicode, char control);

// Free text (a font name, one that came from a file name) made safe for a comment of a
// generated C or assembler file, the one place every writer passes such text through:
// - a control character (C0, DEL, C1: line breaks and tabs among them), a backslash (a line
//   splice at a line's end), a broken UTF-8 sequence and a character windows-1252 lacks each
//   become '?', so the text stays on its line and every byte is one of the file's code page;
// - a space goes between '*' and '/', between '/' and '*', and between "??" and '/', so the
//   text can neither end a C comment ("*/"), open a nested one ("/*", which compilers warn
//   about) nor spell a backslash as the trigraph "??/".
// Any other text comes back unchanged.
std::string commentText(std::string_view utf8);

}  // namespace typeloom::exporters
