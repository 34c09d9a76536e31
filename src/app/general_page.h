#pragma once

#include <QString>
#include <functional>

#include "common/ui/option_page.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace typeloom::app {

// The preferences page "General": where the bitmap export of all characters puts
// its files ("AlwaysAsk", "BmpFolder"), "AutoSaveChar" and "AutoOpen".
//
// Loading (when the page is first shown) takes the stored folder when it exists, otherwise
// "TLM_bitmaps" in the user's documents folder, otherwise "TLM_bitmaps" beside the program,
// each when it exists or can be made; with none of them the folder is empty and the export
// asks each time. apply() writes each flag only when it differs from the stored value, and
// the folder only when it exists. A page that was never shown applies nothing.
//
// Object names: alwaysAskRadio, saveInRadio, folderEdit, browseButton, autoSaveCheck,
// autoOpenCheck.
class GeneralPage : public ui::OptionPage {
    Q_OBJECT

  public:
    // The folder chooser: the chosen folder, or an empty string when cancelled.
    using BrowseFunction =
        std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
    // A warning with the exclamation icon.
    using WarnFunction = std::function<void(QWidget* parent, const QString& text)>;

    explicit GeneralPage(SettingsStore& settings, QWidget* parent = nullptr);

    // The folders "TLM_bitmaps" is made in (defaults: the user's documents folder and the
    // program's folder); set before the page is loaded.
    void setDefaultFolderBases(const QString& documents, const QString& programFolder);
    void setBrowseFunction(BrowseFunction browse) { m_browse = std::move(browse); }
    void setWarnFunction(WarnFunction warn) { m_warn = std::move(warn); }

    bool autoSave() const;
    bool autoOpen() const;
    bool alwaysAsk() const;
    QString folder() const;

  protected:
    void loadValues() override;
    void applyValues() override;

  private:
    void browse();
    QString defaultFolder() const;

    QString m_documents;
    QString m_programFolder;
    BrowseFunction m_browse;
    WarnFunction m_warn;
    QRadioButton* m_alwaysAsk;
    QRadioButton* m_saveIn;
    QLineEdit* m_folder;
    QCheckBox* m_autoSave;
    QCheckBox* m_autoOpen;
};

}  // namespace typeloom::app
