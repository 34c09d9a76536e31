#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/settings_store.h"
#include "dialog_test_support.h"
#include "interchange/interchange_test_support.h"
#include "model/font.h"
#include "model/font_chooser.h"
#include "model/font_settings.h"
#include "model/freetype_renderer.h"
#include "model/rasteriser.h"
#include "model/system_fonts.h"
#include "model/ui/font_commands.h"
#include "model/ui/font_info_dialog.h"
#include "model/ui/new_font_dialog.h"
#include "model/ui/spin_edit.h"
#include "model/ui/system_font_dialog.h"

namespace typeloom {
namespace {

using test::glyphArt;
using test::pressOk;
using test::ScriptedDialogs;

QPushButton* helpButton(QDialog& dialog) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("&Help")) {
            return b;
        }
    }
    return nullptr;
}

bool hasInk(const Font& font, std::uint16_t u) {
    const Glyph* g = font.glyphs.find(u);
    return g != nullptr &&
           std::any_of(g->pixels.begin(), g->pixels.end(), [](std::uint8_t p) { return p != 0; });
}

// --- New Empty Font

TEST(NewFontDialogWidget, OpensWithTheInitialFields) {
    ui::NewFontDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Empty Font"));
    EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("Untitled"));
    EXPECT_EQ(dialog.fromEdit()->text(), QStringLiteral("32"));
    EXPECT_EQ(dialog.toEdit()->text(), QStringLiteral("127"));
    EXPECT_EQ(dialog.widthEdit()->text(), QStringLiteral("12"));
    EXPECT_EQ(dialog.heightEdit()->text(), QStringLiteral("12"));
}

TEST(NewFontDialogWidget, RefusedOkShowsTheMessageAndSelectsTheField) {
    struct Row {
        const char* what;
        NewFontFields fields;
        NewFontField focus;
        const char* typed;
        const char* message;
    };
    auto with = [](auto change) {
        NewFontFields f;
        change(f);
        return f;
    };
    const Row rows[] = {
        {"from equal to to", with([](auto& f) {
             f.first = "65";
             f.last = "65";
         }),
         NewFontField::Last, "65", "Last character must be larger than First character"},
        {"width 513", with([](auto& f) { f.width = "513"; }), NewFontField::Width, "513",
         "Please enter an integer between 1 and 512."},
        {"height 3", with([](auto& f) { f.height = "3"; }), NewFontField::Height, "3",
         "Please enter an integer between 4 and 512."},
        {"empty from", with([](auto& f) { f.first = ""; }), NewFontField::First, "",
         "Please enter an integer between 0 and 65534."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ScriptedDialogs scripted;
        ui::NewFontDialog dialog(nullptr, scripted.services());
        dialog.show();
        dialog.setFields(r.fields);
        EXPECT_EQ(pressOk(dialog), QDialog::Rejected);
        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_EQ(scripted.messages[0].text, QString::fromLatin1(r.message));
        EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Stop);
        EXPECT_TRUE(dialog.isVisible());  // stays open
        EXPECT_EQ(dialog.focusWidget(), dialog.fieldEdit(r.focus));
        EXPECT_EQ(dialog.fieldEdit(r.focus)->selectedText(), QString::fromLatin1(r.typed));
    }
}

TEST(NewFontDialogWidget, BlankNameIsAcceptedAsUntitledAndHelpNamesItsTopic) {
    ScriptedDialogs scripted;
    ui::NewFontDialog dialog(nullptr, scripted.services());
    dialog.nameEdit()->setText(QStringLiteral("   "));
    EXPECT_EQ(pressOk(dialog), QDialog::Accepted);
    EXPECT_TRUE(scripted.messages.empty());
    EXPECT_EQ(dialog.params().name, "Untitled");

    QSignalSpy spy(&dialog, &ui::NewFontDialog::helpRequested);
    QPushButton* help = helpButton(dialog);
    ASSERT_NE(help, nullptr);
    help->click();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.front().front().toString(), QStringLiteral("newfont.htm"));
}

