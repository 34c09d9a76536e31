// Crash recovery: the desktop program killed after an edit gives the edit back at the next
// start; the copy follows the document (written after a pause and after font-wide commands,
// removed by a save, a return to the saved state and an orderly close); what start-up does
// with damaged, stale, foreign and good copies. The project file is never written by any of it.

#include "app/recovery.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <map>
#include <utility>

#include "app/commands.h"
#include "app/font_document.h"
#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "app/studio_app.h"
#include "common/progress_sink.h"
#include "editor/ui/pixel_grid.h"
#include "editor_ui_support.h"
#include "model/font.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::app {
namespace {

using Pixels = std::map<std::uint16_t, std::pair<std::uint16_t, std::vector<std::uint8_t>>>;

Pixels pixelsOf(const Font& font) {
    Pixels out;
    font.glyphs.forEach([&](std::uint16_t key, const Glyph& g) { out[key] = {g.width, g.pixels}; });
    return out;
}

// Four characters of 6 x 8 pixels with ink in their left column, so a mirror changes each.
Font originalFont() {
    Font font;
    font.createFromScratch('A', 'D', 6, 8, "Recover");
    font.glyphs.forEachMutable([](std::uint16_t, Glyph& g) {
        for (int y = 0; y < 8; ++y) {
            g.pixels[static_cast<std::size_t>(y * g.width)] = 1;
        }
    });
    return font;
}

// Glyphs mirrored left to right, worked out here pixel by pixel.
Pixels mirrored(Pixels out) {
    for (auto& [key, glyph] : out) {
        auto& [width, pixels] = glyph;
        for (std::size_t row = 0; row < pixels.size(); row += width) {
            std::reverse(pixels.begin() + static_cast<std::ptrdiff_t>(row),
                         pixels.begin() + static_cast<std::ptrdiff_t>(row + width));
        }
    }
    return out;
}

Pixels pixelsOfFile(const QString& path) {
    Font font;
    NullProgressSink progress;
    EXPECT_TRUE(loadProject(path.toStdString(), font, progress).ok()) << path.toStdString();
    return pixelsOf(font);
}

class RecoveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_project = QString::fromStdString(m_dir.file("font.tlf"));
        m_folder = QString::fromStdString(m_dir.file("state")) +
                   QStringLiteral("/typeloom-studio/recovery");
        saveProject(m_project.toStdString(), originalFont());
        m_projectBytes = test::readFile(m_project.toStdString());
    }
    void TearDown() override { m_app.reset(); }

    void startApp() {
        m_app = std::make_unique<StudioApp>(
            openSettingsFile(QString::fromStdString(m_dir.file("settings.ini"))));
        StudioApp::StartOptions options;
        options.show = false;
        options.autoOpen = false;
        options.installKeyFilter = false;
        options.recoveryFolder = m_folder;
        ASSERT_TRUE(m_app->initInstance({}, options));
        frame().resize(1000, 800);
    }

    MainWindow& frame() { return *m_app->mainWindow(); }
    FontDocument& doc() { return m_app->document(); }
    RecoveryManager& recovery() { return m_app->recovery(); }
    // The recovery files in the folder (copies and side files).
    QStringList copies() const {
        return QDir(m_folder).entryList({QStringLiteral("*.tlf"), QStringLiteral("*.info")},
                                        QDir::Files, QDir::Name);
    }
    // Lets the queued copy request run and the writer finish.
    void settle() {
        QCoreApplication::processEvents();
        recovery().waitForWriter();
    }

    test::TempDir m_dir;
    QString m_project;
    QString m_folder;
    std::vector<std::uint8_t> m_projectBytes;
    std::unique_ptr<StudioApp> m_app;
};

