#include "app/studio_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <cstdint>

#include "app/command_wiring.h"
#include "app/commands.h"
#include "app/font_document.h"
#include "app/key_filter.h"
#include "app/main_window.h"
#include "app/progress_status_bar.h"
#include "app/recovery.h"
#include "app/settings_keys.h"
#include "interchange/ui/interchange_commands.h"
#include "model/font_settings.h"

namespace typeloom::app {

namespace {
StudioApp* g_instance = nullptr;
}

void StudioApp::FrameProgress::show(bool visible) {
    if (target != nullptr)
        target->show(visible);
}
void StudioApp::FrameProgress::setRange(int lower, int upper) {
    if (target != nullptr)
        target->setRange(lower, upper);
}
void StudioApp::FrameProgress::setStep(int step) {
    if (target != nullptr)
        target->setStep(step);
}
void StudioApp::FrameProgress::stepIt() {
    if (target != nullptr)
        target->stepIt();
}
void StudioApp::FrameProgress::setText(const std::string& text) {
    if (target != nullptr)
        target->setText(text);
}

StudioApp::StudioApp(std::unique_ptr<QSettings> settings, QObject* parent)
    : QObject(parent),
      m_settings(std::move(settings)),
      m_store(std::make_unique<QtSettingsStore>(*m_settings)),
      m_document(std::make_unique<FontDocument>(m_font, m_progress)) {
    g_instance = this;
}

StudioApp::~StudioApp() {
    if (m_keyFilter) {
        qApp->removeEventFilter(m_keyFilter.get());
    }
    m_recovery.reset();
    m_frame.reset();
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

StudioApp* StudioApp::instance() {
    return g_instance;
}

bool StudioApp::initInstance(const QStringList& arguments) {
    return initInstance(arguments, StartOptions{});
}

bool StudioApp::initInstance(const QStringList& arguments, const StartOptions& options) {
    // Settings: the recent-file list, then the font's data format and encoding.
    m_recentFiles.load(*m_settings);
    loadFontSettings(m_font, *m_store);
    const std::int64_t historyMiB = std::clamp<std::int64_t>(
        m_store->integer(kSettingsSection, kHistoryMemoryKey, kHistoryMemoryDefault), 1,
        std::int64_t{1} << 20);
    m_document->history().setLimit(static_cast<std::size_t>(historyMiB) * 1024 * 1024);

    m_frame = std::make_unique<MainWindow>(*this);
    m_progress.target = &m_frame->progressBar();
    m_document->setDialogParent(m_frame.get());
    connect(m_document.get(), &FontDocument::titleChanged, m_frame.get(),
            &MainWindow::updateFrameTitle);
    connect(m_document.get(), &FontDocument::modifiedChanged, m_frame.get(),
            &QWidget::setWindowModified);
    m_document->setStoreEditedGlyph([this] { m_frame->storeEditedGlyph(); });
    connectCommands(*this, *m_frame);
    m_recovery = std::make_unique<RecoveryManager>(
        *this, options.recoveryFolder.isEmpty() ? defaultRecoveryFolder() : options.recoveryFolder);
    if (options.installKeyFilter) {
        installKeyFilter();
    }

    // A project named on the command line is opened; without one the document is new.
    m_document->newDocument();
    if (!arguments.isEmpty()) {
        const QString path = arguments.first();
        if (!m_document->openDocument(path)) {
            return false;
        }
        addToRecentFiles(m_document->pathName());
        m_frame->selectInitialCharacter();
    }

    m_frame->restoreWindowPlacement();
    if (options.show) {
        m_frame->show();
    }

    if (options.autoOpen) {
        // Once the window is up: the copies a crashed run left, else the most recent project,
        // or the system-font import when there is no document to show.
        QTimer::singleShot(0, this, [this] {
            if (!m_recovery->offerAtStart()) {
                autoOpen();
            }
        });
    }
    return true;
}

void StudioApp::autoOpen() {
    if (m_settings == nullptr || m_frame == nullptr) {
        return;
    }
    if (m_store->integer(kSettingsSection, kAutoOpenKey, kAutoOpenDefault) != 0) {
        const QString recent = m_recentFiles.takeMostRecentProject();
        saveRecentFiles();
        m_frame->rebuildRecentFilesMenu();
        if (!recent.isEmpty()) {
            openDocumentFile(recent);
            return;
        }
    }
    if (m_document->pathName().isEmpty()) {
        m_frame->executeCommand(CommandId::ImportSystemFont);
    }
}

void StudioApp::installKeyFilter() {
    KeyFilter::Hooks hooks;
    hooks.bitsPerPixel = [this] { return static_cast<int>(m_font.bitsPerPixel); };
    hooks.command = [this](CommandId id) { m_frame->executeCommand(id); };
    hooks.help = [this] { m_frame->executeCommand(CommandId::HelpContents); };
    hooks.swatch = [this](bool next) { m_frame->stepColorSwatch(next); };
    hooks.isMainWindowPart = [this](QObject* object) {
        auto* widget = qobject_cast<QWidget*>(object);
        return widget != nullptr && widget->window() == m_frame.get();
    };
    m_keyFilter = std::make_unique<KeyFilter>(std::move(hooks));
    qApp->installEventFilter(m_keyFilter.get());
}

bool StudioApp::startNewDocument() {
    if (!m_document->saveModified()) {
        return false;
    }
    m_document->newDocument();
    return true;
}

bool StudioApp::openDocumentFile(const QString& path) {
    if (!m_document->saveModified()) {
        return false;
    }
    bool closeRequested = false;
    if (!m_document->openDocument(path, &closeRequested)) {
        // A recent entry that cannot be opened (moved, deleted, damaged) leaves the list.
        removeFromRecentFiles(path);
        if (closeRequested && m_frame) {
            m_frame->close();
        }
        return false;
    }
    addToRecentFiles(m_document->pathName());
    if (m_frame) {
        m_frame->rebuildRecentFilesMenu();
        m_frame->updateFrameTitle();
        m_frame->selectInitialCharacter();
    }
    return true;
}

bool StudioApp::importFontFile(const QString& path) {
    // The save prompt comes before the file is read; when the file then cannot be imported
    // the font on screen is still the old one, so the document takes back its name, its
    // unsaved state and its steps (as they are after the prompt, which may have saved it).
    QString oldPath;
    bool oldModified = false;
    FontHistory oldHistory;
    bool started = false;
    auto startNewForImport = [&] {
        if (!m_document->saveModified()) {
            return false;
        }
        oldPath = m_document->pathName();
        oldModified = m_document->isModified();
        oldHistory = m_document->newDocument();
        started = true;
        return true;
    };
    QString imported = path;
    const bool ok = path.isEmpty()
                        ? ui::runImportFontResource(m_frame.get(), m_font, *m_store,
                                                    startNewForImport, &imported)
                        : ui::importFontFile(m_frame.get(), m_font, path, startNewForImport);
    if (!ok) {
        if (started) {
            m_document->restoreDocument(oldPath, oldModified, &oldHistory);
            if (m_frame) {
                m_frame->updateCommandStates();
            }
            if (!path.isEmpty()) {
                removeFromRecentFiles(path);
            }
        }
        return false;
    }
    if (m_frame) {
        m_frame->selectInitialCharacter();
    }
    m_document->setModifiedFlag(true);
    if (m_frame) {
        m_frame->updateFrameTitle();
    }
    // Imported files join the recent list; auto-open passes over them later.
    if (!imported.isEmpty()) {
        addToRecentFiles(imported);
    }
    return true;
}

bool StudioApp::openRecentFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("bdf") || suffix == QStringLiteral("fnt") ||
        suffix == QStringLiteral("fon")) {
        return importFontFile(path);
    }
    return openDocumentFile(path);
}

void StudioApp::removeFromRecentFiles(const QString& path) {
    const qsizetype listed = m_recentFiles.entries().indexOf(path);
    if (listed < 0) {
        return;
    }
    m_recentFiles.remove(static_cast<int>(listed));
    saveRecentFiles();
    if (m_frame) {
        m_frame->rebuildRecentFilesMenu();
    }
}

void StudioApp::addToRecentFiles(const QString& path) {
    m_recentFiles.add(path);
    saveRecentFiles();
    if (m_frame) {
        m_frame->rebuildRecentFilesMenu();
    }
}

void StudioApp::saveRecentFiles() {
    m_recentFiles.save(*m_settings);
}

}  // namespace typeloom::app
