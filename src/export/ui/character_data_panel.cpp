#include "export/ui/character_data_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QVBoxLayout>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "export/data_format.h"
#include "export/export_driver.h"
#include "export/format_picture.h"
#include "export/ui/data_format_dialog.h"
#include "model/font.h"

namespace typeloom::ui {

namespace {

// One refresh per frame of a 60 Hz screen at most.
constexpr int kFrameMs = 16;

QRadioButton* radioButton(const QString& text, const char* name, QWidget* parent) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(QString::fromLatin1(name));
    return radio;
}

QPushButton* pushButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CharacterDataPanel::CharacterDataPanel(Font& font, SettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_font(font), m_settings(settings) {
    setObjectName(QStringLiteral("CharacterDataPanel"));
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setInterval(kFrameMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &CharacterDataPanel::refreshPanel);

    m_pure = radioButton(QStringLiteral("Pure data"), "radioPureData", this);
    m_detail = radioButton(QStringLiteral("Detail info"), "radioDetailInfo", this);
    m_c = radioButton(QStringLiteral("C Language"), "radioC", this);
    m_asm = radioButton(QStringLiteral("ASM"), "radioAsm", this);
    auto* detailGroup = new QButtonGroup(this);
    detailGroup->addButton(m_pure);
    detailGroup->addButton(m_detail);
    auto* syntaxGroup = new QButtonGroup(this);
    syntaxGroup->addButton(m_c);
    syntaxGroup->addButton(m_asm);
    m_invert = new QCheckBox(QStringLiteral("Invert bits"), this);
    m_invert->setObjectName(QStringLiteral("checkInvertBits"));
    connect(m_pure, &QRadioButton::clicked, this,
            [this] { setWordBit(exporters::kPanelDetail, false); });
    connect(m_detail, &QRadioButton::clicked, this,
            [this] { setWordBit(exporters::kPanelDetail, true); });
    connect(m_c, &QRadioButton::clicked, this, [this] { setWordBit(exporters::kPanelC, true); });
    connect(m_asm, &QRadioButton::clicked, this, [this] { setWordBit(exporters::kPanelC, false); });
    connect(m_invert, &QCheckBox::clicked, this,
            [this](bool on) { setWordBit(exporters::kInvert, on); });

    QPushButton* format = pushButton(QStringLiteral("Data &Format..."), "buttonDataFormat", this);
    QPushButton* copy = pushButton(QStringLiteral("&Copy"), "buttonCopy", this);
    QPushButton* saveAs = pushButton(QStringLiteral("&Save As"), "buttonSaveAs", this);
    QPushButton* refresh = pushButton(QStringLiteral("Refresh"), "buttonRefresh", this);
    connect(format, &QPushButton::clicked, this, &CharacterDataPanel::pressDataFormat);
    connect(copy, &QPushButton::clicked, this, &CharacterDataPanel::copyText);
    connect(saveAs, &QPushButton::clicked, this, &CharacterDataPanel::saveTextAs);
    connect(refresh, &QPushButton::clicked, this, &CharacterDataPanel::refreshPanel);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("dataText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Five pixels of margin on the left and the right of the text.
    m_text->document()->setDocumentMargin(5);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->viewport()->setMouseTracking(true);
    m_text->viewport()->installEventFilter(this);

    // Three short rows, so that the panel fits the 435-pixel column the window starts with;
    // a narrower pane cuts the rows off at its right edge rather than widening the column.
    auto* options = new QHBoxLayout;
    options->setSpacing(4);
    options->addWidget(m_pure);
    options->addWidget(m_detail);
    options->addSpacing(16);
    options->addWidget(m_c);
    options->addWidget(m_asm);
    options->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* button : {format, copy, saveAs, refresh}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* caption = new QHBoxLayout;
    caption->addWidget(new QLabel(QStringLiteral("Character Bitmap Data"), this));
    caption->addStretch();
    caption->addWidget(m_invert);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addLayout(options);
    layout->addLayout(buttons);
    layout->addLayout(caption);
    layout->addWidget(m_text, 1);
    setMinimumSize(160, 120);
    showOptions();
}

void CharacterDataPanel::setGlyphSource(std::function<GlyphOnScreen()> source) {
    m_source = std::move(source);
}

void CharacterDataPanel::showOptions() {
    const std::uint32_t word = m_font.dataFormat;
    const QSignalBlocker blockPure(m_pure);
    const QSignalBlocker blockDetail(m_detail);
    const QSignalBlocker blockC(m_c);
    const QSignalBlocker blockAsm(m_asm);
    const QSignalBlocker blockInvert(m_invert);
    ((word & exporters::kPanelDetail) != 0 ? m_detail : m_pure)->setChecked(true);
    ((word & exporters::kPanelC) != 0 ? m_c : m_asm)->setChecked(true);
    m_invert->setChecked(exporters::isInverted(word));
}

void CharacterDataPanel::setWordBit(std::uint32_t bit, bool on) {
    m_font.dataFormat = on ? (m_font.dataFormat | bit) : (m_font.dataFormat & ~bit);
    refreshPanel();
    emit wordChanged();
}

void CharacterDataPanel::setInvertCheck(bool on) {
    const QSignalBlocker block(m_invert);
    m_invert->setChecked(on);
}

void CharacterDataPanel::scheduleRefresh() {
    if (!m_frameTimer.isActive()) {
        m_frameTimer.start();
    }
}

void CharacterDataPanel::refreshPanel() {
    m_frameTimer.stop();
    showOptions();
    const GlyphOnScreen glyph = m_source ? m_source() : GlyphOnScreen{};
    const exporters::EditedGlyph edited{glyph.width, glyph.pixels};
    m_data = exporters::characterData(m_font, glyph.index, m_font.dataFormat,
                                      exporters::pagesOption(m_settings),
                                      glyph.pixels.empty() ? nullptr : &edited);

    // The field shows the text with '\n' line ends. Everything after the head (the character
    // in its first line may be any character) is ASCII, so a unit's position in the field is
    // its byte offset less the '\r' bytes before it, counted from the head's end.
    const std::string& text = m_data.text;
    const std::size_t dataStart =
        m_data.unitSpans.empty() ? text.size() : m_data.unitSpans.front().begin;
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(dataStart));
    shown.remove(QLatin1Char('\r'));
    const int headLength = static_cast<int>(shown.size());
    shown.reserve(headLength + static_cast<qsizetype>(text.size() - dataStart));
    m_unitRanges.clear();
    m_unitRanges.reserve(m_data.unitSpans.size());
    std::size_t span = 0;
    int position = headLength;
    for (std::size_t i = dataStart; i < text.size(); ++i) {
        while (span < m_data.unitSpans.size() && m_data.unitSpans[span].begin == i) {
            m_unitRanges.emplace_back(position, static_cast<int>(m_data.unitSpans[span].length));
            ++span;
        }
        if (text[i] == '\r') {
            continue;
        }
        shown += QLatin1Char(text[i]);
        ++position;
    }
    const int marked = m_markedUnit;
    // The same character keeps its place in the text: a stroke on the lower rows of a tall
    // glyph must not throw the view back to the top every frame.
    const bool sameCharacter = glyph.index == m_shownIndex;
    const int vertical = m_text->verticalScrollBar()->value();
    const int horizontal = m_text->horizontalScrollBar()->value();
    m_text->setPlainText(shown);
    m_shownIndex = glyph.index;
    if (sameCharacter) {
        m_text->verticalScrollBar()->setValue(vertical);
        m_text->horizontalScrollBar()->setValue(horizontal);
    }
    // A unit marked from the grid stays marked while the text follows a stroke.
    m_markedUnit = -1;
    if (marked >= 0 && static_cast<std::size_t>(marked) < m_unitRanges.size()) {
        showMark(marked);
    } else {
        m_hoveredUnit = -1;
    }
}

QString CharacterDataPanel::text() const {
    return m_text->toPlainText();
}

void CharacterDataPanel::pressDataFormat() {
    DataFormatDialog dialog(m_font.dataFormat, this);
    const int result = runDialog ? runDialog(dialog) : dialog.exec();
    if (result != QDialog::Accepted) {
        return;
    }
    m_font.dataFormat = dialog.word();
    setInvertCheck(dialog.invertChecked());
    refreshPanel();
    emit wordChanged();
}

void CharacterDataPanel::copyText() {
    m_text->selectAll();
    m_text->copy();
}

void CharacterDataPanel::saveTextAs() {
    const bool c = (m_font.dataFormat & exporters::kPanelC) != 0;
    const ExportUiHooks ask = withDefaults(hooks);
    SaveFileRequest request;
    request.filter = qtFilterOf(c ? "C File (*.c)|*.c||" : "ASM File (*.asm)|*.asm||");
    request.defaultSuffix = c ? QStringLiteral("c") : QStringLiteral("asm");
    // The name the text declares: "Data0041" for the character 0041.
    if (m_shownIndex >= 0 && m_shownIndex < m_font.count()) {
        request.suggestedName =
            QStringLiteral("Data") + QString::number(m_font.codeAt(m_shownIndex), 16)
                                         .rightJustified(4, QLatin1Char('0'))
                                         .toUpper();
    }
    const QString path = ask.chooseFile(this, request);
    if (path.isEmpty()) {
        return;
    }
    const std::string contents = exporters::characterDataFileContents(m_data.text);
    try {
        writeFileAtomically(
            path.toStdString(),
            std::span(reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()));
    } catch (const FileError& error) {
        ask.showError(this, QString::fromStdString(error.what()));
    }
}

// --- Bit inspector

int CharacterDataPanel::unitAtTextPosition(int position) const {
    // Ranges are in ascending order: the last one starting at or before the position.
    auto it = std::upper_bound(m_unitRanges.begin(), m_unitRanges.end(), position,
                               [](int p, const std::pair<int, int>& r) { return p < r.first; });
    if (it == m_unitRanges.begin()) {
        return -1;
    }
    --it;
    if (position > it->first + it->second) {
        return -1;
    }
    return static_cast<int>(it - m_unitRanges.begin());
}

std::pair<int, int> CharacterDataPanel::unitTextRange(int unit) const {
    if (unit < 0 || static_cast<std::size_t>(unit) >= m_unitRanges.size()) {
        return {0, 0};
    }
    return m_unitRanges[static_cast<std::size_t>(unit)];
}

void CharacterDataPanel::markUnit(int unit) {
    if (unit == m_markedUnit) {
        return;
    }
    showMark(unit);
    // Bring the unit into view without moving the user's caret or selection (a unit hovered
    // in the text is in view already).
    const auto [start, length] = unitTextRange(m_markedUnit);
    if (length > 0 && m_hoveredUnit < 0) {
        // Setting a cursor scrolls to it, so the scroll position that shows the unit is put
        // back after the user's cursor.
        const QTextCursor saved = m_text->textCursor();
        QTextCursor at(m_text->document());
        at.setPosition(start);
        m_text->setTextCursor(at);
        m_text->ensureCursorVisible();
        const int vertical = m_text->verticalScrollBar()->value();
        const int horizontal = m_text->horizontalScrollBar()->value();
        m_text->setTextCursor(saved);
        m_text->verticalScrollBar()->setValue(vertical);
        m_text->horizontalScrollBar()->setValue(horizontal);
    }
}

void CharacterDataPanel::showMark(int unit) {
    const auto [start, length] = unitTextRange(unit);
    m_markedUnit = length > 0 ? unit : -1;
    QList<QTextEdit::ExtraSelection> marks;
    if (m_markedUnit >= 0) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_text->document());
        mark.cursor.setPosition(start);
        mark.cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        mark.format.setBackground(QColor(255, 210, 90));
        marks.push_back(mark);
    }
    m_text->setExtraSelections(marks);
}

