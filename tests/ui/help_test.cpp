#include "app/help.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

namespace typeloom::app {
namespace {

const QString kSourceHelp = QStringLiteral(TYPELOOM_HELP_SOURCE_DIR);

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

void writeText(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

// Every href and src of every page of a folder that names a missing file or a missing anchor,
// as "page: link". Links with a scheme (http:, mailto:, …) leave the help and are not checked.
QStringList brokenLinks(const QString& folder) {
    static const QRegularExpression linkPattern(
        QStringLiteral(R"((?:href|src)\s*=\s*["']([^"']*)["'])"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression anchorPattern(
        QStringLiteral(R"((?:name|id)\s*=\s*["']([^"']*)["'])"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression schemePattern(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));

    const QDir dir(folder);
    auto anchorsOf = [&](const QString& page) {
        QSet<QString> anchors;
        auto it = anchorPattern.globalMatch(readText(dir.filePath(page)));
        while (it.hasNext()) {
            anchors.insert(it.next().captured(1));
        }
        return anchors;
    };

    QStringList problems;
    for (const QString& page : dir.entryList({QStringLiteral("*.htm")}, QDir::Files)) {
        auto it = linkPattern.globalMatch(readText(dir.filePath(page)));
        while (it.hasNext()) {
            const QString link = it.next().captured(1);
            if (schemePattern.match(link).hasMatch()) {
                continue;
            }
            const QString file = link.section(QLatin1Char('#'), 0, 0);
            const QString anchor = link.section(QLatin1Char('#'), 1);
            const QString target = file.isEmpty() ? page : file;
            if (link.isEmpty() || !QFileInfo(dir.filePath(target)).isFile() ||
                (!anchor.isEmpty() && !anchorsOf(target).contains(anchor))) {
                problems << page + QStringLiteral(": ") + link;
            }
        }
    }
    return problems;
}

TEST(HelpTopicPath, TopicsAndTheContentsPage) {
    EXPECT_EQ(helpTopicPath(QStringLiteral("/opt/help"), QString()),
              QStringLiteral("/opt/help/index.htm"));
    EXPECT_EQ(helpTopicPath(QStringLiteral("/opt/help"), QStringLiteral("quickguide.htm")),
              QStringLiteral("/opt/help/quickguide.htm"));
    // A topic never leads out of the help folder: only its file name counts.
    EXPECT_EQ(helpTopicPath(QStringLiteral("/opt/help"), QStringLiteral("../../etc/passwd")),
              QStringLiteral("/opt/help/passwd"));
    EXPECT_EQ(helpTopicPath(QStringLiteral("/opt/help"), QStringLiteral("sub\\newfont.htm")),
              QStringLiteral("/opt/help/newfont.htm"));
    EXPECT_EQ(helpTopicPath(QStringLiteral("/opt/help"), QStringLiteral("..")),
              QStringLiteral("/opt/help/index.htm"));
    EXPECT_EQ(helpTopicPath(QStringLiteral("/opt/help"), QStringLiteral("pages/")),
              QStringLiteral("/opt/help/index.htm"));
}

TEST(HelpFolder, LookupOrder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString exeDir = root.filePath(QStringLiteral("prefix/bin"));
    const QString besideProgram =
        root.filePath(QStringLiteral("prefix/share/typeloom-studio/help"));
    const QString install = root.filePath(QStringLiteral("install/help"));
    const QString source = root.filePath(QStringLiteral("source/help"));
    ASSERT_TRUE(QDir().mkpath(exeDir));

    // Nothing exists: the source folder, the last resort.
    EXPECT_EQ(helpFolderFrom({}, exeDir, install, source), source);
    ASSERT_TRUE(QDir().mkpath(install));
    EXPECT_EQ(helpFolderFrom({}, exeDir, install, source), install);
    ASSERT_TRUE(QDir().mkpath(besideProgram));
    EXPECT_EQ(helpFolderFrom({}, exeDir, install, source), besideProgram);
    // The environment variable wins, even naming a folder that does not exist.
    const QString chosen = root.filePath(QStringLiteral("elsewhere"));
    EXPECT_EQ(helpFolderFrom(chosen, exeDir, install, source), chosen);
}

TEST(HelpPages, EveryHelpTopicHasItsPageAndIsListed) {
    // The pages opened by the help commands and the dialogs' Help buttons.
    const QStringList required = {
        QStringLiteral("index.htm"),        QStringLiteral("quickguide.htm"),
        QStringLiteral("changeascent.htm"), QStringLiteral("newfont.htm"),
        QStringLiteral("changeinfo.htm"),   QStringLiteral("changeheight.htm"),
        QStringLiteral("changewidth.htm"),  QStringLiteral("resizefont.htm"),
        QStringLiteral("fileformat.htm"),   QStringLiteral("multi_copy_paste.htm"),
        QStringLiteral("changerange.htm"),  QStringLiteral("preference.htm")};
    QStringList listed;
    for (const HelpTopic& topic : helpTopics()) {
        listed << topic.file;
    }
    for (const QString& page : required) {
        SCOPED_TRACE(page.toStdString());
        EXPECT_TRUE(QFileInfo(QDir(kSourceHelp).filePath(page)).isFile());
        EXPECT_TRUE(listed.contains(page));
    }
    // The contents list holds every page of the folder, and nothing else.
    QStringList pages = QDir(kSourceHelp).entryList({QStringLiteral("*.htm")}, QDir::Files);
    pages.sort();
    listed.sort();
    EXPECT_EQ(pages, listed);
}

TEST(HelpPages, EveryPageHasATitleAndTheSharedStylesheet) {
    const QDir dir(kSourceHelp);
    ASSERT_TRUE(QFileInfo(dir.filePath(QStringLiteral("help.css"))).isFile());
    for (const QString& page : dir.entryList({QStringLiteral("*.htm")}, QDir::Files)) {
        SCOPED_TRACE(page.toStdString());
        const QString text = readText(dir.filePath(page));
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("<title>[^<]+</title>"))));
        EXPECT_TRUE(text.contains(QStringLiteral("href=\"help.css\"")));
    }
}

TEST(HelpPages, EveryInternalLinkAndAnchorResolves) {
    EXPECT_EQ(brokenLinks(kSourceHelp).join(QLatin1Char('\n')).toStdString(), "");
}

TEST(HelpPages, LinkCheckFindsMissingPagesAnchorsAndImages) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeText(dir.filePath(QStringLiteral("a.htm")),
              QStringLiteral("<a href=\"b.htm#here\">ok</a> <a href=\"b.htm#gone\">no anchor</a>"
                             "<a href=\"missing.htm\">no page</a> <img src=\"pic.png\">"
                             "<a href=\"#top\">own anchor</a> <a name=\"top\"></a>"
                             "<a href=\"https://www.typeloom-studio.example/\">web</a>"));
    writeText(dir.filePath(QStringLiteral("b.htm")),
              QStringLiteral("<h2><a name=\"here\"></a>Here</h2><a href='a.htm#nowhere'>x</a>"));
    QStringList found = brokenLinks(dir.path());
    found.sort();
    EXPECT_EQ(found.join(QLatin1Char('\n')).toStdString(),
              "a.htm: b.htm#gone\na.htm: missing.htm\na.htm: pic.png\nb.htm: a.htm#nowhere");
}

