#include "model/font_chooser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "common/settings_store.h"
#include "model/font_settings.h"

namespace typeloom {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

constexpr int kMinTenths = kMinChooserPoints * 10;
constexpr int kMaxTenths = kMaxChooserPoints * 10;

}  // namespace

std::vector<int> chooserSizeList() {
    return {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
}

std::optional<int> parseChooserSize(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    long long whole = 0;
    int tenths = 0;
    std::size_t i = 0;
    std::size_t digits = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
        // Anything past the largest size is held to it anyway; stop growing the number.
        whole = std::min<long long>(whole * 10 + (text[i] - '0'), 1'000'000);
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        bool firstFraction = true;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            if (firstFraction) {
                tenths = text[i] - '0';
                firstFraction = false;
            }
            ++digits;
        }
    }
    if (digits == 0 || i != text.size()) {
        return std::nullopt;
    }
    const long long value = whole * 10 + tenths;
    return static_cast<int>(std::clamp<long long>(value, kMinTenths, kMaxTenths));
}

int chooserPointTenths(std::int32_t height) {
    if (height == 0) {
        return 120;
    }
    const long long pixels = std::llabs(static_cast<long long>(height));
    const long long points = (pixels * 72 + 48) / 96;  // rounded, as MulDiv rounds
    return static_cast<int>(std::clamp<long long>(points * 10, kMinTenths, kMaxTenths));
}

int chooserFaceIndex(const std::vector<SystemFace>& faces, const LogFont& font) {
    if (faces.empty()) {
        return -1;
    }
    if (auto location = resolveLogFont(font)) {
        for (std::size_t i = 0; i < faces.size(); ++i) {
            if (faces[i].file == location->file && faces[i].index == location->index) {
                return static_cast<int>(i);
            }
        }
    }
    const int weight = font.weight <= 0 ? 400 : font.weight;
    int best = -1;
    int bestScore = 0;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const SystemFace& face = faces[i];
        const bool named = std::any_of(
            face.families.begin(), face.families.end(),
            [&](const std::string& name) { return equalIgnoringCase(name, font.faceName); });
        if (!named) {
            continue;
        }
        const int score =
            std::abs(face.weight - weight) + (face.italic != (font.italic != 0) ? 1000 : 0);
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best < 0 ? 0 : best;
}

LogFont chooserLogFont(const SystemFace& face, int pointTenths, bool underline, bool strikeOut,
                       std::uint8_t charSet) {
    LogFont font = logFontForFace(face, heightForPointTenths(pointTenths));
    font.underline = underline ? 1 : 0;
    font.strikeOut = strikeOut ? 1 : 0;
    font.charSet = charSet;
    return font;
}

std::optional<ChooserChoice> lastChooserChoice(const SettingsStore& settings) {
    ChooserChoice choice;
    choice.family = settings.string(kSettingsSection, kChooserFamilyKey, "");
    if (choice.family.empty()) {
        return std::nullopt;
    }
    choice.style = settings.string(kSettingsSection, kChooserStyleKey, "");
    const std::int64_t tenths = settings.integer(kSettingsSection, kChooserSizeKey, 120);
    constexpr std::int64_t kLeast = std::int64_t{kMinChooserPoints} * 10;
    constexpr std::int64_t kMost = std::int64_t{kMaxChooserPoints} * 10;
    choice.pointTenths = static_cast<int>(std::clamp(tenths, kLeast, kMost));
    return choice;
}

void saveChooserChoice(SettingsStore& settings, const ChooserChoice& choice) {
    settings.writeString(kSettingsSection, kChooserFamilyKey, choice.family);
    settings.writeString(kSettingsSection, kChooserStyleKey, choice.style);
    settings.writeInteger(kSettingsSection, kChooserSizeKey, choice.pointTenths);
}

}  // namespace typeloom
