// The snapshot the recovery copy is written from: the project it lays out is the font as it
// was when the snapshot was taken, whatever happens to the font afterwards.

#include "model/font_snapshot.h"

#include <gtest/gtest.h>

#include "model/font.h"
#include "model/project_file.h"

namespace typeloom {
namespace {

TEST(FontSnapshotTest, LaysOutTheFontAsItWasWhenTaken) {
    Font font;
    font.createFromScratch(0x20, 0x7E, 6, 9, "Snapshot");
    // Values other than a new font's, in every part the project layout stores.
    font.setGlyph('A', 7, std::vector<std::uint8_t>(7 * 9, 1));
    font.glyphs.insert(0x2603, Glyph(0x2603, 3, std::vector<std::uint8_t>(3 * 9, 1)));
    font.ascent = 7;
    font.pointSize = 11;
    font.fixedWidth = 0;
    font.updateMaxWidth();
    font.sourceFont.height = -12;
    const std::vector<std::uint8_t> expected = projectBytes(font);

    FontSnapshot snapshot(font);
    // Changes after the snapshot stay out of it.
    font.setGlyph('B', 2, std::vector<std::uint8_t>(2 * 9, 1));
    font.glyphs.erase('C');
    font.height = 3;
    font.unicodeList.clear();

    EXPECT_EQ(snapshot.glyphCount(), 0x7E - 0x20 + 2);
    EXPECT_EQ(snapshot.takeProjectBytes(), expected);
}

}  // namespace
}  // namespace typeloom
