#include <gtest/gtest.h>

#include <QPainter>
#include <vector>

#include "app/commands.h"
#include "app/icons.h"
#include "common/ui/svg_art.h"
#include "editor/ui/tool_art.h"
#include "editor/working_glyph.h"

namespace typeloom::app {
namespace {

using namespace typeloom::ui;

// Not a test: writes every icon, tool button look and cursor to pictures for a look by eye
// while drawing them (disabled, so it runs only when asked for):
//   ui_tests --gtest_also_run_disabled_tests --gtest_filter='*ContactSheet*'
// Each entry shows the 1x rendering, the 2x rendering and the 1x rendering enlarged 4 times.
TEST(IconsSheet, DISABLED_WriteContactSheet) {
    std::vector<std::pair<QPixmap, QPixmap>> entries;
    for (const CommandInfo& command : commandTable()) {
        const QIcon icon = commandIcon(command.id);
        if (icon.isNull()) {
            continue;
        }
        entries.emplace_back(icon.pixmap(QSize(16, 16), 1.0), icon.pixmap(QSize(16, 16), 2.0));
    }
    for (ToolId id : kAllTools) {
        for (ToolLook look : {ToolLook::Normal, ToolLook::Pressed, ToolLook::Active}) {
            if (look == ToolLook::Active && !isDrawingTool(id)) {
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
    const int cell = 245, rowHeight = 140, perRow = 4, perPage = 16;
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
