#pragma once

#include <QString>

#include "export/export_driver.h"
#include "export/ui/export_ui_hooks.h"

class QWidget;

namespace typeloom {
class Font;
class ProgressSink;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

// The save-file dialog of an export format: its filter, default extension and the font's
// suggested file name. The chosen path, or an empty string when cancelled.
QString chooseExportFile(QWidget* parent, const Font& font, exporters::ExportFormat format,
                         const ExportUiHooks& hooks);

// The export commands of the File menu (and the HEX export the others send), by the format
// they write: for the HEX format the HEX checks first (their message and nothing else on
// failure), then the save-file dialog, for the HEX format the start address and the width
// warning, then the export without progress window, which ends in the "Export Finished"
// window with its "Verify" (hooks.showFinished). A file error is shown with its message
// and leaves no file behind (an earlier file at the path stays as it was). True when the
// file was written. `lastBaseName` receives the chosen file's name without its folder and
// last extension.
bool runMenuExport(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress,
                   exporters::ExportFormat format, QString* lastBaseName = nullptr,
                   const ExportUiHooks& hooks = {});

// The export command of the steps bar: the "Export Bitmap Data" dialog, then the export of the
// chosen format, on the worker thread with the "Exporting..." window for a large font, directly
// otherwise; either way the window the export ends in offers "Verify" for the file just
// written ("Exporting..." stays for it, a direct run shows "Export Finished"). A cancelled or
// failed export leaves no file (and an earlier file at the path as it
// was); a failure of a direct run is shown with its message. True when the file was written.
bool runExportDialog(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress,
                     QString* lastBaseName = nullptr, const ExportUiHooks& hooks = {});

}  // namespace typeloom::ui
