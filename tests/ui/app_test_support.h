#pragma once

// The desktop application as the frame tests use it: its own settings file in a temporary
// folder, its window not shown, nothing auto-opened and no key filter, holding a small font.

#include <gtest/gtest.h>

#include <memory>

#include "app/font_document.h"
#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "app/studio_app.h"
#include "editor/ui/pixel_grid.h"
#include "model/font.h"
#include "test_support.h"

namespace typeloom::test {

class StudioAppTest : public ::testing::Test {
  protected:
    // Starts the application and makes its font 'A'..'D', 8 x 12, named `faceName`; a fixture
    // calls it from its SetUp (under ASSERT_NO_FATAL_FAILURE) and goes on from there.
    void startApp(const char* faceName) {
        m_app = std::make_unique<app::StudioApp>(
            app::openSettingsFile(QString::fromStdString(m_dir.file("settings.ini"))));
        app::StudioApp::StartOptions options;
        options.show = false;
        options.autoOpen = false;
        options.installKeyFilter = false;
        ASSERT_TRUE(m_app->initInstance({}, options));
        font().createFromScratch('A', 'D', 8, 12, faceName);
    }
    void TearDown() override { m_app.reset(); }

    app::MainWindow& frame() { return *m_app->mainWindow(); }
    Font& font() { return m_app->font(); }
    app::FontDocument& doc() { return m_app->document(); }
    ui::PixelGrid& grid() { return *frame().pixelGrid(); }

    TempDir m_dir;
    std::unique_ptr<app::StudioApp> m_app;
};

}  // namespace typeloom::test
