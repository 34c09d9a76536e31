#include "app/about_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "app/icons.h"

namespace typeloom::app {
namespace {

TEST(AboutDialog, ShowsTheProductAndItsLinks) {
    AboutDialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.productLabel()->text(), QStringLiteral("Typeloom Studio 3.5"));
    EXPECT_FALSE(dialog.noticeLabel()->text().isEmpty());
    EXPECT_EQ(dialog.websiteLink()->target(),
              QStringLiteral("https://www.typeloom-studio.example/"));
    EXPECT_EQ(dialog.emailLink()->target(), QStringLiteral("support@typeloom-studio.example"));
    EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("&OK"));

    // The e-mail link opens the mail program with the support address.
    QStringList opened;
    dialog.emailLink()->setOpener([&](const QString& url) {
        opened << url;
        return LinkResult::Opened;
    });
    QTest::mouseClick(dialog.emailLink(), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList({QStringLiteral("mailto:support@typeloom-studio.example")}));

    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(AboutDialog, ShowsTheWindowIconOrTheProgramsOwn) {
    const QIcon saved = QApplication::windowIcon();
    QPixmap blue(32, 32);
    blue.fill(Qt::darkBlue);
    QApplication::setWindowIcon(QIcon(blue));
    {
        AboutDialog dialog;
        EXPECT_EQ(dialog.iconLabel()->pixmap().toImage().pixelColor(16, 16), QColor(Qt::darkBlue));
    }
    // Without a window icon the program's own icon is drawn, never an empty space.
    QApplication::setWindowIcon(QIcon());
    {
        AboutDialog dialog;
        const QImage shown = dialog.iconLabel()->pixmap().toImage();
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(shown, applicationIcon().pixmap(32, 32).toImage());
    }
    QApplication::setWindowIcon(saved);
}

TEST(AboutDialog, VisitWebsiteOpensTheWebAddressAndReportsFailures) {
    QStringList opened;
    QStringList reports;
    LinkResult result = LinkResult::Opened;
    auto opener = [&](const QString& url) {
        opened << url;
        return result;
    };
    auto report = [&](const QString& text) { reports << text; };
    EXPECT_EQ(openWebsite(opener, report), LinkResult::Opened);
    EXPECT_TRUE(reports.isEmpty());
    result = LinkResult::NoProgram;
    EXPECT_EQ(openWebsite(opener, report), LinkResult::NoProgram);
    EXPECT_EQ(opened, QStringList(2, QStringLiteral("https://www.typeloom-studio.example/")));
    EXPECT_EQ(reports, QStringList({QStringLiteral("Unable to open hyperlink:\n\nThere is no "
                                                   "application associated\nwith the given "
                                                   "filename extension.")}));
}

}  // namespace
}  // namespace typeloom::app
