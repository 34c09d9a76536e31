#include "app/icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSet>
#include <vector>

#include "editor/working_glyph.h"

namespace typeloom::app {
namespace {

// Every command that carries an icon: the steps bar, the file bar, the font bar and the menu
// commands that show one.
const std::vector<int> kIconCommands = {
    32790, 32793, 32792, 32797, 1017,                               // steps bar
    32812, 57601, 57603, 57634, 57637,                              // file bar
    32804, 32805, 32806, 32817,                                     // font bar
    32807, 32824, 32803, 57666, 57664, 32813, 32814, 57643, 57632,  // menus
};

// Some opaque pixels and not one flat colour over the whole image: the image shows a drawing,
// not nothing and not a filled square.
::testing::AssertionResult showsADrawing(const QImage& image) {
    int opaque = 0;
    QSet<QRgb> values;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            opaque += qAlpha(pixel) == 255 ? 1 : 0;
            values.insert(pixel);
        }
    }
    if (opaque == 0 || values.size() < 2) {
        return ::testing::AssertionFailure()
               << opaque << " opaque pixel(s), " << values.size() << " value(s)";
    }
    return ::testing::AssertionSuccess();
}

QImage imageOf(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(IconsCommands, EveryIconDrawsAt1xAnd2x) {
    for (int id : kIconCommands) {
        SCOPED_TRACE(id);
        const QIcon icon = commandIcon(id);
        ASSERT_FALSE(icon.isNull());
        for (qreal ratio : {1.0, 2.0}) {
            const QImage image = imageOf(icon.pixmap(QSize(16, 16), ratio));
            EXPECT_EQ(image.size(), QSize(16, 16) * ratio);
            EXPECT_TRUE(showsADrawing(image));
        }
    }
}

TEST(IconsCommands, NoTwoCommandsShareAnIcon) {
    // A mix-up in the command table would give two commands the same picture.
    std::vector<QImage> images;
    for (int id : kIconCommands) {
        images.push_back(imageOf(commandIcon(id).pixmap(QSize(16, 16), 1.0)));
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        for (std::size_t j = i + 1; j < images.size(); ++j) {
            EXPECT_NE(images[i], images[j]) << kIconCommands[i] << " and " << kIconCommands[j];
        }
    }
}

TEST(IconsCommands, CommandsWithoutAPictureGiveANullIcon) {
    // Save As, the exports by layout and Exit have no icon; 0 and -1 are no command at all.
    for (int id : {57604, 32850, 57665, 0, -1}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(commandIcon(id).isNull());
    }
}

TEST(IconsToolButtons, EveryButtonDrawsAt1xAnd2xInEachLook) {
    for (int id = kToolSelect; id <= kCmdMirrorVertical; ++id) {
        for (ToolLook look : {ToolLook::Normal, ToolLook::Pressed, ToolLook::Active}) {
            for (qreal ratio : {1.0, 2.0}) {
                SCOPED_TRACE(::testing::Message()
                             << id << " look " << static_cast<int>(look) << " at " << ratio << "x");
                const QPixmap pixmap = toolButtonPixmap(id, look, ratio);
                ASSERT_FALSE(pixmap.isNull());
                EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(17, 17));
                EXPECT_EQ(pixmap.size(), QSize(17, 17) * ratio);
                EXPECT_TRUE(showsADrawing(imageOf(pixmap)));
            }
        }
    }
}

TEST(IconsToolButtons, LooksAreDistinctWhereTheButtonHasThem) {
    for (int id = kToolSelect; id <= kCmdMirrorVertical; ++id) {
        SCOPED_TRACE(id);
        const QImage normal = imageOf(toolButtonPixmap(id, ToolLook::Normal));
        const QImage pressed = imageOf(toolButtonPixmap(id, ToolLook::Pressed));
        const QImage active = imageOf(toolButtonPixmap(id, ToolLook::Active));
        EXPECT_NE(normal, pressed);
        if (id <= kToolEraser) {
            EXPECT_NE(normal, active);
            EXPECT_NE(pressed, active);
        } else {
            // A one-shot command is never the active tool: it keeps its normal face.
            EXPECT_EQ(normal, active);
        }
    }
}

