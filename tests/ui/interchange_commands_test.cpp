#include "interchange/ui/interchange_commands.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <functional>

#include "charset/encodings.h"
#include "common/settings_store.h"
#include "common/ui/file_written_dialog.h"
#include "dialog_test_support.h"
#include "interchange/freetype_reference.h"
#include "interchange/interchange_test_support.h"
#include "model/font.h"
#include "model/font_settings.h"
#include "model/ui/font_info_dialog.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::glyphArt;
using test::pressOk;
using test::ScriptedDialogs;
using test::TempDir;

QString qpath(const std::string& path) {
    return QString::fromStdString(path);
}

// --- Import Font Resource

// Two 4 x 6 characters, ascent 5, descent 1; the rows below are the pictures drawn by hand.
const std::vector<std::string> kTinyBdf = {"STARTFONT 2.1",
                                           "FONT -misc-tiny",
                                           "SIZE 6 75 75",
                                           "FONTBOUNDINGBOX 4 6 0 -1",
                                           "STARTPROPERTIES 2",
                                           "FONT_ASCENT 5",
                                           "FONT_DESCENT 1",
                                           "ENDPROPERTIES",
                                           "CHARS 2",
                                           "STARTCHAR A",
                                           "ENCODING 65",
                                           "SWIDTH 500 0",
                                           "DWIDTH 4 0",
                                           "BBX 4 6 0 -1",
                                           "BITMAP",
                                           "60",
                                           "90",
                                           "F0",
                                           "90",
                                           "90",
                                           "00",
                                           "ENDCHAR",
                                           "STARTCHAR B",
                                           "ENCODING 66",
                                           "SWIDTH 500 0",
                                           "DWIDTH 4 0",
                                           "BBX 4 6 0 -1",
                                           "BITMAP",
                                           "E0",
                                           "90",
                                           "E0",
                                           "90",
                                           "E0",
                                           "00",
                                           "ENDCHAR",
                                           "ENDFONT"};

TEST(InterchangeImport, BdfFileReplacesTheFont) {
    TempDir dir;
    test::writeFile(dir.file("tiny.bdf"), test::lines(kTinyBdf));
    ScriptedDialogs scripted;
    scripted.openFileAnswer = qpath(dir.file("tiny.bdf"));
    Font font = test::openFont();
    MemorySettingsStore settings;
    int prompts = 0;
    QString imported;
    ASSERT_TRUE(ui::runImportFontResource(
        nullptr, font, settings, [&] { return ++prompts, true; }, &imported, scripted.services()));
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(imported, scripted.openFileAnswer);
    EXPECT_TRUE(scripted.messages.empty());
    // The filter of the open dialog, in Qt's form.
    ASSERT_EQ(scripted.openFileFilters.size(), 1u);
    EXPECT_EQ(scripted.openFileFilters[0],
              QStringLiteral("ALL Font Resources (*.fnt *.fon *.bdf);;Windows Font Resource "
                             "(*.fnt);;Windows Bitmap Font (*.fon);;Bitmap Distribution Format "
                             "(*.bdf)"));
    EXPECT_EQ(font.faceName, "tiny");
    EXPECT_EQ(font.encoding, static_cast<std::uint32_t>(kEncodingUnicode));
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x41, 0x42}));
    EXPECT_EQ(font.height, 6);
    EXPECT_EQ(font.ascent, 5);
    EXPECT_EQ(font.fixedWidth, 4);
    EXPECT_EQ(glyphArt(font, 0x41),
              (std::vector<std::string>{".##.", "#..#", "####", "#..#", "#..#", "...."}));
    EXPECT_EQ(glyphArt(font, 0x42),
              (std::vector<std::string>{"###.", "#..#", "###.", "#..#", "###.", "...."}));
    EXPECT_EQ(font.glyphs.find(0x31), nullptr);
}

