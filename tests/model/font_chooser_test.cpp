#include "model/font_chooser.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace typeloom {
namespace {

TEST(FontChooser, ReadsTypedSizesInTenthsHeldToFourTo244Points) {
    EXPECT_EQ(parseChooserSize("12"), 120);
    EXPECT_EQ(parseChooserSize(" 10.5 "), 105);
    EXPECT_EQ(parseChooserSize("10.55"), 105);  // tenths are all a size holds
    EXPECT_EQ(parseChooserSize("4"), 40);
    EXPECT_EQ(parseChooserSize("3.9"), 40);
    EXPECT_EQ(parseChooserSize("0"), 40);
    EXPECT_EQ(parseChooserSize("244"), 2440);
    EXPECT_EQ(parseChooserSize("244.5"), 2440);
    EXPECT_EQ(parseChooserSize("99999999999999999999"), 2440);
    for (const char* bad : {"", " ", "x", "12pt", "-5", ".", "1.2.3"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseChooserSize(bad).has_value());
    }
}

TEST(FontChooser, SizeListStaysWithinTheLimits) {
    const std::vector<int> sizes = chooserSizeList();
    ASSERT_FALSE(sizes.empty());
    EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()));
    EXPECT_GE(sizes.front(), kMinChooserPoints);
    EXPECT_LE(sizes.back(), kMaxChooserPoints);
}

TEST(FontChooser, StartSizeFromADescriptionsHeight) {
    EXPECT_EQ(chooserPointTenths(-16), 120);  // 16 pixels at 96 dpi
    EXPECT_EQ(chooserPointTenths(16), 120);
    EXPECT_EQ(chooserPointTenths(-13), 100);  // 9.75 points, rounded
    EXPECT_EQ(chooserPointTenths(0), 120);
    EXPECT_EQ(chooserPointTenths(-1), 40);
    EXPECT_EQ(chooserPointTenths(-2000), 2440);
}

TEST(FontChooser, ReturnedDescriptionCarriesSizeEffectsAndScript) {
    std::vector<SystemFace> faces = listSystemFaces("DejaVu Sans Mono");
    auto bold = std::find_if(faces.begin(), faces.end(), [](const SystemFace& f) {
        return f.family == "DejaVu Sans Mono" && f.weight == 700 && !f.italic;
    });
    if (bold == faces.end()) {
        GTEST_SKIP() << "DejaVu Sans Mono Bold is not installed";
    }
    const LogFont font = chooserLogFont(*bold, 125, true, false, 204);
    EXPECT_EQ(font.height, -16);  // the tenths are dropped: 12 points
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, 0);
    EXPECT_EQ(font.underline, 1);
    EXPECT_EQ(font.strikeOut, 0);
    EXPECT_EQ(font.charSet, 204);
    auto location = resolveLogFont(font);
    ASSERT_TRUE(location.has_value());
    EXPECT_EQ(location->file, bold->file);

    // The chooser started on this description lands on the same face.
    const int index = chooserFaceIndex(faces, font);
    ASSERT_GE(index, 0);
    EXPECT_EQ(faces[static_cast<std::size_t>(index)].file, bold->file);
}

TEST(FontChooser, StartFaceOfAnEmptyListIsNone) {
    EXPECT_EQ(chooserFaceIndex({}, LogFont{}), -1);
}

}  // namespace
}  // namespace typeloom
