#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "model/font_history.h"

class QWidget;

namespace typeloom {
class Font;
class ProgressSink;
}  // namespace typeloom

namespace typeloom::app {

// The document: owns no data of its own. It serialises the application's one font record
// into project files and carries the path, the title and the modified flag.
class FontDocument : public QObject {
    Q_OBJECT

  public:
    FontDocument(Font& font, ProgressSink& progress, QObject* parent = nullptr);

    const QString& pathName() const { return m_path; }
    // The title shown before " - Typeloom Studio 3.5": the file name, or "Untitled".
    QString title() const;
    bool isModified() const { return m_modified; }
    // Marks a change the undo history does not hold (font information, ...): the document
    // stays modified whatever the history walks to. false: not modified.
    void setModifiedFlag(bool modified = true);
    // An edit of the glyph on screen, which the history records when it is finished.
    void noteEdit();
    // The modified flag after a step was recorded, undone or redone: modified unless the
    // history stands at the state last saved.
    void followHistory();

    // The undo history of the font: cleared by New and Open, marked at every save.
    FontHistory& history() { return m_history; }
    const FontHistory& history() const { return m_history; }

    // Called before the font is serialised, so a save holds the glyph on screen.
    void setStoreEditedGlyph(std::function<void()> store) { m_storeEditedGlyph = std::move(store); }
    // Where message boxes and file dialogs are parented.
    void setDialogParent(QWidget* parent) { m_dialogParent = parent; }

    // A new empty document: no path, not modified (the font is left to the caller). The steps
    // of the document it replaces are handed back, for restoreDocument.
    FontHistory newDocument();
    // Takes back a new document whose font never came (a failed import): the path, the
    // modified flag and, when given, the steps of the document it replaced.
    void restoreDocument(const QString& path, bool modified, FontHistory* history = nullptr);
    // Opens a project into the font. Shows the message of a failure and returns false; the
    // open font is then unchanged. `closeRequested` is set when the file's edition asks the
    // main window to close.
    bool openDocument(const QString& path, bool* closeRequested = nullptr);
    // Writes the version 3 layout to `path` and, when `rename` is set, takes the path as the
    // document's own. Shows the file error and returns false on failure.
    bool saveDocument(const QString& path, bool rename = true);
    // Writes the version 2.0 layout; path, title and modified flag stay as they are.
    bool saveDocumentVer20(const QString& path);

    // Save: to the document's path, or through Save As when it has none.
    bool doFileSave();
    // Save As: the file dialog and the save.
    bool doFileSaveAs();
    // Whether the last successful save took its path as the document's own (false after a
    // version 2.0 copy).
    bool lastSaveRenamed() const { return m_lastSaveRenamed; }
    // Asks to save a modified document ("Save changes to ...?"): Yes saves, No discards,
    // Cancel returns false.
    bool saveModified();

    // The file dialog of Save As, replaceable by tests: returns the chosen path (empty when
    // cancelled) and whether the "Ver2.0" filter was chosen.
    struct SaveAsChoice {
        QString path;
        bool version20 = false;
    };
    std::function<SaveAsChoice(const QString& suggested, bool offerVersion20)> saveAsDialog;
    // The save prompt, replaceable by tests: QMessageBox::Yes, No or Cancel.
    std::function<int(const QString& text)> savePrompt;

  Q_SIGNALS:
    void titleChanged();
    void modifiedChanged(bool modified);

  private:
    void showError(const QString& text) const;

    Font& m_font;
    ProgressSink& m_progress;
    QString m_path;
    bool m_modified = false;
    bool m_lastSaveRenamed = false;
    std::function<void()> m_storeEditedGlyph;
    QWidget* m_dialogParent = nullptr;
    FontHistory m_history;
};

}  // namespace typeloom::app
