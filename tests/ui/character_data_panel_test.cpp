#include "export/ui/character_data_panel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/main_window.h"
#include "app/studio_app.h"
#include "common/settings_store.h"
#include "editor/ui/pixel_grid.h"
#include "export/char_data_text.h"
#include "export/controller_presets.h"
#include "export/data_format.h"
#include "export/export_driver.h"
#include "export/ui/data_format_dialog.h"
#include "export/ui/format_picture_view.h"
#include "model/font.h"
#include "test_support.h"
#include "widget_test_support.h"

namespace typeloom::ui {
namespace {

using exporters::DataFormatRadio;
using test::child;
using test::click;

QString expectedText(const Font& font, int index, std::span<const std::uint8_t> pixels = {}) {
    MemorySettingsStore none;
    QString text = QString::fromStdString(exporters::characterDataText(
        font, index, font.dataFormat, exporters::pagesOption(none), pixels));
    return text.remove(QLatin1Char('\r'));
}

// The panel on its own, showing 'B' of a 10 x 3 font.
class DataPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_font.createFromScratch('A', 'C', 10, 3, "Panel");
        m_font.dataFormat = 0x01121110;
        std::vector<std::uint8_t>& b = m_font.glyphs.find('B')->pixels;
        b = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0,
             0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
        m_panel.setGlyphSource([] {
            CharacterDataPanel::GlyphOnScreen glyph;
            glyph.index = 1;
            return glyph;
        });
        m_panel.refreshPanel();
    }

    Font m_font;
    MemorySettingsStore m_settings;
    CharacterDataPanel m_panel{m_font, m_settings};
};

TEST_F(DataPanelTest, EveryOptionChangesTheFontWordAndTheText) {
    struct Row {
        const char* control;
        std::uint32_t expected;  // the font's word after the click
    };
    const Row rows[] = {
        {"radioPureData", 0x00121110},   {"radioDetailInfo", 0x01121110},
        {"radioAsm", 0x01021110},        {"radioC", 0x01121110},
        {"checkInvertBits", 0x03121110}, {"checkInvertBits", 0x01121110},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        int changes = 0;
        auto connection =
            QObject::connect(&m_panel, &CharacterDataPanel::wordChanged, [&changes] { ++changes; });
        click(m_panel, row.control);
        QObject::disconnect(connection);
        EXPECT_EQ(m_font.dataFormat, row.expected);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(m_panel.text(), expectedText(m_font, 1));
    }
    // Row mode with 8-bit units: two units on each row line of the 10-pixel character.
    EXPECT_TRUE(
        m_panel.text().endsWith(QStringLiteral("    0xFF, 0xC0, \n    0x80, 0x40, \n"
                                               "    0x00, 0xC0  \n};")));
    // A word changed elsewhere (a new font, the dialog) shows in the options at the refresh.
    m_font.dataFormat = 0x02020000;
    m_panel.refreshPanel();
    EXPECT_TRUE(child<QRadioButton>(m_panel, "radioPureData")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(m_panel, "radioAsm")->isChecked());
    EXPECT_TRUE(child<QAbstractButton>(m_panel, "checkInvertBits")->isChecked());
}

TEST_F(DataPanelTest, CopyAndSaveAsTakeTheWholeText) {
    click(m_panel, "buttonCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), m_panel.text());

    test::TempDir dir;
    const QString path = QString::fromStdString(dir.file("b.asm"));
    SaveFileRequest asked;
    m_panel.hooks.chooseFile = [&](QWidget*, const SaveFileRequest& request) {
        asked = request;
        return path;
    };
    click(m_panel, "radioAsm");
    click(m_panel, "buttonSaveAs");
    EXPECT_EQ(asked.filter, QStringLiteral("ASM File (*.asm)"));
    EXPECT_EQ(asked.defaultSuffix, QStringLiteral("asm"));
    EXPECT_EQ(asked.suggestedName, QStringLiteral("Data0042"));
    const auto bytes = test::readFile(path.toStdString());
    const std::string expected = "; character = 'B'  \r\nData0042 \r\n";
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(expected.size())),
              expected);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              exporters::characterDataFileContents(m_panel.data().text));
}