TEST(InterchangeImport, RepairedCharactersAreToldInOneMessage) {
    TempDir dir;
    std::vector<std::string> repaired = kTinyBdf;
    // Character A without its BITMAP line and rows (lines 15 to 21 of the file).
    repaired.erase(repaired.begin() + 14, repaired.begin() + 21);
    test::writeFile(dir.file("repaired.bdf"), test::lines(repaired));
    ScriptedDialogs scripted;
    scripted.openFileAnswer = qpath(dir.file("repaired.bdf"));
    Font font = test::openFont();
    MemorySettingsStore settings;
    ASSERT_TRUE(ui::runImportFontResource(
        nullptr, font, settings, [] { return true; }, nullptr, scripted.services()));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(scripted.messages[0].text,
              QStringLiteral("Some characters of repaired.bdf were damaged; the font was read as "
                             "far as it could be:\n\n- 1 character without BITMAP kept blank "
                             "(line 10)"));
    // The character is there, blank at its width.
    EXPECT_EQ(glyphArt(font, 0x41),
              (std::vector<std::string>{"....", "....", "....", "....", "....", "...."}));
}

TEST(InterchangeImport, DamagedFileShowsTheMessagesAndLeavesTheFont) {
    TempDir dir;
    std::vector<std::string> damaged = kTinyBdf;
    std::erase(damaged, std::string("FONT_ASCENT 5"));
    test::writeFile(dir.file("damaged.bdf"), test::lines(damaged));
    ScriptedDialogs scripted;
    scripted.openFileAnswer = qpath(dir.file("damaged.bdf"));
    Font font = test::openFont();
    MemorySettingsStore settings;
    QString imported = QStringLiteral("untouched");
    EXPECT_FALSE(ui::runImportFontResource(
        nullptr, font, settings, [] { return true; }, &imported, scripted.services()));
    // One message: the fixed text, then the file and the reader's reason with its line.
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Stop);
    const QString text = scripted.messages[0].text;
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("Failed to loaded this file.\n\n") + qpath(dir.file("damaged.bdf")) +
        QStringLiteral("\nline 35: FONT_ASCENT or FONT_DESCENT is missing")))
        << text.toStdString();
    EXPECT_EQ(imported, QStringLiteral("untouched"));
    test::expectOpenFontUnchanged(font);
}

