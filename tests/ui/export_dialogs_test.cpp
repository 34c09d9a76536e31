#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "export/export_driver.h"
#include "export/ui/compiler_page.h"
#include "export/ui/export_commands.h"
#include "export/ui/export_dialog.h"
#include "export/ui/export_finished_dialog.h"
#include "export/ui/export_options_page.h"
#include "export/ui/export_progress_dialog.h"
#include "model/font.h"
#include "model/font_settings.h"
#include "test_support.h"
#include "ui/widget_test_support.h"

namespace typeloom::ui {
namespace {

using exporters::ExportFormat;
using exporters::ExportRequest;
using exporters::ExportResult;

// A fixed-width font of `count` characters from U+0020 named "Test Font", each with one
// pixel set at a place that moves from character to character, so every export differs
// from that of a blank font.
Font testFont(int count, std::uint16_t height, std::uint16_t width = 8) {
    Font font;
    font.createFromScratch(0x20, static_cast<std::uint16_t>(0x20 + count - 1), width, height,
                           "Test Font");
    for (int i = 0; i < count; ++i) {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 0);
        pixels[static_cast<std::size_t>((i % height) * width + i % width)] = 1;
        font.setGlyph(static_cast<std::uint16_t>(font.unicodeAt(i)), width, pixels);
    }
    return font;
}

std::string fileText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = test::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

void writeText(const std::string& path, const std::string& text) {
    test::writeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Answers the export's questions as a test tells it and records what was asked.
struct Answers {
    QString file;  // the save dialog's answer ("" = cancelled)
    std::optional<std::uint32_t> startAddress = 0;
    bool wideYes = true;

    int fileDialogs = 0;
    SaveFileRequest lastRequest;
    QStringList wideLists;
    QStringList errors;
    QStringList finished;  // the files the "Export Finished" window was shown for
    QStringList warnings;
    int startAddressQuestions = 0;

    ExportUiHooks hooks() {
        ExportUiHooks h;
        h.chooseFile = [this](QWidget*, const SaveFileRequest& request) {
            ++fileDialogs;
            lastRequest = request;
            return file;
        };
        h.askStartAddress = [this](QWidget*) {
            ++startAddressQuestions;
            return startAddress;
        };
        h.confirmWideCharacters = [this](QWidget*, const QString& list) {
            wideLists << list;
            return wideYes;
        };
        h.showError = [this](QWidget*, const QString& text) { errors << text; };
        h.showFinished = [this](QWidget*, const Font&, const ExportRequest& request) {
            finished << QString::fromStdString(request.path);
        };
        h.showWarning = [this](QWidget*, const QString& text) { warnings << text; };
        return h;
    }
};

using test::child;
using test::click;

// A settings store that, when a worker thread first reads "Pages option", holds that thread
// until the test opens the gate: a cancel clicked meanwhile is certain to land mid-run.
class GatedSettings : public MemorySettingsStore {
  public:
    std::optional<std::int64_t> readInteger(std::string_view section,
                                            std::string_view key) const override {
        if (key == exporters::kPagesOptionKey && std::this_thread::get_id() != m_main) {
            std::unique_lock lock(m_mutex);
            m_workerRead = true;
            if (m_gated && !m_entered) {
                m_entered = true;
                m_changed.notify_all();
                m_changed.wait(lock, [this] { return m_open; });
            }
        }
        return MemorySettingsStore::readInteger(section, key);
    }

    void closeGate() { m_gated = true; }
    void openGate() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    bool workerEntered() const {
        std::lock_guard lock(m_mutex);
        return m_entered;
    }
    bool readOnWorker() const {
        std::lock_guard lock(m_mutex);
        return m_workerRead;
    }

  private:
    std::thread::id m_main = std::this_thread::get_id();
    bool m_gated = false;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    mutable bool m_entered = false;
    mutable bool m_workerRead = false;
    bool m_open = false;
};

// Opens the gate when a test leaves its scope, so a failed test never leaves a worker held.
struct OpenGateOnExit {
    GatedSettings& settings;
    ~OpenGateOnExit() { settings.openGate(); }
};

// --- Filters

TEST(ExportFilters, BecomeQtFilters) {
    // A text that already names its pattern is kept; others get the pattern appended.
    EXPECT_EQ(qtFilterOf("General C File (*.c)|*.c||"), QStringLiteral("General C File (*.c)"));
    EXPECT_EQ(qtFilterOf("C File (*.c) - Typeloom 2.0 format|*.c||"),
              QStringLiteral("C File (*.c) - Typeloom 2.0 format (*.c)"));
    EXPECT_EQ(qtFilterOf("Fonts|*.fnt;*.fon|All|*.*||"),
              QStringLiteral("Fonts (*.fnt *.fon);;All (*.*)"));
    EXPECT_EQ(qtFilterOf(""), QString());
    EXPECT_EQ(qtFilterOf("|"), QString());  // malformed: no pair
}

// --- Menu commands

TEST(ExportMenu, WritesWhatTheCoreExportsThroughTheChosenFile) {
    test::TempDir dir;
    const Font font = testFont(40, 12);
    MemorySettingsStore settings;
    NullProgressSink progress;
    struct Case {
        ExportFormat id;
        const char* filter;
        const char* suffix;
        const char* name;
    };
    for (const Case& c :
         {Case{ExportFormat::GeneralBin, "General Binary File (*.bin)", "bin", "g.bin"},
          Case{ExportFormat::MicrochipBin, "Microchip Binary File (*.bin)", "bin", "m.bin"},
          Case{ExportFormat::StudioDat, "Binary File (*.dat) - Typeloom Studio 3.0 format (*.dat)",
               "dat", "Test_Font12h.dat"}}) {
        SCOPED_TRACE(static_cast<int>(c.id));
        Font edited = font;
        Answers answers;
        answers.file = QString::fromStdString(dir.file(c.name));
        QString baseName;
        EXPECT_TRUE(
            runMenuExport(nullptr, edited, settings, progress, c.id, &baseName, answers.hooks()));
        EXPECT_EQ(answers.fileDialogs, 1);
        EXPECT_EQ(answers.lastRequest.filter, QString::fromLatin1(c.filter));
        EXPECT_EQ(answers.lastRequest.defaultSuffix, QString::fromLatin1(c.suffix));
        // "Test Font" at height 12: the space becomes '_', then the height and "h".
        EXPECT_EQ(answers.lastRequest.suggestedName, QStringLiteral("Test_Font12h"));
        EXPECT_EQ(baseName, QFileInfo(answers.file).completeBaseName());
        const auto expected = exporters::exportToMemory(
            font, settings, c.id, exporters::identifierBase(dir.file(c.name)), 0);
        ASSERT_TRUE(expected.has_value());
        EXPECT_EQ(fileText(dir.file(c.name)), *expected);
        EXPECT_TRUE(answers.errors.isEmpty());
        EXPECT_EQ(answers.finished, QStringList{answers.file});
        EXPECT_TRUE(answers.warnings.isEmpty());
    }
}

// A Microchip file of a font with large gaps is written and then warned about; other formats
// and fonts without gaps are not.
TEST(ExportMenu, MicrochipExportWarnsOfLargeGapsAfterWriting) {
    test::TempDir dir;
    Font font = testFont(2, 12);
    font.glyphs.insert(0x20 + 300, Glyph(0x20 + 300, 8, std::vector<std::uint8_t>(96, 0)));
    font.insertCode(0x20 + 300, 0x20 + 300);
    MemorySettingsStore settings;
    NullProgressSink progress;
    for (const ExportFormat format : {ExportFormat::MicrochipBin, ExportFormat::GeneralBin}) {
        SCOPED_TRACE(static_cast<int>(format));
        Answers answers;
        answers.file = QString::fromStdString(dir.file("gaps.bin"));
        EXPECT_TRUE(
            runMenuExport(nullptr, font, settings, progress, format, nullptr, answers.hooks()));
        EXPECT_TRUE(answers.errors.isEmpty());
        if (format == ExportFormat::MicrochipBin) {
            ASSERT_EQ(answers.warnings.size(), 1);
            EXPECT_TRUE(answers.warnings[0].contains(QStringLiteral("298 codes missing")))
                << answers.warnings[0].toStdString();
        } else {
            EXPECT_TRUE(answers.warnings.isEmpty());
        }
    }
}

TEST(ExportMenu, CancelledFileDialogOrUnknownIdWritesNothing) {
    test::TempDir dir;
    Font font = testFont(10, 12);
    MemorySettingsStore settings;
    NullProgressSink progress;
    Answers answers;  // file stays empty: the dialog is cancelled
    QString baseName = QStringLiteral("kept");
    EXPECT_FALSE(runMenuExport(nullptr, font, settings, progress, ExportFormat::GeneralC, &baseName,
                               answers.hooks()));
    EXPECT_EQ(answers.fileDialogs, 1);
    EXPECT_EQ(baseName, QStringLiteral("kept"));

    EXPECT_TRUE(test::listFolder(dir.path()).empty());
    EXPECT_TRUE(answers.errors.isEmpty());
}

TEST(ExportMenu, HexChecksTheFontBeforeTheFileDialog) {
    test::TempDir dir;
    MemorySettingsStore settings;
    NullProgressSink progress;
    Font low = testFont(5, 8);
    Font grey = testFont(5, 12);
    grey.setBitsPerPixel(2);
    struct Case {
        Font* font;
        const char* message;
    };
    for (const Case& c :
         {Case{&low, "To generate Hex File in this version\n\nFont Height must be [9..16]\n"},
          Case{&grey,
               "To generate Hex File in this version\n\nFont must be \"Monochrome, 1-bpp\"\n"}}) {
        Answers answers;
        answers.file = QString::fromStdString(dir.file("f.hex"));
        EXPECT_FALSE(runMenuExport(nullptr, *c.font, settings, progress, ExportFormat::Hex, nullptr,
                                   answers.hooks()));
        EXPECT_EQ(answers.errors, QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(answers.fileDialogs, 0);
    }
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
}

TEST(ExportMenu, HexAsksTheStartAddressAndAboutWideCharacters) {
    test::TempDir dir;
    MemorySettingsStore settings;
    NullProgressSink progress;
    Font font = testFont(3, 12);
    // U+0021 becomes 17 pixels wide: too wide for a HEX block.
    font.setGlyph(0x21, 17, std::vector<std::uint8_t>(17 * 12, 1));
    font.fixedWidth = 0;
    font.updateMaxWidth();
    const std::string path = dir.file("f.hex");

    Answers cancelled;
    cancelled.file = QString::fromStdString(path);
    cancelled.startAddress = std::nullopt;
    EXPECT_FALSE(runMenuExport(nullptr, font, settings, progress, ExportFormat::Hex, nullptr,
                               cancelled.hooks()));
    EXPECT_TRUE(cancelled.wideLists.isEmpty());

    Answers no;
    no.file = QString::fromStdString(path);
    no.wideYes = false;
    EXPECT_FALSE(
        runMenuExport(nullptr, font, settings, progress, ExportFormat::Hex, nullptr, no.hooks()));
    ASSERT_EQ(no.wideLists.size(), 1);
    EXPECT_EQ(no.wideLists[0], QStringLiteral("Character     Width   \r\n\r\n  0x0021       17"));
    EXPECT_TRUE(test::listFolder(dir.path()).empty());

    Answers yes;
    yes.file = QString::fromStdString(path);
    yes.startAddress = 0x12000;
    EXPECT_TRUE(
        runMenuExport(nullptr, font, settings, progress, ExportFormat::Hex, nullptr, yes.hooks()));
    exporters::HexOptions hex;
    hex.startAddress = 0x12000;
    hex.skipWide = true;
    const auto expected =
        exporters::exportToMemory(font, settings, ExportFormat::Hex, "ffont", 0, hex);
    ASSERT_TRUE(expected.has_value());
    const std::string written = fileText(path);
    EXPECT_EQ(written, *expected);
    // The extended address of a start above 0xFFFF comes first, and U+0021 has no record.
    EXPECT_EQ(written.rfind(":020000040001F9\r\n", 0), 0u);
    EXPECT_EQ(written.find(":22"
                           "2462"),  // 0x2000 + 34 * 0x21
              std::string::npos);
}

TEST(ExportMenu, FileErrorIsShownAndLeavesNoFile) {
    test::TempDir dir;
    Font font = testFont(10, 12);
    MemorySettingsStore settings;
    NullProgressSink progress;
    Answers answers;
    answers.file = QString::fromStdString(dir.file("missing/out.bin"));
    EXPECT_FALSE(runMenuExport(nullptr, font, settings, progress, ExportFormat::GeneralBin, nullptr,
                               answers.hooks()));
    ASSERT_EQ(answers.errors.size(), 1);
    EXPECT_FALSE(answers.errors[0].isEmpty());
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
}

// --- "Export Bitmap Data"

TEST(ExportDialog, OpensExpandedWithTheRememberedRadio) {
    const Font font = testFont(5, 12);
    Answers answers;
    struct Case {
        std::optional<int> fontOut;
        const char* radio;
    };
    for (const Case& c : {Case{std::nullopt, "radioGeneralC"}, Case{0x900, "radioOldC"},
                          Case{0x601, "radioMicrochipBin"}, Case{0x200, "radioOldDat"}}) {
        SCOPED_TRACE(c.radio);
        MemorySettingsStore settings;
        if (c.fontOut) {
            settings.writeInteger(kSettingsSection, exporters::kFontOutKey, *c.fontOut);
        }
        ExportDialog dialog(font, settings, answers.hooks());
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export Bitmap Data"));
        EXPECT_TRUE(child<QRadioButton>(dialog, c.radio)->isChecked());
        EXPECT_TRUE(dialog.isExpanded());
        EXPECT_EQ(child<QPushButton>(dialog, "buttonAdvance")->text(),
                  QStringLiteral("&Advance <<"));
        for (const char* radio : {"radioOldC", "radioOldAsm", "radioOldDat", "radioGeneralC",
                                  "radioGeneralBin", "radioMicrochipC", "radioMicrochipBin"}) {
            EXPECT_TRUE(child<QRadioButton>(dialog, radio)->isEnabled()) << radio;
        }
    }
}

TEST(ExportDialog, HelpOpensTheExportTopicAndKeepsTheDialogOpen) {
    const Font font = testFont(5, 12);
    MemorySettingsStore settings;
    Answers answers;
    ExportUiHooks hooks = answers.hooks();
    QStringList topics;
    hooks.showHelp = [&topics](const QString& topic) { topics << topic; };
    ExportDialog dialog(font, settings, hooks);
    dialog.show();
    click(dialog, "buttonHelp");
    EXPECT_EQ(topics, QStringList{QStringLiteral("fileformat.htm")});
    EXPECT_TRUE(dialog.isVisible());
}

TEST(ExportDialog, AdvanceCollapsesToTheFrameAndDisablesTheOldFormats) {
    const Font font = testFont(5, 12);
    MemorySettingsStore settings;
    Answers answers;
    ExportDialog dialog(font, settings, answers.hooks());
    dialog.show();
    QApplication::processEvents();
    const QSize full = dialog.size();
    auto* frame = child<QWidget>(dialog, "frameMain");

    click(dialog, "buttonAdvance");
    QApplication::processEvents();
    EXPECT_FALSE(dialog.isExpanded());
    EXPECT_EQ(child<QPushButton>(dialog, "buttonAdvance")->text(), QStringLiteral("&Advance >>"));
    for (const char* old : {"radioOldC", "radioOldAsm", "radioOldDat"}) {
        EXPECT_FALSE(child<QRadioButton>(dialog, old)->isEnabled()) << old;
    }
    for (const char* kept :
         {"radioGeneralC", "radioGeneralBin", "radioMicrochipC", "radioMicrochipBin",
          "buttonSaveAs", "buttonCancel", "buttonAdvance"}) {
        EXPECT_TRUE(child<QWidget>(dialog, kept)->isEnabled()) << kept;
    }
    EXPECT_LT(dialog.width(), full.width());
    // Collapsed, the dialog shows no more than the frame (and its margins).
    EXPECT_LE(dialog.width(), frame->width() + 2 * 20);

    click(dialog, "buttonAdvance");
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isExpanded());
    EXPECT_EQ(child<QPushButton>(dialog, "buttonAdvance")->text(), QStringLiteral("&Advance <<"));
    EXPECT_TRUE(child<QRadioButton>(dialog, "radioOldAsm")->isEnabled());
    EXPECT_EQ(dialog.size(), full);
}

TEST(ExportDialog, SaveAsRemembersTheGeneralBinaryChoiceForTheNextOpening) {
    test::TempDir dir;
    const Font font = testFont(5, 12);
    MemorySettingsStore settings;
    Answers answers;
    answers.file = QString::fromStdString(dir.file("out.bin"));
    for (bool collapse : {false, true}) {
        SCOPED_TRACE(collapse);
        {
            ExportDialog dialog(font, settings, answers.hooks());
            dialog.show();
            if (collapse) {
                click(dialog, "buttonAdvance");
            }
            click(dialog, "radioGeneralBin");
            click(dialog, "buttonSaveAs");
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(dialog.format(), ExportFormat::GeneralBin);
            EXPECT_EQ(dialog.path(), answers.file);
            EXPECT_EQ(answers.lastRequest.filter, QStringLiteral("General Binary File (*.bin)"));
            // Index 4 in the high byte; bit 0 while the dialog is at full size.
            EXPECT_EQ(settings.readInteger(kSettingsSection, exporters::kFontOutKey),
                      collapse ? 0x400 : 0x401);
        }
        ExportDialog next(font, settings, answers.hooks());
        next.show();
        EXPECT_TRUE(child<QRadioButton>(next, "radioGeneralBin")->isChecked());
        EXPECT_TRUE(next.isExpanded());
    }
    EXPECT_TRUE(test::listFolder(dir.path()).empty());  // the dialog itself writes no file
}

TEST(ExportDialog, CancelledFileDialogKeepsTheDialogOpenAndCancelStoresNothing) {
    const Font font = testFont(5, 12);
    MemorySettingsStore settings;
    Answers answers;  // the file dialog is cancelled
    ExportDialog dialog(font, settings, answers.hooks());
    dialog.show();
    click(dialog, "radioOldC");
    click(dialog, "buttonSaveAs");
    EXPECT_EQ(answers.fileDialogs, 1);
    EXPECT_EQ(answers.lastRequest.filter,
              QStringLiteral("C File (*.c) - Typeloom Studio 3.0 format (*.c)"));
    EXPECT_TRUE(dialog.isVisible());
    click(dialog, "buttonCancel");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(settings.writeCount(), 0);
}

// Acts on the modal dialogs runExportDialog opens: presses "&Save As..." in the export dialog
// and "OK" in the progress window once it has finished; records whether that window appeared.
struct ModalDriver {
    bool progressShown = false;
    QTimer timer;

    ModalDriver() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<ExportDialog*>(modal)) {
                QTest::mouseClick(dialog->findChild<QPushButton*>("buttonSaveAs"), Qt::LeftButton);
            } else if (auto* window = qobject_cast<ExportProgressDialog*>(modal)) {
                progressShown = true;
                if (window->state() == ExportProgressDialog::State::Finished) {
                    QTest::mouseClick(window->findChild<QPushButton*>("buttonOk"), Qt::LeftButton);
                }
            }
        });
        timer.start();
    }
};

