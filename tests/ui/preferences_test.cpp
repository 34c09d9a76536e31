#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/general_page.h"
#include "app/preferences_sheet.h"
#include "app/settings_keys.h"
#include "common/settings_store.h"
#include "editor/ui/editor_settings.h"
#include "export/export_driver.h"
#include "export/ui/compiler_page.h"
#include "export/ui/export_options_page.h"
#include "model/font_settings.h"
#include "test_support.h"
#include "ui/widget_test_support.h"

namespace typeloom::app {
namespace {

using ui::kAutoSaveCharKey;

// Records the keys written, in order.
class RecordingSettings : public MemorySettingsStore {
  public:
    void writeInteger(std::string_view section, std::string_view key, std::int64_t value) override {
        written.emplace_back(key);
        MemorySettingsStore::writeInteger(section, key, value);
    }
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override {
        written.emplace_back(key);
        MemorySettingsStore::writeString(section, key, value);
    }
    std::vector<std::string> written;
};

using test::child;
using test::click;

QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// A page or sheet whose default folders lie in a test folder: "documents" and "program".
struct Folders {
    test::TempDir dir;
    std::filesystem::path documents = dir.path() / "documents";
    std::filesystem::path program = dir.path() / "program";
    Folders() {
        std::filesystem::create_directory(documents);
        std::filesystem::create_directory(program);
    }
    void use(GeneralPage& page) const {
        page.setDefaultFolderBases(qpath(documents), qpath(program));
    }
};

TEST(GeneralPage, FirstRunMakesTheFolderInTheDocuments) {
    Folders folders;
    RecordingSettings settings;
    GeneralPage page(settings);
    folders.use(page);
    page.show();
    EXPECT_TRUE(child<QCheckBox>(page, "autoOpenCheck")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(page, "autoSaveCheck")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(page, "alwaysAskRadio")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(page, "saveInRadio")->isChecked());
    const std::filesystem::path expected = folders.documents / "TLM_bitmaps";
    EXPECT_EQ(child<QLineEdit>(page, "folderEdit")->text(), qpath(expected));
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    EXPECT_EQ(child<QLineEdit>(page, "folderEdit")->maxLength(), 256);
    EXPECT_TRUE(settings.written.empty());  // loading writes nothing
}

TEST(GeneralPage, DefaultFolderFallsBackBesideTheProgramThenToAsking) {
    Folders folders;
    // A file named like the folder's parent: the folder cannot be made under the documents.
    const std::filesystem::path blockedDocuments = folders.dir.path() / "not_a_folder";
    test::writeFile(blockedDocuments.string(), {'x'});
    {
        MemorySettingsStore settings;
        GeneralPage page(settings);
        page.setDefaultFolderBases(qpath(blockedDocuments), qpath(folders.program));
        page.show();
        EXPECT_EQ(page.folder(), qpath(folders.program / "TLM_bitmaps"));
        EXPECT_TRUE(std::filesystem::is_directory(folders.program / "TLM_bitmaps"));
    }
    {
        // No usable folder at all: empty, and "always ask" although 0 was stored.
        MemorySettingsStore settings;
        settings.writeInteger(kSettingsSection, kAlwaysAskKey, 0);
        GeneralPage page(settings);
        page.setDefaultFolderBases(qpath(blockedDocuments), qpath(blockedDocuments));
        page.show();
        EXPECT_TRUE(page.folder().isEmpty());
        EXPECT_TRUE(child<QRadioButton>(page, "alwaysAskRadio")->isChecked());
        page.apply();
        EXPECT_EQ(settings.readInteger(kSettingsSection, kAlwaysAskKey), 1);
        EXPECT_FALSE(settings.readString(kSettingsSection, kBmpFolderKey).has_value());
    }
}

TEST(GeneralPage, StoredValuesAreShown) {
    Folders folders;
    const std::filesystem::path mine = folders.dir.path() / "mine";
    std::filesystem::create_directory(mine);
    MemorySettingsStore settings;
    settings.writeInteger(kSettingsSection, kAutoSaveCharKey, 7);  // any non-zero value is on
    settings.writeInteger(kSettingsSection, kAutoOpenKey, 0);
    settings.writeInteger(kSettingsSection, kAlwaysAskKey, 0);
    settings.writeString(kSettingsSection, kBmpFolderKey, mine.string());
    GeneralPage page(settings);
    folders.use(page);
    page.show();
    EXPECT_TRUE(child<QCheckBox>(page, "autoSaveCheck")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(page, "autoOpenCheck")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(page, "saveInRadio")->isChecked());
    EXPECT_EQ(page.folder(), qpath(mine));
    EXPECT_FALSE(std::filesystem::exists(folders.documents / "TLM_bitmaps"));

    // Unchanged flags are not written back, even when stored as 7.
    const int before = settings.writeCount();
    page.apply();
    EXPECT_EQ(settings.writeCount(), before + 1);  // only the folder
    EXPECT_EQ(settings.readInteger(kSettingsSection, kAutoSaveCharKey), 7);
}

TEST(GeneralPage, BrowseChoosesTheFolderAndSaveIn) {
    Folders folders;
    const std::filesystem::path chosen = folders.dir.path() / "chosen";
    std::filesystem::create_directory(chosen);
    MemorySettingsStore settings;
    GeneralPage page(settings);
    folders.use(page);
    QString answer;
    QStringList titles;
    QStringList warnings;
    page.setBrowseFunction([&](QWidget*, const QString& title, const QString&) {
        titles << title;
        return answer;
    });
    page.setWarnFunction([&](QWidget*, const QString& text) { warnings << text; });
    page.show();
    const QString shown = page.folder();

    // Cancelled: nothing changes.
    click(page, "browseButton");
    EXPECT_EQ(titles, QStringList{QStringLiteral("Select a folder to save the bitmap files: ")});
    EXPECT_EQ(page.folder(), shown);
    EXPECT_TRUE(page.alwaysAsk());

    // Not a folder: the message, nothing changes.
    answer = QStringLiteral("/no/such/folder/anywhere");
    click(page, "browseButton");
    EXPECT_EQ(warnings, QStringList{QStringLiteral(
                            "The folder path is invalid.\n\nSelect a valid folder or create a "
                            "new folder, please!")});
    EXPECT_EQ(page.folder(), shown);
    EXPECT_TRUE(page.alwaysAsk());

    answer = qpath(chosen);
    click(page, "browseButton");
    EXPECT_EQ(page.folder(), qpath(chosen));
    EXPECT_TRUE(child<QRadioButton>(page, "saveInRadio")->isChecked());
    EXPECT_FALSE(page.alwaysAsk());
}

TEST(GeneralPage, SaveInClickedTwiceStaysSelected) {
    Folders folders;
    MemorySettingsStore settings;
    GeneralPage page(settings);
    folders.use(page);
    page.show();
    click(page, "saveInRadio");
    click(page, "saveInRadio");
    EXPECT_TRUE(child<QRadioButton>(page, "saveInRadio")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(page, "alwaysAskRadio")->isChecked());
    EXPECT_FALSE(page.alwaysAsk());
    page.apply();
    EXPECT_EQ(settings.readInteger(kSettingsSection, kAlwaysAskKey), 0);
}

TEST(GeneralPage, FolderThatDoesNotExistIsNotStored) {
    Folders folders;
    MemorySettingsStore settings;
    settings.writeString(kSettingsSection, kBmpFolderKey, "/old/value");
    GeneralPage page(settings);
    folders.use(page);
    page.show();
    QLineEdit* edit = child<QLineEdit>(page, "folderEdit");
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("/typed/but/missing"));
    page.apply();
    EXPECT_EQ(settings.readString(kSettingsSection, kBmpFolderKey), "/old/value");
}

// --- The sheet

struct Sheet {
    Folders folders;
    RecordingSettings settings;
    PreferencesSheet sheet{settings};
    Sheet() {
        folders.use(*sheet.preferPage());
        sheet.show();
    }
};

TEST(PreferencesSheet, HoldsThreePagesWithOkAndCancel) {
    Sheet s;
    EXPECT_EQ(s.sheet.windowTitle(), QStringLiteral("Preferences"));
    EXPECT_TRUE(s.sheet.isModal());
    QTabWidget* tabs = s.sheet.tabs();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Typeloom Studio 3.0 Format"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("C99 compatible compiler"));
    auto* box = s.sheet.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->buttons().size(), 2);  // no Apply
}

