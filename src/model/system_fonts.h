#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/log_font.h"

// fontconfig's character coverage type, declared here so that users of this header need not
// include fontconfig.
typedef struct _FcCharSet FcCharSet;

namespace typeloom {

// One installed face as fontconfig lists it.
struct SystemFace {
    std::string family;                 // the family name shown (fontconfig's first)
    std::vector<std::string> families;  // every family name the face answers to
    std::string style;
    std::string file;
    int index = 0;
    int weight = 400;  // on the LOGFONT scale (100 thin .. 900 black)
    bool italic = false;
    bool scalable = true;
};

// Installed faces whose family name contains `pattern` (ignoring case; empty: every face),
// sorted by family, then weight, then upright before italic, then style.
std::vector<SystemFace> listSystemFaces(std::string_view pattern = {});

// The distinct family names of listSystemFaces(pattern), sorted.
std::vector<std::string> listSystemFamilies(std::string_view pattern = {});

// The face of `family` whose style is `style` (both ignoring case), if installed.
std::optional<SystemFace> findSystemFace(std::string_view family, std::string_view style);

// Sizes the font chooser offers, in points.
inline constexpr int kMinChooserPoints = 4;
inline constexpr int kMaxChooserPoints = 244;

// The system's MulDiv: a * b / c rounded half away from zero; -1 when c is 0 or the result
// does not fit.
int mulDiv(int a, int b, int c);

// The LOGFONT height of a size chosen in tenths of a point: the whole points (the tenths
// dropped) as an em height in pixels at 96 dots per inch, negative: 120 (12 points) gives -16.
std::int32_t heightForPointTenths(int tenths);

// A face file and the index of the face inside it.
struct FaceLocation {
    std::string file;
    int index = 0;
};

// The installed face that fontconfig matches best to a font description: by face name,
// weight, italic, pixel size and the language of the character set. A face name that is
// not installed gives fontconfig's best substitute, as the system font mapper does. Empty
// only when no font is installed at all.
std::optional<FaceLocation> resolveLogFont(const LogFont& font);

// A description that resolves to the given face: its family name (or, when that picks
// another face of the family, one of its other family names), its weight and italic flag,
// and the given height.
LogFont logFontForFace(const SystemFace& face, std::int32_t height);

// A Windows character set as the font chooser's Script list shows it.
struct FontScript {
    std::uint8_t charSet;
    const char* name;
};

// Every script the chooser knows, in list order: "Western", "Central European", "Cyrillic",
// "Greek", "Turkish", "Hebrew", "Arabic", "Baltic", "Vietnamese", "Thai", "Japanese",
// "Hangul", "CHINESE_GB2312", "CHINESE_BIG5".
std::span<const FontScript> knownScripts();

// The scripts a character coverage offers, in list order. A single-byte character set is
// offered when every printable character of its code page is covered; a double-byte one when
// the printable ASCII characters and fontconfig's orthography of its language are.
std::vector<FontScript> scriptsOfCharSet(const FcCharSet* coverage);

// The scripts the face at `location` offers (nothing for a file that cannot be read).
std::vector<FontScript> scriptsOfFace(const FaceLocation& location);

}  // namespace typeloom