TEST_F(DataPanelTest, BitInspectorMapsUnitsToTextAndPixels) {
    // Big-endian rows of 8 bits: pixel (9, 0) is unit 1, bit 6; pixel (0, 1) starts unit 2.
    EXPECT_EQ(m_panel.describePixel(9, 0), QStringLiteral("unit 1, bit 6, value 0xC0"));
    EXPECT_EQ(m_panel.describePixel(0, 1), QStringLiteral("unit 2, bit 7, value 0x80"));
    EXPECT_EQ(m_panel.describePixel(10, 0), QString());
    EXPECT_EQ(m_panel.pixelsOfUnit(1), (std::vector<int>{8, 9}));
    for (int unit = 0; unit < 6; ++unit) {
        const auto [start, length] = m_panel.unitTextRange(unit);
        const QString shown = m_panel.text().mid(start, length);
        EXPECT_EQ(shown, QString::fromStdString(exporters::pictureUnitText(
                             m_panel.data().units[static_cast<std::size_t>(unit)], 8)));
        EXPECT_EQ(m_panel.unitAtTextPosition(start + 1), unit);
    }
    EXPECT_EQ(m_panel.unitAtTextPosition(0), -1);
    m_panel.markUnit(3);
    EXPECT_EQ(m_panel.markedUnit(), 3);
    ASSERT_EQ(m_panel.textField()->extraSelections().size(), 1);
    EXPECT_EQ(m_panel.textField()->extraSelections()[0].cursor.selectedText(),
              QStringLiteral("0x40"));
    m_panel.markUnit(-1);
    EXPECT_TRUE(m_panel.textField()->extraSelections().isEmpty());
}

// The dialog: each radio changes only its own bits of the working copy.
TEST(DataFormatDialog, RadiosChangeOnlyTheirBitsOfTheWorkingCopy) {
    struct Row {
        std::uint32_t start;
        DataFormatRadio radio;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {0x00020000, DataFormatRadio::ScanRow, 0x00020100},
        {0x00020F00, DataFormatRadio::ScanColumn, 0x00020000},
        {0x00020000, DataFormatRadio::PreferRow, 0x00020010},
        {0x000200F0, DataFormatRadio::PreferColumn, 0x00020000},
        {0x00020000, DataFormatRadio::PackedYes, 0x00020001},
        {0x0002000F, DataFormatRadio::PackedNo, 0x00020000},
        {0x00020000, DataFormatRadio::BigEndian, 0x00021000},
        {0x0002F000, DataFormatRadio::LittleEndian, 0x00020000},
        {0x01121110, DataFormatRadio::Bits16, 0x01141110},
        {0x01141110, DataFormatRadio::Bits32, 0x01181110},
        {0x00011110, DataFormatRadio::Bits8, 0x00021110},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.start << " -> " << row.expected);
        DataFormatDialog dialog(row.start);
        QRadioButton* radio = dialog.radio(row.radio);
        // Click the other radio of the group first when this one is already checked.
        radio->click();
        EXPECT_EQ(dialog.word(), row.expected);
        EXPECT_TRUE(radio->isChecked());
        EXPECT_EQ(dialog.picture()->word(), row.expected);
    }
    // Opening: a 4-bit word shows "8 bits"; the other groups follow their bits.
    DataFormatDialog fourBits(0x00010101);
    EXPECT_TRUE(fourBits.radio(DataFormatRadio::Bits8)->isChecked());
    EXPECT_TRUE(fourBits.radio(DataFormatRadio::ScanRow)->isChecked());
    EXPECT_TRUE(fourBits.radio(DataFormatRadio::PreferColumn)->isChecked());
    EXPECT_TRUE(fourBits.radio(DataFormatRadio::PackedYes)->isChecked());
    EXPECT_TRUE(fourBits.radio(DataFormatRadio::LittleEndian)->isChecked());
    EXPECT_FALSE(fourBits.picture()->picture().note.empty());
    EXPECT_GE(fourBits.picture()->minimumSizeHint().width(), 270);
    EXPECT_GE(fourBits.picture()->minimumSizeHint().height(), 310);
}

