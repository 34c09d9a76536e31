#include "model/ui/font_size_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <iterator>

#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "dialog_test_support.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/transforms.h"
#include "model/ui/spin_edit.h"
#include "model/ui/transform_preview_view.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::pressOk;
using test::ScriptedDialogs;
using Field = ChangeSizeField;

// A font of the characters '0'..'h' (so '8', 'A' and 'g' of the preview sample are there),
// fixed width `width` or, with `variable`, widths 3..7, with a diagonal pattern of ink.
Font testFont(std::uint16_t height, std::int16_t ascent, std::uint16_t width,
              bool variable = false) {
    Font font;
    font.createFromScratch(0x30, 0x68, width, height, "Test");
    font.ascent = ascent;
    for (int i = 0; i < font.count(); ++i) {
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
        const std::uint16_t w = variable ? static_cast<std::uint16_t>(3 + u % 5) : width;
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * height);
        for (std::size_t p = 0; p < pixels.size(); ++p) {
            pixels[p] = (p / w + p % w + u) % 4 == 0 ? 1 : 0;
        }
        font.setGlyph(u, w, std::move(pixels));
    }
    if (variable) {
        font.fixedWidth = 0;
    }
    font.updateMaxWidth();
    return font;
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ChangeSizeFields sizeFields(bool increase, const char* before, const char* after) {
    ChangeSizeFields f;
    f.increase = increase;
    (increase ? f.addBefore : f.clipBefore) = before;
    (increase ? f.addAfter : f.clipAfter) = after;
    return f;
}

// The fields of the Resize Font dialog as the user would set them.
void fillResize(ui::ResizeFontDialog& dialog, bool pixels, const QString& h, const QString& v) {
    (pixels ? dialog.pixelsButton() : dialog.percentageButton())->click();
    for (auto [edit, text] :
         {std::pair{dialog.horizontalEdit(), h}, std::pair{dialog.verticalEdit(), v}}) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
}

// --- Refusals and the "not changed" message

TEST(ChangeSizeDialogs, RefusedOkSetsTheValueBackAndSelectsIt) {
    struct Row {
        const char* what;
        bool width;
        std::uint16_t size;
        ChangeSizeFields fields;
        const char* message;
        Field focus;
        const char* focusText;  // the selected edit's text afterwards
    };
    const Row rows[] = {
        {"16 rows less 6 and 6", false, 16, sizeFields(false, "6", "6"),
         kHeightClippedTooMuchMessage, Field::ClipBefore, "0"},
        {"16 rows less 5 and 7", false, 16, sizeFields(false, "5", "7"),
         kHeightClippedTooMuchMessage, Field::ClipAfter, "0"},
        {"250 rows plus 3 and 3 reach 256", false, 250, sizeFields(true, "3", "3"),
         kHeightIncreasedTooMuchMessage, Field::AddBefore, "0"},
        {"8 columns less 3 and 2", true, 8, sizeFields(false, "3", "2"),
         kWidthClippedTooMuchMessage, Field::ClipBefore, "0"},
        {"250 columns plus 2 and 4", true, 250, sizeFields(true, "2", "4"),
         kWidthIncreasedTooMuchMessage, Field::AddAfter, "0"},
        {"257 is out of range", false, 16, sizeFields(false, "257", "0"),
         "Please enter an integer between 0 and 256.", Field::ClipBefore, "257"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const Font font = testFont(r.width ? 16 : r.size, 3, r.width ? r.size : 8);
        ScriptedDialogs scripted;
        std::unique_ptr<ui::ChangeSizeDialog> dialog;
        if (r.width) {
            dialog = std::make_unique<ui::ChangeWidthDialog>(font, 0, nullptr, scripted.services());
        } else {
            dialog =
                std::make_unique<ui::ChangeHeightDialog>(font, 0, nullptr, scripted.services());
        }
        dialog->show();
        dialog->setFields(r.fields);
        EXPECT_EQ(pressOk(*dialog), QDialog::Rejected);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(scripted.messages.size(), 1u);
        EXPECT_EQ(scripted.messages[0].text, QString::fromLatin1(r.message));
        EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Stop);
        QLineEdit* edit = dialog->edit(r.focus)->edit();
        EXPECT_EQ(dialog->focusWidget(), edit);
        EXPECT_EQ(edit->text(), QString::fromLatin1(r.focusText));
        EXPECT_EQ(edit->selectedText(), QString::fromLatin1(r.focusText));
    }
}

