#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "charset/encodings.h"
#include "model/font.h"
#include "model/ui/edit_characters_table_dialog.h"
#include "model/ui/select_range_dialog.h"
#include "model/ui/table_editor_grid.h"
#include "test_support.h"
#include "ui/dialog_test_support.h"

namespace typeloom::ui {
namespace {

// A Unicode font of blank characters 0x20..0x7E, 6 x 8.
Font latinFont() {
    Font font;
    font.createFromScratch(0x20, 0x7E, 6, 8, "Latin");
    return font;
}

std::vector<std::uint16_t> enabledCodes(const CodeMap& map) {
    std::vector<std::uint16_t> codes;
    map.forEach([&](std::uint16_t code, CodeEntry e) {
        if (e.enabled) {
            codes.push_back(code);
        }
    });
    return codes;
}

std::vector<std::uint16_t> codesFrom(std::uint16_t first, std::uint16_t last) {
    std::vector<std::uint16_t> codes;
    for (std::uint32_t c = first; c <= last; ++c) {
        codes.push_back(static_cast<std::uint16_t>(c));
    }
    return codes;
}

QAction* menuAction(TableEditorGrid& grid, const char* name) {
    return grid.popupMenu()->findChild<QAction*>(QString::fromLatin1(name));
}

TEST(EditCharactersTableDialog, OpensOnTheFontsStateTogglesAndCancelKeepsTheFont) {
    Font font = latinFont();
    const CodeMap committed = font.charTable.committed;
    test::ScriptedDialogs dialogs;
    EditCharactersTableDialog dialog(font, dialogs.services());
    TableEditorGrid& grid = *dialog.grid();
    dialog.resize(900, 500);
    dialog.show();
    EXPECT_TRUE(dialog.encodingButton(kEncodingUnicode)->isChecked());
    EXPECT_FALSE(dialog.encodingButton(kEncodingAnsi)->isChecked());
    EXPECT_FALSE(dialog.scriptList()->isEnabled());
    EXPECT_EQ(grid.rowCount(), 4096);
    EXPECT_EQ(grid.selectedCode(), -1);

    // Row 4 (0x40..0x4F) at the top; a click on its second cell selects 'A'.
    grid.verticalScrollBar()->setValue(4);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(0x41).center());
    EXPECT_EQ(grid.selectedCode(), 0x41);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      QPoint(grid.headerWidth() / 2, 5));  // the row header: nothing
    EXPECT_EQ(grid.selectedCode(), 0x41);
    menuAction(grid, "toggleCharacter")->trigger();
    EXPECT_FALSE(font.charTable.editing.get(0x41).enabled);
    menuAction(grid, "disableRow")->trigger();
    menuAction(grid, "toggleCharacter")->trigger();
    std::vector<std::uint16_t> expected = codesFrom(0x20, 0x3F);
    expected.push_back(0x41);
    for (std::uint16_t c : codesFrom(0x50, 0x7E)) {
        expected.push_back(c);
    }
    EXPECT_EQ(enabledCodes(font.charTable.editing), expected);
    menuAction(grid, "enableRow")->trigger();
    EXPECT_TRUE(font.charTable.editing.get(0x4F).enabled);

    // Keys scroll without moving the selection; only the rows in view are painted.
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(grid.topRow(), grid.verticalScrollBar()->maximum());
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.topRow(), 0);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.topRow(), 1);
    EXPECT_EQ(grid.selectedCode(), 0x41);
    grid.viewport()->repaint();
    EXPECT_LE(grid.lastPaintedRows(), grid.viewport()->height() / kTableCellHeight + 1);

    dialog.reject();
    EXPECT_TRUE(font.charTable.committed == committed);
    EXPECT_TRUE(font.charTable.editing == committed);
    EXPECT_EQ(font.codeList, codesFrom(0x20, 0x7E));
}

TEST(SelectRangeDialog, HexadecimalBoundsAndWhereTheFocusGoes) {
    struct Case {
        std::uint16_t max;
        const char* first;
        const char* last;
        int accepted;   // 1 closes, 0 stays open
        int focusLast;  // when refused: 1 Last, 0 First
        std::uint16_t firstCode;
        std::uint16_t lastCode;
    };
    const Case cases[] = {
        {0xFF, "0", "FF", 1, 0, 0x00, 0xFF},
        {0xFF, "0", "100", 0, 1, 0, 0},
        {0xFF, "100", "", 0, 0, 0, 0},
        {0xFF, "", "", 1, 0, 0x00, 0x00},
        {0xFF, "0x41", "0x41", 1, 0, 0x41, 0x41},
        {0xFF, "50", "4f", 0, 1, 0, 0},
        {0xFF, "2g", "7e", 1, 0, 0x02, 0x7E},
        {0xFFFF, "0", "FFFF", 1, 0, 0x0000, 0xFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "-" + c.last);
        SelectRangeDialog dialog(c.max);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select range of characters"));
        dialog.show();
        dialog.firstField()->setText(QString::fromLatin1(c.first));
        dialog.lastField()->setText(QString::fromLatin1(c.last));
        EXPECT_EQ(test::pressOk(dialog), c.accepted ? QDialog::Accepted : QDialog::Rejected);
        if (c.accepted) {
            EXPECT_EQ(dialog.first(), c.firstCode);
            EXPECT_EQ(dialog.last(), c.lastCode);
        } else {
            QLineEdit* field = c.focusLast ? dialog.lastField() : dialog.firstField();
            EXPECT_EQ(dialog.focusWidget(), field);
            EXPECT_EQ(field->selectedText(), field->text());
        }
    }
}

