#include "model/font_settings.h"

#include "charset/encodings.h"
#include "common/settings_store.h"
#include "model/font.h"

namespace typeloom {

void loadFontSettings(Font& font, const SettingsStore& settings) {
    font.dataFormat = static_cast<std::uint32_t>(
        settings.integer(kSettingsSection, kDataFormatKey, kDefaultDataFormat) & 0xFFFFFFFF);
    std::int64_t encoding = kEncodingUnicode;
    if (auto gen = settings.readInteger(kSettingsSection, kFontGenKey)) {
        encoding = (*gen & 0xFFFFFFFF) >> 8;
        if (encoding > kEncodingHangul) {
            encoding = kEncodingUnicode;
        }
    }
    font.setEncoding(encoding);
    font.setBitsPerPixel(1);
}

void saveFontSettings(const Font& font, SettingsStore& settings) {
    // Compared with what a start would read, so an unchanged default is not written out.
    auto stored = settings.integer(kSettingsSection, kDataFormatKey, kDefaultDataFormat);
    if (static_cast<std::uint32_t>(stored & 0xFFFFFFFF) != font.dataFormat) {
        settings.writeInteger(kSettingsSection, kDataFormatKey, font.dataFormat);
    }
    settings.writeInteger(kSettingsSection, kFontGenKey,
                          (std::int64_t{font.encoding} << 8) | font.bitsPerPixel);
}

}  // namespace typeloom
