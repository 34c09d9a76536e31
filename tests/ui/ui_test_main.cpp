#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <iostream>

#include "charset/dbcs_tables.h"
#include "model/freetype_renderer.h"

// The widget tests run inside one QApplication on the offscreen platform, with the code
// tables loaded and the FreeType renderer installed, as the desktop program starts.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings, documents and caches of a test run never touch the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Typeloom"));
    QApplication::setApplicationName(QStringLiteral("Typeloom Studio Tests"));
    ::testing::InitGoogleTest(&argc, argv);
    if (auto problem = typeloom::loadProgramDbcsTables()) {
        std::cerr << *problem << "\n";
        return 1;
    }
    typeloom::installFreeTypeRenderer();
    return RUN_ALL_TESTS();
}