TEST(ExportDialog, LargeFontsExportThroughTheProgressWindow) {
    struct Case {
        int count;
        std::uint16_t height;
        bool window;
    };
    for (const Case& c :
         {Case{500, 8, true}, Case{499, 49, false}, Case{100, 50, true}, Case{100, 49, false}}) {
        SCOPED_TRACE(testing::Message() << c.count << " characters, height " << c.height);
        test::TempDir dir;
        Font font = testFont(c.count, c.height);
        MemorySettingsStore settings;
        settings.writeInteger(kSettingsSection, exporters::kFontOutKey, 0x400);  // General .bin
        NullProgressSink progress;
        Answers answers;
        answers.file = QString::fromStdString(dir.file("font.bin"));
        ModalDriver driver;
        QString baseName;
        EXPECT_TRUE(runExportDialog(nullptr, font, settings, progress, &baseName, answers.hooks()));
        EXPECT_EQ(driver.progressShown, c.window);
        // Either window offers "Verify": the progress window stays, a direct run ends in
        // "Export Finished".
        EXPECT_EQ(answers.finished.size(), c.window ? 0 : 1);
        EXPECT_EQ(baseName, QStringLiteral("font"));
        const auto expected =
            exporters::exportToMemory(font, settings, ExportFormat::GeneralBin, "fontfont", 0);
        ASSERT_TRUE(expected.has_value());
        EXPECT_EQ(fileText(dir.file("font.bin")), *expected);
    }
}

