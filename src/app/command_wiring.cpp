#include "app/command_wiring.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "app/about_dialog.h"
#include "app/commands.h"
#include "app/edit_routing.h"
#include "app/font_document.h"
#include "app/help.h"
#include "app/history_dialog.h"
#include "app/main_window.h"
#include "app/preferences_sheet.h"
#include "app/progress_status_bar.h"
#include "app/studio_app.h"
#include "app/subset_command.h"
#include "editor/ui/pixel_grid.h"
#include "export/export_driver.h"
#include "export/ui/character_data_panel.h"
#include "export/ui/export_commands.h"
#include "interchange/ui/interchange_commands.h"
#include "interchange/ui/multi_copy_dialogs.h"
#include "model/character_lookup.h"
#include "model/font_settings.h"
#include "model/transforms.h"
#include "model/ui/characters_table_panel.h"
#include "model/ui/dialog_services.h"
#include "model/ui/edit_characters_table_dialog.h"
#include "model/ui/font_commands.h"
#include "model/ui/font_size_dialogs.h"

namespace typeloom::app {

namespace {

// The settings an export run sees: the export values copied in memory (read by the export's
// worker thread), every write passed on to the real settings as well.
class ExportSettings : public SettingsStore {
  public:
    explicit ExportSettings(SettingsStore& real) : m_real(real) {
        for (const char* key : {exporters::kPagesOptionKey, exporters::kFontOutKey}) {
            if (auto value = real.readInteger(kSettingsSection, key)) {
                m_copy.writeInteger(kSettingsSection, key, *value);
            }
        }
    }
    std::optional<std::int64_t> readInteger(std::string_view section,
                                            std::string_view key) const override {
        return m_copy.readInteger(section, key);
    }
    std::optional<std::string> readString(std::string_view section,
                                          std::string_view key) const override {
        return m_copy.readString(section, key);
    }
    void writeInteger(std::string_view section, std::string_view key, std::int64_t value) override {
        m_copy.writeInteger(section, key, value);
        m_real.writeInteger(section, key, value);
    }
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override {
        m_copy.writeString(section, key, value);
        m_real.writeString(section, key, value);
    }

