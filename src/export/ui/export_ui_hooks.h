#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace typeloom {
class Font;
}
namespace typeloom::exporters {
struct ExportRequest;
}

namespace typeloom::ui {

// What the save-file dialog of an export is given.
struct SaveFileRequest {
    QString filter;         // in Qt's form, e.g. "General C File (*.c)"
    QString defaultSuffix;  // without the dot, e.g. "c"
    QString suggestedName;  // without the extension, e.g. "Small_Font12h"
};

// The modal questions an export asks. Every empty member is replaced by the desktop's own
// dialog (withDefaults); tests put their answers in instead.
struct ExportUiHooks {
    // The save-file dialog: the chosen path, or an empty string when cancelled. The default
    // asks before overwriting an existing file and appends the default extension.
    std::function<QString(QWidget* parent, const SaveFileRequest& request)> chooseFile;
    // The HEX start address ("Start Address"); nullopt when cancelled.
    std::function<std::optional<std::uint32_t>(QWidget* parent)> askStartAddress;
    // The HEX width warning ("To generate Hex File") with its list; true for "Yes".
    std::function<bool(QWidget* parent, const QString& list)> confirmWideCharacters;
    // A failure, shown with the stop icon.
    std::function<void(QWidget* parent, const QString& text)> showError;
    // The end of an export written without the "Exporting..." window: by default the "Export
    // Finished" window with its "Verify".
    std::function<void(QWidget* parent, const Font& font, const exporters::ExportRequest& request)>
        showFinished;
    // Opens a help topic ("fileformat.htm"); by default nothing (the program sets it).
    std::function<void(const QString& topic)> showHelp;
    // A note on a file that was written, shown with the exclamation icon.
    std::function<void(QWidget* parent, const QString& text)> showWarning;
};

// The help topic of the "Export Bitmap Data" dialog.
inline constexpr const char* kExportHelpTopic = "fileformat.htm";

ExportUiHooks withDefaults(ExportUiHooks hooks);

// A file-dialog filter written as text and pattern pairs separated by '|' and ended by "||"
// ("General C File (*.c)|*.c||") in Qt's form ("General C File (*.c)"): each pair becomes its
// text followed by the patterns in parentheses, unless the text already ends with them; pairs
// are joined by ";;". Patterns separated by ';' are separated by spaces.
QString qtFilterOf(std::string_view filter);

// Message texts keep the CR LF line ends of the core; a message box wants '\n'.
QString messageText(std::string_view text);

// The product's name, the caption of its message boxes.
inline constexpr const char* kMessageCaption = "Typeloom Studio";

}  // namespace typeloom::ui
