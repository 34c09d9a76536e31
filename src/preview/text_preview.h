#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace typeloom {
class Font;
}
namespace typeloom::verify {
struct DecodedExport;
}

namespace typeloom::preview {

// A character's picture as the firmware holds it: width x height pixels, 1 = ink.
struct CharacterPicture {
    int width = 0;
    std::vector<std::uint8_t> pixels;
};

// Where the preview takes each character's picture from, by Unicode value.
class PictureSource {
  public:
    virtual ~PictureSource() = default;
    // nullptr when the font has no such character.
    virtual const CharacterPicture* find(char32_t unicode) = 0;
    virtual int height() const = 0;
};

// The pictures of the font's characters after a trip through the encoder and back: each
// character used is encoded with the font's data-format word and its units decoded again, so
// the preview shows what the units hold. Pictures are made on first use and kept.
class EncodedPictures : public PictureSource {
  public:
    explicit EncodedPictures(const Font& font);
    ~EncodedPictures() override;
    const CharacterPicture* find(char32_t unicode) override;
    int height() const override;
    // Replaces one character's pixels (the glyph being edited) before it is encoded.
    void overridePixels(std::uint16_t unicode, int width, std::vector<std::uint8_t> pixels);

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The pictures an export holds, keyed by the project's Unicode values for their codes.
class ExportPictures : public PictureSource {
  public:
    ExportPictures(const Font& project, const verify::DecodedExport& decoded);
    const CharacterPicture* find(char32_t unicode) override;
    int height() const override { return m_height; }

  private:
    std::vector<CharacterPicture> m_pictures;
    std::vector<int> m_byUnicode;  // 65,536 entries, -1 when absent
    int m_height = 0;
};

struct PreviewOptions {
    int scale = 1;      // each font pixel drawn as scale x scale image pixels (1..16)
    int wrapWidth = 0;  // font pixels per line before a line is wrapped (0: never)
};

struct MissingCharacter {
    char32_t value = 0;
    int line = 0;    // from 1
    int column = 0;  // from 1, in characters
};

// An RGB picture, one 0xRRGGBB value per pixel, rows from the top.
struct PreviewImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<MissingCharacter> missing;
};

inline constexpr std::uint32_t kInkColour = 0x000000;
inline constexpr std::uint32_t kPaperColour = 0xFFFFFF;
inline constexpr std::uint32_t kMissingColour = 0xE00000;

// Lays the text out as the firmware does: characters side by side at their widths, lines of
// the font's height, a new line at each line feed (carriage returns are passed over) and,
// with a wrap width, before a character that would pass it (after the last space of the line
// when there is one). A character the font lacks is drawn as a red frame as wide as half the
// height (at least 3 pixels) and listed.
PreviewImage renderText(std::u32string_view text, PictureSource& pictures,
                        const PreviewOptions& options);

// "U+00B0 '°' (line 1, column 7)".
std::string describeMissing(const MissingCharacter& missing);

}  // namespace typeloom::preview
