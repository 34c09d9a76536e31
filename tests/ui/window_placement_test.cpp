#include "app/window_placement.h"

#include <gtest/gtest.h>

namespace typeloom::app {
namespace {

TEST(WindowPlacement, FirstStartIsCentred875By622) {
    EXPECT_EQ(defaultWindowRect(QRect(0, 0, 1920, 1040)), QRect(522, 209, 875, 622));
    // A work area smaller than the default takes the work area's size.
    EXPECT_EQ(defaultWindowRect(QRect(0, 0, 800, 600)), QRect(0, 0, 800, 600));
}

TEST(WindowPlacement, StoredSizeScalesWithTheWorkArea) {
    // Saved 800 x 600 at (100, 50) on a 1600 x 1000 work area, restored on 800 x 500.
    const QString pos = QStringLiteral("1,100,50,900,650,0,0,1600,1000");
    EXPECT_EQ(restoredWindowRect(pos, QRect(0, 0, 800, 500)), QRect(100, 50, 400, 300));
    EXPECT_EQ(restoredWindowRect(pos, QRect(0, 0, 1600, 1000)), QRect(100, 50, 800, 600));
}

TEST(WindowPlacement, MalformedOrEmptyValuesAreNotRestored) {
    const QRect work(0, 0, 1600, 1000);
    for (const char* bad :
         {"", "1,2,3", "1,100,50,900,650,0,0,1600,1000,5", "1,100,50,100,650,0,0,1600,1000",
          "1,100,50,900,650,0,0,0,1000", "1,a,50,900,650,0,0,1600,1000"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(restoredWindowRect(QString::fromLatin1(bad), work).has_value());
    }
}

TEST(WindowPlacement, SplitterPosHalves) {
    EXPECT_EQ(splitterSizesFrom(0).columnWidth, 435);
    EXPECT_EQ(splitterSizesFrom(0).rowHeight, 286);
    // 500 with a zero high half: the column is restored, the row keeps 286.
    EXPECT_EQ(splitterSizesFrom(500).columnWidth, 500);
    EXPECT_EQ(splitterSizesFrom(500).rowHeight, 286);
    const long long both = (300LL << 16) | 420;
    EXPECT_EQ(splitterSizesFrom(both).columnWidth, 420);
    EXPECT_EQ(splitterSizesFrom(both).rowHeight, 300);
    EXPECT_EQ(splitterPosOf(420, 300), both);
    // A width above 16 bits is masked to its low half.
    EXPECT_EQ(splitterPosOf(0x10005, 1), (1LL << 16) | 5);
}

}  // namespace
}  // namespace typeloom::app
