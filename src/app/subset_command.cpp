#include "app/subset_command.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/main_window.h"
#include "app/studio_app.h"
#include "coverage/font_coverage.h"
#include "coverage/text_sources.h"
#include "model/font.h"

namespace typeloom::app {

SubsetOutcome keepOnlyCharactersUsedIn(Font& font, const QStringList& files) {
    SubsetOutcome outcome;
    outcome.before = font.count();
    std::vector<char32_t> used;
    try {
        for (const QString& file : files) {
            const std::vector<char32_t> chars = coverage::charactersOfFile(file.toStdString());
            used.insert(used.end(), chars.begin(), chars.end());
        }
    } catch (const coverage::TextError& e) {
        outcome.message = QString::fromStdString(e.what());
        return outcome;
    }
    outcome.kept = coverage::keepOnly(font, used);
    outcome.ok = outcome.kept > 0;
    if (!outcome.ok) {
        outcome.message = QStringLiteral("The texts use none of the font's characters.");
    }
    return outcome;
}

void runKeepOnlyCharactersUsedIn(StudioApp& app, MainWindow& frame) {
    const QStringList files = QFileDialog::getOpenFileNames(
        &frame, QStringLiteral("Keep Only Characters Used In"), QString(),
        QStringLiteral("Texts (*.c *.h *.cpp *.hpp *.po *.pot *.json *.txt);;All Files (*)"));
    if (files.isEmpty()) {
        return;
    }
    frame.storeEditedGlyph();
    // Worked out on a copy first, so that the question can say what would stay.
    Font trial = app.font();
    const SubsetOutcome preview = keepOnlyCharactersUsedIn(trial, files);
    if (!preview.ok) {
        QMessageBox::critical(&frame, QStringLiteral("Typeloom Studio"), preview.message);
        return;
    }
    const QString question =
        QStringLiteral(
            "Keep only the %1 characters the texts use, of %2?\n\nThe other %3 "
            "characters leave the font.")
            .arg(preview.kept)
            .arg(preview.before)
            .arg(preview.before - preview.kept);
    if (QMessageBox::question(&frame, QStringLiteral("Typeloom Studio"), question) !=
        QMessageBox::Yes) {
        return;
    }
    // One step of the history, so the characters that left can be brought back.
    frame.runFontWideDialog("Keep Only Characters Used In",
                            [&trial](Font& font, const std::function<void()>& begin) {
                                begin();
                                font = std::move(trial);
                                return true;
                            });
    frame.selectInitialCharacter();
}

}  // namespace typeloom::app