TEST(ExportDialog, DirectRunFailureIsShown) {
    test::TempDir dir;
    Font font = testFont(10, 12);
    MemorySettingsStore settings;
    NullProgressSink progress;
    Answers answers;
    answers.file = QString::fromStdString(dir.file("missing/font.c"));
    ModalDriver driver;
    EXPECT_FALSE(runExportDialog(nullptr, font, settings, progress, nullptr, answers.hooks()));
    EXPECT_EQ(answers.errors.size(), 1);
    EXPECT_TRUE(answers.finished.isEmpty());
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
}

// The header check box offers the header of the checked format, and a run with it ticked
// writes that header beside the file.
TEST(ExportDialog, HeaderCheckBoxWritesTheIncludedHeaderBeside) {
    Font font = testFont(5, 12);
    MemorySettingsStore settings;
    Answers answers;
    {
        ExportDialog dialog(font, settings, answers.hooks());
        dialog.show();
        auto* check = child<QCheckBox>(dialog, "checkWithHeader");
        struct Row {
            const char* radio;
            const char* header;  // nullptr: the box is disabled
        };
        for (const Row& row : {Row{"radioOldC", "tlmtype.h"}, Row{"radioGeneralC", "tlmfont.h"},
                               Row{"radioOldAsm", nullptr}, Row{"radioMicrochipC", nullptr},
                               Row{"radioGeneralBin", nullptr}}) {
            SCOPED_TRACE(row.radio);
            click(dialog, row.radio);
            EXPECT_EQ(check->isEnabled(), row.header != nullptr);
            if (row.header != nullptr) {
                EXPECT_TRUE(check->text().contains(QString::fromLatin1(row.header)));
            }
        }
    }
    test::TempDir dir;
    settings.writeInteger(kSettingsSection, exporters::kFontOutKey, 0x300);  // General C
    settings.writeInteger(kSettingsSection, "ExportHeaders", 1);
    NullProgressSink progress;
    answers.file = QString::fromStdString(dir.file("font.c"));
    ModalDriver driver;
    EXPECT_TRUE(runExportDialog(nullptr, font, settings, progress, nullptr, answers.hooks()));
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"font.c", "tlmfont.h"}));
    EXPECT_EQ(fileText(dir.file("tlmfont.h")), test::readShippedHeader("tlmfont.h"));
}