TEST(IconsToolButtons, EachButtonHasItsOwnGlyph) {
    std::vector<QImage> images;
    for (int id = kToolSelect; id <= kCmdMirrorVertical; ++id) {
        images.push_back(imageOf(toolButtonPixmap(id, ToolLook::Normal)));
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        for (std::size_t j = i + 1; j < images.size(); ++j) {
            EXPECT_NE(images[i], images[j]) << kToolSelect + i << " and " << kToolSelect + j;
        }
    }
}

TEST(IconsToolButtons, IdsOutsideThePanelAndBadRatiosGiveNull) {
    EXPECT_TRUE(toolButtonPixmap(kToolSelect - 1, ToolLook::Normal).isNull());
    EXPECT_TRUE(toolButtonPixmap(kCmdMirrorVertical + 1, ToolLook::Normal).isNull());
    EXPECT_TRUE(toolButtonPixmap(57601, ToolLook::Active).isNull());
    EXPECT_TRUE(toolButtonPixmap(kToolPencil, ToolLook::Normal, 0.0).isNull());
}

// How far an opaque pixel reaches in a direction: the largest dx * x + dy * y.
int reach(const QImage& image, int dx, int dy) {
    int best = std::numeric_limits<int>::min();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) >= 128) {
                best = std::max(best, dx * x + dy * y);
            }
        }
    }
    return best;
}

TEST(IconsCursors, HotSpotsSitOnOpaqueTips) {
    struct Case {
        const char* name;
        QCursor cursor;
        int dx, dy;  // the direction the tip points in
    };
    const Case cases[] = {
        {"pencil", pencilCursor(), -1, 1},  // writing end at the lower left
        {"eraser", eraserCursor(), -1, 1},  // rubbing face at the lower left
        {"hand", handCursor(), 0, -1},      // fingertip at the top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.cursor.shape(), Qt::BitmapCursor);
        const QPixmap pixmap = c.cursor.pixmap();
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(kCursorSize, kCursorSize));
        const QImage image = imageOf(pixmap);
        EXPECT_TRUE(showsADrawing(image));
        // The hot spot is in logical pixels; look at the device pixel under it.
        const qreal ratio = pixmap.devicePixelRatio();
        const QPoint hot = c.cursor.hotSpot();
        const QPoint device(qFloor((hot.x() + 0.5) * ratio), qFloor((hot.y() + 0.5) * ratio));
        ASSERT_TRUE(image.rect().contains(device));
        EXPECT_EQ(qAlpha(image.pixel(device)), 255);
        // Nothing but the white halo (two pixels at most) reaches further than the tip.
        const int hotReach = c.dx * device.x() + c.dy * device.y();
        EXPECT_LE(reach(image, c.dx, c.dy) - hotReach, qCeil(2 * ratio));
    }
}

TEST(IconsCursors, ToolCursorsFollowTheActiveTool) {
    EXPECT_EQ(toolCursor(kToolPencil).hotSpot(), pencilCursor().hotSpot());
    EXPECT_EQ(toolCursor(kToolPencil).shape(), Qt::BitmapCursor);
    EXPECT_EQ(toolCursor(kToolEraser).hotSpot(), eraserCursor().hotSpot());
    EXPECT_EQ(toolCursor(kToolEraser).shape(), Qt::BitmapCursor);
    for (int id : {kToolLine, kToolRectangle, kToolFilledRectangle}) {
        EXPECT_EQ(toolCursor(id).shape(), Qt::CrossCursor) << id;
    }
    for (int id : {kToolSelect, kCmdInvert, kCmdMoveUp, 0}) {
        EXPECT_EQ(toolCursor(id).shape(), Qt::ArrowCursor) << id;
    }
}

