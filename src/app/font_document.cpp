#include "app/font_document.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "common/file_error.h"
#include "model/font.h"
#include "model/project_file.h"

namespace typeloom::app {

namespace {

const QString kAppName = QStringLiteral("Typeloom Studio");
const QString kProjectFilter = QStringLiteral("Typeloom Files (*.tlf)");
const QString kVer30Filter = QStringLiteral("Typeloom Ver3.0 Files (*.tlf)");
const QString kVer20Filter = QStringLiteral("Typeloom Ver2.0 Files (*.tlf)");

// A chosen name without an extension gets ".tlf", as the file dialog's default extension.
QString withProjectExtension(QString path) {
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".tlf");
    }
    return path;
}

}  // namespace

FontDocument::FontDocument(Font& font, ProgressSink& progress, QObject* parent)
    : QObject(parent), m_font(font), m_progress(progress) {
    saveAsDialog = [this](const QString& suggested, bool offerVersion20) {
        SaveAsChoice choice;
        QString selected;
        if (offerVersion20) {
            // No file name is proposed with the two-layout dialog.
            choice.path = QFileDialog::getSaveFileName(
                m_dialogParent, QStringLiteral("Save As"), QFileInfo(suggested).absolutePath(),
                kVer30Filter + QStringLiteral(";;") + kVer20Filter, &selected);
            choice.version20 = selected == kVer20Filter;
        } else {
            choice.path = QFileDialog::getSaveFileName(m_dialogParent, QStringLiteral("Save As"),
                                                       suggested, kProjectFilter, &selected);
        }
        choice.path = withProjectExtension(choice.path);
        return choice;
    };
    savePrompt = [this](const QString& text) {
        return QMessageBox::question(m_dialogParent, kAppName, text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                     QMessageBox::Yes);
    };
}

QString FontDocument::title() const {
    if (m_path.isEmpty()) {
        return QStringLiteral("Untitled");
    }
    return QFileInfo(m_path).fileName();
}

void FontDocument::setModifiedFlag(bool modified) {
    if (modified) {
        m_history.markChangedOutside();
    } else {
        m_history.markSaved();
    }
    if (m_modified != modified) {
        m_modified = modified;
        Q_EMIT modifiedChanged(modified);
    }
}

void FontDocument::noteEdit() {
    if (!m_modified) {
        m_modified = true;
        Q_EMIT modifiedChanged(true);
    }
}

void FontDocument::followHistory() {
    const bool modified = !m_history.isAtSavedState();
    if (m_modified != modified) {
        m_modified = modified;
        Q_EMIT modifiedChanged(modified);
    }
}

FontHistory FontDocument::newDocument() {
    m_path.clear();
    FontHistory replaced(m_history.limit());
    std::swap(replaced, m_history);
    setModifiedFlag(false);
    Q_EMIT titleChanged();
    return replaced;
}

void FontDocument::restoreDocument(const QString& path, bool modified, FontHistory* history) {
    m_path = path;
    if (history != nullptr) {
        // The font on screen is the one these steps were recorded on: they apply again, and
        // the history knows again where the document was saved.
        m_history = std::move(*history);
        if (m_modified != modified) {
            m_modified = modified;
            Q_EMIT modifiedChanged(modified);
        }
    } else {
        // Without its steps, an unsaved font must stay modified whatever is done next.
        setModifiedFlag(modified);
    }
    Q_EMIT titleChanged();
}

bool FontDocument::openDocument(const QString& path, bool* closeRequested) {
    if (closeRequested != nullptr) {
        *closeRequested = false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ProjectLoadResult result = loadProject(path.toStdString(), m_font, m_progress);
    QGuiApplication::restoreOverrideCursor();
    if (!result.ok()) {
        showError(QString::fromStdString(result.message));
        if (closeRequested != nullptr) {
            *closeRequested = result.closeMainWindow;
        }
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_history.clear();
    setModifiedFlag(false);
    Q_EMIT titleChanged();
    return true;
}

bool FontDocument::saveDocument(const QString& path, bool rename) {
    if (m_storeEditedGlyph) {
        m_storeEditedGlyph();
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        saveProject(path.toStdString(), m_font);
    } catch (const FileError& error) {
        QGuiApplication::restoreOverrideCursor();
        showError(QString::fromStdString(error.what()));
        return false;
    }
    QGuiApplication::restoreOverrideCursor();
    if (rename) {
        m_path = QFileInfo(path).absoluteFilePath();
        Q_EMIT titleChanged();
    }
    setModifiedFlag(false);
    return true;
}

bool FontDocument::saveDocumentVer20(const QString& path) {
    if (m_storeEditedGlyph) {
        m_storeEditedGlyph();
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        saveProjectVer20(path.toStdString(), m_font);
    } catch (const FileError& error) {
        QGuiApplication::restoreOverrideCursor();
        showError(QString::fromStdString(error.what()));
        return false;
    }
    QGuiApplication::restoreOverrideCursor();
    return true;
}

bool FontDocument::doFileSave() {
    if (m_path.isEmpty() || !isProjectFileName(m_path.toStdString())) {
        return doFileSaveAs();
    }
    return saveDocument(m_path);
}

bool FontDocument::doFileSaveAs() {
    const bool offerVersion20 = m_font.encoding == 0 && m_font.bitsPerPixel == 1;
    QString suggested = m_path;
    if (suggested.isEmpty()) {
        suggested = QString::fromStdString(suggestedProjectName(m_font)) + QStringLiteral(".tlf");
    }
    SaveAsChoice choice = saveAsDialog(suggested, offerVersion20);
    if (choice.path.isEmpty()) {
        return false;
    }
    if (choice.version20) {
        m_lastSaveRenamed = false;
        return saveDocumentVer20(choice.path);
    }
    m_lastSaveRenamed = true;
    return saveDocument(choice.path);
}

bool FontDocument::saveModified() {
    if (!m_modified) {
        return true;
    }
    const QString text = QStringLiteral("Save changes to %1?").arg(title());
    switch (savePrompt(text)) {
        case QMessageBox::Yes:
            return doFileSave();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void FontDocument::showError(const QString& text) const {
    QMessageBox::critical(m_dialogParent, kAppName, text);
}

}  // namespace typeloom::app