// --- "Exporting..."

ExportRequest requestFor(const std::string& path, ExportFormat format) {
    ExportRequest request;
    request.path = path;
    request.format = format;
    request.now = 1700000000;  // a fixed "Create time"
    return request;
}

TEST(ExportProgress, FinishesOnTheWorkerThread) {
    test::TempDir dir;
    const Font font = testFont(500, 16);
    GatedSettings settings;
    const std::string path = dir.file("Big.c");
    ExportProgressDialog window(font, settings, requestFor(path, ExportFormat::StudioC));
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Exporting..."));
    EXPECT_EQ(child<QLabel>(window, "labelProduct")->text(), QStringLiteral("Typeloom Studio"));
    EXPECT_EQ(child<QLabel>(window, "labelExporting")->text(),
              QStringLiteral("is exporting bitmap data to a file."));
    EXPECT_EQ(child<QLabel>(window, "labelState")->text(), QStringLiteral("Please Wait..."));
    EXPECT_TRUE(child<QPushButton>(window, "buttonCancel")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(window, "buttonOk")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(window, "buttonVerify")->isEnabled());
    EXPECT_EQ(window.state(), ExportProgressDialog::State::Waiting);

    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(window, "labelState")->text(),
                              QStringLiteral("Finished!!"), 20000);
    EXPECT_TRUE(settings.readOnWorker());  // the writer read its options off this thread
    EXPECT_FALSE(child<QPushButton>(window, "buttonCancel")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(window, "buttonOk")->isEnabled());
    EXPECT_EQ(child<QPushButton>(window, "buttonOk")->text(), QStringLiteral("OK"));
    EXPECT_TRUE(window.isVisible());  // only the user closes it
    const auto expected =
        exporters::exportToMemory(font, settings, ExportFormat::StudioC, "fontBig", 1700000000);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(fileText(path), *expected);

    // Verify reads the file just written back and finds every character.
    EXPECT_TRUE(child<QPushButton>(window, "buttonVerify")->isEnabled());
    click(window, "buttonVerify");
    EXPECT_TRUE(child<QLabel>(window, "labelState")
                    ->text()
                    .startsWith(QStringLiteral("Verified 500 characters of Big.c (table-c, ")))
        << window.verifyText().toStdString();

    click(window, "buttonOk");
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.result().ok());
}

