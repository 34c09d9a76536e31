#pragma once

#include <QString>
#include <functional>

#include "model/ui/dialog_services.h"

class QWidget;

namespace typeloom {
class Font;
class ProgressSink;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

// The import and export commands of the main frame for font files of other tools. The
// overloads taking DialogServices let tests answer every dialog; the others show the real ones.

// "Import Font Resource...": an open-file dialog for .fnt, .fon and .bdf files, the
// save prompt of `startNewDocument` (false: nothing changes), then the import (wait cursor).
// True when the file was imported and replaced the font (its path in `importedPath`); the frame
// then lays out the character list again, selects the character 0x41 or the first one, and
// marks the document modified. A file the import does not know changes nothing and shows
// nothing; a damaged one shows one message (stop icon) with the fixed text, the file and the
// reader's reason, and leaves the font as it was.
bool runImportFontResource(QWidget* parent, Font& font, SettingsStore& settings,
                           const std::function<bool()>& startNewDocument,
                           QString* importedPath = nullptr);
bool runImportFontResource(QWidget* parent, Font& font, SettingsStore& settings,
                           const std::function<bool()>& startNewDocument, QString* importedPath,
                           const DialogServices& services);

// The same import of a file already chosen (a recent-file entry): the save prompt, the import
// and its messages. A file that is gone or not known is told too (the fixed message, the file
// and the reason), since the user chose it by name rather than from a dialog that showed it.
bool importFontFile(QWidget* parent, Font& font, const QString& path,
                    const std::function<bool()>& startNewDocument,
                    const DialogServices& services = DialogServices::standard());

// "Windows Font Resource file (*.fnt)..." (fon false) and "Windows Bitmap Font file
// (*.fon)..." (fon true). The frame stores the edited glyph first. A font whose encoding
// is not "Ascii+ISO8859" is refused with its message; then the Font Info dialog (Cancel:
// "...Cancelled!"), a save dialog proposing "<name><height>h.fnt", and the file written
// atomically. True when the Font Info dialog changed the font (as runFontInformation: the
// frame reloads the edited glyph, updates its panes and marks the document modified);
// `written` tells whether the file was written.
bool runWindowsFontExport(QWidget* parent, Font& font, bool fon);
bool runWindowsFontExport(QWidget* parent, Font& font, bool fon, const DialogServices& services,
                          bool* written = nullptr);

// "Bitmap Distribution Format file (*.bdf)...": a save dialog proposing
// "<name><height>h.bdf", then the file written atomically (wait cursor). A failure shows the
// file and the reason (stop icon). The font is not changed; true when the file was written.
bool runBdfExport(QWidget* parent, const Font& font);
bool runBdfExport(QWidget* parent, const Font& font, const DialogServices& services);

// "Windows Bitmap files of all chars(*.bmp)". The frame stores the edited glyph first.
// The folder is the stored "BmpFolder" unless "AlwaysAsk" is set or that folder is gone, when
// the folder chooser asks (Cancel ends silently; the choice is stored). Every character is
// written as char%04x.bmp (wait cursor, "%d of %d" progress) and the folder is shown in the
// file browser. The font is never changed: the result is true when every file was written,
// and the frame has nothing to refresh.
bool runBitmapExport(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress);
bool runBitmapExport(QWidget* parent, Font& font, SettingsStore& settings, ProgressSink& progress,
                     const DialogServices& services);

}  // namespace typeloom::ui