TEST(NewFontDialogWidget, SpinStepsStayWithinTheSpinRange) {
    ui::NewFontDialog dialog;
    dialog.show();
    ui::SpinEdit* to = dialog.toEdit();
    to->setText(QStringLiteral("65535"));
    QTest::keyClick(to->edit(), Qt::Key_Up);
    EXPECT_EQ(to->text(), QStringLiteral("65535"));
    QTest::keyClick(to->edit(), Qt::Key_Down);
    EXPECT_EQ(to->text(), QStringLiteral("65534"));
    // A typed value past the range steps from the range's end.
    ui::SpinEdit* height = dialog.heightEdit();
    height->setText(QStringLiteral("900"));
    height->stepBy(-1);
    EXPECT_EQ(height->text(), QStringLiteral("511"));
    height->setText(QString());
    height->stepBy(1);
    EXPECT_EQ(height->text(), QStringLiteral("5"));
}

// The font open before a command: "Digits" 0x30..0x39.
Font digits() {
    return test::openFont();
}

TEST(NewFontCommand, OkCreatesTheFontWithTheChosenRangeAndSize) {
    ScriptedDialogs scripted;
    scripted.onDialog = [](QDialog& d) {
        auto& dialog = dynamic_cast<ui::NewFontDialog&>(d);
        NewFontFields f;
        f.name = "Caps";
        f.first = "65";
        f.last = "90";
        f.width = "10";
        f.height = "16";
        dialog.setFields(f);
        return pressOk(dialog);
    };
    Font font = digits();
    font.setEncoding(kEncodingAnsi);
    MemorySettingsStore settings;
    int prompts = 0;
    ASSERT_TRUE(ui::runNewFontFromScratch(
        nullptr, font, settings, [&] { return ++prompts, true; }, scripted.services()));
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(scripted.dialogsRun, std::vector<QString>{QStringLiteral("New Empty Font")});
    EXPECT_EQ(font.faceName, "Caps");
    EXPECT_EQ(font.encoding, static_cast<std::uint32_t>(kEncodingUnicode));
    EXPECT_EQ(font.bitsPerPixel, 1u);
    EXPECT_EQ(font.count(), 26);
    EXPECT_EQ(font.codeAt(0), 65);
    EXPECT_EQ(font.codeAt(25), 90);
    EXPECT_EQ(font.fixedWidth, 10);
    EXPECT_EQ(font.height, 16);
    EXPECT_EQ(font.ascent, 14);
    EXPECT_EQ(glyphArt(font, 'M'), std::vector<std::string>(16, std::string(10, '.')));
    EXPECT_EQ(font.glyphs.find(0x31), nullptr);  // nothing of the old font is left
}

TEST(NewFontCommand, CancelInTheDialogOrTheSavePromptChangesNothing) {
    {
        ScriptedDialogs scripted;  // the dialog is cancelled
        Font font = digits();
        MemorySettingsStore settings;
        int prompts = 0;
        EXPECT_FALSE(ui::runNewFontFromScratch(
            nullptr, font, settings, [&] { return ++prompts, true; }, scripted.services()));
        EXPECT_EQ(prompts, 0);
        test::expectOpenFontUnchanged(font);
    }
    {
        ScriptedDialogs scripted;
        scripted.onDialog = [](QDialog& d) { return pressOk(d); };
        Font font = digits();
        MemorySettingsStore settings;
        EXPECT_FALSE(ui::runNewFontFromScratch(
            nullptr, font, settings, [] { return false; }, scripted.services()));
        test::expectOpenFontUnchanged(font);
    }
}

TEST(NewFontCommand, HelpButtonsOfTheCommandsDialogsReachTheProgramsHelp) {
    ScriptedDialogs scripted;
    scripted.onDialog = [](QDialog& d) {
        helpButton(d)->click();
        d.reject();
        return d.result();
    };
    Font font = digits();
    MemorySettingsStore settings;
    ui::runNewFontFromScratch(
        nullptr, font, settings, [] { return true; }, scripted.services());
    ui::runFontInformation(nullptr, font, scripted.services());
    EXPECT_EQ(scripted.helpTopics, (std::vector<QString>{QStringLiteral("newfont.htm"),
                                                         QStringLiteral("changeinfo.htm")}));
    // The standard services hand the topic to the program's help.
    QStringList shown;
    ui::setHelpHandler([&](const QString& topic) { shown << topic; });
    ui::DialogServices::standard().showHelp(QStringLiteral("newfont.htm"));
    ui::setHelpHandler(nullptr);
    ui::DialogServices::standard().showHelp(QStringLiteral("ignored.htm"));
    EXPECT_EQ(shown, QStringList{QStringLiteral("newfont.htm")});
}