TEST(ExportProgress, CancelMidRunKeepsTheEarlierFile) {
    test::TempDir dir;
    const Font font = testFont(500, 16);
    GatedSettings settings;
    settings.closeGate();
    const std::string path = dir.file("font.c");
    writeText(path, "an earlier export");
    ExportProgressDialog window(font, settings, requestFor(path, ExportFormat::GeneralC));
    OpenGateOnExit gate{settings};
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(settings.workerEntered(), 20000);
    EXPECT_EQ(window.state(), ExportProgressDialog::State::Exporting);

    click(window, "buttonCancel");
    EXPECT_FALSE(child<QPushButton>(window, "buttonCancel")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(window, "buttonOk")->isEnabled());
    settings.openGate();
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(window, "labelState")->text(),
                              QStringLiteral("Cancelled!!"), 20000);
    EXPECT_EQ(child<QPushButton>(window, "buttonOk")->text(), QStringLiteral("Exit"));
    EXPECT_EQ(window.state(), ExportProgressDialog::State::Cancelled);
    EXPECT_EQ(fileText(path), "an earlier export");
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"font.c"});
    click(window, "buttonOk");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result().status, ExportResult::Status::Cancelled);
}

TEST(ExportProgress, CancelBeforeTheWorkerStartsWritesNothing) {
    test::TempDir dir;
    const Font font = testFont(500, 8);
    GatedSettings settings;
    ExportProgressDialog window(font, settings,
                                requestFor(dir.file("font.c"), ExportFormat::GeneralC));
    window.show();
    // Escape acts as "Cancel" and leaves the window open.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(child<QLabel>(window, "labelState")->text(), QStringLiteral("Cancelled!!"));
    EXPECT_EQ(child<QPushButton>(window, "buttonOk")->text(), QStringLiteral("Exit"));
    QTest::qWait(300);  // well past the 100 ms start
    EXPECT_FALSE(settings.readOnWorker());
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
    // Once "Exit" is enabled, Escape closes the window.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result().status, ExportResult::Status::Cancelled);
}

