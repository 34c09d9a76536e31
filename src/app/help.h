#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QKeyEvent;
class QListWidget;
class QTextBrowser;
class QUrl;

namespace typeloom::app {

// The user documentation is a folder of HTML pages, one page per help topic, shown in the
// help window. A topic is addressed by its page's file name ("quickguide.htm"); the empty
// topic is the contents page.
inline constexpr char kHelpContentsPage[] = "index.htm";

// The topics opened by the help commands and by the Help buttons of the dialogs and panels.
namespace help_topic {
inline constexpr char kQuickGuide[] = "quickguide.htm";            // Help > Quick User Guide
inline constexpr char kNewFont[] = "newfont.htm";                  // New Empty Font dialog
inline constexpr char kFontInfo[] = "changeinfo.htm";              // the same dialog as Font Info
inline constexpr char kAppendCharacters[] = "changeascent.htm";    // Append Characters dialog
inline constexpr char kChangeHeight[] = "changeheight.htm";        // Change Font Height dialog
inline constexpr char kChangeWidth[] = "changewidth.htm";          // Change Font Width dialog
inline constexpr char kResizeFont[] = "resizefont.htm";            // Resize Font dialog
inline constexpr char kExport[] = "fileformat.htm";                // Export Bitmap Data dialog
inline constexpr char kDataPanel[] = "datapanel.htm";              // data panel and format dialog
inline constexpr char kMultiCopyPaste[] = "multi_copy_paste.htm";  // Multi Copy, Multi Paste
inline constexpr char kCharactersTable[] = "changerange.htm";      // table panel and its dialog
inline constexpr char kPreferences[] = "preference.htm";           // the export option pages
}  // namespace help_topic

// One entry of the help window's contents list.
struct HelpTopic {
    QString file;   // page file name inside the help folder
    QString title;  // text of the contents list entry
};

// Every page of the help folder, in the order of the contents list (contents page first).
const std::vector<HelpTopic>& helpTopics();

// The folder that holds the help pages: the folder named by the environment variable
// TYPELOOM_HELP when it is set and not empty; else <executable folder>/../share/
// typeloom-studio/help when that folder exists (an installed program); else the installation
// folder chosen at build time when it exists; else the source folder of the pages (a program
// run from its build tree).
QString helpFolder();

// The same lookup with every input given, for the rules to be checked without touching the
// process environment.
QString helpFolderFrom(const QString& environmentValue, const QString& executableFolder,
                       const QString& installFolder, const QString& sourceFolder);

// The page file of a topic inside the help folder: the contents page for an empty topic. A
// topic is a file name; any folder part of it is dropped, so a topic never leads out of the
// help folder.
QString helpTopicPath(const QString& folder, const QString& topic);

// Where a help window of `size` opened from a dialog goes on a screen's free area so that it
// hides as little of the dialog as it can: to the right of the dialog when it fits there, else
// to its left, else on the side with more room, narrowed to that room (at least
// kMinHelpWidth wide); top level with the dialog, moved up when it would pass the bottom.
inline constexpr int kMinHelpWidth = 400;
QRect helpPlacementBeside(const QRect& dialog, const QSize& size, const QRect& screen);

// The text shown when the help pages cannot be found in the folder.
QString helpMissingMessage(const QString& folder);

// The help window: the contents list on the left, the page on the right, and buttons to go
// back, forward and to the contents page; Esc closes it. It is not modal and belongs to no
// other window, so it stays open beside the main window while the user works.
class HelpWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page of the topic from the folder (the contents page for an empty topic).
    void openTopic(const QString& folder, const QString& topic);

    // File name of the page on show ("newfont.htm"), empty before the first page.
    QString currentTopic() const;
    QString folder() const { return m_folder; }

    QTextBrowser* browser() const { return m_browser; }
    QListWidget* contentsList() const { return m_contents; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showContentsEntry(int row);
    void selectContentsEntryOf(const QUrl& source);

    QString m_folder;
    QTextBrowser* m_browser = nullptr;
    QListWidget* m_contents = nullptr;
};

// Opens help topics in the one help window of the program, creating it on first use and
// raising it later. When the help pages are missing the user is told once per run; later
// requests for the same missing pages do nothing.
//
// A modal dialog blocks every window that is not its own, so help asked for while one runs
// (its Help button, F1) is shown as a window of that dialog: it can be read, used and closed
// while the dialog stays open. When the dialog ends the help window belongs to no window
// again.
class HelpService {
  public:
    using Report = std::function<void(const QString& text)>;

    // `report` shows the missing-help message; by default a warning message box.
    explicit HelpService(Report report = {});
    ~HelpService();
    HelpService(const HelpService&) = delete;
    HelpService& operator=(const HelpService&) = delete;

    // Shows the topic's page from the folder; false when the folder holds no help pages.
    bool show(const QString& folder, const QString& topic);

    // The help window, null until a page was shown (or after the window was destroyed).
    HelpWindow* window() const { return m_window; }

  private:
    Report m_report;
    bool m_missingReported = false;
    QPointer<HelpWindow> m_window;
};

// The program's help service, used by every Help button and help command.
HelpService& helpService();

// Opens the help window on a topic ("quickguide.htm", "newfont.htm", …) from helpFolder(), or
// on the contents page when the topic is empty.
void showHelp(const QString& topic = QString());

}  // namespace typeloom::app
