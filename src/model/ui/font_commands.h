#pragma once

#include <functional>

#include "model/ui/dialog_services.h"

class QWidget;

namespace typeloom {
class Font;
class ProgressSink;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

// The font commands of the main frame. Each returns true when it replaced or changed the font;
// the frame then refreshes its panes (see each function for what else it does). The overloads
// taking DialogServices let tests answer every dialog; the others show the real ones.
// `startNewDocument` asks to save a modified project and starts a new untitled document; false
// (the user cancelled) ends the command with nothing changed. The settings are not read by
// these commands (the argument keeps the frame's calls alike). Help buttons go to
// DialogServices::showHelp (setHelpHandler for the standard services).

// "New Font From Scratch": the New Empty Font dialog, then a fixed-width Unicode font of
// blank characters replaces the font. After true the frame selects the initial character and
// refreshes every pane; the new document is not modified.
bool runNewFontFromScratch(QWidget* parent, Font& font, SettingsStore& settings,
                           const std::function<bool()>& startNewDocument);
bool runNewFontFromScratch(QWidget* parent, Font& font, SettingsStore& settings,
                           const std::function<bool()>& startNewDocument,
                           const DialogServices& services);

// "Import An Existing System Font": the font chooser, then every character the chosen
// font supports is rendered into a new Unicode font (wait cursor, "%d of %d" progress). After
// true the frame hands font.sourceFont to its character views, selects the initial character
// and refreshes every pane; the new document is not modified.
bool runImportSystemFont(QWidget* parent, Font& font, SettingsStore& settings,
                         ProgressSink& progress, const std::function<bool()>& startNewDocument);
bool runImportSystemFont(QWidget* parent, Font& font, SettingsStore& settings,
                         ProgressSink& progress, const std::function<bool()>& startNewDocument,
                         const DialogServices& services);

// "Font Information...": the Font Info dialog on the font's Windows header values.
// True when OK changed a header value or made the font variable-width; the frame then reloads
// the edited glyph, updates its status panes and marks the document modified.
bool runFontInformation(QWidget* parent, Font& font);
bool runFontInformation(QWidget* parent, Font& font, const DialogServices& services);

// Runs the Font Info dialog on the font and applies an OK: the shared part of the Font
// Information command and the Windows font exports. `accepted` tells whether OK was pressed.
bool editFontInformation(QWidget* parent, Font& font, const DialogServices& services,
                         bool& accepted);

}  // namespace typeloom::ui
