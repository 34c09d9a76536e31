#pragma once

#include <QColor>
#include <QCursor>
#include <QLabel>
#include <QString>
#include <functional>

namespace typeloom::app {

// What became of a link target handed to the desktop.
enum class LinkResult {
    Opened,
    NotFound,   // an empty or malformed target, or a local file that does not exist
    NoProgram,  // the desktop has no program that opens it
};

// Opens a link target (a web address, "mailto:…" or a file).
using HyperlinkOpener = std::function<LinkResult(const QString& target)>;
// Shows the error report of a link that could not be opened.
using HyperlinkReport = std::function<void(const QString& text)>;

// The message of a link that could not be opened: "The specified file was not found." or
// "There is no application associated\nwith the given filename extension.".
QString hyperlinkErrorMessage(LinkResult result);

// The text of the error report: "Unable to open hyperlink:\n\n" and the result's message.
QString hyperlinkErrorReport(LinkResult result);

// The target as it is handed to the desktop: a target with an at sign is an e-mail address
// and gets "mailto:" in front (unless it already starts with it).
QString hyperlinkUrlText(const QString& target);

// Opens a target with the desktop's default program (QDesktopServices::openUrl): the web
// browser for web addresses, the mail program for "mailto:" and the file's program for
// files.
LinkResult openWithDesktop(const QString& target);

// Shows the error report in a message box with the exclamation (warning) icon.
void showHyperlinkReport(const QString& text);

// The pointer shown over a link: the program's hand cursor, the one it also shows over the
// characters list.
QCursor linkCursor();

// A static text that behaves as a link: it is drawn underlined in the link colour (the
// visited colour once followed, the hover colour while the pointer is over it) and a click
// opens its target in the desktop's browser or mail program.
class HyperlinkLabel : public QLabel {
    Q_OBJECT

  public:
    static QColor defaultLinkColour() { return QColor(0, 0, 238); }
    static QColor defaultVisitedColour() { return QColor(85, 26, 139); }

    explicit HyperlinkLabel(QWidget* parent = nullptr);
    explicit HyperlinkLabel(const QString& text, QWidget* parent = nullptr);

    // The target opened by a click; while none is set, the label's text is the target. A
    // label without text shows its target.
    void setTarget(const QString& target);
    QString target() const;

    // Sets the text and, with adjust-to-text on, fits the label to it.
    void setText(const QString& text);

    // Link, visited and hover colours. An invalid hover colour means the palette's highlight
    // colour, which is also the default.
    void setColours(const QColor& link, const QColor& visited, const QColor& hover = QColor());
    QColor linkColour() const { return m_linkColour; }
    QColor visitedColour() const { return m_visitedColour; }
    QColor hoverColour() const;
    // The colour the text is drawn in now.
    QColor textColour() const;

    void setVisited(bool visited);
    bool visited() const { return m_visited; }
    bool hovering() const { return m_hovering; }

    // With adjust-to-text on (the default) the label takes the size of its text whenever the
    // text or font changes: right-aligned text keeps the right edge, centred text keeps the
    // width, other text keeps the left edge; vertically centred text keeps the height.
    void setAdjustToText(bool adjust);
    bool adjustToText() const { return m_adjustToText; }

    // Opens a target (not necessarily this label's): an e-mail address gets "mailto:" in
    // front; the result is the opener's.
    LinkResult gotoTarget(const QString& target);

    // Replaces how targets are opened and how failures are reported (by default the desktop
    // and a message box); an empty function restores the default.
    void setOpener(HyperlinkOpener opener);
    void setReport(HyperlinkReport report);

  signals:
    // After a click opened the target.
    void opened(const QString& target);

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void setUp();
    void follow();
    void applyTextColour();
    void fitToText();

    QString m_target;
    QColor m_linkColour = defaultLinkColour();
    QColor m_visitedColour = defaultVisitedColour();
    QColor m_hoverColour;  // invalid: the palette's highlight colour
    bool m_visited = false;
    bool m_hovering = false;
    bool m_adjustToText = true;
    bool m_pressed = false;
    bool m_updating = false;  // guards the label's own palette and font changes
    HyperlinkOpener m_opener;
    HyperlinkReport m_report;
};

}  // namespace typeloom::app
