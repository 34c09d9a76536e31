#include "model/table_scripts.h"

#include "model/font.h"

namespace typeloom {

namespace {

// What the font chooser asks for when a font names no source font.
constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kTrueTypeOnlyPrecision = 7;
constexpr std::uint8_t kAntialiasedQuality = 4;

}  // namespace

std::vector<FontScript> tableScriptsOf(const Font& font) {
    LogFont face = font.sourceFont;
    if (!font.hasSourceFont || face.faceName.empty()) {
        face = LogFont{};
        face.faceName = "Courier New";
        face.pitchAndFamily = kFixedPitch;
        face.outPrecision = kTrueTypeOnlyPrecision;
        face.quality = kAntialiasedQuality;
    }
    const std::optional<FaceLocation> location = resolveLogFont(face);
    if (!location) {
        return {};
    }
    return scriptsOfFace(*location);
}

int selectedTableScript(const std::vector<FontScript>& scripts, std::uint8_t charSet) {
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        if (scripts[i].charSet == charSet) {
            return static_cast<int>(i);
        }
    }
    return scripts.empty() ? -1 : 0;
}

}  // namespace typeloom