  private:
    SettingsStore& m_real;
    MemorySettingsStore m_copy;
};

// The export format each export command of the menus writes.
struct MenuExport {
    CommandId command;
    exporters::ExportFormat format;
};
constexpr MenuExport kMenuExports[] = {
    {CommandId::ExportHex, exporters::ExportFormat::Hex},
    {CommandId::ExportOldC, exporters::ExportFormat::StudioC},
    {CommandId::ExportOldAsm, exporters::ExportFormat::StudioAsm},
    {CommandId::ExportOldDat, exporters::ExportFormat::StudioDat},
    {CommandId::ExportGeneralC, exporters::ExportFormat::GeneralC},
    {CommandId::ExportGeneralBin, exporters::ExportFormat::GeneralBin},
    {CommandId::ExportMicrochipC, exporters::ExportFormat::MicrochipC},
    {CommandId::ExportMicrochipBin, exporters::ExportFormat::MicrochipBin},
};

// A font-wide change, one step of the history: the glyph on screen is written back first so
// that the change applies to it too (and no edit is lost), then the editor and the panes show
// the result.
constexpr const char* kFontInformationStep = "Font Information";

void changeWholeFont(MainWindow& frame, const char* name, void (*change)(Font&)) {
    frame.runFontWideStep(name, [change](Font& font) {
        change(font);
        return true;
    });
}

}  // namespace

void connectCommands(StudioApp& app, MainWindow& frame) {
    FontDocument& doc = app.document();

    frame.setCommandHandler(CommandId::Open, [&app, &frame] {
        const QString path =
            QFileDialog::getOpenFileName(&frame, QStringLiteral("Open"), QString(),
                                         QStringLiteral("Typeloom Files (*.tlf);;All Files (*)"));
        if (!path.isEmpty()) {
            app.openDocumentFile(path);
        }
    });
    // A save under the document's own name puts it first in the recent list; a copy in the
    // version 2.0 layout does not rename the document and is not listed.
    frame.setCommandHandler(CommandId::Save, [&app, &doc] {
        if (doc.doFileSave() && !doc.pathName().isEmpty()) {
            app.addToRecentFiles(doc.pathName());
        }
    });
    frame.setCommandHandler(CommandId::SaveAs, [&app, &doc] {
        if (doc.doFileSaveAs() && doc.lastSaveRenamed() && !doc.pathName().isEmpty()) {
            app.addToRecentFiles(doc.pathName());
        }
    });
    frame.setCommandHandler(CommandId::Exit, [&frame] { frame.close(); });

    // New fonts: from scratch, from an installed font, from a font file. Each replaces the
    // font only after the save prompt allowed a new document.
    auto startNew = [&app] { return app.startNewDocument(); };
    frame.setCommandHandler(CommandId::NewFromScratch, [&app, &frame, startNew] {
        if (ui::runNewFontFromScratch(&frame, app.font(), app.settings(), startNew)) {
            frame.selectInitialCharacter();
            frame.updateFrameTitle();
        }
    });
    frame.setCommandHandler(CommandId::ImportSystemFont, [&app, &frame, startNew] {
        if (ui::runImportSystemFont(&frame, app.font(), app.settings(), frame.progressBar(),
                                    startNew)) {
            frame.selectInitialCharacter();
            frame.updateFrameTitle();
        }
    });
    frame.setCommandHandler(CommandId::ImportResource, [&app] { app.importFontFile(); });
    // Font information and the Windows font exports may change the header values or make the
    // font variable-width: one step of the history, the font noted before the dialog opens.
    frame.setCommandHandler(CommandId::FontInformation, [&frame] {
        frame.runFontWideDialog(kFontInformationStep,
                                [&frame](Font& font, const std::function<void()>& begin) {
                                    begin();
                                    return ui::runFontInformation(&frame, font);
                                });
    });
    for (CommandId id : {CommandId::ExportFnt, CommandId::ExportFon}) {
        frame.setCommandHandler(id, [&frame, id] {
            frame.runFontWideDialog(
                kFontInformationStep, [&frame, id](Font& font, const std::function<void()>& begin) {
                    begin();
                    return ui::runWindowsFontExport(&frame, font, id == CommandId::ExportFon);
                });
        });
    }
    // Edit Characters Table: the command presses the panel's "Edit Table..." button, which
    // follows the command's enable rule; OK commits and shows the new character set.
    ui::CharactersTablePanel* tablePanel = frame.tablePanel();
    frame.setCommandHandler(CommandId::EditTable, [tablePanel] { tablePanel->pressEditTable(); });
    QAction* editTable = frame.action(CommandId::EditTable);
    QObject::connect(editTable, &QAction::changed, tablePanel, [tablePanel, editTable] {
        tablePanel->setEditTableAvailable(editTable->isEnabled());
    });
    tablePanel->setEditTableAvailable(editTable->isEnabled());
    QObject::connect(tablePanel, &ui::CharactersTablePanel::editTableRequested, &frame, [&frame] {
        const bool committed = frame.runFontWideDialog(
            "Edit Characters Table", [&frame](Font& font, const std::function<void()>& begin) {
                begin();
                return ui::runEditCharactersTable(&frame, font, ui::DialogServices::standard());
            });
        if (committed) {
            frame.selectInitialCharacter();
        }
    });
    // Multi Copy puts the chosen characters on the clipboard; Multi Paste writes the chosen
    // ones of the clipboard's block into the font.
    frame.setCommandHandler(CommandId::MultiCopy, [&app, &frame] {
        frame.storeEditedGlyph();
        ui::runMultiCopy(&frame, app.font(), ui::DialogServices::standard());
        frame.updateCommandStates();
    });
    // The whole paste is one step of the history.
    frame.setCommandHandler(CommandId::MultiPaste, [&frame] {
        frame.runFontWideDialog(
            "Multi Paste", [&frame](Font& font, const std::function<void()>& begin) {
                begin();
                return ui::runMultiPaste(&frame, font, ui::DialogServices::standard());
            });
        frame.updateCommandStates();
    });
    frame.setCommandHandler(CommandId::ExportBdf, [&app, &frame] {
        frame.storeEditedGlyph();
        ui::runBdfExport(&frame, app.font());
    });
    // "Go to Character...": the character typed, its code or its Unicode value becomes the
    // edited one, through the editor as a click in the list would.
    frame.setCommandHandler(CommandId::GoToCharacter, [&app, &frame] {
        QString typed;
        for (;;) {
            bool ok = false;
            typed = QInputDialog::getText(
                &frame, QStringLiteral("Go to Character"),
                QStringLiteral("Character, code (65 or 0x41) or Unicode value (U+0041):"),
                QLineEdit::Normal, typed, &ok);
            if (!ok) {
                return;
            }
            const CharacterLookup found = lookUpCharacter(app.font(), typed.toStdString());
            if (found.index >= 0) {
                frame.goToCharacter(found.index);
                return;
            }
            QMessageBox::warning(&frame, QStringLiteral("Typeloom Studio"),
                                 QString::fromStdString(found.message));
        }
    });
    frame.setCommandHandler(CommandId::ExportBitmaps, [&app, &frame] {
        frame.storeEditedGlyph();
        ui::runBitmapExport(&frame, app.font(), app.settings(), frame.progressBar());
    });

    // Exports: the menu's formats through the save-file dialog, the export dialog of the
    // steps bar, and the HEX export that only other commands send.
    for (const MenuExport& entry : kMenuExports) {
        const exporters::ExportFormat format = entry.format;
        frame.setCommandHandler(entry.command, [&app, &frame, format] {
            frame.storeEditedGlyph();
            ui::runMenuExport(&frame, app.font(), app.settings(), frame.progressBar(), format,
                              &frame.lastExportBaseName());
        });
    }
    frame.setCommandHandler(CommandId::ExportDialog, [&app, &frame] {
        frame.storeEditedGlyph();
        // A large font is exported on a worker thread, which reads the export options: it
        // reads them from a copy, never from the settings file the window thread owns.
        ExportSettings settings(app.settings());
        ui::ExportUiHooks hooks;
        hooks.showHelp = [](const QString& topic) { showHelp(topic); };
        ui::runExportDialog(&frame, app.font(), settings, frame.progressBar(),
                            &frame.lastExportBaseName(), hooks);
    });
    // "Configure Data Format" presses the data panel's "Data Format..." button.
    frame.setCommandHandler(CommandId::DataFormat,
                            [&frame] { frame.dataPanel()->pressDataFormat(); });
    frame.setCommandHandler(CommandId::Preferences, [&app, &frame] {
        openPreferences(&frame, app.settings(),
                        [&frame](const QString& topic) { frame.showHelpTopic(topic); });
    });

    frame.setCommandHandler(CommandId::HelpContents, [] { showHelp(); });
    ui::setHelpHandler([](const QString& topic) { showHelp(topic); });
    frame.setCommandHandler(CommandId::QuickGuide,
                            [] { showHelp(QString::fromLatin1(help_topic::kQuickGuide)); });
    frame.setCommandHandler(CommandId::Website, [] { openWebsite(); });
    frame.setCommandHandler(CommandId::About, [&frame] { showAboutDialog(&frame); });

    for (CommandId id : {CommandId::Copy, CommandId::Paste, CommandId::Delete, CommandId::SelectAll,
                         CommandId::Undo, CommandId::Redo}) {
        frame.setCommandHandler(id, [&frame, id] { frame.routeEditCommand(id); });
    }
    frame.setCommandHandler(CommandId::History, [&app, &frame] {
        HistoryDialog dialog(
            app.document().history(), [&frame](std::size_t count) { frame.historyJump(count); },
            &frame);
        dialog.exec();
    });

    frame.setCommandHandler(CommandId::UndoAll, [&frame] { frame.pixelGrid()->undoAll(); });
    frame.setCommandHandler(CommandId::ZoomIn, [&frame] { frame.pixelGrid()->zoomStep(true); });
    frame.setCommandHandler(CommandId::ZoomOut, [&frame] { frame.pixelGrid()->zoomStep(false); });

    frame.setCommandHandler(CommandId::ToFixedWidth, [&frame] {
        changeWholeFont(frame, "Convert to Fixed Width", &makeFixedWidth);
    });
    frame.setCommandHandler(CommandId::ToVariableWidth, [&frame] {
        changeWholeFont(frame, "Convert to Variable Width", &makeVariableWidth);
    });
    frame.setCommandHandler(CommandId::CenterAll,
                            [&frame] { changeWholeFont(frame, "Center All", &centerAll); });
    frame.setCommandHandler(CommandId::MirrorHorizontal, [&frame] {
        changeWholeFont(frame, "Mirror All Horizontally",
                        static_cast<void (*)(Font&)>(&mirrorHorizontal));
    });
    frame.setCommandHandler(CommandId::MirrorVertical, [&frame] {
        changeWholeFont(frame, "Mirror All Vertically",
                        static_cast<void (*)(Font&)>(&mirrorVertical));
    });
    frame.setCommandHandler(CommandId::InvertAll, [&frame] {
        changeWholeFont(frame, "Invert All", static_cast<void (*)(Font&)>(&invert));
    });
    frame.setCommandHandler(CommandId::RemoveBlankColumns,
                            [&frame] { changeWholeFont(frame, "Remove Blank Columns", &trimAll); });

    // The font-wide dialogs, each one step of the history: once OK was pressed the character
    // being edited is written into the font and the font noted as it was, then the editor
    // shows the character again as the change left it and the views follow.
    auto sizeDialog = [&frame](CommandId id, const char* name, auto run) {
        frame.setCommandHandler(id, [&frame, name, run] {
            frame.runFontWideDialog(name,
                                    [&frame, run](Font& font, const std::function<void()>& begin) {
                                        return run(&frame, font, frame.pixelGrid()->currentIndex(),
                                                   begin, ui::DialogServices::standard());
                                    });
        });
    };
    sizeDialog(CommandId::ChangeHeight, "Change Font Height", &ui::runChangeHeight);
    sizeDialog(CommandId::ChangeWidth, "Change Font Width", &ui::runChangeWidth);
    sizeDialog(CommandId::ChangeAscent, "Change Font Ascent", &ui::runChangeAscent);
    // After a resize the editor moves to the initial character (the letter A).
    frame.setCommandHandler(CommandId::Resize, [&frame] {
        const bool resized = frame.runFontWideDialog(
            "Resize Font", [&frame](Font& font, const std::function<void()>& begin) {
                return ui::runResizeFont(&frame, font, frame.pixelGrid()->currentIndex(), begin);
            });
        if (resized) {
            frame.selectInitialCharacter();
        }
    });
    frame.setCommandHandler(CommandId::KeepOnlyUsedCharacters,
                            [&app, &frame] { runKeepOnlyCharactersUsedIn(app, frame); });
}

}  // namespace typeloom::app
