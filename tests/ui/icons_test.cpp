#include "app/icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <vector>

#include "common/ui/svg_art.h"
#include "editor/ui/tool_art.h"
#include "editor/working_glyph.h"

namespace typeloom::app {
namespace {

using namespace typeloom::ui;

// Every command that carries an icon: the steps bar, the file bar, the font bar and the menu
// commands that show one.
using C = CommandId;
const std::vector<CommandId> kIconCommands = {
    // steps bar
    C::ImportSystemFont,
    C::EditTable,
    C::ChangeHeight,
    C::DataFormat,
    C::ExportDialog,
    // file bar
    C::NewMenu,
    C::Open,
    C::Save,
    C::Copy,
    C::Paste,
    // font bar
    C::InvertAll,
    C::MirrorHorizontal,
    C::MirrorVertical,
    C::RemoveBlankColumns,
    // menus
    C::NewFromScratch,
    C::ImportResource,
    C::Preferences,
    C::HelpContents,
    C::About,
    C::ZoomIn,
    C::ZoomOut,
    C::Undo,
    C::Delete,
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

// Reports the first pair of equal images: a mix-up in a table of files would give two ids the
// same picture.
::testing::AssertionResult allDistinct(const std::vector<QImage>& images,
                                       const std::vector<int>& ids) {
    for (std::size_t i = 0; i < images.size(); ++i) {
        for (std::size_t j = i + 1; j < images.size(); ++j) {
            if (images[i] == images[j]) {
                return ::testing::AssertionFailure() << ids[i] << " looks like " << ids[j];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(IconsCommands, EveryIconDrawsAt1xAnd2xAndNoTwoAreAlike) {
    std::vector<QImage> images;
    std::vector<int> ids;
    for (CommandId id : kIconCommands) {
        SCOPED_TRACE(static_cast<int>(id));
        const QIcon icon = commandIcon(id);
        ASSERT_FALSE(icon.isNull());
        for (qreal ratio : {1.0, 2.0}) {
            const QImage image = imageOf(icon.pixmap(QSize(16, 16), ratio));
            EXPECT_EQ(image.size(), QSize(16, 16) * ratio);
            EXPECT_TRUE(showsADrawing(image));
        }
        images.push_back(imageOf(icon.pixmap(QSize(16, 16), 1.0)));
        ids.push_back(static_cast<int>(id));
    }
    EXPECT_TRUE(allDistinct(images, ids));
}

TEST(IconsToolButtons, EveryButtonDrawsAt1xAnd2xAndNoTwoAreAlike) {
    std::vector<QImage> images;
    std::vector<int> ids;
    for (ToolId id : kAllTools) {
        for (qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(id) << " at " << ratio << "x");
            const QPixmap pixmap = toolButtonPixmap(id, ToolLook::Normal, ratio);
            ASSERT_FALSE(pixmap.isNull());
            EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(17, 17));
            EXPECT_EQ(pixmap.size(), QSize(17, 17) * ratio);
            EXPECT_TRUE(showsADrawing(imageOf(pixmap)));
        }
        images.push_back(imageOf(toolButtonPixmap(id, ToolLook::Normal)));
        ids.push_back(static_cast<int>(id));
    }
    EXPECT_TRUE(allDistinct(images, ids));
}

TEST(IconsToolButtons, LooksAreDistinctWhereTheButtonHasThem) {
    for (ToolId id : kAllTools) {
        SCOPED_TRACE(static_cast<int>(id));
        const QImage normal = imageOf(toolButtonPixmap(id, ToolLook::Normal, 2.0));
        const QImage pressed = imageOf(toolButtonPixmap(id, ToolLook::Pressed, 2.0));
        const QImage active = imageOf(toolButtonPixmap(id, ToolLook::Active, 2.0));
        EXPECT_NE(normal, pressed);
        if (isDrawingTool(id)) {
            EXPECT_NE(normal, active);
            EXPECT_NE(pressed, active);
        } else {
            // A one-shot command is never the active tool: it keeps its normal face.
            EXPECT_EQ(normal, active);
        }
    }
}

TEST(IconsUnknownIds, GiveNullIconsAndPixmaps) {
    // Save As, an export by layout and Exit have no icon; 0 and -1 are no command at all.
    for (CommandId id : {C::SaveAs, C::ExportGeneralC, C::Exit, CommandId{0}, CommandId{-1}}) {
        EXPECT_TRUE(commandIcon(id).isNull()) << static_cast<int>(id);
    }
    // Values cast from numbers that are no tool.
    for (int value : {static_cast<int>(ToolId::Select) - 1,
                      static_cast<int>(ToolId::MirrorVertical) + 1, static_cast<int>(C::Open), 0}) {
        EXPECT_TRUE(toolButtonPixmap(static_cast<ToolId>(value), ToolLook::Normal).isNull())
            << value;
    }
    EXPECT_TRUE(toolButtonPixmap(ToolId::Pencil, ToolLook::Normal, 0.0).isNull());
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
    EXPECT_EQ(toolCursor(ToolId::Pencil).hotSpot(), pencilCursor().hotSpot());
    EXPECT_EQ(toolCursor(ToolId::Pencil).shape(), Qt::BitmapCursor);
    EXPECT_EQ(toolCursor(ToolId::Eraser).hotSpot(), eraserCursor().hotSpot());
    EXPECT_EQ(toolCursor(ToolId::Eraser).shape(), Qt::BitmapCursor);
    for (ToolId id : {ToolId::Line, ToolId::Rectangle, ToolId::FilledRectangle}) {
        EXPECT_EQ(toolCursor(id).shape(), Qt::CrossCursor) << static_cast<int>(id);
    }
    for (ToolId id : {ToolId::Select, ToolId::Invert, ToolId::MoveUp}) {
        EXPECT_EQ(toolCursor(id).shape(), Qt::ArrowCursor) << static_cast<int>(id);
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

}  // namespace
}  // namespace typeloom::app
