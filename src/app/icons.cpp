#include "app/icons.h"

#include <initializer_list>

#include "common/ui/svg_art.h"

namespace typeloom::app {
namespace {

struct CommandIconFile {
    CommandId command;
    const char* name;  // file under :/icons/commands/, without ".svg"
};

// Steps bar (with their step badge), file bar, font bar, then menu-only commands.
constexpr CommandIconFile kCommandIcons[] = {
    {CommandId::ImportSystemFont, "import_system_font"},
    {CommandId::EditTable, "edit_characters_table"},
    {CommandId::ChangeHeight, "change_font_height"},
    {CommandId::DataFormat, "configure_data_format"},
    {CommandId::ExportDialog, "export"},
    {CommandId::NewMenu, "new_font_project"},
    {CommandId::Open, "open"},
    {CommandId::Save, "save"},
    {CommandId::Copy, "copy"},
    {CommandId::Paste, "paste"},
    {CommandId::InvertAll, "invert_all"},
    {CommandId::MirrorHorizontal, "mirror_all_horizontal"},
    {CommandId::MirrorVertical, "mirror_all_vertical"},
    {CommandId::RemoveBlankColumns, "remove_blank_columns"},
    {CommandId::NewFromScratch, "new_from_scratch"},
    {CommandId::ImportResource, "import_font_resource"},
    {CommandId::Preferences, "preferences"},
    {CommandId::HelpContents, "help"},
    {CommandId::About, "about"},
    {CommandId::ZoomIn, "zoom_in"},
    {CommandId::ZoomOut, "zoom_out"},
    {CommandId::Undo, "undo"},
    {CommandId::Delete, "delete"},
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

QIcon commandIcon(CommandId command) {
    for (const CommandIconFile& entry : kCommandIcons) {
        if (entry.command == command) {
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
