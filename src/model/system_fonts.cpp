#include "model/system_fonts.h"

#include <fontconfig/fontconfig.h>
// fcfreetype.h needs fontconfig.h first.
#include <fontconfig/fcfreetype.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "charset/code_pages.h"

// fontconfig 2.14 loses a few hundred bytes while it parses its configuration files, once per
// process. Sanitizer builds check for leaks at exit; they are told that fontconfig's own
// allocations are not the program's.
#if defined(__SANITIZE_ADDRESS__)
#define TYPELOOM_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TYPELOOM_LEAK_CHECKED 1
#endif
#endif
#ifdef TYPELOOM_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace typeloom {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;
using ObjectSetPtr = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;

const FcChar8* fc(const std::string& s) {
    return reinterpret_cast<const FcChar8*>(s.c_str());
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return lower(a) == lower(b);
}

struct ScriptInfo {
    FontScript script;
    int codePage;      // single-byte page whose printable characters must be covered, or 0
    const char* lang;  // fontconfig language of the script
};

constexpr std::array<ScriptInfo, 14> kScripts{{
    {{0, "Western"}, 1252, "en"},
    {{238, "Central European"}, 1250, "pl"},
    {{204, "Cyrillic"}, 1251, "ru"},
    {{161, "Greek"}, 1253, "el"},
    {{162, "Turkish"}, 1254, "tr"},
    {{177, "Hebrew"}, 1255, "he"},
    {{178, "Arabic"}, 1256, "ar"},
    {{186, "Baltic"}, 1257, "lt"},
    {{163, "Vietnamese"}, 1258, "vi"},
    {{222, "Thai"}, 874, "th"},
    {{128, "Japanese"}, 0, "ja"},
    {{129, "Hangul"}, 0, "ko"},
    {{134, "CHINESE_GB2312"}, 0, "zh-cn"},
    {{136, "CHINESE_BIG5"}, 0, "zh-tw"},
}};

// A character a single-byte page prints: not a control, not the replacement character and not
// the private-use value standing for an undefined byte.
bool isPrintable(std::uint16_t u) {
    return u >= 0x20 && !(u >= 0x7F && u <= 0x9F) && u != 0xFFFD && !(u >= 0xE000 && u <= 0xF8FF);
}

bool coversPrintableAscii(const FcCharSet* coverage) {
    for (FcChar32 c = 0x20; c < 0x7F; ++c) {
        if (!FcCharSetHasChar(coverage, c)) {
            return false;
        }
    }
    return true;
}

bool coversCodePage(const FcCharSet* coverage, int codePage) {
    for (std::uint16_t b = 0x20; b <= 0xFF; ++b) {
        std::uint16_t u = codeToUnicode(codePage, b);
        if (isPrintable(u) && !FcCharSetHasChar(coverage, u)) {
            return false;
        }
    }
    return true;
}

const char* langOfCharSet(std::uint8_t charSet) {
    if (charSet == 130) {  // JOHAB_CHARSET is Korean as well
        return "ko";
    }
    for (const ScriptInfo& s : kScripts) {
        if (s.script.charSet == charSet) {
            return s.lang;
        }
    }
    return nullptr;
}

std::string patternString(FcPattern* p, const char* object, int n = 0) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(p, object, n, &value) == FcResultMatch && value != nullptr) {
        return reinterpret_cast<const char*>(value);
    }
    return {};
}

int patternInt(FcPattern* p, const char* object, int fallback) {
    int value = 0;
    return FcPatternGetInteger(p, object, 0, &value) == FcResultMatch ? value : fallback;
}

std::optional<FaceLocation> matchPattern(FcPattern* pattern) {
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern, &result));
    if (!match) {
        return std::nullopt;
    }
    FaceLocation location;
    location.file = patternString(match.get(), FC_FILE);
    location.index = patternInt(match.get(), FC_INDEX, 0);
    if (location.file.empty()) {
        return std::nullopt;
    }
    return location;
}

}  // namespace

int mulDiv(int a, int b, int c) {
    // As the system's: -1 for a zero divisor or a result that does not fit.
    if (c == 0) {
        return -1;
    }
    long long product = static_cast<long long>(a) * b;
    long long divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const long long result =
        product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor);
    if (result > INT_MAX || result < INT_MIN) {
        return -1;
    }
    return static_cast<int>(result);
}

std::int32_t heightForPointTenths(int tenths) {
    return -mulDiv(tenths / 10, 96, 72);
}

std::vector<SystemFace> listSystemFaces(std::string_view pattern) {
    std::vector<SystemFace> faces;
    PatternPtr all(FcPatternCreate());
    ObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, FC_WEIGHT,
                                          FC_SLANT, FC_SCALABLE, nullptr));
    if (!all || !objects) {
        return faces;
    }
    FontSetPtr set(FcFontList(nullptr, all.get(), objects.get()));
    if (!set) {
        return faces;
    }
    const std::string wanted = lower(pattern);
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* p = set->fonts[i];
        SystemFace face;
        for (int n = 0;; ++n) {
            std::string name = patternString(p, FC_FAMILY, n);
            if (name.empty()) {
                break;
            }
            face.families.push_back(name);
        }
        if (face.families.empty()) {
            continue;
        }
        face.family = face.families.front();
        if (!wanted.empty() && lower(face.family).find(wanted) == std::string::npos) {
            continue;
        }
        face.style = patternString(p, FC_STYLE);
        face.file = patternString(p, FC_FILE);
        face.index = patternInt(p, FC_INDEX, 0);
        face.weight = FcWeightToOpenType(patternInt(p, FC_WEIGHT, FC_WEIGHT_REGULAR));
        face.italic = patternInt(p, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
        FcBool scalable = FcTrue;
        if (FcPatternGetBool(p, FC_SCALABLE, 0, &scalable) == FcResultMatch) {
            face.scalable = scalable != FcFalse;
        }
        faces.push_back(std::move(face));
    }
    std::sort(faces.begin(), faces.end(), [](const SystemFace& a, const SystemFace& b) {
        return std::tie(a.family, a.weight, a.italic, a.style, a.file, a.index) <
               std::tie(b.family, b.weight, b.italic, b.style, b.file, b.index);
    });
    return faces;
}