TEST(HelpWindow, OpensTheRequestedTopicAndFollowsTheContentsList) {
    HelpService service([](const QString&) { FAIL() << "help pages reported missing"; });
    ASSERT_TRUE(service.show(kSourceHelp, QStringLiteral("changeheight.htm")));
    HelpWindow* window = service.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentTopic(), QStringLiteral("changeheight.htm"));
    EXPECT_EQ(window->browser()->documentTitle(), QStringLiteral("Change Font Height"));
    ASSERT_NE(window->contentsList()->currentItem(), nullptr);
    EXPECT_EQ(window->contentsList()->currentItem()->text(), QStringLiteral("Change Font Height"));

    // A second request reuses the one window; the empty topic is the contents page.
    ASSERT_TRUE(service.show(kSourceHelp, QString()));
    EXPECT_EQ(service.window(), window);
    EXPECT_EQ(window->currentTopic(), QStringLiteral("index.htm"));
    window->browser()->backward();
    EXPECT_EQ(window->currentTopic(), QStringLiteral("changeheight.htm"));

    // Clicking an entry of the contents list shows its page.
    QListWidget* list = window->contentsList();
    QListWidgetItem* preferences =
        list->findItems(QStringLiteral("Preferences"), Qt::MatchExactly).value(0);
    ASSERT_NE(preferences, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(preferences).center());
    EXPECT_EQ(window->currentTopic(), QStringLiteral("preference.htm"));

    // A topic whose page is missing shows the contents page.
    ASSERT_TRUE(service.show(kSourceHelp, QStringLiteral("nosuchtopic.htm")));
    EXPECT_EQ(window->currentTopic(), QStringLiteral("index.htm"));
}