// A file chosen by name (a recent entry) is imported like one chosen in the dialog; one that
// is gone or damaged is told in one message with the file and the reason, whatever its kind.
TEST(InterchangeImport, FileChosenByNameImportsOrSaysWhyNot) {
    TempDir dir;
    test::writeFile(dir.file("tiny.bdf"), test::lines(kTinyBdf));
    test::writeFile(dir.file("notes.fnt"), {'h', 'e', 'l', 'l', 'o', ' ', 'f', 'o', 'n', 't'});
    const struct {
        const char* file;
        bool imported;
        QString message;  // its start
    } rows[] = {
        {"tiny.bdf", true, {}},
        {"gone.bdf", false, QStringLiteral("Failed to open this .fnt file\n\n")},
        {"gone.fon", false, QStringLiteral("Failed to open this .fnt file\n\n")},
        {"notes.fnt", false, QStringLiteral("Failed to open this .fnt file\n\n")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        ScriptedDialogs scripted;
        Font font = test::openFont();
        int prompts = 0;
        EXPECT_EQ(ui::importFontFile(
                      nullptr, font, qpath(dir.file(row.file)), [&] { return ++prompts, true; },
                      scripted.services()),
                  row.imported);
        EXPECT_EQ(prompts, 1);
        if (row.imported) {
            EXPECT_TRUE(scripted.messages.empty());
            EXPECT_EQ(font.faceName, "tiny");
            continue;
        }
        test::expectOpenFontUnchanged(font);
        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_TRUE(scripted.messages[0].text.startsWith(row.message + qpath(dir.file(row.file))))
            << scripted.messages[0].text.toStdString();
    }
}

TEST(InterchangeImport, UnknownContentOrCancelChangesNothingAndShowsNothing) {
    TempDir dir;
    test::writeFile(dir.file("notes.fnt"), {'h', 'e', 'l', 'l', 'o', ' ', 'f', 'o', 'n', 't'});
    Font font = test::openFont();
    MemorySettingsStore settings;
    {
        ScriptedDialogs scripted;
        scripted.openFileAnswer = qpath(dir.file("notes.fnt"));
        EXPECT_FALSE(ui::runImportFontResource(
            nullptr, font, settings, [] { return true; }, nullptr, scripted.services()));
        EXPECT_TRUE(scripted.messages.empty());
    }
    {
        ScriptedDialogs scripted;  // the file dialog is cancelled: no save prompt either
        int prompts = 0;
        EXPECT_FALSE(ui::runImportFontResource(
            nullptr, font, settings, [&] { return ++prompts, true; }, nullptr,
            scripted.services()));
        EXPECT_EQ(prompts, 0);
    }
    {
        test::writeFile(dir.file("tiny.bdf"), test::lines(kTinyBdf));
        ScriptedDialogs scripted;  // the save prompt is cancelled
        scripted.openFileAnswer = qpath(dir.file("tiny.bdf"));
        EXPECT_FALSE(ui::runImportFontResource(
            nullptr, font, settings, [] { return false; }, nullptr, scripted.services()));
    }
    test::expectOpenFontUnchanged(font);
}

// --- Windows font export

// "Panel": codes 0x41..0x45 of the "Ascii+ISO8859" encoding, 5 x 7, each with a different
// diagonal of ink.
Font panelFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(0x41, 0x45, 5, 7, "Panel");
    font.glyphs.forEachMutable([](std::uint16_t key, Glyph& g) {
        for (int y = 0; y < 7; ++y) {
            g.pixels[static_cast<std::size_t>(y * 5 + (y + key) % 5)] = 1;
        }
    });
    return font;
}

// The Font Info dialog answered with a new name and OK.

// Presses "Verify" in the "Export Finished" window the export ends in and keeps what it found
// in `found`; any other dialog goes to `others`.
std::function<int(QDialog&)> verifyWhenFinished(QString& found,
                                                std::function<int(QDialog&)> others = {}) {
    return [&found, others](QDialog& d) {
        if (auto* written = dynamic_cast<ui::FileWrittenDialog*>(&d)) {
            written->findChild<QPushButton*>(QStringLiteral("buttonVerify"))->click();
            found = written->verifyText();
            return static_cast<int>(QDialog::Accepted);
        }
        return others ? others(d) : static_cast<int>(QDialog::Rejected);
    };
}

ScriptedDialogs exportDialogs(const std::string& destination) {
    ScriptedDialogs scripted;
    scripted.onDialog = [](QDialog& d) {
        if (dynamic_cast<ui::FileWrittenDialog*>(&d) != nullptr) {
            return static_cast<int>(QDialog::Accepted);  // "Export Finished": OK
        }
        auto& dialog = dynamic_cast<ui::FontInfoDialog&>(d);
        dialog.nameEdit()->setText(QStringLiteral("Panel Face"));
        return pressOk(dialog);
    };
    scripted.saveFileAnswer = qpath(destination);
    return scripted;
}

void expectFreeTypeReadsPanel(const std::string& path, const Font& font) {
    const test::ReferenceFace face = test::freetypeFace(test::readFile(path));
    ASSERT_TRUE(face.ok) << face.error;
    EXPECT_EQ(face.family, "Panel Face");
    // FreeType gives the pixel height plus the external leading, which the writer sets to the
    // ascent (7 - 2) when the header holds 0.
    EXPECT_EQ(face.height, 7 + 5);
    // The driver numbers the characters from 1 (glyph 0 is the default character) and adds
    // the blank extra entry.
    ASSERT_EQ(face.glyphCount, 6);
    for (std::uint16_t code = 0x41; code <= 0x45; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(face.glyphs[code - 0x41 + 1].rows, glyphArt(font, code));
    }
}