std::vector<std::string> listSystemFamilies(std::string_view pattern) {
    std::vector<std::string> families;
    for (const SystemFace& face : listSystemFaces(pattern)) {
        if (families.empty() || families.back() != face.family) {
            families.push_back(face.family);
        }
    }
    return families;
}

std::optional<SystemFace> findSystemFace(std::string_view family, std::string_view style) {
    for (SystemFace& face : listSystemFaces(family)) {
        if (equalIgnoringCase(face.family, family) && equalIgnoringCase(face.style, style)) {
            return std::move(face);
        }
    }
    return std::nullopt;
}

std::optional<FaceLocation> resolveLogFont(const LogFont& font) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) {
        return std::nullopt;
    }
    if (!font.faceName.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY, fc(font.faceName));
    }
    // A weight of 0 asks for the default, the regular weight.
    const int weight = font.weight <= 0 ? 400 : std::min(font.weight, 1000);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT,
                        font.italic != 0 ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (font.height != 0) {
        const double pixels = std::min(std::abs(static_cast<double>(font.height)), 4096.0);
        FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, pixels);
    }
    // The character set steers the substitute for a face that is not installed towards one
    // that writes the script; an installed face name still wins (fontconfig ranks the family
    // above the language).
    if (font.charSet != 0 && font.charSet != 1) {
        if (const char* lang = langOfCharSet(font.charSet)) {
            FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(lang));
        }
    }
    if (auto location = matchPattern(pattern.get())) {
        return location;
    }
    // Nothing matched the description: take whatever fontconfig offers by default.
    PatternPtr fallback(FcPatternCreate());
    return fallback ? matchPattern(fallback.get()) : std::nullopt;
}

LogFont logFontForFace(const SystemFace& face, std::int32_t height) {
    LogFont font;
    font.height = height;
    font.weight = face.weight;
    font.italic = face.italic ? 1 : 0;
    font.faceName = face.family;
    for (const std::string& name : face.families) {
        LogFont candidate = font;
        candidate.faceName = name;
        auto location = resolveLogFont(candidate);
        if (location && location->file == face.file && location->index == face.index) {
            return candidate;
        }
    }
    return font;
}

std::span<const FontScript> knownScripts() {
    static const std::array<FontScript, kScripts.size()> scripts = [] {
        std::array<FontScript, kScripts.size()> out{};
        for (std::size_t i = 0; i < kScripts.size(); ++i) {
            out[i] = kScripts[i].script;
        }
        return out;
    }();
    return scripts;
}

std::vector<FontScript> scriptsOfCharSet(const FcCharSet* coverage) {
    std::vector<FontScript> scripts;
    if (coverage == nullptr || !coversPrintableAscii(coverage)) {
        return scripts;
    }
    for (const ScriptInfo& s : kScripts) {
        bool offered = false;
        if (s.codePage != 0) {
            offered = coversCodePage(coverage, s.codePage);
        } else {
            const FcCharSet* orthography =
                FcLangGetCharSet(reinterpret_cast<const FcChar8*>(s.lang));
            offered = orthography != nullptr && FcCharSetIsSubset(orthography, coverage);
        }
        if (offered) {
            scripts.push_back(s.script);
        }
    }
    return scripts;
}

std::vector<FontScript> scriptsOfFace(const FaceLocation& location) {
    // fontconfig's cache knows the coverage of installed faces; other files are read.
    PatternPtr query(FcPatternCreate());
    ObjectSetPtr objects(FcObjectSetBuild(FC_CHARSET, nullptr));
    if (query && objects) {
        FcPatternAddString(query.get(), FC_FILE, fc(location.file));
        FcPatternAddInteger(query.get(), FC_INDEX, location.index);
        FontSetPtr set(FcFontList(nullptr, query.get(), objects.get()));
        if (set && set->nfont > 0) {
            FcCharSet* coverage = nullptr;
            if (FcPatternGetCharSet(set->fonts[0], FC_CHARSET, 0, &coverage) == FcResultMatch) {
                return scriptsOfCharSet(coverage);
            }
        }
    }
    int count = 0;
    PatternPtr read(
        FcFreeTypeQuery(fc(location.file), static_cast<unsigned>(location.index), nullptr, &count));
    FcCharSet* coverage = nullptr;
    if (read && FcPatternGetCharSet(read.get(), FC_CHARSET, 0, &coverage) == FcResultMatch) {
        return scriptsOfCharSet(coverage);
    }
    return {};
}

}  // namespace typeloom