TEST(ExportProgress, WriteFailureIsNotShownAsACancel) {
    test::TempDir dir;
    const Font font = testFont(500, 8);
    MemorySettingsStore settings;
    ExportProgressDialog window(font, settings,
                                requestFor(dir.file("missing/font.c"), ExportFormat::GeneralC));
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(window, "buttonOk")->isEnabled(), 20000);
    EXPECT_EQ(window.state(), ExportProgressDialog::State::Failed);
    const QString text = child<QLabel>(window, "labelState")->text();
    EXPECT_NE(text, QStringLiteral("Cancelled!!"));
    EXPECT_NE(text, QStringLiteral("Finished!!"));
    EXPECT_FALSE(text.isEmpty());
    EXPECT_EQ(child<QPushButton>(window, "buttonOk")->text(), QStringLiteral("Exit"));
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
}

// --- "Export Finished"

TEST(ExportFinished, VerifyReadsTheFileJustWrittenBack) {
    test::TempDir dir;
    Font font = testFont(5, 12);
    MemorySettingsStore settings;
    const ExportRequest request = requestFor(dir.file("Small.c"), ExportFormat::StudioC);
    const CancelFlag never;
    NullProgressSink progress;
    ASSERT_TRUE(exporters::runExport(font, settings, request, never, progress).ok());
    {
        ExportFinishedDialog window(font, request);
        window.show();
        EXPECT_EQ(child<QLabel>(window, "labelState")->text(), QStringLiteral("Finished!!"));
        EXPECT_TRUE(child<QLabel>(window, "labelFile")->text().endsWith(QStringLiteral("Small.c")));
        click(window, "buttonVerify");
        EXPECT_TRUE(child<QLabel>(window, "labelState")
                        ->text()
                        .startsWith(QStringLiteral("Verified 5 characters of Small.c (table-c, ")))
            << window.verifyText().toStdString();
        EXPECT_FALSE(child<QPlainTextEdit>(window, "textVerifyReport")->isVisible());
        click(window, "buttonOk");
        EXPECT_FALSE(window.isVisible());
    }
    // A file that no longer matches the font: the differing character with both pictures.
    font.glyphs.find(0x22)->pixels[0] ^= 1;
    ExportFinishedDialog window(font, request);
    window.show();
    click(window, "buttonVerify");
    EXPECT_EQ(child<QLabel>(window, "labelState")->text(),
              QStringLiteral("Small.c (table-c, Big Endian, Row based, Row preferred, Unpacked, 8 "
                             "bits) differs from the project in 1 character (4 match):"));
    auto* report = child<QPlainTextEdit>(window, "textVerifyReport");
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(report->toPlainText().contains(QStringLiteral("0x0022")))
        << report->toPlainText().toStdString();
}