TEST(InterchangeFntExport, WritesAFileFreeTypeReadsBack) {
    TempDir dir;
    Font font = panelFont();
    ScriptedDialogs scripted = exportDialogs(dir.file("out.fnt"));
    QString verified;
    scripted.onDialog = verifyWhenFinished(verified, scripted.onDialog);
    bool written = false;
    EXPECT_TRUE(ui::runWindowsFontExport(nullptr, font, false, scripted.services(), &written));
    EXPECT_TRUE(written);
    EXPECT_TRUE(scripted.messages.empty());
    // The export ends in "Export Finished", whose "Verify" reads the file back.
    EXPECT_EQ(scripted.dialogsRun, (std::vector<QString>{QStringLiteral("Font Info"),
                                                         QStringLiteral("Export Finished")}));
    EXPECT_TRUE(verified.startsWith(QStringLiteral("Verified 5 characters of out.fnt (fnt)")))
        << verified.toStdString();
    EXPECT_EQ(scripted.proposedSaveNames, std::vector<QString>{QStringLiteral("Panel7h.fnt")});
    expectFreeTypeReadsPanel(dir.file("out.fnt"), font);
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"out.fnt"});
}

TEST(InterchangeFntExport, WritesALibraryFreeTypeReadsBack) {
    TempDir dir;
    Font font = panelFont();
    font.faceName = "My-Panel 2";
    ScriptedDialogs scripted = exportDialogs(dir.file("out.fon"));
    bool written = false;
    ui::runWindowsFontExport(nullptr, font, true, scripted.services(), &written);
    EXPECT_TRUE(written);
    // Blanks and '-' of the name become '_'.
    EXPECT_EQ(scripted.proposedSaveNames, std::vector<QString>{QStringLiteral("My_Panel_27h.fon")});
    expectFreeTypeReadsPanel(dir.file("out.fon"), font);
}

TEST(InterchangeFntExport, RefusalsAndCancelsWriteNothing) {
    TempDir dir;
    struct Row {
        const char* what;
        bool fon;
        bool unicode;
        bool cancelInfo;
        std::vector<QString> messages;
        ui::MessageIcon icon;
    };
    const Row rows[] = {
        {"unicode .fnt",
         false,
         true,
         false,
         {QStringLiteral(
             "Windows Font Resource (*.fnt) file can ONLY be\r\nAscii+ISO8859 encoding ONLY. "
             "\r\n\r\nPlease change the Encoding to Ascii+ISO8859 by the \"Edit "
             "Characters Table...\" command first.")},
         ui::MessageIcon::Stop},
        {"unicode .fon",
         true,
         true,
         false,
         {QStringLiteral(
             "Windows Bitmap Font (*.fon) file can ONLY be \r\nAscii+ISO8859 encoding ONLY. "
             "\r\n\r\nPlease change the Encoding to Ascii+ISO8859 by the \"Edit "
             "Characters Table...\" command first.")},
         ui::MessageIcon::Stop},
        {"info cancelled .fnt",
         false,
         false,
         true,
         {QStringLiteral("Export to Windows Font Resource file (*.fnt)\r\n\r\nCancelled!")},
         ui::MessageIcon::Exclamation},
        {"info cancelled .fon",
         true,
         false,
         true,
         {QStringLiteral("Export to Windows Bitmap Font (*.fon)\r\n\r\nCancelled!")},
         ui::MessageIcon::Exclamation},
        {"save dialog cancelled", false, false, false, {}, ui::MessageIcon::Stop},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Font font = panelFont();
        if (r.unicode) {
            font.setEncoding(kEncodingUnicode);
        }
        ScriptedDialogs scripted;
        scripted.onDialog = [&](QDialog& d) { return r.cancelInfo ? 0 : pressOk(d); };
        bool written = true;
        const bool changed =
            ui::runWindowsFontExport(nullptr, font, r.fon, scripted.services(), &written);
        // Only an OK in Font Info changes the font (its header name and copyright were empty).
        EXPECT_EQ(changed, !r.unicode && !r.cancelInfo);
        EXPECT_FALSE(written);
        std::vector<QString> texts;
        for (const test::ShownMessage& m : scripted.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.icon, r.icon);
        }
        EXPECT_EQ(texts, r.messages);
        if (r.unicode) {
            EXPECT_TRUE(scripted.dialogsRun.empty());
        }
        if (r.unicode || r.cancelInfo) {
            EXPECT_TRUE(scripted.proposedSaveNames.empty());
        }
    }
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
}