// --- The system font chooser

TEST(SystemFontDialog, ListsInstalledFamiliesStylesAndScripts) {
    ScriptedDialogs scripted;
    ui::SystemFontDialog dialog(nullptr, nullptr, scripted.services());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Font"));
    EXPECT_FALSE(
        dialog.familyList()->findItems(QStringLiteral("DejaVu Sans"), Qt::MatchExactly).isEmpty());
    ASSERT_TRUE(dialog.selectFace(QStringLiteral("dejavu sans mono"), QStringLiteral("bold")));
    EXPECT_EQ(dialog.familyEdit()->text(), QStringLiteral("DejaVu Sans Mono"));
    QStringList styles;
    for (int i = 0; i < dialog.styleList()->count(); ++i) {
        styles << dialog.styleList()->item(i)->text();
    }
    EXPECT_TRUE(styles.contains(QStringLiteral("Book")));
    EXPECT_TRUE(styles.contains(QStringLiteral("Bold")));
    EXPECT_GE(dialog.scriptBox()->findText(QStringLiteral("Western")), 0);
    EXPECT_GE(dialog.scriptBox()->findText(QStringLiteral("Cyrillic")), 0);
    EXPECT_FALSE(dialog.selectFace(QStringLiteral("No Such Family Here")));
    const LogFont chosen = dialog.logFont();
    EXPECT_EQ(chosen.weight, 700);
    EXPECT_EQ(chosen.italic, 0);
}

TEST(SystemFontDialog, TypedSizesAreHeldToFourTo244Points) {
    struct Row {
        const char* typed;
        int tenths;
        const char* shown;
        std::int32_t height;
    };
    // Heights by hand: whole points x 96 / 72, rounded, negative (an em height).
    const Row rows[] = {
        {"2", 40, "4", -5},         {"4", 40, "4", -5},         {"12", 120, "12", -16},
        {"10.5", 105, "10.5", -13}, {"244", 2440, "244", -325}, {"1000", 2440, "244", -325},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        ScriptedDialogs scripted;
        ui::SystemFontDialog dialog(nullptr, nullptr, scripted.services());
        dialog.sizeEdit()->setText(QString::fromLatin1(r.typed));
        EXPECT_EQ(pressOk(dialog), QDialog::Accepted);
        EXPECT_EQ(dialog.pointTenths(), r.tenths);
        EXPECT_EQ(dialog.sizeEdit()->text(), QString::fromLatin1(r.shown));
        EXPECT_EQ(dialog.logFont().height, r.height);
        EXPECT_TRUE(scripted.messages.empty());
    }
}

TEST(SystemFontDialog, RefusesASizeThatIsNoNumberAndAFamilyNotListed) {
    ScriptedDialogs scripted;
    ui::SystemFontDialog dialog(nullptr, nullptr, scripted.services());
    dialog.show();
    dialog.sizeEdit()->setText(QStringLiteral("big"));
    EXPECT_EQ(pressOk(dialog), QDialog::Rejected);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(dialog.focusWidget(), dialog.sizeEdit());

    dialog.sizeEdit()->setText(QStringLiteral("12"));
    dialog.familyEdit()->setText(QStringLiteral("Nonexistent Sans"));
    EXPECT_EQ(pressOk(dialog), QDialog::Rejected);
    EXPECT_EQ(scripted.messages.size(), 2u);
    EXPECT_EQ(dialog.focusWidget(), dialog.familyEdit());
}

