#pragma once

#include <QDialog>
#include <QString>

#include "app/hyperlink_label.h"

class QLabel;
class QPushButton;

namespace typeloom::app {

// The product's web site and support e-mail address, shown in the About box and opened by
// "Visit our &Website".
inline constexpr char kWebsiteAddress[] = "https://www.typeloom-studio.example/";
inline constexpr char kSupportAddress[] = "support@typeloom-studio.example";

// Product name and version as the main window's title shows them.
inline constexpr char kProductLabel[] = "Typeloom Studio 3.5";

// The notice below the product name in the About box.
QString aboutNoticeText();

// The About box: the application icon, the product name and version, the notice, the web
// site and e-mail links, a separator and "&OK".
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QLabel* iconLabel() const { return m_icon; }
    QLabel* productLabel() const { return m_product; }
    QLabel* noticeLabel() const { return m_notice; }
    HyperlinkLabel* websiteLink() const { return m_website; }
    HyperlinkLabel* emailLink() const { return m_email; }
    QPushButton* okButton() const { return m_ok; }

  private:
    QLabel* m_icon = nullptr;
    QLabel* m_product = nullptr;
    QLabel* m_notice = nullptr;
    HyperlinkLabel* m_website = nullptr;
    HyperlinkLabel* m_email = nullptr;
    QPushButton* m_ok = nullptr;
};

// "&About...": shows the About box modally over the parent.
void showAboutDialog(QWidget* parent);

// "Visit our &Website": opens the product's web site in the desktop's browser; when
// that fails, beeps and shows the same error report as a link.
void openWebsite();
// The same with the opener and report given (an empty function takes the default); returns
// the opener's result.
LinkResult openWebsite(const HyperlinkOpener& opener, const HyperlinkReport& report);

}  // namespace typeloom::app
