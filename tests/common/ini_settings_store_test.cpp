#include "common/ini_settings_store.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support.h"

namespace typeloom {
namespace {

TEST(IniSettingsStore, ReadsTheDesktopProgramsFile) {
    test::TempDir dir;
    const std::string path = dir.file("Typeloom Studio.conf");
    std::ofstream(path) << "[General]\nx=1\n\n[Settings]\nBmpDataFlag=17961232\n"
                           "Pages%20option=79\nFontGen=\"257\"\nName = a b \n; comment\nbroken\n";
    IniSettingsStore s(path);
    EXPECT_EQ(s.readInteger("Settings", "BmpDataFlag"), 17961232);
    EXPECT_EQ(s.readInteger("Settings", "Pages option"), 79);
    EXPECT_EQ(s.readInteger("Settings", "FontGen"), 257);
    EXPECT_EQ(s.readString("Settings", "Name"), "a b");
    EXPECT_FALSE(s.readInteger("Settings", "Name").has_value());
    EXPECT_FALSE(s.readInteger("Other", "x").has_value());
    EXPECT_EQ(s.integer("Settings", "Missing", 111), 111);
}

TEST(IniSettingsStore, MissingFileIsEmptyAndSaveCreatesIt) {
    test::TempDir dir;
    const std::string path = dir.file("sub/folder/app.conf");
    IniSettingsStore s(path);
    EXPECT_FALSE(s.readInteger("Settings", "FontGen").has_value());
    s.writeInteger("Settings", "Pages option", 111);
    s.writeString("Settings", "Folder", "/home/x");
    s.save();
    IniSettingsStore again(path);
    EXPECT_EQ(again.readInteger("Settings", "Pages option"), 111);
    EXPECT_EQ(again.readString("Settings", "Folder"), "/home/x");
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Pages%20option=111"), std::string::npos);
}

}  // namespace
}  // namespace typeloom
