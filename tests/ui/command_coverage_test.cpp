#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <map>
#include <set>

#include "app/commands.h"
#include "app/font_document.h"
#include "app/help.h"
#include "app/key_filter.h"
#include "app/main_window.h"
#include "app/studio_app.h"
#include "app_test_support.h"
#include "editor/ui/pixel_grid.h"
#include "model/font.h"
#include "model/ui/characters_table_panel.h"
#include "model/ui/font_size_dialogs.h"
#include "test_support.h"

namespace typeloom::app {
namespace {

// An application with its own settings file and a small Ascii+ISO8859 font, its window not
// shown and nothing auto-opened.
class CoverageTest : public test::StudioAppTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startApp("Test"));
        font().encoding = 0;
        frame().selectInitialCharacter();
    }
};

TEST_F(CoverageTest, EveryCommandHasItsWorkOrIsADeliberateAbsence) {
    const std::set<CommandId> absent = {
        CommandId::OldFormatHeading,  // a heading of the Export menu, never a command
        CommandId::Cut,               // its keys are kept, but the editor has no cut
        CommandId::FileNew,           // the framework's new document, reached by nothing
        CommandId::NextPane,          // the keys move the focus between the panes themselves
        CommandId::PreviousPane,
    };
    for (const CommandInfo& command : commandTable()) {
        if (command.id >= CommandId::RecentFirst && command.id <= CommandId::RecentLast) {
            continue;  // the recent files are actions of their own
        }
        SCOPED_TRACE(command.name);
        EXPECT_NE(frame().hasCommandHandler(command.id), absent.count(command.id) != 0);
    }
}

// Every window with Help buttons, opened by its command: each enabled Help button is clicked,
// then F1 pressed, and the help window must show the button's own page both times (a page
// that is missing would show the contents page instead).
TEST_F(CoverageTest, EveryHelpButtonShowsItsPage) {
    const QByteArray saved = qgetenv("TYPELOOM_HELP");
    qputenv("TYPELOOM_HELP", QByteArrayLiteral(TYPELOOM_HELP_SOURCE_DIR));
    auto shownTopic = [] {
        HelpWindow* window = helpService().window();
        return window == nullptr ? QString() : window->currentTopic();
    };
    // Clicks the Help buttons of a window and returns the pages they showed.
    auto clickHelp = [&shownTopic](QWidget* window) {
        std::set<std::string> topics;
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            const bool isHelp = button->text() == QStringLiteral("&Help") ||
                                button->text() == QStringLiteral("Help");
            if (isHelp && button->isEnabled()) {
                if (HelpWindow* help = helpService().window()) {
                    help->openTopic(help->folder(), {});  // back to the contents page
                }
                button->click();
                topics.insert(shownTopic().toStdString());
            }
        }
        return topics;
    };

    // The application's key filter, which turns F1 in a dialog into its Help button.
    KeyFilter keys(KeyFilter::Hooks{});
    qApp->installEventFilter(&keys);
    const std::map<CommandId, std::set<std::string>> expected = {
        {CommandId::NewFromScratch, {"newfont.htm"}},
        {CommandId::FontInformation, {"changeinfo.htm"}},
        {CommandId::ChangeHeight, {"changeheight.htm"}},
        {CommandId::ChangeWidth, {"changewidth.htm"}},
        {CommandId::ChangeAscent, {"changeascent.htm"}},
        {CommandId::Resize, {"resizefont.htm"}},
        {CommandId::ExportDialog, {"fileformat.htm"}},
        {CommandId::Preferences, {"preference.htm"}},
        {CommandId::EditTable, {"changerange.htm"}},
        {CommandId::MultiCopy, {"multi_copy_paste.htm"}},
    };
    for (const auto& [id, topics] : expected) {
        SCOPED_TRACE(static_cast<int>(id));
        std::set<std::string> shown;
        bool opened = false;
        QTimer::singleShot(0, [&] {
            QWidget* window = QApplication::activeModalWidget();
            if (window == nullptr) {
                return;
            }
            opened = true;
            shown = clickHelp(window);
            // F1 in the dialog shows the same page as its Help button.
            helpService().window()->openTopic(helpService().window()->folder(), {});
            QTest::keyClick(window, Qt::Key_F1);
            shown.insert(shownTopic().toStdString());
            if (auto* dialog = qobject_cast<QDialog*>(window)) {
                dialog->reject();
            }
        });
        EXPECT_TRUE(frame().executeCommand(id));
        EXPECT_TRUE(opened);
        EXPECT_EQ(shown, topics);
    }
    // The characters table panel beside the editor.
    EXPECT_EQ(clickHelp(frame().tablePanel()), (std::set<std::string>{"changerange.htm"}));
    // Help > Quick User Guide and Help Contents.
    EXPECT_TRUE(frame().executeCommand(CommandId::QuickGuide));
    EXPECT_EQ(shownTopic(), QStringLiteral("quickguide.htm"));
    EXPECT_TRUE(frame().executeCommand(CommandId::HelpContents));
    EXPECT_EQ(shownTopic(), QStringLiteral("index.htm"));
    if (HelpWindow* help = helpService().window()) {
        help->close();
    }
    if (saved.isNull()) {
        qunsetenv("TYPELOOM_HELP");
    } else {
        qputenv("TYPELOOM_HELP", saved);
    }
}

// The steps bar's third step opens Change Font Height; after OK the font, the editor and the
// document follow.
TEST_F(CoverageTest, StepThreeChangesTheHeightAndTheEditorFollows) {
    ASSERT_GE(frame().stepsBar()->actions().size(), 3);
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<ui::ChangeSizeDialog*>(QApplication::activeModalWidget())) {
            ChangeSizeFields fields;
            fields.increase = true;
            fields.addBefore = "2";
            fields.addAfter = "1";
            dialog->setFields(fields);
            dialog->accept();
        }
    });
    frame().stepsBar()->actions()[2]->trigger();
    EXPECT_EQ(m_app->font().height, 15);
    EXPECT_EQ(m_app->font().ascent, 12);  // 10 + 2 rows added on top
    EXPECT_EQ(frame().pixelGrid()->workingGlyph().height(), 15);
    EXPECT_TRUE(m_app->document().isModified());
}

}  // namespace
}  // namespace typeloom::app