TEST(IconsApplication, DrawsFromMenuSizeToDesktopSize) {
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        const QImage image = imageOf(icon.pixmap(QSize(size, size), 1.0));
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_TRUE(showsADrawing(image));
    }
}

// Writes every icon, tool button look and cursor to one picture for a look by eye:
//   ui_tests --gtest_also_run_disabled_tests --gtest_filter='*ContactSheet*'
// Each entry shows the 1x rendering, the 2x rendering and the 1x rendering enlarged 4 times.
TEST(IconsSheet, DISABLED_WriteContactSheet) {
    std::vector<std::pair<QPixmap, QPixmap>> entries;
    for (int id : kIconCommands) {
        const QIcon icon = commandIcon(id);
        entries.emplace_back(icon.pixmap(QSize(16, 16), 1.0), icon.pixmap(QSize(16, 16), 2.0));
    }
    for (int id = kToolSelect; id <= kCmdMirrorVertical; ++id) {
        for (ToolLook look : {ToolLook::Normal, ToolLook::Pressed, ToolLook::Active}) {
            if (look == ToolLook::Active && id > kToolEraser) {
                continue;
            }
            entries.emplace_back(toolButtonPixmap(id, look, 1.0), toolButtonPixmap(id, look, 2.0));
        }
    }
    for (const QCursor& cursor : {pencilCursor(), eraserCursor(), handCursor()}) {
        entries.emplace_back(cursor.pixmap(), cursor.pixmap());
    }
    const QIcon app = applicationIcon();
    entries.emplace_back(app.pixmap(QSize(32, 32), 1.0), app.pixmap(QSize(64, 64), 1.0));

    // Pages of 16 entries, small enough to be looked at without scaling.
    const int cell = 245, rowHeight = 150, perRow = 4, perPage = 16;
    const QByteArray base = qEnvironmentVariableIsSet("TYPELOOM_ICON_SHEET")
                                ? qgetenv("TYPELOOM_ICON_SHEET")
                                : QByteArray("/tmp/icons_sheet");
    const QPoint hotSpots[] = {pencilCursor().hotSpot(), eraserCursor().hotSpot(),
                               handCursor().hotSpot()};
    const std::size_t firstCursor = entries.size() - 4;
    for (std::size_t first = 0; first < entries.size(); first += perPage) {
        QImage sheet(cell * perRow, rowHeight * (perPage / perRow), QImage::Format_ARGB32);
        sheet.fill(QColor(0xf0, 0xf0, 0xf0));
        QPainter painter(&sheet);
        for (std::size_t i = first; i < std::min(entries.size(), first + perPage); ++i) {
            const int x = static_cast<int>((i - first) % perRow) * cell + 6;
            const int y = static_cast<int>((i - first) / perRow) * rowHeight + 6;
            QImage one = entries[i].first.toImage();
            one.setDevicePixelRatio(1.0);
            QImage two = entries[i].second.toImage();
            two.setDevicePixelRatio(1.0);
            painter.drawImage(x, y, one);
            painter.drawImage(x, y + one.height() + 8, two);
            painter.drawImage(QRect(x + 70, y, one.width() * 4, one.height() * 4), one);
            // The same 1x rendering on a dark toolbar.
            painter.fillRect(x, y + 100, one.width() + 8, one.height() + 8,
                             QColor(0x30, 0x30, 0x30));
            painter.drawImage(x + 4, y + 104, one);
            if (i >= firstCursor && i < firstCursor + 3) {
                // Cursors: mark the hot spot in the enlarged copy.
                const QPoint hot = hotSpots[i - firstCursor];
                painter.setPen(Qt::red);
                painter.drawRect(x + 70 + hot.x() * 4, y + hot.y() * 4, 3, 3);
            }
        }
        painter.end();
        const QByteArray path =
            base + (first == 0 ? QByteArray() : "_" + QByteArray::number(first / perPage + 1)) +
            ".png";
        ASSERT_TRUE(sheet.save(QString::fromLocal8Bit(path)));
    }
}

}  // namespace
}  // namespace typeloom::app