TEST(InterchangeFntExport, FileThatCannotBeCreatedIsReported) {
    TempDir dir;
    Font font = panelFont();
    const std::string destination = dir.file("no-such-folder/out.fnt");
    ScriptedDialogs scripted = exportDialogs(destination);
    bool written = true;
    ui::runWindowsFontExport(nullptr, font, false, scripted.services(), &written);
    EXPECT_FALSE(written);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Stop);
    EXPECT_TRUE(scripted.messages[0].text.contains(QStringLiteral("out.fnt")));
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
}

// --- BDF export

TEST(InterchangeBdfExport, WritesWhatFreeTypeReadsOrReportsWhyNot) {
    TempDir dir;
    const Font font = panelFont();
    ScriptedDialogs scripted;
    scripted.saveFileAnswer = qpath(dir.file("out.bdf"));
    EXPECT_TRUE(ui::runBdfExport(nullptr, font, scripted.services()));
    EXPECT_EQ(scripted.proposedSaveNames, std::vector<QString>{QStringLiteral("Panel7h.bdf")});
    EXPECT_TRUE(scripted.messages.empty());
    const test::ReferenceFace face = test::freetypeFace(test::readFile(dir.file("out.bdf")));
    ASSERT_TRUE(face.ok) << face.error;
    for (std::uint16_t code = 0x41; code <= 0x45; ++code) {
        EXPECT_EQ(face.glyphs[code - 0x41 + 1].rows, glyphArt(font, code)) << code;
    }
    // A folder that does not exist: a stop message naming the file, nothing written.
    scripted.saveFileAnswer = qpath(dir.file("missing/out.bdf"));
    EXPECT_FALSE(ui::runBdfExport(nullptr, font, scripted.services()));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Stop);
    EXPECT_TRUE(scripted.messages[0].text.contains(QStringLiteral("out.bdf")));
    // Cancelled: nothing.
    scripted.saveFileAnswer.clear();
    EXPECT_FALSE(ui::runBdfExport(nullptr, font, scripted.services()));
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"out.bdf"});
}

// --- Bitmap files of all characters

void expectBitmapsOfPanel(const std::filesystem::path& folder, const Font& font) {
    std::vector<std::string> expectedNames;
    for (std::uint16_t code = 0x41; code <= 0x45; ++code) {
        char name[16];
        std::snprintf(name, sizeof name, "char%04x.bmp", code);
        expectedNames.push_back(name);
        SCOPED_TRACE(name);
        const QImage image(qpath((folder / name).string()));
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.width(), 5);
        ASSERT_EQ(image.height(), 7);
        std::vector<std::string> rows;
        for (int y = 0; y < image.height(); ++y) {
            std::string row;
            for (int x = 0; x < image.width(); ++x) {
                row += qGray(image.pixel(x, y)) < 128 ? '#' : '.';
            }
            rows.push_back(row);
        }
        EXPECT_EQ(rows, glyphArt(font, code));
    }
    EXPECT_EQ(test::listFolder(folder), expectedNames);
}

