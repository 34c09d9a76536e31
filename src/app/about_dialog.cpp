#include "app/about_dialog.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/icons.h"

namespace typeloom::app {

QString aboutNoticeText() {
    return QStringLiteral(
        "A bitmap font editor for LCD, OLED and LED matrix displays driven by "
        "microcontrollers.\n\n"
        "Copyright (c) 2026 the Typeloom Studio developers.\n"
        "The fonts you make and the files you export with this program are yours to use.");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Typeloom Studio"));
    setObjectName(QStringLiteral("aboutDialog"));

    // The icon the program's windows carry, or the program's own icon when none was set.
    m_icon = new QLabel;
    m_icon->setObjectName(QStringLiteral("aboutIcon"));
    const QIcon windowIcon = QApplication::windowIcon();
    const QIcon icon = windowIcon.isNull() ? applicationIcon() : windowIcon;
    m_icon->setPixmap(icon.pixmap(32, 32));

    m_product = new QLabel(QString::fromLatin1(kProductLabel));
    m_product->setObjectName(QStringLiteral("aboutProduct"));
    QFont bold = m_product->font();
    bold.setBold(true);
    m_product->setFont(bold);

    m_notice = new QLabel(aboutNoticeText());
    m_notice->setObjectName(QStringLiteral("aboutNotice"));
    m_notice->setWordWrap(true);

    m_website = new HyperlinkLabel(QString::fromLatin1(kWebsiteAddress));
    m_website->setObjectName(QStringLiteral("aboutWebsite"));
    m_email = new HyperlinkLabel(QString::fromLatin1(kSupportAddress));
    m_email->setObjectName(QStringLiteral("aboutEmail"));

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(QStringLiteral("Web site:")), 0, 0);
    links->addWidget(m_website, 0, 1, Qt::AlignLeft);
    links->addWidget(new QLabel(QStringLiteral("E-mail:")), 1, 0);
    links->addWidget(m_email, 1, 1, Qt::AlignLeft);
    links->setColumnStretch(1, 1);

    auto* text = new QVBoxLayout;
    text->addWidget(m_product);
    text->addWidget(m_notice);
    text->addSpacing(8);
    text->addLayout(links);

    auto* top = new QHBoxLayout;
    top->addWidget(m_icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* separator = new QFrame;
    separator->setObjectName(QStringLiteral("aboutSeparator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    m_ok = new QPushButton(QStringLiteral("&OK"));
    m_ok->setObjectName(QStringLiteral("aboutOk"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separator);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_notice->setMinimumWidth(320);
}

void showAboutDialog(QWidget* parent) {
    AboutDialog dialog(parent);
    dialog.exec();
}

LinkResult openWebsite(const HyperlinkOpener& opener, const HyperlinkReport& report) {
    const QString address = QString::fromLatin1(kWebsiteAddress);
    const LinkResult result = opener ? opener(address) : openWithDesktop(address);
    if (result != LinkResult::Opened) {
        QApplication::beep();
        const QString text = hyperlinkErrorReport(result);
        if (report) {
            report(text);
        } else {
            showHyperlinkReport(text);
        }
    }
    return result;
}

void openWebsite() {
    openWebsite({}, {});
}

}  // namespace typeloom::app
