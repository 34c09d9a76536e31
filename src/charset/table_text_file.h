#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace typeloom {

class CharacterTable;

// The characters table as a text file: UTF-16 little-endian with a byte-order mark, holding
// the Unicode value of every enabled code of the editing map in ascending code order, with no
// separators. Loading also takes plain 8-bit (windows-1252) text.

inline constexpr const char* kTableTextFilter = "Text File (*.txt)|*.txt||";
inline constexpr const char* kTableFileOpenFailed = "File could not be opened.";
inline constexpr const char* kTableFileMapFailed = "File map could not be opened.";
inline constexpr const char* kTableFileViewFailed = "Could not map view of file.";
inline constexpr const char* kSomeCharactersUnmapped = "Some characters are unmaped.";
inline constexpr const char* kFailedToOpenDocument = "Failed to open document.";
inline constexpr const char* kFailedToSaveDocument = "Failed to save document.";

// Largest table text file that is read; a bigger file is refused before anything is read.
inline constexpr std::uint64_t kMaxTableTextBytes = 64u << 20;

struct TableTextLoadResult {
    enum class Status { Applied, Empty, Failed };
    Status status = Status::Applied;
    // Some characters of the file have no code in the editing encoding; the others were enabled.
    bool someUnmapped = false;
    // For Failed: the message to show (error icon); for someUnmapped: the warning to show.
    std::string message;
    // Codes whose enabled flag changed (the cells to redraw).
    std::vector<std::uint16_t> changed;
};

// Bytes of the table text file for the editing map.
std::vector<std::uint8_t> tableTextBytes(const CharacterTable& table);

// Writes the table text file atomically. Returns an empty string, or the message to show.
std::string saveTableText(const CharacterTable& table, const std::string& path);

// Decodes a table text file into UTF-16 units: UTF-16 LE when it starts with FF FE (skipped)
// or looksLikeUtf16 says so (ending at the last whole unit); else windows-1252 up to the
// first zero byte.
std::u16string decodeTableText(std::span<const std::uint8_t> bytes);

// Our test for "this text is UTF-16 LE without a byte-order mark": it is when a zero byte
// occurs (ANSI text never holds one), or when the bytes read as UTF-16 contain one of the
// non-characters U+FFFE / U+FFFF (the reversed mark, which 8-bit text shows as FE FF or
// FF FF).
bool looksLikeUtf16(std::span<const std::uint8_t> bytes);

// Applies decoded file contents to the editing map: every entry is disabled, then for each
// distinct character the lowest code standing for it is enabled.
TableTextLoadResult applyTableText(CharacterTable& table, std::span<const std::uint8_t> bytes);

// Reads the file and applies it; a file that cannot be read leaves the table unchanged.
TableTextLoadResult loadTableText(CharacterTable& table, const std::string& path);

}  // namespace typeloom
