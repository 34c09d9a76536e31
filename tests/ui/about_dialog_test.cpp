#include "app/about_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

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
        return 33;
    });
    QTest::mouseClick(dialog.emailLink(), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList({QStringLiteral("mailto:support@typeloom-studio.example")}));

    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(AboutDialog, ShowsTheApplicationIconOnlyWhenThereIsOne) {
    const QIcon saved = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon());
    {
        AboutDialog dialog;
        dialog.show();
        EXPECT_FALSE(dialog.iconLabel()->isVisible());
    }
    QPixmap picture(32, 32);
    picture.fill(Qt::darkBlue);
    QApplication::setWindowIcon(QIcon(picture));
    {
        AboutDialog dialog;
        dialog.show();
        EXPECT_TRUE(dialog.iconLabel()->isVisible());
        EXPECT_FALSE(dialog.iconLabel()->pixmap().isNull());
    }
    QApplication::setWindowIcon(saved);
}

TEST(AboutDialog, VisitWebsiteOpensTheWebAddressAndReportsFailures) {
    QStringList opened;
    QStringList reports;
    int result = 33;
    auto opener = [&](const QString& url) {
        opened << url;
        return result;
    };
    auto report = [&](const QString& text) { reports << text; };
    EXPECT_EQ(openWebsite(opener, report), 33);
    EXPECT_TRUE(reports.isEmpty());
    result = 31;
    EXPECT_EQ(openWebsite(opener, report), 31);
    EXPECT_EQ(opened, QStringList(2, QStringLiteral("https://www.typeloom-studio.example/")));
    EXPECT_EQ(reports, QStringList({QStringLiteral("Unable to open hyperlink:\n\nThere is no "
                                                   "application associated\nwith the given "
                                                   "filename extension.")}));
}

}  // namespace
}  // namespace typeloom::app