TEST(InterchangeBitmapExport, StoredFolderWithoutAskingGetsOneBitmapPerCharacter) {
    TempDir dir;
    Font font = panelFont();
    MemorySettingsStore settings;
    settings.writeInteger(kSettingsSection, "AlwaysAsk", 0);
    settings.writeString(kSettingsSection, "BmpFolder", dir.path().string());
    ScriptedDialogs scripted;
    QString verified;
    scripted.onDialog = verifyWhenFinished(verified);
    test::RecordingProgress progress;
    EXPECT_TRUE(ui::runBitmapExport(nullptr, font, settings, progress, scripted.services()));
    EXPECT_TRUE(scripted.folderTitles.empty());  // no chooser
    EXPECT_TRUE(scripted.messages.empty());
    EXPECT_EQ(scripted.dialogsRun, std::vector<QString>{QStringLiteral("Export Finished")});
    EXPECT_TRUE(verified.startsWith(QStringLiteral("Verified 5 characters of ")))
        << verified.toStdString();
    expectBitmapsOfPanel(dir.path(), font);
    ASSERT_EQ(scripted.foldersOpened.size(), 1u);
    EXPECT_EQ(scripted.foldersOpened[0], qpath(dir.path().string()));
    EXPECT_EQ(progress.steps, 5);
    EXPECT_EQ(progress.texts.back(), kIdleStatusText);
}

TEST(InterchangeBitmapExport, ChooserAppearsWhenAskedOrTheFolderIsGoneAndIsRemembered) {
    struct Row {
        const char* what;
        int alwaysAsk;
        bool folderExists;
    };
    for (const Row& r : {Row{"always ask", 1, true}, Row{"folder deleted", 0, false}}) {
        SCOPED_TRACE(r.what);
        TempDir stored;
        TempDir chosen;
        Font font = panelFont();
        MemorySettingsStore settings;
        settings.writeInteger(kSettingsSection, "AlwaysAsk", r.alwaysAsk);
        const std::string storedFolder =
            r.folderExists ? stored.path().string() : stored.file("deleted");
        settings.writeString(kSettingsSection, "BmpFolder", storedFolder);
        ScriptedDialogs scripted;
        scripted.folderAnswer = qpath(chosen.path().string());
        test::RecordingProgress progress;
        EXPECT_TRUE(ui::runBitmapExport(nullptr, font, settings, progress, scripted.services()));
        EXPECT_EQ(
            scripted.folderTitles,
            std::vector<QString>{QStringLiteral("Select a folder to save the bitmap files: ")});
        expectBitmapsOfPanel(chosen.path(), font);
        EXPECT_EQ(settings.string(kSettingsSection, "BmpFolder", ""), chosen.path().string());
        EXPECT_TRUE(test::listFolder(stored.path()).empty());
    }
}

TEST(InterchangeBitmapExport, CancelledOrInvalidChoiceWritesNothing) {
    TempDir dir;
    Font font = panelFont();
    test::RecordingProgress progress;
    {
        MemorySettingsStore settings;  // "AlwaysAsk" defaults to 1
        ScriptedDialogs scripted;
        EXPECT_FALSE(ui::runBitmapExport(nullptr, font, settings, progress, scripted.services()));
        EXPECT_TRUE(scripted.messages.empty());
        EXPECT_EQ(settings.writeCount(), 0);
    }
    {
        MemorySettingsStore settings;
        ScriptedDialogs scripted;
        test::writeFile(dir.file("a-file"), {1});
        scripted.folderAnswer = qpath(dir.file("a-file"));  // not a folder
        EXPECT_FALSE(ui::runBitmapExport(nullptr, font, settings, progress, scripted.services()));
        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_EQ(scripted.messages[0].text,
                  QStringLiteral("The folder path is invalid.\n\nSelect a valid folder or create "
                                 "a new folder, please!"));
        EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(settings.writeCount(), 0);
        EXPECT_TRUE(scripted.foldersOpened.empty());
    }
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"a-file"});
    EXPECT_EQ(progress.steps, 0);
}

}  // namespace
}  // namespace typeloom