TEST(ChangeSizeDialogs, LayoutRangesAndNothingToChange) {
    const Font font = testFont(16, 13, 8);
    ScriptedDialogs scripted;
    ui::ChangeHeightDialog height(font, 0, nullptr, scripted.services());
    EXPECT_EQ(height.windowTitle(), QStringLiteral("Change Font Height"));
    EXPECT_EQ(height.sizeLabel()->text(), QStringLiteral("16 pixels"));
    EXPECT_TRUE(height.reduceButton()->isChecked());
    EXPECT_EQ(height.edit(Field::ClipBefore)->maximum(), 16);
    EXPECT_EQ(height.edit(Field::AddAfter)->maximum(), 240);
    // Only the edits of the chosen side take values.
    EXPECT_TRUE(height.edit(Field::ClipAfter)->isEnabled());
    EXPECT_FALSE(height.edit(Field::AddBefore)->isEnabled());
    height.increaseButton()->click();
    EXPECT_FALSE(height.edit(Field::ClipAfter)->isEnabled());
    EXPECT_TRUE(height.edit(Field::AddBefore)->isEnabled());
    // Both values of the choice 0: the message box, and the dialog closes without a change.
    EXPECT_EQ(pressOk(height), QDialog::Accepted);
    EXPECT_EQ(height.outcome().result, DialogResult::Unchanged);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].caption, QStringLiteral("Change Font Height"));
    EXPECT_EQ(scripted.messages[0].text, QStringLiteral("Font height is not changed"));

    ui::ChangeWidthDialog width(font, 0, nullptr, scripted.services());
    EXPECT_EQ(width.windowTitle(), QStringLiteral("Change Font Width"));
    EXPECT_EQ(width.sizeLabel()->text(), QStringLiteral("8 pixels"));
    EXPECT_EQ(width.edit(Field::ClipAfter)->maximum(), 8);
    EXPECT_EQ(width.edit(Field::AddBefore)->maximum(), 248);
}

TEST(ChangeAscentDialogWidget, AnAscentEqualToTheHeightIsSetBack) {
    const Font font = testFont(16, 13, 8);
    ScriptedDialogs scripted;
    ui::ChangeAscentDialog dialog(font, 0, nullptr, scripted.services());
    dialog.show();
    EXPECT_EQ(dialog.ascentEdit()->text(), QStringLiteral("13"));
    EXPECT_EQ(dialog.ascentEdit()->maximum(), 16);
    dialog.ascentEdit()->setText(QStringLiteral("16"));
    EXPECT_EQ(pressOk(dialog), QDialog::Rejected);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].text,
              QStringLiteral("Font Ascent must be smaller than font Height"));
    EXPECT_EQ(dialog.ascentEdit()->edit()->selectedText(), QStringLiteral("13"));
    dialog.ascentEdit()->setText(QStringLiteral("15"));
    EXPECT_EQ(pressOk(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.outcome().ascent, 15);
}

