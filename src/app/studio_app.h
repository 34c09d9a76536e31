#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/qt_settings_store.h"
#include "app/recent_files.h"
#include "common/progress_sink.h"
#include "model/font.h"

class QSettings;

namespace typeloom::app {

class MainWindow;
class FontDocument;
class RecoveryManager;

// The application object: owns the one font record for the whole run, the settings, the
// recent-file list, the document and the main window.
class StudioApp : public QObject {
    Q_OBJECT

  public:
    explicit StudioApp(std::unique_ptr<QSettings> settings, QObject* parent = nullptr);
    ~StudioApp() override;

    // The one application object of the process (null before it exists).
    static StudioApp* instance();

    Font& font() { return m_font; }
    QtSettingsStore& settings() { return *m_store; }
    QSettings& qsettings() { return *m_settings; }
    FontDocument& document() { return *m_document; }
    RecentFileList& recentFiles() { return m_recentFiles; }
    MainWindow* mainWindow() { return m_frame.get(); }
    RecoveryManager& recovery() { return *m_recovery; }

    struct StartOptions {
        bool show = true;      // show the main window
        bool autoOpen = true;  // run auto-open (or start the system-font import)
        bool installKeyFilter = true;
        // Where recovery copies are kept (empty: defaultRecoveryFolder()).
        QString recoveryFolder;
    };
    // Start-up after the code tables were loaded: settings, the font's defaults, the main
    // window, the command-line project, the window placement, auto-open. False when the
    // command line names a project that cannot be opened.
    bool initInstance(const QStringList& arguments);
    bool initInstance(const QStringList& arguments, const StartOptions& options);

    // Before a font is replaced: asks to save a modified project. False (and nothing
    // changed) when the user cancels; otherwise the document becomes a new unmodified one.
    bool startNewDocument();
    // Opens a project as the document (File Open, recent files, command line, drop): asks to
    // save the current one first. False when cancelled or the file could not be opened.
    bool openDocumentFile(const QString& path);
    // "Import Font Resource...": with an empty path the open-file dialog asks for the file;
    // with a path (a recent entry) that file is imported. The save prompt comes first; a
    // failed import keeps the document's name and state, and a recent entry that cannot be
    // imported leaves the list. The imported file joins the recent list.
    bool importFontFile(const QString& path = {});
    // A recent-file entry: a font file of another tool (.bdf, .fnt, .fon) is imported again,
    // anything else opened as a project.
    bool openRecentFile(const QString& path);
    // Keeps the recent-file list in the settings file after each change.
    void addToRecentFiles(const QString& path);
    void saveRecentFiles();
    void removeFromRecentFiles(const QString& path);
    // Start-up's last step: opens the most recent project (when "AutoOpen" is on), or starts
    // the system-font import when no document is shown.
    void autoOpen();
    void installKeyFilter();

  private:
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QtSettingsStore> m_store;
    Font m_font;
    RecentFileList m_recentFiles;
    // Long operations report to the frame's status bar once the frame exists.
    class FrameProgress : public ProgressSink {
      public:
        ProgressSink* target = nullptr;
        void show(bool visible) override;
        void setRange(int lower, int upper) override;
        void setStep(int step) override;
        void stepIt() override;
        void setText(const std::string& text) override;
    };
    FrameProgress m_progress;
    std::unique_ptr<FontDocument> m_document;
    std::unique_ptr<MainWindow> m_frame;
    std::unique_ptr<RecoveryManager> m_recovery;
    std::unique_ptr<QObject> m_keyFilter;
};

}  // namespace typeloom::app
