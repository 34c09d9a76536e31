#include "app/tessera_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>

#include "app/main_frame.h"
#include "app/progress_status_bar.h"
#include "app/tessera_doc.h"
#include "model/font_settings.h"

namespace typeloom::app {

namespace {
CTesseraApp* g_instance = nullptr;
}

void CTesseraApp::FrameProgress::show(bool visible) {
    if (target != nullptr)
        target->show(visible);
}
void CTesseraApp::FrameProgress::setRange(int lower, int upper) {
    if (target != nullptr)
        target->setRange(lower, upper);
}
void CTesseraApp::FrameProgress::setStep(int step) {
    if (target != nullptr)
        target->setStep(step);
}
void CTesseraApp::FrameProgress::stepIt() {
    if (target != nullptr)
        target->stepIt();
}
void CTesseraApp::FrameProgress::setText(const std::string& text) {
    if (target != nullptr)
        target->setText(text);
}

CTesseraApp::CTesseraApp(std::unique_ptr<QSettings> settings, QObject* parent)
    : QObject(parent),
      m_settings(std::move(settings)),
      m_store(std::make_unique<QtSettingsStore>(*m_settings)),
      m_document(std::make_unique<CTesseraDoc>(m_font, m_progress)) {
    g_instance = this;
}

CTesseraApp::~CTesseraApp() {
    m_frame.reset();
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

CTesseraApp* CTesseraApp::instance() {
    return g_instance;
}

bool CTesseraApp::initInstance(const QStringList& arguments) {
    return initInstance(arguments, StartOptions{});
}

bool CTesseraApp::initInstance(const QStringList& arguments, const StartOptions& options) {
    // Settings: the recent-file list, then the font's data format and encoding.
    m_recentFiles.load(*m_settings);
    loadFontSettings(m_font, *m_store);

    m_frame = std::make_unique<CMainFrame>(*this);
    m_progress.target = &m_frame->progressBar();
    m_document->setDialogParent(m_frame.get());
    connect(m_document.get(), &CTesseraDoc::titleChanged, m_frame.get(),
            &CMainFrame::updateFrameTitle);

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

    const bool restored = m_frame->restoreWindowPlacement();
    if (options.show) {
        m_frame->show();
    }
    (void)restored;

    if (options.autoOpen) {
        // Auto-open is wired by the frame's commands.
    }
    return true;
}

bool CTesseraApp::startNewDocument() {
    if (!m_document->saveModified()) {
        return false;
    }
    m_document->newDocument();
    return true;
}

bool CTesseraApp::openDocumentFile(const QString& path) {
    if (!m_document->saveModified()) {
        return false;
    }
    bool closeRequested = false;
    if (!m_document->openDocument(path, &closeRequested)) {
        if (closeRequested && m_frame) {
            m_frame->close();
        }
        return false;
    }
    addToRecentFiles(m_document->pathName());
    if (m_frame) {
        m_frame->updateFrameTitle();
        m_frame->selectInitialCharacter();
    }
    return true;
}

void CTesseraApp::addToRecentFiles(const QString& path) {
    m_recentFiles.add(path);
    saveRecentFiles();
}

void CTesseraApp::saveRecentFiles() {
    m_recentFiles.save(*m_settings);
}

}  // namespace typeloom::app