int CharacterDataPanel::unitOfPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_data.width || y >= m_data.height) {
        return -1;
    }
    const std::size_t i = static_cast<std::size_t>(y) * m_data.width + x;
    if (i >= m_data.places.size()) {
        return -1;
    }
    return m_data.places[i].unit;
}

QString CharacterDataPanel::describePixel(int x, int y) const {
    const int unit = unitOfPixel(x, y);
    if (unit < 0 || static_cast<std::size_t>(unit) >= m_data.units.size()) {
        return {};
    }
    const std::size_t i = static_cast<std::size_t>(y) * m_data.width + x;
    return QStringLiteral("unit %1, bit %2, value %3")
        .arg(unit)
        .arg(m_data.places[i].bit)
        .arg(QString::fromStdString(exporters::pictureUnitText(
            m_data.units[static_cast<std::size_t>(unit)], m_data.unitBits)));
}

std::vector<int> CharacterDataPanel::pixelsOfUnit(int unit) const {
    std::vector<int> pixels;
    if (unit < 0) {
        return pixels;
    }
    for (std::size_t i = 0; i < m_data.places.size(); ++i) {
        if (m_data.places[i].unit == unit) {
            pixels.push_back(static_cast<int>(i));
        }
    }
    return pixels;
}

void CharacterDataPanel::hoverTextAt(QPoint viewportPoint) {
    int unit = -1;
    const QTextCursor cursor = m_text->cursorForPosition(viewportPoint);
    const QRect caret = m_text->cursorRect(cursor);
    const int charWidth = m_text->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // A point past the end of a line still gives that line's last position: only a point
    // within a character of the caret is over the text.
    if (std::abs(caret.center().x() - viewportPoint.x()) <= charWidth &&
        viewportPoint.y() >= caret.top() && viewportPoint.y() <= caret.bottom()) {
        unit = unitAtTextPosition(cursor.position());
    }
    if (unit == m_hoveredUnit) {
        return;
    }
    m_hoveredUnit = unit;
    markUnit(unit);
    emit unitHovered(unit);
}

bool CharacterDataPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            hoverTextAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::Leave && m_hoveredUnit >= 0) {
            m_hoveredUnit = -1;
            markUnit(-1);
            emit unitHovered(-1);
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace typeloom::ui