// The desktop program opens the project, mirrors it, writes its copy and is killed; started
// again it offers the copy, and Restore gives back the mirrored font bound to the project,
// which only Save then writes.
TEST_F(RecoveryTest, EditOfAKilledProgramIsRestoredAndSavedOverItsProject) {
    const QString config = QString::fromStdString(m_dir.file("config"));
    ASSERT_TRUE(QDir().mkpath(config + QStringLiteral("/Typeloom")));
    {
        QFile settings(config + QStringLiteral("/Typeloom/Typeloom Studio.conf"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[Settings]\nAutoOpen=0\n");
    }
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(m_dir.file("state")));
    env.insert(QStringLiteral("TYPELOOM_RUN_COMMANDS"), QStringLiteral("MirrorHorizontal"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TYPELOOM_STUDIO), {m_project});
    ASSERT_TRUE(program.waitForStarted(10000));
    QElapsedTimer waited;
    waited.start();
    while (copies().filter(QStringLiteral(".info")).isEmpty()) {
        ASSERT_FALSE(program.waitForFinished(50))
            << "the program ended: " << program.readAllStandardError().toStdString();
        ASSERT_LT(waited.elapsed(), 60000) << "no recovery copy was written";
    }
    program.kill();  // SIGKILL: nothing of the program's own ending runs
    ASSERT_TRUE(program.waitForFinished(10000));
    ASSERT_EQ(copies().size(), 2) << copies().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(test::readFile(m_project.toStdString()), m_projectBytes);

    startApp();
    int asked = 0;
    recovery().prompt = [&](const RecoveryCandidate& candidate) {
        ++asked;
        EXPECT_EQ(candidate.info.project, m_project);
        EXPECT_TRUE(candidate.projectExists);
        return RecoveryManager::Choice::Restore;
    };
    ASSERT_TRUE(recovery().offerAtStart());
    EXPECT_EQ(asked, 1);
    const Pixels mirroredFont = mirrored(pixelsOf(originalFont()));
    EXPECT_EQ(pixelsOf(m_app->font()), mirroredFont);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(doc().pathName(), m_project);
    EXPECT_EQ(test::readFile(m_project.toStdString()), m_projectBytes);

    ASSERT_TRUE(doc().doFileSave());
    recovery().waitForWriter();
    EXPECT_TRUE(copies().isEmpty()) << copies().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(pixelsOfFile(m_project), mirroredFont);
}

// The copy while the program runs: written after a pause in editing (with the stroke still in
// the editor) and after font-wide commands, removed by Save, by Undo back to the saved state
// and by an orderly close; the project is written by Save only.
TEST_F(RecoveryTest, CopyFollowsTheDocument) {
    startApp();
    recovery().setIdleInterval(100);
    ASSERT_TRUE(doc().openDocument(m_project));
    frame().selectInitialCharacter();  // 'A'
    ui::PixelGrid& grid = *frame().pixelGrid();
    const auto at = [&](int x, int y) { return grid.geometry().cellsRect({x, y, 1, 1}).center(); };

    // A stroke, then a pause: the copy holds the glyph as drawn.
    QTest::mousePress(&grid, Qt::LeftButton, Qt::NoModifier, at(3, 2));
    test::dragTo(&grid, at(4, 2));
    QTest::mouseRelease(&grid, Qt::LeftButton, Qt::NoModifier, at(4, 2));
    ASSERT_TRUE(doc().isModified());
    ASSERT_TRUE(QTest::qWaitFor([&] { return copies().size() == 2; }, 10000));
    recovery().waitForWriter();
    frame().storeEditedGlyph();
    const Pixels drawn = pixelsOf(m_app->font());
    EXPECT_NE(drawn, pixelsOf(originalFont()));
    EXPECT_EQ(pixelsOfFile(recovery().copyPath()), drawn);
    QFile info(recovery().infoPath());
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const std::optional<RecoveryInfo> described = parseRecoveryInfo(info.readAll());
    ASSERT_TRUE(described.has_value());
    EXPECT_EQ(described->project, m_project);
    EXPECT_EQ(described->pid, QCoreApplication::applicationPid());
    EXPECT_EQ(test::readFile(m_project.toStdString()), m_projectBytes);

    ASSERT_TRUE(doc().doFileSave());
    recovery().waitForWriter();
    EXPECT_TRUE(copies().isEmpty());
    const std::vector<std::uint8_t> saved = test::readFile(m_project.toStdString());

    // A font-wide command writes the copy at once; Undo back to the saved state removes it,
    // Redo brings it back.
    ASSERT_TRUE(frame().executeCommand(CommandId::MirrorHorizontal));
    settle();
    EXPECT_EQ(copies().size(), 2);
    EXPECT_EQ(pixelsOfFile(recovery().copyPath()), mirrored(drawn));
    frame().historyUndo();
    settle();
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(copies().isEmpty());
    frame().historyRedo();
    settle();
    EXPECT_EQ(copies().size(), 2);

    // Closing without saving.
    m_app.reset();
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_EQ(test::readFile(m_project.toStdString()), saved);
}

// What start-up does with the copy a program left, by its state and the answer given.
enum class Left { Newer, Older, Untitled, DamagedCopy, DamagedSideFile, Running };
enum class Outcome { Untouched, Restored, Original };
struct OfferRow {
    const char* name;
    Left left;
    RecoveryManager::Choice choice;
    bool offered;
    const char* reported;  // the file named in the damage report ("": none)
    bool kept;             // the copy and its side file are still there, unchanged
    Outcome outcome;
};

class RecoveryOfferTest : public RecoveryTest, public ::testing::WithParamInterface<OfferRow> {};

TEST_P(RecoveryOfferTest, StartUpHandlesWhatWasLeft) {
    const OfferRow& row = GetParam();
    ASSERT_TRUE(QDir().mkpath(m_folder));
    const std::string copy = (m_folder + QStringLiteral("/crashed.tlf")).toStdString();
    const std::string infoFile = (m_folder + QStringLiteral("/crashed.info")).toStdString();
    Font edited = originalFont();
    edited.glyphs.find('B')->pixels.assign(6 * 8, 1);
    saveProject(copy, edited);
    RecoveryInfo info;
    info.project = row.left == Left::Untitled ? QString() : m_project;
    info.saved = QDateTime::currentDateTimeUtc();
    info.pid = 1;
    info.instance = QStringLiteral("crashed");
    const QByteArray infoText = recoveryInfoText(info);
    test::writeFile(infoFile, std::vector<std::uint8_t>(infoText.begin(), infoText.end()));
    if (row.left == Left::DamagedCopy) {
        std::vector<std::uint8_t> bytes = test::readFile(copy);
        bytes.resize(bytes.size() / 2);
        test::writeFile(copy, bytes);
    } else if (row.left == Left::DamagedSideFile) {
        test::writeFile(infoFile, {'p', 'r', 'o', 'j', 'e', 'c', 't', '\n'});
    }
    const auto projectTime = std::filesystem::last_write_time(m_project.toStdString());
    std::filesystem::last_write_time(
        copy, projectTime + std::chrono::seconds(row.left == Left::Older ? -60 : 60));
    QLockFile running(m_folder + QStringLiteral("/crashed.lock"));
    if (row.left == Left::Running) {
        ASSERT_TRUE(running.tryLock(0));
    }
    const std::vector<std::uint8_t> copyBytes = test::readFile(copy);
    const std::vector<std::uint8_t> infoBytes = test::readFile(infoFile);

    startApp();
    bool offered = false;
    QString report;
    recovery().prompt = [&](const RecoveryCandidate& candidate) {
        offered = true;
        EXPECT_EQ(candidate.projectExists, row.left != Left::Untitled);
        return row.choice;
    };
    recovery().reportDamaged = [&](const QString& text) { report = text; };
    const bool replaced = recovery().offerAtStart();

    EXPECT_EQ(offered, row.offered);
    if (*row.reported == '\0') {
        EXPECT_TRUE(report.isEmpty()) << report.toStdString();
    } else {
        EXPECT_TRUE(report.contains(QString::fromLatin1(row.reported))) << report.toStdString();
    }
    EXPECT_EQ(std::filesystem::exists(copy), row.kept);
    EXPECT_EQ(std::filesystem::exists(infoFile), row.kept);
    if (row.kept) {
        EXPECT_EQ(test::readFile(copy), copyBytes);
        EXPECT_EQ(test::readFile(infoFile), infoBytes);
    }
    EXPECT_EQ(test::readFile(m_project.toStdString()), m_projectBytes);
    EXPECT_EQ(replaced, row.outcome != Outcome::Untouched);
    switch (row.outcome) {
        case Outcome::Untouched:
            EXPECT_TRUE(doc().pathName().isEmpty());
            EXPECT_FALSE(doc().isModified());
            break;
        case Outcome::Restored:
            EXPECT_EQ(pixelsOf(m_app->font()), pixelsOf(edited));
            EXPECT_TRUE(doc().pathName().isEmpty());
            EXPECT_TRUE(doc().isModified());
            break;
        case Outcome::Original:
            EXPECT_EQ(pixelsOf(m_app->font()), pixelsOf(originalFont()));
            EXPECT_EQ(doc().pathName(), m_project);
            EXPECT_FALSE(doc().isModified());
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecoveryOfferTest,
    ::testing::Values(OfferRow{"DamagedCopy", Left::DamagedCopy, RecoveryManager::Choice::Discard,
                               false, "crashed.tlf", true, Outcome::Untouched},
                      OfferRow{"DamagedSideFile", Left::DamagedSideFile,
                               RecoveryManager::Choice::Discard, false, "crashed.info", true,
                               Outcome::Untouched},
                      OfferRow{"OlderThanItsProject", Left::Older, RecoveryManager::Choice::Discard,
                               false, "", false, Outcome::Untouched},
                      OfferRow{"OfARunningProgram", Left::Running, RecoveryManager::Choice::Discard,
                               false, "", true, Outcome::Untouched},
                      OfferRow{"Discarded", Left::Newer, RecoveryManager::Choice::Discard, true, "",
                               false, Outcome::Untouched},
                      OfferRow{"OriginalOpened", Left::Newer, RecoveryManager::Choice::OpenOriginal,
                               true, "", true, Outcome::Original},
                      OfferRow{"UnsavedRestored", Left::Untitled, RecoveryManager::Choice::Restore,
                               true, "", true, Outcome::Restored}),
    test::RowName());

}  // namespace
}  // namespace typeloom::app
