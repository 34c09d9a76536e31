#include "app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/progress_status_bar.h"
#include "app/settings_keys.h"
#include "app/tessera_app.h"
#include "app/tessera_doc.h"
#include "app/window_placement.h"
#include "charset/encodings.h"
#include "model/font_settings.h"

namespace typeloom::app {

namespace {

const QString kTitleSuffix = QStringLiteral("Typeloom Studio 3.5");

// A plain framed pane for a panel that has no content yet.
QWidget* plainPane(const QString& name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

}  // namespace

CMainFrame::CMainFrame(CTesseraApp& app, QWidget* parent) : QMainWindow(parent), m_app(app) {
    setObjectName(QStringLiteral("CMainFrame"));
    m_statusBar = new ProgressStatusBar(this);
    setStatusBar(m_statusBar);
    createPanes();
    applySplitterPos(
        m_app.settings().integer(kSettingsSection, kSplitterPosKey, kSplitterPosDefault));
    updateStatusPanes();
    updateFrameTitle();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::createPanes() {
    m_mainSplitter = new QSplitter(Qt::Horizontal, this);
    m_mainSplitter->setObjectName(QStringLiteral("mainSplitter"));
    m_mainSplitter->setChildrenCollapsible(false);
    m_leftSplitter = new QSplitter(Qt::Vertical, m_mainSplitter);
    m_leftSplitter->setObjectName(QStringLiteral("leftSplitter"));
    m_leftSplitter->setChildrenCollapsible(false);
    m_editorView = plainPane(QStringLiteral("CTesseraView"), m_leftSplitter);
    m_dataView = plainPane(QStringLiteral("CDataView"), m_leftSplitter);
    m_rightView = plainPane(QStringLiteral("CRightView"), m_mainSplitter);
    m_leftSplitter->addWidget(m_editorView);
    m_leftSplitter->addWidget(m_dataView);
    m_mainSplitter->addWidget(m_leftSplitter);
    m_mainSplitter->addWidget(m_rightView);
    m_mainSplitter->setStretchFactor(0, 0);
    m_mainSplitter->setStretchFactor(1, 1);
    m_leftSplitter->setStretchFactor(0, 0);
    m_leftSplitter->setStretchFactor(1, 1);
    setCentralWidget(m_mainSplitter);
}

void CMainFrame::applySplitterPos(long long splitterPos) {
    const SplitterSizes sizes = splitterSizesFrom(splitterPos);
    m_mainSplitter->setSizes({sizes.columnWidth, std::max(1, width() - sizes.columnWidth)});
    m_leftSplitter->setSizes({sizes.rowHeight, std::max(1, height() - sizes.rowHeight)});
}

void CMainFrame::storeEditedGlyph() {}
void CMainFrame::reloadEditedGlyph() {}
void CMainFrame::refreshDataPanel() {}
void CMainFrame::refreshCharacterList() {}
void CMainFrame::selectInitialCharacter() {
    updateStatusPanes();
}

void CMainFrame::updateFrameTitle() {
    setWindowTitle(m_app.document().title() + QStringLiteral(" - ") + kTitleSuffix);
}

void CMainFrame::updateStatusPanes() {
    const CFontInfo& font = m_app.font();
    m_statusBar->setPaneText(1, QStringLiteral(" Bpp: %1 ").arg(font.bitsPerPixel));
    const std::string_view encoding = encodingName(static_cast<int>(font.encoding));
    m_statusBar->setPaneText(
        2, QStringLiteral("Encoding: ") +
               QString::fromLatin1(encoding.data(), static_cast<qsizetype>(encoding.size())));
    if (font.fixedWidth != 0) {
        m_statusBar->setPaneText(3, QStringLiteral(" Monospaced font: (w:%1 * h:%2) ")
                                        .arg(font.fixedWidth)
                                        .arg(font.height));
    } else {
        m_statusBar->setPaneText(
            3, QStringLiteral(" Proportional font: (w:? * h:%1) ").arg(font.height));
    }
    m_statusBar->setPaneText(4, QStringLiteral(" Characters: %1 ").arg(font.count()));
}

bool CMainFrame::restoreWindowPlacement() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const std::string stored = m_app.settings().string(kSettingsSection, kWindowPosKey, "");
    if (auto rect = restoredWindowRect(QString::fromStdString(stored), work)) {
        setGeometry(*rect);
        return true;
    }
    setGeometry(defaultWindowRect(work));
    return false;
}

void CMainFrame::saveWindowPlacement() {
    QtSettingsStore& settings = m_app.settings();
    if (isMinimized() || isMaximized() || isFullScreen()) {
        settings.remove(kSettingsSection, kWindowPosKey);
    } else {
        QScreen* screen = this->screen();
        const QRect work = screen != nullptr ? screen->availableGeometry() : QRect();
        settings.writeString(kSettingsSection, kWindowPosKey,
                             formatWindowPos(frameGeometry(), work).toStdString());
    }
    const QList<int> columns = m_mainSplitter->sizes();
    const QList<int> rows = m_leftSplitter->sizes();
    settings.writeInteger(kSettingsSection, kSplitterPosKey,
                          splitterPosOf(columns.value(0), rows.value(0)));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    saveWindowPlacement();
    if (!m_app.document().saveModified()) {
        event->ignore();
        return;
    }
    saveFontSettings(m_app.font(), m_app.settings());
    event->accept();
}

}  // namespace typeloom::app