TEST(ResizeFontDialogWidget, PixelsNeedAFixedWidthAndTheAspectCouplesTheEdits) {
    ui::ResizeFontDialog variable(testFont(16, 13, 8, true), 0);
    EXPECT_TRUE(variable.percentageButton()->isChecked());
    EXPECT_FALSE(variable.pixelsButton()->isEnabled());
    EXPECT_EQ(variable.horizontalEdit()->text(), QStringLiteral("100"));
    EXPECT_EQ(variable.verticalEdit()->text(), QStringLiteral("100"));
    EXPECT_FALSE(variable.aspectBox()->isChecked());

    ui::ResizeFontDialog dialog(testFont(16, 13, 8), 0);
    // Percentage: the two edits follow each other.
    dialog.aspectBox()->setChecked(true);
    dialog.verticalEdit()->selectAll();
    QTest::keyClicks(dialog.verticalEdit(), QStringLiteral("50"));
    EXPECT_EQ(dialog.horizontalEdit()->text(), QStringLiteral("50"));
    // Pixels: the edits start at 8 x 16 and keep that proportion.
    dialog.pixelsButton()->click();
    EXPECT_EQ(dialog.horizontalEdit()->text(), QStringLiteral("8"));
    EXPECT_EQ(dialog.verticalEdit()->text(), QStringLiteral("16"));
    dialog.verticalEdit()->selectAll();
    QTest::keyClicks(dialog.verticalEdit(), QStringLiteral("25"));
    EXPECT_EQ(dialog.horizontalEdit()->text(), QStringLiteral("12"));  // 25 x 8 / 16
    dialog.horizontalEdit()->selectAll();
    QTest::keyClicks(dialog.horizontalEdit(), QStringLiteral("5"));
    EXPECT_EQ(dialog.verticalEdit()->text(), QStringLiteral("10"));
    // Back to percentage: both 100.
    dialog.percentageButton()->click();
    EXPECT_EQ(dialog.horizontalEdit()->text(), QStringLiteral("100"));
    EXPECT_EQ(dialog.verticalEdit()->text(), QStringLiteral("100"));
}

// --- The commands: Cancel, a refused resize, and OK against the command-line tool

TEST(FontSizeCommands, CancelAndAZeroHeightResizeLeaveTheFontAlone) {
    Font font = testFont(16, 13, 8);
    const std::vector<std::uint8_t> before = projectBytes(font);
    int commits = 0;
    auto commit = [&commits] { ++commits; };
    ScriptedDialogs scripted;
    scripted.onDialog = [](QDialog& dialog) {
        if (auto* d = dynamic_cast<ui::ChangeSizeDialog*>(&dialog)) {
            d->setFields(sizeFields(false, "2", "2"));
        }
        return static_cast<int>(QDialog::Rejected);
    };
    EXPECT_FALSE(ui::runChangeHeight(nullptr, font, 0, commit, scripted.services()));
    EXPECT_FALSE(ui::runChangeWidth(nullptr, font, 0, commit, scripted.services()));
    EXPECT_FALSE(ui::runChangeAscent(nullptr, font, 0, commit, scripted.services()));
    EXPECT_FALSE(ui::runResizeFont(nullptr, font, 0, commit, scripted.services()));
    EXPECT_EQ(commits, 0);

    // 16 rows at 5 percent are 0 rows: refused after OK with the error icon.
    scripted.onDialog = [](QDialog& dialog) {
        auto& d = dynamic_cast<ui::ResizeFontDialog&>(dialog);
        fillResize(d, false, QStringLiteral("100"), QStringLiteral("5"));
        return pressOk(d);
    };
    EXPECT_FALSE(ui::runResizeFont(nullptr, font, 0, commit, scripted.services()));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].icon, ui::MessageIcon::Stop);
    EXPECT_EQ(scripted.messages[0].text,
              QStringLiteral("Failed to resize the font.\r\nThe new font height is zero"));
    EXPECT_EQ(projectBytes(font), before);
}