TEST(DataFormatDialog, PresetsSetTheRadiosWhichStayFree) {
    DataFormatDialog dialog(0x03181001);  // inverted, 32-bit column stream, C, detail
    auto* presets = child<QComboBox>(dialog, "presetList");
    ASSERT_NE(presets, nullptr);
    EXPECT_EQ(presets->currentIndex(), 0);  // "Custom"
    const int page = presets->findData(QStringLiteral("page"));
    ASSERT_GT(page, 0);
    presets->setCurrentIndex(page);
    emit presets->activated(page);
    EXPECT_EQ(dialog.word(), 0x03120010u);
    EXPECT_TRUE(dialog.radio(DataFormatRadio::ScanColumn)->isChecked());
    EXPECT_TRUE(dialog.radio(DataFormatRadio::PreferRow)->isChecked());
    EXPECT_TRUE(dialog.radio(DataFormatRadio::LittleEndian)->isChecked());
    EXPECT_TRUE(dialog.radio(DataFormatRadio::Bits8)->isChecked());
    EXPECT_TRUE(
        child<QLabel>(dialog, "presetDescription")->text().contains(QStringLiteral("page")));
    // A radio changes the layout by hand: the list no longer names a preset.
    dialog.radio(DataFormatRadio::Bits16)->click();
    EXPECT_EQ(presets->currentIndex(), 0);
    dialog.radio(DataFormatRadio::Bits8)->click();
    EXPECT_EQ(presets->currentIndex(), page);
}

// The panel, the dialog and the commands in the main window.
class DataRoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_app = std::make_unique<app::StudioApp>(
            app::openSettingsFile(QString::fromStdString(m_dir.file("settings.ini"))));
        app::StudioApp::StartOptions options;
        options.show = false;
        options.autoOpen = false;
        options.installKeyFilter = false;
        ASSERT_TRUE(m_app->initInstance({}, options));
        frame().resize(900, 650);
        frame().show();
        m_app->font().createFromScratch('A', 'D', 8, 12, "Data");
        m_app->font().dataFormat = 0x01121110;
        frame().selectInitialCharacter();
        frame().pixelGrid()->setTool(ToolId::Pencil);
    }
    void TearDown() override { m_app.reset(); }

    app::MainWindow& frame() { return *m_app->mainWindow(); }
    CharacterDataPanel& panel() { return *frame().dataPanel(); }
    static QPoint cell(int x, int y) { return {10 + 15 * x + 7, 10 + 15 * y + 7}; }

    test::TempDir m_dir;
    std::unique_ptr<app::StudioApp> m_app;
};