TEST(EditCharactersTableDialog, EncodingScriptRangesAndCommit) {
    Font font = latinFont();
    const Font before = font;
    test::ScriptedDialogs dialogs;
    // Disable All then OK leaves the font as it was.
    dialogs.onDialog = [&font](QDialog& d) {
        auto& dialog = dynamic_cast<EditCharactersTableDialog&>(d);
        dialog.button("disableAll")->click();
        EXPECT_TRUE(enabledCodes(font.charTable.editing).empty());
        return test::pressOk(dialog);
    };
    EXPECT_FALSE(runEditCharactersTable(nullptr, font, dialogs.services()));
    EXPECT_EQ(font.codeList, before.codeList);
    EXPECT_TRUE(font.charTable.committed == before.charTable.committed);

    // To Ascii+ISO8859 and back: the Script list follows; then a range is disabled and OK
    // commits it.
    dialogs.onDialog = [](QDialog& d) {
        if (auto* range = dynamic_cast<SelectRangeDialog*>(&d)) {
            range->firstField()->setText(QStringLiteral("30"));
            range->lastField()->setText(QStringLiteral("39"));
            return test::pressOk(*range);
        }
        auto& dialog = dynamic_cast<EditCharactersTableDialog&>(d);
        dialog.encodingButton(kEncodingAnsi)->click();
        EXPECT_TRUE(dialog.scriptList()->isEnabled());
        EXPECT_EQ(dialog.grid()->rowCount(), 16);
        dialog.encodingButton(kEncodingShiftJis)->click();
        EXPECT_FALSE(dialog.scriptList()->isEnabled());
        EXPECT_EQ(dialog.grid()->rowCount(), 4096);
        dialog.encodingButton(kEncodingAnsi)->click();
        EXPECT_TRUE(dialog.scriptList()->isEnabled());
        dialog.button("disableRange")->click();
        return test::pressOk(dialog);
    };
    ASSERT_TRUE(runEditCharactersTable(nullptr, font, dialogs.services()));
    EXPECT_EQ(font.encoding, 0u);
    std::vector<std::uint16_t> expected = codesFrom(0x20, 0x2F);
    for (std::uint16_t c : codesFrom(0x3A, 0x7E)) {
        expected.push_back(c);
    }
    EXPECT_EQ(font.codeList, expected);
    EXPECT_TRUE(font.glyphs.contains('5'));  // kept for later
}

TEST(EditCharactersTableDialog, LoadAndSaveTableFiles) {
    test::TempDir dir;
    Font font = latinFont();
    test::ScriptedDialogs dialogs;
    EditCharactersTableDialog dialog(font, dialogs.services());
    font.charTable.setRangeEnabled(0x22, 0x7E, false);  // leaves ' ' and '!'
    dialogs.saveFileAnswer = QString::fromStdString(dir.file("t.txt"));
    dialog.saveTable();
    EXPECT_EQ(test::readFile(dir.file("t.txt")),
              (std::vector<std::uint8_t>{0xFF, 0xFE, 0x20, 0x00, 0x21, 0x00}));

    test::writeFile(dir.file("ab.txt"), {'B', 'A'});
    dialogs.openFileAnswer = QString::fromStdString(dir.file("ab.txt"));
    dialog.loadTable();
    EXPECT_EQ(enabledCodes(font.charTable.editing), (std::vector<std::uint16_t>{0x41, 0x42}));
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.openFileAnswer = QString::fromStdString(dir.file("missing.txt"));
    dialog.loadTable();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("File could not be opened."));
    EXPECT_EQ(enabledCodes(font.charTable.editing), (std::vector<std::uint16_t>{0x41, 0x42}));

    dialog.button("help")->click();
    EXPECT_EQ(dialogs.helpTopics, std::vector<QString>{QStringLiteral("changerange.htm")});
}

}  // namespace
}  // namespace typeloom::ui
