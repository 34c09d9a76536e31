#include "common/ui/hex_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

namespace typeloom::ui {
namespace {

TEST(HexEdit, OnlyHexadecimalDigitsCanBeTyped) {
    HexEdit edit;
    edit.show();
    edit.setFocus();
    QSignalSpy refused(&edit, &HexEdit::refused);
    QTest::keyClicks(&edit, QStringLiteral("1g2 aF-x9"));
    EXPECT_EQ(edit.text(), QStringLiteral("12aF9"));
    EXPECT_EQ(refused.count(), 4);  // g, blank, -, x
    // Backspace and the arrows still edit.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QStringLiteral("2aF"));
    EXPECT_EQ(refused.count(), 4);
}

TEST(HexEdit, PastedTextThatIsNotHexadecimalIsRefused) {
    HexEdit edit(QStringLiteral("AB"));
    QApplication::clipboard()->setText(QStringLiteral("zz"));
    edit.end(false);
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("AB"));
    QApplication::clipboard()->setText(QStringLiteral("c0"));
    edit.paste();
    EXPECT_EQ(edit.text(), QStringLiteral("ABc0"));
}

}  // namespace
}  // namespace typeloom::ui