TEST(SystemFontDialog, StartsFromTheSourceFontAndReturnsItAgain) {
    LogFont start;
    start.faceName = "DejaVu Sans Mono";
    start.weight = 700;
    start.height = -16;
    start.underline = 1;
    start.charSet = 204;  // Cyrillic
    ScriptedDialogs scripted;
    ui::SystemFontDialog dialog(&start, nullptr, scripted.services());
    EXPECT_EQ(dialog.familyEdit()->text(), QStringLiteral("DejaVu Sans Mono"));
    ASSERT_NE(dialog.styleList()->currentItem(), nullptr);
    EXPECT_EQ(dialog.styleList()->currentItem()->text(), QStringLiteral("Bold"));
    EXPECT_EQ(dialog.sizeEdit()->text(), QStringLiteral("12"));
    EXPECT_TRUE(dialog.underlineBox()->isChecked());
    EXPECT_FALSE(dialog.strikeOutBox()->isChecked());
    EXPECT_EQ(dialog.scriptBox()->currentText(), QStringLiteral("Cyrillic"));
    ASSERT_EQ(pressOk(dialog), QDialog::Accepted);
    const LogFont chosen = dialog.logFont();
    EXPECT_EQ(chosen.faceName, start.faceName);
    EXPECT_EQ(chosen.weight, start.weight);
    EXPECT_EQ(chosen.height, start.height);
    EXPECT_EQ(chosen.underline, 1);
    EXPECT_EQ(chosen.charSet, 204);
}

TEST(SystemFontDialog, SampleIsDrawnByTheRenderer) {
    ui::SystemFontDialog dialog(nullptr);
    ASSERT_TRUE(dialog.selectFace(QStringLiteral("DejaVu Sans"), QStringLiteral("Book")));
    const QImage image = dialog.sample()->pixmap().toImage();
    ASSERT_FALSE(image.isNull());
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 20);
}