TEST(FontSizeCommands, OkChangesTheFontAsTheCommandLineTransformDoes) {
    struct Row {
        const char* what;
        std::uint16_t height;
        std::int16_t ascent;
        std::uint16_t width;
        bool variable;
        std::function<bool(Font&, const ui::DialogServices&)> run;
        std::function<void(QDialog&)> fill;
        std::vector<std::string> cliOperation;
        // Hand-derived result.
        std::uint16_t newHeight;
        std::int16_t newAscent;
        std::uint16_t newWidth;  // fixed width (0 for a variable-width font)
    };
    auto nothing = [] {};
    auto height = [nothing](Font& f, const ui::DialogServices& s) {
        return ui::runChangeHeight(nullptr, f, 0, nothing, s);
    };
    auto width = [nothing](Font& f, const ui::DialogServices& s) {
        return ui::runChangeWidth(nullptr, f, 0, nothing, s);
    };
    auto ascent = [nothing](Font& f, const ui::DialogServices& s) {
        return ui::runChangeAscent(nullptr, f, 0, nothing, s);
    };
    auto resizeFont = [nothing](Font& f, const ui::DialogServices& s) {
        return ui::runResizeFont(nullptr, f, 0, nothing, s);
    };
    auto size = [](bool increase, const char* a, const char* b) {
        return [=](QDialog& d) {
            dynamic_cast<ui::ChangeSizeDialog&>(d).setFields(sizeFields(increase, a, b));
        };
    };
    auto resizeBy = [](bool pixels, const char* h, const char* v) {
        return [=](QDialog& d) {
            fillResize(dynamic_cast<ui::ResizeFontDialog&>(d), pixels, QString::fromLatin1(h),
                       QString::fromLatin1(v));
        };
    };
    const Row rows[] = {
        {"height +2 top +1 bottom",
         16,
         13,
         8,
         false,
         height,
         size(true, "2", "1"),
         {"--height", "increase:2,1"},
         19,
         15,
         8},
        {"height -5 top: ascent below 0 becomes the height",
         16,
         3,
         8,
         false,
         height,
         size(false, "5", "0"),
         {"--height", "reduce:5,0"},
         11,
         11,
         8},
        {"height 250 + 2 + 3 = 255 is accepted",
         250,
         200,
         8,
         false,
         height,
         size(true, "2", "3"),
         {"--height", "increase:2,3"},
         255,
         202,
         8},
        {"width 8 - 2 - 2 = 4",
         16,
         13,
         8,
         false,
         width,
         size(false, "2", "2"),
         {"--width", "reduce:2,2"},
         16,
         13,
         4},
        {"width 8 + 1 + 3",
         16,
         13,
         8,
         false,
         width,
         size(true, "1", "3"),
         {"--width", "increase:1,3"},
         16,
         13,
         12},
        {"ascent 5",
         16,
         13,
         8,
         false,
         ascent,
         [](QDialog& d) {
             dynamic_cast<ui::ChangeAscentDialog&>(d).ascentEdit()->setText(QStringLiteral("5"));
         },
         {"--ascent", "5"},
         16,
         5,
         8},
        {"resize 50 % of 16 rows, ascent 13",
         16,
         13,
         8,
         false,
         resizeFont,
         resizeBy(false, "50", "50"),
         {"--resize", "50,50"},
         8,
         6,
         4},
        {"resize 8 x 16 to 12 x 24 pixels",
         16,
         13,
         8,
         false,
         resizeFont,
         resizeBy(true, "12", "24"),
         {"--resize-px", "12,24"},
         24,
         19,
         12},
        {"resize a variable-width font by 150 %",
         16,
         13,
         8,
         true,
         resizeFont,
         resizeBy(false, "150", "150"),
         {"--resize", "150,150"},
         24,
         19,
         0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        test::TempDir dir;
        const std::string in = dir.file("in.tlf");
        const std::string out = dir.file("out.tlf");
        saveProject(in, testFont(r.height, r.ascent, r.width, r.variable));
        Font font;
        NullProgressSink progress;
        ASSERT_TRUE(loadProject(in, font, progress).ok());

        ScriptedDialogs scripted;
        scripted.onDialog = [&r](QDialog& dialog) {
            r.fill(dialog);
            return pressOk(dialog);
        };
        ASSERT_TRUE(r.run(font, scripted.services()));
        EXPECT_TRUE(scripted.messages.empty());
        EXPECT_EQ(font.height, r.newHeight);
        EXPECT_EQ(font.ascent, r.newAscent);
        EXPECT_EQ(font.fixedWidth, r.newWidth);

        std::vector<std::string> args = {"transform", in, "-o", out};
        args.insert(args.end(), r.cliOperation.begin(), r.cliOperation.end());
        const cli::Result result = cli::runCli(args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(projectBytes(font), fileBytes(out));
    }
}

// --- The preview: the after-glyphs are what the font operation makes of the same glyphs

TEST(TransformPreview, AfterGlyphsEqualTheFontOperationsResult) {
    struct Row {
        const char* what;
        std::function<std::unique_ptr<QDialog>(const Font&, int)> open;
        std::function<ui::TransformPreviewView*(QDialog&)> preview;
        std::function<void(Font&)> core;
    };
    auto sizePreview = [](QDialog& d) { return dynamic_cast<ui::ChangeSizeDialog&>(d).preview(); };
    auto resizePreview = [](QDialog& d) {
        return dynamic_cast<ui::ResizeFontDialog&>(d).preview();
    };
    const Row rows[] = {
        {"height +2 top +1 bottom",
         [](const Font& f, int i) {
             auto d = std::make_unique<ui::ChangeHeightDialog>(f, i);
             d->setFields(sizeFields(true, "2", "1"));
             return d;
         },
         sizePreview,
         [](Font& f) {
             ASSERT_TRUE(changeRows(f, false, 2, 1));
             f.ascent = 15;
         }},
        {"width -1 left -2 right",
         [](const Font& f, int i) {
             auto d = std::make_unique<ui::ChangeWidthDialog>(f, i);
             d->setFields(sizeFields(false, "1", "2"));
             return d;
         },
         sizePreview, [](Font& f) { ASSERT_TRUE(changeColumns(f, true, 1, 2)); }},
        {"resize to 12 x 24 pixels",
         [](const Font& f, int i) {
             auto d = std::make_unique<ui::ResizeFontDialog>(f, i);
             fillResize(*d, true, QStringLiteral("12"), QStringLiteral("24"));
             return d;
         },
         resizePreview, [](Font& f) { ASSERT_TRUE(resize(f, 24, 12, false).ok); }},
        {"resize 150 % across, 50 % down",
         [](const Font& f, int i) {
             auto d = std::make_unique<ui::ResizeFontDialog>(f, i);
             fillResize(*d, false, QStringLiteral("150"), QStringLiteral("50"));
             return d;
         },
         resizePreview, [](Font& f) { ASSERT_TRUE(resize(f, 50, 150, true).ok); }},
    };
    const Font font = testFont(16, 13, 8);
    const int currentB = font.indexOfCode('B');
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::unique_ptr<QDialog> dialog = r.open(font, currentB);
        ui::TransformPreviewView* preview = r.preview(*dialog);
        // The current character first, then the sample's characters the font holds.
        EXPECT_EQ(preview->before().unicodes, (std::vector<std::uint16_t>{'B', 'A', 'g', '8'}));
        ASSERT_TRUE(preview->after().has_value());
        const Font& after = *preview->after();
        Font expected = font;
        r.core(expected);
        EXPECT_EQ(after.height, expected.height);
        EXPECT_EQ(after.ascent, expected.ascent);
        EXPECT_EQ(after.fixedWidth, expected.fixedWidth);
        for (std::uint16_t u : preview->before().unicodes) {
            SCOPED_TRACE(u);
            ASSERT_NE(after.glyphs.find(u), nullptr);
            EXPECT_EQ(after.glyphs.find(u)->width, expected.glyphs.find(u)->width);
            EXPECT_EQ(after.glyphs.find(u)->pixels, expected.glyphs.find(u)->pixels);
        }
    }
    // Values OK would refuse show no after-glyphs and say why.
    ui::ChangeHeightDialog refused(font, currentB);
    refused.setFields(sizeFields(false, "6", "6"));
    EXPECT_FALSE(refused.preview()->after().has_value());
    EXPECT_EQ(refused.preview()->note(),
              QStringLiteral("The font height is clipped too much. The font height must be large "
                             "than 4."));
}

}  // namespace
}  // namespace typeloom
