#include "app/help.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QWindow>
#include <algorithm>

namespace typeloom::app {

namespace {

const QString kAppName = QStringLiteral("Typeloom Studio");

// The contents list stores each entry's page file name under this role.
constexpr int kTopicFileRole = Qt::UserRole;

bool folderExists(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

}  // namespace

const std::vector<HelpTopic>& helpTopics() {
    using namespace help_topic;
    auto topic = [](const char* file, const char* title) {
        return HelpTopic{QString::fromLatin1(file), QString::fromLatin1(title)};
    };
    static const std::vector<HelpTopic> topics = {
        topic(kHelpContentsPage, "Contents"),
        topic(kQuickGuide, "Quick User Guide"),
        topic(kNewFont, "New Font From Scratch"),
        topic(kCharactersTable, "Characters Table"),
        topic(kChangeHeight, "Change Font Height"),
        topic(kChangeWidth, "Change Font Width"),
        topic(kAppendCharacters, "Change Font Ascent"),
        topic(kResizeFont, "Resize Font"),
        topic(kFontInfo, "Font Information"),
        topic(kExport, "Export and Data Format"),
        topic(kDataPanel, "Character Data and Data Format"),
        topic(kMultiCopyPaste, "Multi Copy and Multi Paste"),
        topic(kPreferences, "Preferences"),
    };
    return topics;
}

QString helpFolderFrom(const QString& environmentValue, const QString& executableFolder,
                       const QString& installFolder, const QString& sourceFolder) {
    // An explicit folder wins even when it does not exist: the user asked for it, and the
    // missing-help message then names it.
    if (!environmentValue.isEmpty()) {
        return QDir::cleanPath(environmentValue);
    }
    if (!executableFolder.isEmpty()) {
        const QString besideProgram =
            QDir::cleanPath(executableFolder + QStringLiteral("/../share/typeloom-studio/help"));
        if (folderExists(besideProgram)) {
            return besideProgram;
        }
    }
    if (folderExists(installFolder)) {
        return QDir::cleanPath(installFolder);
    }
    return QDir::cleanPath(sourceFolder);
}

QString helpFolder() {
    return helpFolderFrom(
        qEnvironmentVariable("TYPELOOM_HELP"), QCoreApplication::applicationDirPath(),
        QStringLiteral(TYPELOOM_HELP_INSTALL_DIR), QStringLiteral(TYPELOOM_HELP_SOURCE_DIR));
}

QString helpTopicPath(const QString& folder, const QString& topic) {
    // Only the file name counts: "../x.htm" or "/etc/x.htm" stay inside the help folder.
    QString file = topic;
    file.replace(QLatin1Char('\\'), QLatin1Char('/'));
    file = file.section(QLatin1Char('/'), -1);
    if (file.isEmpty() || file == QLatin1String(".") || file == QLatin1String("..")) {
        file = QString::fromLatin1(kHelpContentsPage);
    }
    return QDir(folder).filePath(file);
}

QRect helpPlacementBeside(const QRect& dialog, const QSize& size, const QRect& screen) {
    const int roomRight = screen.right() - dialog.right();
    const int roomLeft = dialog.left() - screen.left();
    int width = size.width();
    bool right = true;
    if (roomRight >= width) {
        right = true;
    } else if (roomLeft >= width) {
        right = false;
    } else {
        right = roomRight >= roomLeft;
        width = std::min(width, std::max(right ? roomRight : roomLeft, kMinHelpWidth));
    }
    int x = right ? std::min(dialog.right() + 1, screen.right() + 1 - width)
                  : std::max(dialog.left() - width, screen.left());
    x = std::max(x, screen.left());
    const int y =
        std::max(screen.top(), std::min(dialog.top(), screen.bottom() + 1 - size.height()));
    return {x, y, width, size.height()};
}

QString helpMissingMessage(const QString& folder) {
    return QStringLiteral(
               "The help pages of Typeloom Studio could not be found.\n\n"
               "They are expected in the folder:\n%1\n\n"
               "Reinstall the program, or set the environment variable TYPELOOM_HELP to the "
               "folder that holds them.")
        .arg(QDir::toNativeSeparators(folder));
}

// --- HelpWindow

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Typeloom Studio Help"));
    setObjectName(QStringLiteral("helpWindow"));

    m_contents = new QListWidget;
    m_contents->setObjectName(QStringLiteral("helpContents"));
    for (const HelpTopic& topic : helpTopics()) {
        auto* item = new QListWidgetItem(topic.title, m_contents);
        item->setData(kTopicFileRole, topic.file);
    }

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Web and e-mail links of the pages go to the desktop's browser and mail program.
    m_browser->setOpenExternalLinks(true);

