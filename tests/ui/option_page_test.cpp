#include "common/ui/option_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "common/settings_store.h"
#include "ui/widget_test_support.h"

namespace typeloom::ui {
namespace {

using test::child;
using test::click;

// A page of one check box kept as "Flag", counting how often it loads and applies.
class FlagPage : public OptionPage {
  public:
    explicit FlagPage(SettingsStore& settings)
        : OptionPage(settings, QStringLiteral("Flag"), nullptr) {
        m_box = createCheckBox(this, "checkFlag", "Flag");
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_box);
        layout->addLayout(createHelpRow(QStringLiteral("flag.htm")));
    }

    int loads = 0;
    int applies = 0;

  protected:
    void loadValues() override {
        ++loads;
        m_box->setChecked(settings().integer("Settings", "Flag", 0) != 0);
    }
    void applyValues() override {
        ++applies;
        settings().writeInteger("Settings", "Flag", m_box->isChecked() ? 1 : 0);
    }

  private:
    QCheckBox* m_box;
};

TEST(OptionPage, LoadsOnTheFirstShowOnlySoThatChangesSurviveATabSwitch) {
    MemorySettingsStore settings;
    settings.writeInteger("Settings", "Flag", 1);
    FlagPage page(settings);
    EXPECT_EQ(page.caption(), QStringLiteral("Flag"));
    EXPECT_FALSE(page.isLoaded());
    page.show();
    EXPECT_TRUE(page.isLoaded());
    EXPECT_TRUE(child<QCheckBox>(page, "checkFlag")->isChecked());

    click(page, "checkFlag");
    page.hide();
    page.show();  // another tab and back
    EXPECT_EQ(page.loads, 1);
    EXPECT_FALSE(child<QCheckBox>(page, "checkFlag")->isChecked());
    page.apply();
    EXPECT_EQ(settings.readInteger("Settings", "Flag"), 0);
}

TEST(OptionPage, AppliesNothingUntilLoadedByShowOrByLoad) {
    MemorySettingsStore settings;
    settings.writeInteger("Settings", "Flag", 1);
    FlagPage page(settings);
    // The control's own default (unchecked) must not reach the settings.
    page.apply();
    EXPECT_EQ(page.applies, 0);
    EXPECT_EQ(settings.readInteger("Settings", "Flag"), 1);

    page.load();
    EXPECT_TRUE(page.isLoaded());
    page.apply();
    EXPECT_EQ(page.applies, 1);
    EXPECT_EQ(settings.readInteger("Settings", "Flag"), 1);
    // Shown after an explicit load, the page keeps what it holds.
    page.show();
    EXPECT_EQ(page.loads, 1);
}

TEST(OptionPage, HelpButtonAsksForThePageTopic) {
    MemorySettingsStore settings;
    FlagPage page(settings);
    QSignalSpy spy(&page, &OptionPage::helpRequested);
    page.show();
    click(page, "buttonHelp");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("flag.htm"));
    EXPECT_EQ(child<QPushButton>(page, "buttonHelp")->text(), QStringLiteral("&Help"));
}

}  // namespace
}  // namespace typeloom::ui
