#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace typeloom {

class Font;
class ProgressSink;
class SettingsStore;

inline constexpr const char* kBmpFolderTitle = "Select a folder to save the bitmap files: ";
inline constexpr const char* kInvalidFolderMessage =
    "The folder path is invalid.\n\nSelect a valid folder or create a new folder, please!";
inline constexpr const char* kBmpExportCaption = "Export bitmap file - Typeloom";
inline constexpr const char* kAlwaysAskSetting = "AlwaysAsk";
inline constexpr const char* kBmpFolderSetting = "BmpFolder";

// A Windows bitmap (BITMAPFILEHEADER + BITMAPINFOHEADER, uncompressed) of a glyph: rows
// bottom-up, each padded to 32 bits, pixels packed from the most significant bit. For 1 bit per
// pixel the palette is white (0) and black (1 = ink). 2 bits per pixel are stored as 4 with the
// palette white, grey 192, grey 128, black; 4 and 8 bits get a grey ramp from white to black.
//
// Worked example, 5 x 2 pixels "#.#.#" over ".#.#.", 1 bit: file size 54 + 8 + 2 x 4 = 70,
// pixel data at 62; palette FF FF FF 00, 00 00 00 00; rows 50 00 00 00 (bottom) then
// A8 00 00 00 (top).
std::vector<std::uint8_t> bmpBytes(int width, int height, int bitsPerPixel,
                                   std::span<const std::uint8_t> pixels);

// Writes the bitmap atomically; throws FileError(Io) when the file cannot be written.
void writeBmp(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> pixels,
              const std::string& path);

// "char%04x.bmp" with the code in lower-case hexadecimal ("char00e9.bmp").
std::string characterBitmapName(std::uint16_t code);

// Where the bitmaps go: the stored folder, and whether the folder chooser must be shown
// first (when "AlwaysAsk" is not 0, default 1, or the stored folder does not exist).
struct BitmapFolderChoice {
    std::string folder;
    bool askUser = true;
};
BitmapFolderChoice bitmapFolderChoice(const SettingsStore& settings);
// Stores a folder the user chose.
void rememberBitmapFolder(SettingsStore& settings, const std::string& folder);

struct BitmapExportResult {
    bool ok = true;
    int written = 0;
    // On failure: the message (error icon, caption kBmpExportCaption) naming the character's
    // Unicode value, and the system's reason.
    std::string message;
    std::string detail;
};

// Writes every character of the font, in index order, as folder/char%04x.bmp (replacing
// existing files). Stops at the first file that cannot be written; the files written before
// it remain.
BitmapExportResult exportCharacterBitmaps(const Font& font, const std::string& folder);
// The same, driving the "%d of %d" progress one step per file.
BitmapExportResult exportCharacterBitmaps(const Font& font, const std::string& folder,
                                          ProgressSink& progress);

}  // namespace typeloom
