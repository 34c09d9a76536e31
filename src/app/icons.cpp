#include "app/icons.h"

#include <initializer_list>

#include "common/ui/svg_art.h"

namespace typeloom::app {
namespace {

struct CommandIconFile {
    int commandId;
    const char* name;  // file under :/icons/commands/, without ".svg"
};

// Steps bar (with their step badge), file bar, font bar, then menu-only commands.
constexpr CommandIconFile kCommandIcons[] = {
    {32790, "import_system_font"},
    {32793, "edit_characters_table"},
    {32792, "change_font_height"},
    {32797, "configure_data_format"},
    {1017, "export"},
    {32812, "new_font_project"},
    {57601, "open"},
    {57603, "save"},
    {57634, "copy"},
    {57637, "paste"},
    {32804, "invert_all"},
    {32805, "mirror_all_horizontal"},
    {32806, "mirror_all_vertical"},
    {32817, "remove_blank_columns"},
    {32807, "new_from_scratch"},
    {32824, "import_font_resource"},
    {32803, "preferences"},
    {57666, "help"},
    {57664, "about"},
    {32813, "zoom_in"},
    {32814, "zoom_out"},
    {57643, "undo"},
    {57632, "delete"},
};

// Adds renderings of an SVG resource at the given square sizes to an icon.
void addSvgSizes(QIcon& icon, const QString& path, std::initializer_list<int> sizes) {
    for (int size : sizes) {
        const QPixmap pixmap = ui::renderSvg(path, QSizeF(size, size), 1.0);
        if (!pixmap.isNull()) {
            icon.addPixmap(pixmap);
        }
    }
}

}  // namespace

QIcon commandIcon(int commandId) {
    for (const CommandIconFile& entry : kCommandIcons) {
        if (entry.commandId == commandId) {
            // The 16-pixel grid at 1x, 1.5x, 2x and 3x.
            QIcon icon;
            addSvgSizes(icon,
                        QStringLiteral(":/icons/commands/%1.svg").arg(QLatin1String(entry.name)),
                        {16, 24, 32, 48});
            return icon;
        }
    }
    return {};
}

QIcon applicationIcon() {
    // Menu and title bar sizes come from a one-pixel-per-cell drawing that stays sharp; the
    // larger ones from the full drawing with the cell grid.
    QIcon icon;
    addSvgSizes(icon, QStringLiteral(":/icons/typeloom-studio-small.svg"), {16, 32});
    addSvgSizes(icon, QStringLiteral(":/icons/typeloom-studio.svg"), {48, 64, 128, 256});
    return icon;
}

}  // namespace typeloom::app