TEST_F(DataRoadTest, CtrlGAndTheFourthStepOpenTheDialogWhoseOkReachesThePanel) {
    int opened = 0;
    panel().runDialog = [&opened](DataFormatDialog& dialog) {
        ++opened;
        // Little endian, 16 bits, inverted: then OK.
        dialog.radio(DataFormatRadio::LittleEndian)->click();
        dialog.radio(DataFormatRadio::Bits16)->click();
        child<QAbstractButton>(dialog, "checkInvert")->click();
        dialog.accept();
        return static_cast<int>(dialog.result());
    };
    m_app->installKeyFilter();
    QTest::keyClick(&frame(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(m_app->font().dataFormat, 0x03140110u);
    EXPECT_TRUE(child<QAbstractButton>(panel(), "checkInvertBits")->isChecked());
    EXPECT_EQ(panel().text(), expectedText(m_app->font(), 0));

    // Step 4 of the steps bar; Cancel changes nothing.
    panel().runDialog = [&opened](DataFormatDialog& dialog) {
        ++opened;
        dialog.radio(DataFormatRadio::Bits32)->click();
        dialog.reject();
        return static_cast<int>(dialog.result());
    };
    QToolBar* steps = frame().stepsBar();
    ASSERT_EQ(steps->actions().size(), 5);
    QAction* fourth = steps->actions().at(3);
    ASSERT_TRUE(fourth->isEnabled());
    fourth->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(m_app->font().dataFormat, 0x03140110u);
}

TEST_F(DataRoadTest, ADrawnPixelShowsUpInTheTextOncePerFrame) {
    ui::PixelGrid& grid = *frame().pixelGrid();
    const QString before = panel().text();
    QTest::mousePress(&grid, Qt::LeftButton, {}, cell(1, 0));
    for (int x = 2; x < 6; ++x) {
        QMouseEvent move(QEvent::MouseMove, cell(x, 0), grid.mapToGlobal(cell(x, 0)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&grid, &move);
    }
    QTest::mouseRelease(&grid, Qt::LeftButton, {}, cell(5, 0));
    // The stroke is in the working glyph, not yet in the font; the text waits for the frame.
    EXPECT_TRUE(panel().refreshPending());
    EXPECT_EQ(panel().text(), before);
    QTRY_VERIFY_WITH_TIMEOUT(!panel().refreshPending(), 1000);
    const std::vector<std::uint8_t>& pixels = grid.workingGlyph().pixels();
    EXPECT_EQ(panel().text(), expectedText(m_app->font(), 0, pixels));
    EXPECT_TRUE(panel().text().contains(QStringLiteral("    0x7C, \n")));
}

TEST_F(DataRoadTest, EditCommandsActOnTheTextWhenItHasTheFocus) {
    QPlainTextEdit* text = panel().textField();
    frame().activateWindow();
    text->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), text);
    frame().updateCommandStates();
    ASSERT_TRUE(frame().executeCommand(app::CommandId::SelectAll));
    EXPECT_EQ(text->textCursor().selectedText().size(), text->toPlainText().size());
    ASSERT_TRUE(frame().executeCommand(app::CommandId::Copy));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text->toPlainText());
    // The text is read-only: Paste and Delete leave it as it is.
    const QString shown = text->toPlainText();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    frame().executeCommand(app::CommandId::Paste);
    frame().executeCommand(app::CommandId::Delete);
    EXPECT_EQ(text->toPlainText(), shown);
}

TEST_F(DataRoadTest, HoveringAPixelOrAUnitInspectsIt) {
    ui::PixelGrid& grid = *frame().pixelGrid();
    // 8-bit big-endian rows of an 8-wide glyph: the pixel (3, 2) is unit 2, bit 4.
    QMouseEvent move(QEvent::MouseMove, cell(3, 2), grid.mapToGlobal(cell(3, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&grid, &move);
    EXPECT_EQ(frame().statusBar()->currentMessage(), QStringLiteral("unit 2, bit 4, value 0x00"));
    EXPECT_EQ(panel().markedUnit(), 2);
    EXPECT_EQ(grid.markedPixels(), (std::vector<int>{16, 17, 18, 19, 20, 21, 22, 23}));

    // A unit below the text's view is scrolled into it.
    panel().textField()->setFixedHeight(60);
    QApplication::processEvents();
    const QPoint low = cell(5, 11);
    QMouseEvent down(QEvent::MouseMove, low, grid.mapToGlobal(low), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&grid, &down);
    EXPECT_EQ(panel().markedUnit(), 11);
    EXPECT_GT(panel().textField()->verticalScrollBar()->value(), 0);

    // Hovering unit 5's text marks row 5 in the grid.
    const auto [start, length] = panel().unitTextRange(5);
    ASSERT_GT(length, 0);
    QPlainTextEdit* text = panel().textField();
    QTextCursor at(text->document());
    at.setPosition(start + 1);
    const QPoint point = text->cursorRect(at).center();
    QMouseEvent over(QEvent::MouseMove, point, text->viewport()->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(text->viewport(), &over);
    EXPECT_EQ(grid.markedPixels(), (std::vector<int>{40, 41, 42, 43, 44, 45, 46, 47}));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(text->viewport(), &leave);
    EXPECT_TRUE(grid.markedPixels().empty());
}

}  // namespace
}  // namespace typeloom::ui