TEST(PreferencesSheet, OkWithoutChangesWritesOnlyTheFolder) {
    Sheet s;
    for (int i = 0; i < 3; ++i) {
        s.sheet.tabs()->setCurrentIndex(i);  // every page shown and loaded
    }
    click(s.sheet, "buttonOk");
    EXPECT_FALSE(s.sheet.isVisible());
    EXPECT_EQ(s.settings.written, std::vector<std::string>{kBmpFolderKey});
    EXPECT_EQ(s.settings.readString(kSettingsSection, kBmpFolderKey),
              (s.folders.documents / "TLM_bitmaps").string());
}

TEST(PreferencesSheet, OkSavesThePagesInOrder) {
    Sheet s;
    const std::filesystem::path chosen = s.folders.dir.path() / "chosen";
    std::filesystem::create_directory(chosen);
    s.sheet.preferPage()->setBrowseFunction(
        [&](QWidget*, const QString&, const QString&) { return qpath(chosen); });
    click(*s.sheet.preferPage(), "browseButton");
    click(*s.sheet.preferPage(), "autoSaveCheck");
    s.sheet.tabs()->setCurrentIndex(2);
    click(*s.sheet.c99Page(), "checkC99Braces");  // 0x20 off
    s.sheet.tabs()->setCurrentIndex(1);
    click(*s.sheet.exportPage(), "checkOffsetTable");  // 0x02 off
    click(s.sheet, "buttonOk");

    const std::vector<std::string> expected = {kAutoSaveCharKey, kAlwaysAskKey, kBmpFolderKey,
                                               exporters::kPagesOptionKey,
                                               exporters::kPagesOptionKey};
    EXPECT_EQ(s.settings.written, expected);
    EXPECT_EQ(s.settings.readInteger(kSettingsSection, kAutoSaveCharKey), 1);
    EXPECT_EQ(s.settings.readInteger(kSettingsSection, kAlwaysAskKey), 0);
    EXPECT_EQ(s.settings.readString(kSettingsSection, kBmpFolderKey), chosen.string());
    // 0x6F without 0x02 and 0x20.
    EXPECT_EQ(s.settings.readInteger(kSettingsSection, exporters::kPagesOptionKey), 0x4D);
}

TEST(PreferencesSheet, CancelSavesNothing) {
    Sheet s;
    click(*s.sheet.preferPage(), "autoSaveCheck");
    click(*s.sheet.preferPage(), "saveInRadio");
    s.sheet.tabs()->setCurrentIndex(1);
    click(*s.sheet.exportPage(), "checkWidthTable");
    click(s.sheet, "buttonCancel");
    EXPECT_FALSE(s.sheet.isVisible());
    EXPECT_TRUE(s.settings.written.empty());
}

TEST(PreferencesSheet, ForwardsThePagesHelpRequests) {
    Sheet s;
    QSignalSpy spy(&s.sheet, &PreferencesSheet::helpRequested);
    s.sheet.tabs()->setCurrentIndex(1);
    click(*s.sheet.exportPage(), "buttonHelp");
    s.sheet.tabs()->setCurrentIndex(2);
    click(*s.sheet.c99Page(), "buttonHelp");
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("preference.htm"));
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("preference.htm"));
    EXPECT_TRUE(s.sheet.isVisible());  // help does not close the sheet
}

}  // namespace
}  // namespace typeloom::app
