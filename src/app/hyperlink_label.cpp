#include "app/hyperlink_label.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEnterEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QMouseEvent>
#include <QUrl>

#include "common/ui/svg_art.h"

namespace typeloom::app {

QString hyperlinkErrorMessage(LinkResult result) {
    switch (result) {
        case LinkResult::NotFound:
            return QStringLiteral("The specified file was not found.");
        case LinkResult::NoProgram:
            return QStringLiteral(
                "There is no application associated\nwith the given filename "
                "extension.");
        case LinkResult::Opened:
            break;
    }
    return {};
}

QString hyperlinkErrorReport(LinkResult result) {
    return QStringLiteral("Unable to open hyperlink:\n\n") + hyperlinkErrorMessage(result);
}

QString hyperlinkUrlText(const QString& target) {
    if (target.contains(QLatin1Char('@')) &&
        !target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
        return QStringLiteral("mailto:") + target;
    }
    return target;
}

LinkResult openWithDesktop(const QString& target) {
    const QString text = target.trimmed();
    if (text.isEmpty()) {
        return LinkResult::NotFound;
    }
    QUrl url(text, QUrl::StrictMode);
    // A target without a scheme is a file path when such a file exists or the path is
    // absolute, otherwise an address typed without its scheme ("www.…"). A one-letter scheme
    // is a drive letter of a path, not a scheme.
    if (!url.isValid() || url.scheme().size() < 2) {
        const QFileInfo file(text);
        url = file.isAbsolute() || file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath())
                                                 : QUrl::fromUserInput(text);
    }
    if (!url.isValid() || url.isEmpty()) {
        return LinkResult::NotFound;
    }
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        return LinkResult::NotFound;
    }
    return QDesktopServices::openUrl(url) ? LinkResult::Opened : LinkResult::NoProgram;
}

void showHyperlinkReport(const QString& text) {
    QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Typeloom Studio"), text);
}

QCursor linkCursor() {
    return ui::handCursor();
}

// --- HyperlinkLabel

HyperlinkLabel::HyperlinkLabel(QWidget* parent) : QLabel(parent) {
    setUp();
}

HyperlinkLabel::HyperlinkLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setUp();
    setText(text);
}

void HyperlinkLabel::setUp() {
    m_updating = true;
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    // Like a plain static text: left and top aligned, no background of its own.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(false);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(linkCursor());
    m_updating = false;
    setAdjustToText(true);
    applyTextColour();
}

void HyperlinkLabel::setText(const QString& text) {
    QLabel::setText(text);
    fitToText();
}

void HyperlinkLabel::setTarget(const QString& target) {
    m_target = target;
    if (text().isEmpty()) {
        setText(target);
    }
}

QString HyperlinkLabel::target() const {
    return m_target.isEmpty() ? text() : m_target;
}

void HyperlinkLabel::setColours(const QColor& link, const QColor& visited, const QColor& hover) {
    m_linkColour = link;
    m_visitedColour = visited;
    m_hoverColour = hover;
    applyTextColour();
}

QColor HyperlinkLabel::hoverColour() const {
    return m_hoverColour.isValid() ? m_hoverColour : palette().color(QPalette::Highlight);
}

QColor HyperlinkLabel::textColour() const {
    if (m_hovering) {
        return hoverColour();
    }
    return m_visited ? m_visitedColour : m_linkColour;
}

void HyperlinkLabel::setVisited(bool visited) {
    m_visited = visited;
    applyTextColour();
}

void HyperlinkLabel::setAdjustToText(bool adjust) {
    m_adjustToText = adjust;
    // In a layout a label that fits its text takes no more room than the text, so only a
    // click on the text itself follows the link.
    setSizePolicy(adjust ? QSizePolicy::Fixed : QSizePolicy::Preferred,
                  adjust ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    fitToText();
}

LinkResult HyperlinkLabel::gotoTarget(const QString& target) {
    const QString url = hyperlinkUrlText(target);
    return m_opener ? m_opener(url) : openWithDesktop(url);
}

void HyperlinkLabel::setOpener(HyperlinkOpener opener) {
    m_opener = std::move(opener);
}

void HyperlinkLabel::setReport(HyperlinkReport report) {
    m_report = std::move(report);
}

void HyperlinkLabel::follow() {
    const QString link = target();
    const LinkResult result = gotoTarget(link);
    if (result == LinkResult::Opened) {
        setVisited(true);
        emit opened(link);
        return;
    }
    QApplication::beep();
    const QString report = hyperlinkErrorReport(result);
    if (m_report) {
        m_report(report);
    } else {
        showHyperlinkReport(report);
    }
}

void HyperlinkLabel::applyTextColour() {
    m_updating = true;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour());
    setPalette(colours);
    m_updating = false;
    update();
}

void HyperlinkLabel::fitToText() {
    if (!m_adjustToText) {
        return;
    }
    const QFontMetrics metrics(font());
    const QMargins frame = contentsMargins();
    const int around = 2 * margin();
    const QSize textSize = metrics.size(0, text());
    const int width = textSize.width() + frame.left() + frame.right() + around;
    const int height = textSize.height() + frame.top() + frame.bottom() + around;

    QRect place = geometry();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignHCenter) {
        // Centred text keeps the whole width.
    } else if (align & Qt::AlignRight) {
        place.setLeft(place.right() + 1 - width);
    } else {
        place.setWidth(width);
    }
    if (!(align & Qt::AlignVCenter)) {
        place.setHeight(height);
    }
    setGeometry(place);
    updateGeometry();
}

void HyperlinkLabel::enterEvent(QEnterEvent* event) {
    m_hovering = true;
    applyTextColour();
    QLabel::enterEvent(event);
}

void HyperlinkLabel::leaveEvent(QEvent* event) {
    m_hovering = false;
    applyTextColour();
    QLabel::leaveEvent(event);
}

void HyperlinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        event->accept();
        // A press that is dragged off the link and released elsewhere is no click.
        if (rect().contains(event->position().toPoint())) {
            follow();
        }
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void HyperlinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (m_updating) {
        return;
    }
    if (event->type() == QEvent::FontChange) {
        // A new font stays underlined and the label fits the text drawn in it.
        if (!font().underline()) {
            m_updating = true;
            QFont underlined = font();
            underlined.setUnderline(true);
            setFont(underlined);
            m_updating = false;
        }
        fitToText();
    } else if (event->type() == QEvent::PaletteChange && !m_hoverColour.isValid()) {
        // The hover colour follows the palette's highlight colour.
        applyTextColour();
    }
}

}  // namespace typeloom::app
