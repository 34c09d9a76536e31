#include "app/hyperlink_label.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QTest>

#include "common/ui/svg_art.h"

namespace typeloom::app {
namespace {

TEST(HyperlinkErrorMessage, TextsOfTheFailures) {
    EXPECT_EQ(hyperlinkErrorMessage(LinkResult::NotFound),
              QStringLiteral("The specified file was not found."));
    EXPECT_EQ(
        hyperlinkErrorReport(LinkResult::NoProgram),
        QStringLiteral("Unable to open hyperlink:\n\nThere is no application associated\nwith "
                       "the given filename extension."));
}

TEST(HyperlinkLabel, EmailTargetsOpenAsMailLinks) {
    HyperlinkLabel label;
    QStringList opened;
    label.setOpener([&](const QString& url) {
        opened << url;
        return LinkResult::NoProgram;
    });
    EXPECT_EQ(label.gotoTarget(QStringLiteral("support@typeloom-studio.example")),
              LinkResult::NoProgram);
    label.gotoTarget(QStringLiteral("https://www.typeloom-studio.example/"));
    label.gotoTarget(QStringLiteral("mailto:fonts@typeloom-studio.example"));
    EXPECT_EQ(opened, QStringList({QStringLiteral("mailto:support@typeloom-studio.example"),
                                   QStringLiteral("https://www.typeloom-studio.example/"),
                                   QStringLiteral("mailto:fonts@typeloom-studio.example")}));
}

TEST(HyperlinkLabel, DefaultsAndTargetFromText) {
    HyperlinkLabel label;
    EXPECT_EQ(label.linkColour(), QColor(0, 0, 238));
    EXPECT_EQ(label.visitedColour(), QColor(85, 26, 139));
    EXPECT_EQ(label.hoverColour(), label.palette().color(QPalette::Highlight));
    EXPECT_FALSE(label.visited());
    EXPECT_TRUE(label.adjustToText());
    EXPECT_TRUE(label.font().underline());
    // The program's own hand, with its hot spot at the fingertip.
    EXPECT_EQ(label.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(label.cursor().hotSpot(), ui::handCursor().hotSpot());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(0, 0, 238));

    // Without a target the text is the target; a label without text shows its target.
    label.setText(QStringLiteral("https://a.example/"));
    EXPECT_EQ(label.target(), QStringLiteral("https://a.example/"));
    HyperlinkLabel empty;
    empty.setTarget(QStringLiteral("support@typeloom-studio.example"));
    EXPECT_EQ(empty.text(), QStringLiteral("support@typeloom-studio.example"));
    // A label with text keeps it when it gets another target.
    label.setTarget(QStringLiteral("https://b.example/"));
    EXPECT_EQ(label.text(), QStringLiteral("https://a.example/"));
    EXPECT_EQ(label.target(), QStringLiteral("https://b.example/"));
}

TEST(HyperlinkLabel, ColourFollowsHoverAndVisited) {
    QWidget window;
    auto* label = new HyperlinkLabel(QStringLiteral("https://a.example/"), &window);
    window.show();
    auto drawn = [&] { return label->palette().color(QPalette::WindowText); };

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(label, &enter);
    EXPECT_TRUE(label->hovering());
    EXPECT_EQ(drawn(), label->palette().color(QPalette::Highlight));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label, &leave);
    EXPECT_FALSE(label->hovering());
    EXPECT_EQ(drawn(), QColor(0, 0, 238));

    label->setVisited(true);
    EXPECT_EQ(drawn(), QColor(85, 26, 139));
    label->setColours(Qt::red, Qt::green, Qt::blue);
    EXPECT_EQ(drawn(), QColor(Qt::green));
    QApplication::sendEvent(label, &enter);
    EXPECT_EQ(drawn(), QColor(Qt::blue));
    // An invalid hover colour goes back to the palette's highlight colour.
    label->setColours(Qt::red, Qt::green, QColor());
    EXPECT_EQ(drawn(), label->palette().color(QPalette::Highlight));
}

TEST(HyperlinkLabel, ClickOpensTheTargetAndReportsFailures) {
    QWidget window;
    auto* label = new HyperlinkLabel(QStringLiteral("support@typeloom-studio.example"), &window);
    window.show();
    LinkResult result = LinkResult::NotFound;
    QStringList opened;
    QStringList reports;
    label->setOpener([&](const QString& url) {
        opened << url;
        return result;
    });
    label->setReport([&](const QString& text) { reports << text; });

    // A failure: not visited, and the report names what went wrong.
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList({QStringLiteral("mailto:support@typeloom-studio.example")}));
    EXPECT_FALSE(label->visited());
    EXPECT_EQ(reports, QStringList({QStringLiteral("Unable to open hyperlink:\n\n"
                                                   "The specified file was not found.")}));

    // The link opened: the label becomes visited and nothing is reported.
    result = LinkResult::Opened;
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_TRUE(label->visited());
    EXPECT_EQ(reports.size(), 1);
    EXPECT_EQ(opened.size(), 2);

    // A press released outside the label is no click; a right click is none either.
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(label, Qt::RightButton);
    EXPECT_EQ(opened.size(), 2);
}

TEST(HyperlinkLabel, AdjustsToItsTextKeepingTheAlignedEdge) {
    QWidget window;
    window.resize(400, 200);
    const QString text = QStringLiteral("www.typeloom-studio.example");
    const QSize textSize = QFontMetrics(HyperlinkLabel().font()).size(0, text);

    auto* left = new HyperlinkLabel(&window);
    left->setGeometry(10, 10, 300, 50);
    left->setText(text);
    EXPECT_EQ(left->geometry(), QRect(QPoint(10, 10), textSize));

    auto* right = new HyperlinkLabel(&window);
    right->setAlignment(Qt::AlignRight);
    right->setGeometry(10, 70, 300, 50);
    right->setText(text);
    EXPECT_EQ(right->geometry(),
              QRect(310 - textSize.width(), 70, textSize.width(), textSize.height()));

    // Centred text keeps the width, vertically centred text the height.
    auto* centred = new HyperlinkLabel(&window);
    centred->setAlignment(Qt::AlignCenter);
    centred->setGeometry(10, 130, 300, 50);
    centred->setText(text);
    EXPECT_EQ(centred->geometry(), QRect(10, 130, 300, 50));

    auto* fixed = new HyperlinkLabel(&window);
    fixed->setAdjustToText(false);
    fixed->setGeometry(10, 10, 300, 50);
    fixed->setText(text);
    EXPECT_EQ(fixed->geometry(), QRect(10, 10, 300, 50));
}

TEST(HyperlinkLabel, DesktopOpenerRefusesTargetsItCannotFind) {
    // Neither case reaches the desktop, so no program is started.
    EXPECT_EQ(openWithDesktop(QString()), LinkResult::NotFound);
    EXPECT_EQ(openWithDesktop(QStringLiteral("   ")), LinkResult::NotFound);
    EXPECT_EQ(openWithDesktop(QStringLiteral("/nonexistent/typeloom/readme.txt")),
              LinkResult::NotFound);
    EXPECT_EQ(openWithDesktop(QStringLiteral("file:///nonexistent/typeloom/readme.txt")),
              LinkResult::NotFound);
}

}  // namespace
}  // namespace typeloom::app