// --- Option pages

TEST(ExportOptionsPage, ShowsTheBitsAndRewritesOnlyItsOwn) {
    MemorySettingsStore settings;
    // Offset table and UCHAR data on; C99 braces (0x20) and two unknown bits belong to others.
    settings.writeInteger(kSettingsSection, exporters::kPagesOptionKey,
                          0x02 | 0x10 | 0x20 | 0x80 | 0x100);
    ExportOptionsPage page(settings);
    page.show();
    EXPECT_TRUE(page.isLoaded());
    auto* data = child<QCheckBox>(page, "checkDataTable");
    EXPECT_TRUE(data->isChecked());
    EXPECT_FALSE(data->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(page, "checkOffsetTable")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(page, "checkWidthTable")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(page, "checkAsciiIndexTable")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(page, "checkExtendedIndexTable")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(page, "radioUchar")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(page, "radioByLength")->isChecked());

    click(page, "checkWidthTable");
    click(page, "checkExtendedIndexTable");
    click(page, "checkOffsetTable");
    click(page, "radioByLength");
    page.apply();
    // Kept: 0x20 | 0x80 | 0x100; rewritten: data table 0x01, width 0x04, extended index 0x40.
    EXPECT_EQ(settings.readInteger(kSettingsSection, exporters::kPagesOptionKey), 0x1E5);
}