TEST(SystemFontDialog, OffersToKeepAFixedPitchAndSaysHowManyCharactersLoseInk) {
    ui::SystemFontDialog dialog(nullptr);
    QSignalSpy counted(&dialog, &ui::SystemFontDialog::inkLossCounted);
    dialog.sizeEdit()->setText(QStringLiteral("12"));
    ASSERT_TRUE(dialog.selectFace(QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Book")));
    QCheckBox* keep = dialog.keepPitchBox();
    EXPECT_EQ(keep->text(), QStringLiteral("Keep fixed &pitch"));
    EXPECT_TRUE(keep->isEnabled());
    EXPECT_TRUE(keep->isChecked());
    EXPECT_EQ(dialog.pitchRule(), PitchRule::KeepPitch);
    // The count runs on a thread of its own; the chooser answers meanwhile.
    ASSERT_TRUE(counted.wait(20000));
    const LogFont font = dialog.logFont();
    const int expected = countCharactersLosingInk(FreeTypeRenderer(font));
    ASSERT_GT(expected, 1);
    EXPECT_EQ(dialog.charactersLosingInk(), expected);
    const QString n = QLocale().toString(expected);
    EXPECT_EQ(dialog.inkLossLabel()->text(),
              QStringLiteral("%1 characters lose ink outside the cell").arg(n));
    keep->setChecked(false);
    EXPECT_EQ(dialog.pitchRule(), PitchRule::WidenToInk);
    EXPECT_EQ(dialog.inkLossLabel()->text(),
              QStringLiteral("%1 characters get a wider cell").arg(n));
    // Another size of the same face keeps the user's choice and counts again.
    dialog.sizeEdit()->setText(QStringLiteral("9"));
    EXPECT_FALSE(keep->isChecked());
    EXPECT_TRUE(counted.wait(20000));

    // A proportional face has no pitch to keep.
    ASSERT_TRUE(dialog.selectFace(QStringLiteral("DejaVu Sans"), QStringLiteral("Book")));
    EXPECT_FALSE(keep->isEnabled());
    EXPECT_FALSE(keep->isChecked());
    EXPECT_EQ(dialog.pitchRule(), PitchRule::WidenToInk);
    EXPECT_TRUE(dialog.inkLossLabel()->text().isEmpty());
    // Choosing a new face while a count runs stops that count; closing the chooser too.
    ASSERT_TRUE(dialog.selectFace(QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Bold")));
    EXPECT_TRUE(keep->isChecked());
    EXPECT_EQ(dialog.charactersLosingInk(), -1);
    EXPECT_EQ(dialog.inkLossLabel()->text(),
              QStringLiteral("Counting the characters that lose ink..."));
}

// --- Import An Existing System Font

TEST(SystemFontImport, RendersTheChosenFontAsTheCoreDoes) {
    ScriptedDialogs scripted;
    scripted.onDialog = [](QDialog& d) {
        auto& dialog = dynamic_cast<ui::SystemFontDialog&>(d);
        dialog.selectFace(QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Book"));
        dialog.sizeEdit()->setText(QStringLiteral("10"));
        return pressOk(dialog);
    };
    Font font = digits();
    MemorySettingsStore settings;
    test::RecordingProgress progress;
    ASSERT_TRUE(ui::runImportSystemFont(
        nullptr, font, settings, progress, [] { return true; }, scripted.services()));

    // The same font described by hand: 10 points are 13 pixels at 96 dots per inch.
    LogFont expected;
    expected.faceName = "DejaVu Sans Mono";
    expected.weight = 400;
    expected.height = -13;
    Font reference;
    reference.setEncoding(kEncodingUnicode);
    NullProgressSink quiet;
    // A face of fixed pitch keeps it unless the chooser's box is unchecked.
    rasteriseSystemFont(reference, expected, DbcsTables::program(), quiet, PitchRule::KeepPitch);
    EXPECT_NE(reference.fixedWidth, 0);

    EXPECT_EQ(font.sourceFont.height, -13);
    EXPECT_EQ(font.faceName, reference.faceName);
    EXPECT_EQ(font.height, reference.height);
    EXPECT_EQ(font.ascent, reference.ascent);
    EXPECT_EQ(font.fixedWidth, reference.fixedWidth);
    EXPECT_EQ(font.codeList, reference.codeList);
    EXPECT_TRUE(font.glyphs == reference.glyphs);
    EXPECT_TRUE(font.fromSystemFont);
    for (char c : std::string("AZaz09")) {
        SCOPED_TRACE(c);
        EXPECT_TRUE(hasInk(font, static_cast<std::uint8_t>(c)));
    }
    // The progress ran "%d of %d" over the characters and ended with the idle text.
    ASSERT_FALSE(progress.ranges.empty());
    const int n = progress.ranges.front().second;
    EXPECT_EQ(progress.texts.front(), "1 of " + std::to_string(n));
    EXPECT_NE(std::find(progress.texts.begin(), progress.texts.end(),
                        std::to_string(n) + " of " + std::to_string(n)),
              progress.texts.end());
    EXPECT_EQ(progress.texts.back(), kIdleStatusText);
}

TEST(SystemFontImport, CancelInTheChooserOrTheSavePromptChangesNothing) {
    Font font = digits();
    MemorySettingsStore settings;
    test::RecordingProgress progress;
    ScriptedDialogs cancelled;
    int prompts = 0;
    EXPECT_FALSE(ui::runImportSystemFont(
        nullptr, font, settings, progress, [&] { return ++prompts, true; }, cancelled.services()));
    EXPECT_EQ(prompts, 0);
    ScriptedDialogs accepted;
    accepted.onDialog = [](QDialog& d) { return pressOk(d); };
    EXPECT_FALSE(ui::runImportSystemFont(
        nullptr, font, settings, progress, [] { return false; }, accepted.services()));
    test::expectOpenFontUnchanged(font);
    EXPECT_TRUE(progress.texts.empty());
}

TEST(SystemFontImport, OpensAtTheFamilyStyleAndSizeChosenLast) {
    MemorySettingsStore settings;
    test::RecordingProgress progress;
    ScriptedDialogs choose;
    choose.onDialog = [](QDialog& d) {
        auto& dialog = dynamic_cast<ui::SystemFontDialog&>(d);
        dialog.selectFace(QStringLiteral("DejaVu Serif"), QStringLiteral("Bold"));
        dialog.sizeEdit()->setText(QStringLiteral("7"));
        return pressOk(dialog);
    };
    Font font = digits();
    ASSERT_TRUE(ui::runImportSystemFont(
        nullptr, font, settings, progress, [] { return true; }, choose.services()));
    EXPECT_EQ(settings.string(kSettingsSection, kChooserFamilyKey, ""), "DejaVu Serif");
    EXPECT_EQ(settings.string(kSettingsSection, kChooserStyleKey, ""), "Bold");
    EXPECT_EQ(settings.integer(kSettingsSection, kChooserSizeKey, 0), 70);

    // A font made from no installed font opens the chooser at that choice; cancelling it
    // keeps the choice.
    struct Seen {
        QString family, style, size;
    };
    auto look = [](Seen& seen) {
        return [&seen](QDialog& d) {
            auto& dialog = dynamic_cast<ui::SystemFontDialog&>(d);
            seen = {dialog.familyEdit()->text(), dialog.styleName(), dialog.sizeEdit()->text()};
            return static_cast<int>(QDialog::Rejected);
        };
    };
    Seen seen;
    ScriptedDialogs cancel;
    cancel.onDialog = look(seen);
    Font scratch = digits();
    EXPECT_FALSE(ui::runImportSystemFont(
        nullptr, scratch, settings, progress, [] { return true; }, cancel.services()));
    EXPECT_EQ(seen.family, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(seen.style, QStringLiteral("Bold"));
    EXPECT_EQ(seen.size, QStringLiteral("7"));
    // A kept size past the chooser's limits is held to them.
    settings.writeInteger(kSettingsSection, kChooserSizeKey, 9999);
    EXPECT_FALSE(ui::runImportSystemFont(
        nullptr, scratch, settings, progress, [] { return true; }, cancel.services()));
    EXPECT_EQ(seen.size, QStringLiteral("244"));
    EXPECT_EQ(settings.string(kSettingsSection, kChooserFamilyKey, ""), "DejaVu Serif");
    // A font rendered from an installed font (as a project opened from disk describes it)
    // opens the chooser at that font.
    Font opened = digits();
    LogFont mono;
    mono.faceName = "DejaVu Sans Mono";
    mono.weight = 400;
    mono.height = -13;
    opened.setSourceFont(mono);
    EXPECT_FALSE(ui::runImportSystemFont(
        nullptr, opened, settings, progress, [] { return true; }, cancel.services()));
    EXPECT_EQ(seen.family, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(seen.style, QStringLiteral("Book"));
    EXPECT_EQ(seen.size, QStringLiteral("10"));
}

// --- Font Info

// "Tiny": codes 32..126 of the "Ascii+ISO8859" encoding, 8 x 12 fixed width.
Font tinyAnsiFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(32, 126, 8, 12, "Tiny");
    return font;
}

TEST(FontInfoDialogWidget, ShowsTheFontWithItsHeaderValues) {
    Font font = tinyAnsiFont();
    font.fontHeader.weight = 450;
    font.fontHeader.charSet = 238;
    font.fixedWidth = 0;
    ui::FontInfoDialog dialog(openFontInfo(font));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Font Info"));
    EXPECT_EQ(dialog.nameEdit()->text(), QStringLiteral("Tiny12h"));
    EXPECT_EQ(dialog.copyrightEdit()->text(), QStringLiteral("Copyright (c) 2014 by ..."));
    EXPECT_EQ(dialog.weightBox()->currentText(), QStringLiteral("DontCare"));
    EXPECT_EQ(dialog.charSetBox()->currentText(), QStringLiteral("EastEurope"));
    EXPECT_EQ(dialog.weightBox()->count(), 10);
    EXPECT_EQ(dialog.familyBox()->count(), 6);
    EXPECT_EQ(dialog.charSetBox()->count(), 17);
    EXPECT_EQ(dialog.defaultEdit()->minimum(), 32);
    EXPECT_EQ(dialog.defaultEdit()->maximum(), 126);
    EXPECT_EQ(dialog.ascentEdit()->maximum(), 12);
    // A variable-width font: Variable, and the pitch cannot be changed.
    EXPECT_TRUE(dialog.variableButton()->isChecked());
    EXPECT_FALSE(dialog.variableButton()->isEnabled());
    EXPECT_FALSE(dialog.fixedButton()->isEnabled());

    QSignalSpy spy(&dialog, &ui::FontInfoDialog::helpRequested);
    QPushButton* help = helpButton(dialog);
    ASSERT_NE(help, nullptr);
    help->click();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.front().front().toString(), QStringLiteral("changeinfo.htm"));
}

TEST(FontInfoDialogWidget, RefusedOkFocusesTheFieldWithItsTextSelected) {
    Font font = tinyAnsiFont();
    ScriptedDialogs scripted;
    ui::FontInfoDialog dialog(openFontInfo(font), nullptr, scripted.services());
    dialog.show();
    dialog.internalEdit()->setText(QStringLiteral("10"));  // equal to the ascent
    EXPECT_EQ(pressOk(dialog), QDialog::Rejected);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].text,
              QStringLiteral("Font internal leading must be smaller than font Ascent"));
    EXPECT_EQ(dialog.focusWidget(), dialog.internalEdit()->edit());
    EXPECT_EQ(dialog.internalEdit()->edit()->selectedText(), QStringLiteral("10"));

    dialog.internalEdit()->setText(QStringLiteral("9"));
    EXPECT_EQ(pressOk(dialog), QDialog::Accepted);
    EXPECT_EQ(scripted.messages.size(), 1u);
}

TEST(FontInfoDialogWidget, VariableForAFixedWidthFontAsksAndNoKeepsFixed) {
    Font font = tinyAnsiFont();
    ScriptedDialogs scripted;
    scripted.yesNoAnswer = false;
    ui::FontInfoDialog dialog(openFontInfo(font), nullptr, scripted.services());
    ASSERT_TRUE(dialog.variableButton()->isEnabled());
    dialog.variableButton()->setChecked(true);
    EXPECT_EQ(pressOk(dialog), QDialog::Accepted);
    ASSERT_EQ(scripted.questions.size(), 1u);
    EXPECT_EQ(scripted.questions[0], QString::fromLatin1(kFixedToVariableQuestion));
    EXPECT_FALSE(dialog.makeVariablePitch());
    EXPECT_TRUE(dialog.fixedButton()->isChecked());
}

TEST(FontInfoCommand, OkAppliesTheEditsAndYesMakesTheFontVariableWidth) {
    Font font = tinyAnsiFont();
    ScriptedDialogs scripted;
    scripted.onDialog = [](QDialog& d) {
        auto& dialog = dynamic_cast<ui::FontInfoDialog&>(d);
        dialog.nameEdit()->setText(QStringLiteral("Panel"));
        dialog.weightBox()->setCurrentText(QStringLiteral("Bold"));
        dialog.familyBox()->setCurrentText(QStringLiteral("Swiss"));
        dialog.italicBox()->setChecked(true);
        dialog.defaultEdit()->setText(QStringLiteral("63"));
        dialog.variableButton()->setChecked(true);
        return pressOk(dialog);
    };
    ASSERT_TRUE(ui::runFontInformation(nullptr, font, scripted.services()));
    EXPECT_EQ(font.fontHeader.headerFaceName, "Panel");
    EXPECT_EQ(font.fontHeader.weight, 700);
    EXPECT_EQ(font.fontHeader.pitchAndFamily & 0xF0, 32);
    EXPECT_EQ(font.fontHeader.italic, 1);
    EXPECT_EQ(font.fontHeader.defaultChar, 63);
    EXPECT_EQ(scripted.questions.size(), 1u);
    EXPECT_EQ(font.fixedWidth, 0);
}

TEST(FontInfoCommand, CancelLeavesTheEditedValuesAsTheyWere) {
    Font font = tinyAnsiFont();
    font.fontHeader.headerFaceName = "Kept";
    font.fontHeader.weight = 300;
    ScriptedDialogs scripted;
    scripted.onDialog = [](QDialog& d) {
        auto& dialog = dynamic_cast<ui::FontInfoDialog&>(d);
        dialog.nameEdit()->setText(QStringLiteral("Dropped"));
        dialog.weightBox()->setCurrentText(QStringLiteral("Heavy"));
        dialog.reject();
        return dialog.result();
    };
    EXPECT_FALSE(ui::runFontInformation(nullptr, font, scripted.services()));
    EXPECT_EQ(font.fontHeader.headerFaceName, "Kept");
    EXPECT_EQ(font.fontHeader.weight, 300);
    EXPECT_EQ(font.fixedWidth, 8);
}

}  // namespace
}  // namespace typeloom
