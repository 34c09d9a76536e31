#include "model/font_settings.h"

#include <gtest/gtest.h>

#include "common/settings_store.h"
#include "model/font.h"

namespace typeloom {
namespace {

TEST(FontSettings, DefaultsWhenNothingIsStored) {
    MemorySettingsStore settings;
    Font font;
    font.encoding = 0;
    font.bitsPerPixel = 4;
    loadFontSettings(font, settings);
    EXPECT_EQ(font.dataFormat, 0x01121110u);
    EXPECT_EQ(font.encoding, 1u);
    EXPECT_EQ(font.bitsPerPixel, 1u);
}

TEST(FontSettings, FontGenCarriesTheEncodingInItsHighBits) {
    struct Row {
        std::int64_t stored;
        std::uint32_t encoding;
    };
    for (Row row : {Row{0x0001, 0}, Row{0x0301, 3}, Row{0x0501, 5}, Row{0x0601, 1}, Row{0x7F01, 1},
                    Row{-1, 1}}) {
        SCOPED_TRACE(row.stored);
        MemorySettingsStore settings;
        settings.writeInteger("Settings", "FontGen", row.stored);
        Font font;
        loadFontSettings(font, settings);
        EXPECT_EQ(font.encoding, row.encoding);
        EXPECT_EQ(font.bitsPerPixel, 1u);
    }
}

TEST(FontSettings, ExitWritesTheDataFormatOnlyWhenChanged) {
    MemorySettingsStore settings;
    Font font;
    loadFontSettings(font, settings);
    saveFontSettings(font, settings);
    EXPECT_FALSE(settings.readInteger("Settings", "BmpDataFlag").has_value());
    EXPECT_EQ(settings.readInteger("Settings", "FontGen"), 0x0101);

    font.dataFormat = 0x81020304u;  // bit 31 set must survive the round trip
    font.setEncoding(4);
    saveFontSettings(font, settings);
    EXPECT_EQ(settings.readInteger("Settings", "FontGen"), 0x0401);
    Font again;
    loadFontSettings(again, settings);
    EXPECT_EQ(again.dataFormat, 0x81020304u);
    EXPECT_EQ(again.encoding, 4u);

    const int writes = settings.writeCount();
    saveFontSettings(again, settings);
    EXPECT_EQ(settings.writeCount(), writes + 1);  // only FontGen
}

}  // namespace
}  // namespace typeloom
