#include "model/ui/font_commands.h"

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "model/font.h"
#include "model/font_chooser.h"
#include "model/font_information.h"
#include "model/rasteriser.h"
#include "model/ui/font_info_dialog.h"
#include "model/ui/new_font_dialog.h"
#include "model/ui/system_font_dialog.h"

namespace typeloom::ui {

bool runNewFontFromScratch(QWidget* parent, Font& font, SettingsStore& settings,
                           const std::function<bool()>& startNewDocument) {
    return runNewFontFromScratch(parent, font, settings, startNewDocument,
                                 DialogServices::standard());
}

bool runNewFontFromScratch(QWidget* parent, Font& font, SettingsStore& /*settings*/,
                           const std::function<bool()>& startNewDocument,
                           const DialogServices& services) {
    NewFontDialog dialog(parent, services);
    if (services.showHelp) {
        QObject::connect(&dialog, &NewFontDialog::helpRequested, &dialog, services.showHelp);
    }
    if (services.runDialog(dialog) != QDialog::Accepted) {
        return false;
    }
    if (!startNewDocument()) {
        return false;
    }
    const NewFontParams p = dialog.params();
    WaitCursor wait;
    font.setBitsPerPixel(1);
    font.setEncoding(kEncodingUnicode);
    font.createFromScratch(p.first, p.last, p.width, p.height, p.name);
    return true;
}

bool runImportSystemFont(QWidget* parent, Font& font, SettingsStore& settings,
                         ProgressSink& progress, const std::function<bool()>& startNewDocument) {
    return runImportSystemFont(parent, font, settings, progress, startNewDocument,
                               DialogServices::standard());
}

bool runImportSystemFont(QWidget* parent, Font& font, SettingsStore& settings,
                         ProgressSink& progress, const std::function<bool()>& startNewDocument,
                         const DialogServices& services) {
    // The chooser starts from the installed font the characters were rendered from. A font made
    // from no installed font (its description names no installed family: made from scratch,
    // imported from a file) opens it at the family, style and size chosen last.
    SystemFontDialog dialog(font.hasSourceFont ? &font.sourceFont : nullptr, parent, services);
    const bool rendered =
        font.hasSourceFont &&
        (font.fromSystemFont || dialog.listsFamily(qtText(font.sourceFont.faceName)));
    if (!rendered) {
        if (auto last = lastChooserChoice(settings)) {
            dialog.startAt(qtText(last->family), qtText(last->style), last->pointTenths);
        }
    }
    if (services.runDialog(dialog) != QDialog::Accepted) {
        return false;
    }
    saveChooserChoice(settings, ChooserChoice{utf8Text(dialog.familyName()),
                                              utf8Text(dialog.styleName()), dialog.pointTenths()});
    if (!startNewDocument()) {
        return false;
    }
    // The height is the em height of the whole points chosen: 12 points give -16.
    const LogFont chosen = dialog.logFont();
    WaitCursor wait;
    font.setBitsPerPixel(1);
    font.setEncoding(kEncodingUnicode);
    rasteriseSystemFont(font, chosen, DbcsTables::program(), progress, dialog.pitchRule());
    return true;
}

bool editFontInformation(QWidget* parent, Font& font, const DialogServices& services,
                         bool& accepted) {
    FontInfoDialog dialog(openFontInfo(font), parent, services);
    if (services.showHelp) {
        QObject::connect(&dialog, &FontInfoDialog::helpRequested, &dialog, services.showHelp);
    }
    accepted = services.runDialog(dialog) == QDialog::Accepted;
    if (!accepted) {
        return false;
    }
    return applyFontInfo(font, dialog.fields(), dialog.makeVariablePitch());
}

bool runFontInformation(QWidget* parent, Font& font) {
    return runFontInformation(parent, font, DialogServices::standard());
}

bool runFontInformation(QWidget* parent, Font& font, const DialogServices& services) {
    bool accepted = false;
    return editFontInformation(parent, font, services, accepted);
}

}  // namespace typeloom::ui
