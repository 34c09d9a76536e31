#include "interchange/ui/multi_copy_dialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include "app/commands.h"
#include "model/font.h"
#include "ui/dialog_test_support.h"

namespace typeloom::ui {
namespace {

Font blankFont(std::uint16_t first, std::uint16_t last, std::uint16_t height, const char* name) {
    Font font;
    font.createFromScratch(first, last, 6, height, name);
    return font;
}

// Multi Copy of a selection from one font, through the system clipboard, into another font;
// Multi Paste is offered only for a block it can paste into the font.
TEST(MultiCopyPaste, SelectionTravelsThroughTheClipboard) {
    Font source = blankFont('A', 'D', 8, "Letters");
    source.glyphs.find('B')->pixels.assign(48, 1);
    test::ScriptedDialogs dialogs;
    MultiCopyDialog copy(source, dialogs.services());
    MultiSelectionGrid& grid = *copy.grid();
    EXPECT_EQ(grid.selectedCodes(), (std::vector<std::uint16_t>{'A', 'B', 'C', 'D'}));
    grid.setCurrentPosition(3);  // the only row shown is 0x40..0x4F
    EXPECT_EQ(grid.currentCode(), 'C');
    grid.popupMenu()->findChild<QAction*>(QStringLiteral("toggleCharacter"))->trigger();
    EXPECT_EQ(grid.selectedCodes(), (std::vector<std::uint16_t>{'A', 'B', 'D'}));
    EXPECT_EQ(test::pressOk(copy), QDialog::Accepted);
    const std::vector<std::uint8_t> block = clipboardMultiCopyBlock();
    ASSERT_FALSE(block.empty());

    // Back into the font it came from only because it carries fewer characters than the font;
    // into another font of the same bits per pixel in any case.
    Font digits = blankFont(0x20, 0x40, 8, "Digits");
    EXPECT_TRUE(multiPasteEnabled(source, block));
    EXPECT_TRUE(multiPasteEnabled(digits, block));
    app::CommandState state;
    state.characterCount = 1;
    EXPECT_FALSE(app::isCommandEnabled(app::EnableRule::MultiPaste, state));
    state.clipboardCanMultiPaste = true;
    EXPECT_TRUE(app::isCommandEnabled(app::EnableRule::MultiPaste, state));
    state.characterCount = 0;
    EXPECT_FALSE(app::isCommandEnabled(app::EnableRule::MultiPaste, state));

    dialogs.onDialog = [](QDialog& d) {
        auto& paste = dynamic_cast<MultiPasteDialog&>(d);
        EXPECT_EQ(paste.grid()->selectedCodes(), (std::vector<std::uint16_t>{'A', 'B', 'D'}));
        return test::pressOk(paste);
    };
    ASSERT_TRUE(runMultiPaste(nullptr, digits, dialogs.services()));
    EXPECT_EQ(digits.codeList.size(), 0x21u + 3);
    EXPECT_EQ(std::vector<std::uint16_t>(digits.codeList.end() - 4, digits.codeList.end()),
              (std::vector<std::uint16_t>{0x40, 'A', 'B', 'D'}));
    EXPECT_EQ(digits.glyphs.find('B')->pixels, std::vector<std::uint8_t>(48, 1));
    EXPECT_TRUE(dialogs.questions.empty());

    // Another height: the question, and No pastes nothing.
    Font tall = blankFont(0x20, 0x40, 12, "Tall");
    const Font before = tall;
    dialogs.yesNoAnswer = false;
    dialogs.onDialog = [](QDialog& d) { return test::pressOk(d); };
    EXPECT_FALSE(runMultiPaste(nullptr, tall, dialogs.services()));
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(dialogs.questions[0].startsWith(
        QStringLiteral("The height of pasted characters is very smaller \r\n")));
    EXPECT_EQ(tall.codeList, before.codeList);

    // A block of another program under our type is not offered.
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kMultiCopyMimeType), QByteArray("not a block"));
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_FALSE(multiPasteEnabled(digits, clipboardMultiCopyBlock()));
    EXPECT_FALSE(runMultiPaste(nullptr, digits, dialogs.services()));
}

}  // namespace
}  // namespace typeloom::ui