TEST(HelpWindow, PlacedBesideTheDialogItIsOpenedFrom) {
    struct Row {
        QRect dialog;
        QRect expected;
    };
    const QRect screen(0, 0, 1280, 900);
    const QSize help(500, 400);
    const Row rows[] = {
        {QRect(100, 100, 300, 200), QRect(400, 100, 500, 400)},  // room on the right
        {QRect(800, 100, 300, 200), QRect(300, 100, 500, 400)},  // only on the left
        // Neither: the side with more room, narrowed to it but not below 400.
        {QRect(450, 100, 400, 200), QRect(0, 100, 450, 400)},
        {QRect(300, 100, 600, 200), QRect(880, 100, 400, 400)},
        {QRect(100, 700, 300, 150), QRect(400, 500, 500, 400)},  // moved up onto the screen
    };
    for (const Row& r : rows) {
        const QRect at = helpPlacementBeside(r.dialog, help, screen);
        EXPECT_EQ(at, r.expected) << r.dialog.x() << "," << r.dialog.y() << ": " << at.x() << ","
                                  << at.y() << " " << at.width() << "x" << at.height();
    }
}

TEST(HelpWindow, CanBeUsedAndClosedWhileAModalDialogRuns) {
    // The clicks and keys go in through the window system, where a window that a modal
    // dialog blocks drops them. The help window is open before the dialog, too, so that
    // a window the dialog already blocks is released.
    HelpService service([](const QString&) { FAIL() << "help pages reported missing"; });
    ASSERT_TRUE(service.show(kSourceHelp, QStringLiteral("index.htm")));
    HelpWindow* window = service.window();
    ASSERT_NE(window, nullptr);
    QDialog dialog;
    dialog.setModal(true);
    QString topicAfterClick;
    bool closedByEscape = false;
    bool dialogStillOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        EXPECT_TRUE(service.show(kSourceHelp, QStringLiteral("changeheight.htm")));
        QListWidget* list = window->contentsList();
        QListWidgetItem* entry =
            list->findItems(QStringLiteral("Preferences"), Qt::MatchExactly).value(0);
        if (entry != nullptr) {
            const QPoint at = list->viewport()->mapTo(window, list->visualItemRect(entry).center());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        }
        topicAfterClick = window->currentTopic();
        window->activateWindow();
        list->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
        closedByEscape = !window->isVisible();
        dialogStillOpen = dialog.isVisible();
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(topicAfterClick.toStdString(), "preference.htm");
    EXPECT_TRUE(closedByEscape);
    EXPECT_TRUE(dialogStillOpen);
    // With the dialog ended the help window belongs to no window again.
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->transientParent(), nullptr);
}

TEST(HelpWindow, MissingHelpPagesAreReportedOncePerRun) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    QStringList reports;
    HelpService service([&](const QString& text) { reports << text; });
    EXPECT_FALSE(service.show(empty.path(), QStringLiteral("quickguide.htm")));
    EXPECT_FALSE(service.show(empty.path(), QString()));
    // No folder at all is no help folder, even when the working folder holds a contents page.
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(kSourceHelp));
    EXPECT_FALSE(service.show(QString(), QString()));
    QDir::setCurrent(saved);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.front().contains(QDir::toNativeSeparators(empty.path())));
    EXPECT_EQ(service.window(), nullptr);
}

TEST(HelpWindow, ShowHelpUsesTheHelpFolderOfTheProgram) {
    const QByteArray saved = qgetenv("TYPELOOM_HELP");
    qputenv("TYPELOOM_HELP", kSourceHelp.toUtf8());
    showHelp(QStringLiteral("quickguide.htm"));
    HelpWindow* window = helpService().window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentTopic(), QStringLiteral("quickguide.htm"));
    EXPECT_EQ(window->browser()->documentTitle(), QStringLiteral("Quick User Guide"));
    window->close();
    if (saved.isNull()) {
        qunsetenv("TYPELOOM_HELP");
    } else {
        qputenv("TYPELOOM_HELP", saved);
    }
}

}  // namespace
}  // namespace typeloom::app