TEST(CompilerPage, RewritesOnlyTheBracesBit) {
    MemorySettingsStore settings;
    CompilerPage page(settings);
    page.show();
    // The default 111 (0x6F) includes 0x20.
    auto* braces = child<QCheckBox>(page, "checkC99Braces");
    EXPECT_TRUE(braces->isChecked());
    click(page, "checkC99Braces");
    page.apply();
    EXPECT_EQ(settings.readInteger(kSettingsSection, exporters::kPagesOptionKey), 0x4F);

    settings.writeInteger(kSettingsSection, exporters::kPagesOptionKey, 0x8F & ~0x20);
    CompilerPage other(settings);
    other.show();
    EXPECT_FALSE(child<QCheckBox>(other, "checkC99Braces")->isChecked());
    click(other, "checkC99Braces");
    other.apply();
    EXPECT_EQ(settings.readInteger(kSettingsSection, exporters::kPagesOptionKey), 0xAF);
}

TEST(OptionPages, UnchangedOrUnshownPagesWriteNothing) {
    MemorySettingsStore settings;
    ExportOptionsPage shownExt(settings);
    CompilerPage shownC99(settings);
    shownExt.show();
    shownC99.show();
    shownExt.apply();
    shownC99.apply();
    ExportOptionsPage hidden(settings);
    click(hidden, "checkOffsetTable");  // never shown, so never loaded
    hidden.apply();
    EXPECT_EQ(settings.writeCount(), 0);
}

TEST(OptionPages, HelpButtonsAskForThePreferenceTopic) {
    MemorySettingsStore settings;
    ExportOptionsPage ext(settings);
    CompilerPage c99(settings);
    QSignalSpy extSpy(&ext, &ExportOptionsPage::helpRequested);
    QSignalSpy c99Spy(&c99, &CompilerPage::helpRequested);
    ext.show();
    c99.show();
    click(ext, "buttonHelp");
    click(c99, "buttonHelp");
    ASSERT_EQ(extSpy.count(), 1);
    ASSERT_EQ(c99Spy.count(), 1);
    EXPECT_EQ(extSpy.at(0).at(0).toString(), QStringLiteral("preference.htm"));
    EXPECT_EQ(c99Spy.at(0).at(0).toString(), QStringLiteral("preference.htm"));
}

}  // namespace
}  // namespace typeloom::ui