    auto* splitter = new QSplitter;
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 560});
    setCentralWidget(splitter);

    auto* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("helpNavigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                   QStringLiteral("&Back"), m_browser, &QTextBrowser::backward);
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"),
                       m_browser, &QTextBrowser::forward);
    QAction* home =
        bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Contents"),
                       this, [this] { openTopic(m_folder, {}); });
    back->setObjectName(QStringLiteral("helpBack"));
    forward->setObjectName(QStringLiteral("helpForward"));
    home->setObjectName(QStringLiteral("helpHome"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    // Choosing an entry (by click or arrow keys) shows its page; Enter or a double click shows
    // it again from its top when the user moved to a place inside it.
    connect(m_contents, &QListWidget::currentRowChanged, this, &HelpWindow::showContentsEntry);
    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showContentsEntry(m_contents->row(item)); });
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& source) {
        selectContentsEntryOf(source);
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Typeloom Studio Help")
                                       : title + QStringLiteral(" - Typeloom Studio Help"));
    });

    resize(800, 600);
}

void HelpWindow::openTopic(const QString& folder, const QString& topic) {
    m_folder = folder;
    m_browser->setSearchPaths({folder});
    m_browser->setSource(QUrl::fromLocalFile(helpTopicPath(folder, topic)));
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

QString HelpWindow::currentTopic() const {
    const QUrl source = m_browser->source();
    return source.isEmpty() ? QString() : QFileInfo(source.path()).fileName();
}

void HelpWindow::showContentsEntry(int row) {
    QListWidgetItem* item = m_contents->item(row);
    if (item == nullptr) {
        return;
    }
    const QString file = item->data(kTopicFileRole).toString();
    if (file != currentTopic() || m_browser->source().hasFragment()) {
        openTopic(m_folder, file);
    }
}

void HelpWindow::selectContentsEntryOf(const QUrl& source) {
    // The list follows the page on show, also after a link, Back or Forward; a page that is
    // not in the list leaves no entry selected.
    const QString file = QFileInfo(source.path()).fileName();
    const QSignalBlocker block(m_contents);
    for (int row = 0; row < m_contents->count(); ++row) {
        if (m_contents->item(row)->data(kTopicFileRole).toString() == file) {
            m_contents->setCurrentRow(row);
            return;
        }
    }
    m_contents->clearSelection();
    m_contents->setCurrentRow(-1);
}

// --- HelpService

HelpService::HelpService(Report report) : m_report(std::move(report)) {
    if (!m_report) {
        m_report = [](const QString& text) { QMessageBox::warning(nullptr, kAppName, text); };
    }
}

HelpService::~HelpService() {
    // The program-wide service ends after the application object; its window is left to the
    // end of the process then (deleting a widget without an application would crash).
    if (m_window && QCoreApplication::instance() != nullptr) {
        delete m_window.data();
    }
}

bool HelpService::show(const QString& folder, const QString& topic) {
    // An empty folder would name the pages relative to the working folder.
    if (folder.isEmpty() || !QFileInfo::exists(helpTopicPath(folder, {}))) {
        if (!m_missingReported) {
            m_missingReported = true;
            m_report(helpMissingMessage(folder));
        }
        return false;
    }
    // A topic without its page (a damaged installation) shows the contents page, from which
    // the user can still reach every page there is.
    const QString page = QFileInfo::exists(helpTopicPath(folder, topic)) ? topic : QString();
    if (!m_window) {
        m_window = new HelpWindow;
        // The help window never keeps the program running after the main window closed.
        m_window->setAttribute(Qt::WA_QuitOnClose, false);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp,
                         [window = m_window] { delete window.data(); });
    }
    m_window->openTopic(folder, page);
    // Help asked for from a modal dialog becomes a window of the dialog, which the dialog's
    // modality does not block; it is nobody's window again when the dialog ends.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != m_window && !m_window->isVisible()) {
        // A help window not on show yet goes beside the dialog rather than over it.
        const QScreen* screen = modal->screen();
        if (screen != nullptr) {
            // The frame's size and place, less the frame for the window's own.
            const QRect frame = m_window->frameGeometry();
            const QSize border = frame.size() - m_window->size();
            const QRect place = helpPlacementBeside(modal->window()->frameGeometry(), frame.size(),
                                                    screen->availableGeometry());
            m_window->resize(place.size() - border);
            m_window->move(place.topLeft());
        }
    }
    if (modal != nullptr && modal != m_window) {
        m_window->winId();  // the native window, whose owner is set below
        QWindow* handle = m_window->windowHandle();
        QWindow* owner = modal->window()->windowHandle();
        if (handle != nullptr && owner != nullptr && handle->transientParent() != owner) {
            handle->setTransientParent(owner);
            const QPointer<HelpWindow> window = m_window;
            auto release = [window, owner] {
                if (window && window->windowHandle() != nullptr &&
                    window->windowHandle()->transientParent() == owner) {
                    window->windowHandle()->setTransientParent(nullptr);
                }
            };
            if (auto* dialog = qobject_cast<QDialog*>(modal->window())) {
                QObject::connect(dialog, &QDialog::finished, m_window, release,
                                 Qt::SingleShotConnection);
            }
            QObject::connect(owner, &QObject::destroyed, m_window, release);
        }
    }
    if (m_window->isMinimized()) {
        m_window->showNormal();
    } else {
        m_window->show();
    }
    m_window->raise();
    m_window->activateWindow();
    return true;
}

HelpService& helpService() {
    static HelpService service;
    return service;
}

void showHelp(const QString& topic) {
    helpService().show(helpFolder(), topic);
}

}  // namespace typeloom::app
